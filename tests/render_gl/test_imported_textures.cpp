// Imported models drawn with their image the right way up: a quad whose image has a red bar on
// top shows red at its top, whichever program made it.
#include <fstream>

#include "gl_test_context.h"
#include "image_factory.h"
#include "import/ase.h"
#include "import/import_test_util.h"
#include "import/ms3d.h"
#include "md3/md3.h"
#include "render/gl/obj_texture.h"
#include "render/gl/scene_renderer.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;

// The 40-unit quad in the XY plane, facing the camera on +Z, the image's top at +Y.
// MilkShape's t runs down the image from its top row; ASE's v runs up from its bottom row.
std::vector<std::uint8_t> MilkShapeQuad() {
    Ms3dBuilder b;
    b.vertices = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 0}};
    b.triangles = {{0, 1, 2}, {0, 2, 3}};
    b.texCoords = {{0, 1, 1, 1, 1, 0}, {0, 1, 1, 0, 0, 0}};
    b.groups = {{"quad", {0, 1}, 0}};
    b.textures = {"bar.tga"};
    return b.Bytes();
}

const char* const kAseQuad =
    "*3DSMAX_ASCIIEXPORT\t200\n*MATERIAL 0 {\n*MATERIAL_NAME \"q\"\n*MAP_DIFFUSE {\n"
    "*BITMAP \"bar.tga\"\n}\n}\n*GEOMOBJECT {\n*MESH {\n*MESH_VERTEX_LIST {\n"
    "*MESH_VERTEX\t0\t-20\t-20\t0\n*MESH_VERTEX\t1\t20\t-20\t0\n*MESH_VERTEX\t2\t20\t20\t0\n"
    "*MESH_VERTEX\t3\t-20\t20\t0\n}\n*MESH_FACE_LIST {\n"
    "*MESH_FACE 0: A: 0 B: 1 C: 2 *MESH_MTLID 0\n*MESH_FACE 1: A: 0 B: 2 C: 3 *MESH_MTLID 0\n}\n"
    "*MESH_TVERTLIST {\n*MESH_TVERT\t0\t0\t0\t0\n*MESH_TVERT\t1\t1\t0\t0\n"
    "*MESH_TVERT\t2\t1\t1\t0\n*MESH_TVERT\t3\t0\t1\t0\n}\n"
    "*MESH_TFACELIST {\n*MESH_TFACE\t0\t0\t1\t2\n*MESH_TFACE\t1\t0\t2\t3\n}\n}\n}\n";

class ImportedTextures : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        // Top half red, bottom half blue, in a TGA that stores its rows bottom-up as the game's
        // images do (descriptor 0): blue-green-red bytes, the bottom row first.
        std::vector<std::uint8_t> bar = TgaHeader(1, 4, 24, 2);
        for (const std::uint8_t row : {0, 0, 1, 1})
            bar.insert(bar.end(), {std::uint8_t(row ? 0 : 255), 0, std::uint8_t(row ? 255 : 0)});
        testing_support::WriteBytes(dir_.File("bar.tga"), bar);
        textures_.AddSearchDir(dir_.path().string());
        ogl_.Camera().position = {0, 0, 100};
        ogl_.Camera().target = kVectorZero;
        ogl_.Camera().up = kVectorPosY;
        switches_.showTags = false;
        switches_.lighting = false;
    }
    void TearDown() override {
        textures_.FreeAllTextures();
        GLTest::TearDown();
    }

    // The converted model written and read back as the game would read it, then drawn.
    TPixelImage Draw(TMD3& converted) {
        EXPECT_TRUE(converted.SaveToFile(dir_.File("quad.md3")));
        TMD3 model;
        EXPECT_TRUE(model.LoadFromFile(dir_.File("quad.md3")));
        TShaderTexture stage = ShaderHeaderStage("bar");
        stage.cull = kCullNone;
        ResetForNextStage(stage);
        stage.texture = textures_.LoadTexture("bar.tga");
        EXPECT_NE(stage.texture, 0u);
        shaders_.shaders.push_back({0, {stage}});
        model.header.surfaces[0].shaders[0].shaderIndex = shaders_.Count() - 1;
        renderer_.RedrawView(view_, switches_, colours_, {kModelKindMD3, &model, 0, -1}, true,
                             false);
        return Read();
    }

    ScratchDir dir_;
    TObjTexture textures_;
    TShaders shaders_;
    TSceneRenderer renderer_{ogl_, shaders_};
    TViewState view_;
    TViewSwitches switches_;
    TSceneColors colours_;
};

TEST_F(ImportedTextures, TheRedBarOfTheImageShowsAtTheTopOfTheQuad) {
    ScriptedAnswers prompts;
    std::string message;
    TMS3D ms3d;
    testing_support::WriteBytes(dir_.File("quad.ms3d"), MilkShapeQuad());
    ASSERT_TRUE(ms3d.LoadMS3D(dir_.File("quad.ms3d")));
    TMD3 fromMilkShape;
    ASSERT_TRUE(ms3d.ConvertMS3DToMD3(fromMilkShape, prompts, message));
    TASE ase;
    std::ofstream(dir_.File("quad.ase"), std::ios::binary) << kAseQuad;
    ASSERT_TRUE(ase.LoadASE(dir_.File("quad.ase"), message));
    TMD3 fromAse;
    ASSERT_TRUE(ase.ConvertASEToMD3(fromAse, prompts, message));

    constexpr int kMidX = kWidth / 2, kMidY = kHeight / 2;
    for (TMD3* model : {&fromMilkShape, &fromAse}) {
        const TPixelImage image = Draw(*model);
        EXPECT_TRUE(ColourNear(image.Pixel(kMidX, kMidY - 8), 255, 0, 0, 10))
            << (model == &fromAse ? "ASE" : "MilkShape");
        EXPECT_TRUE(ColourNear(image.Pixel(kMidX, kMidY + 8), 0, 0, 255, 10))
            << (model == &fromAse ? "ASE" : "MilkShape");
    }
}

}  // namespace
