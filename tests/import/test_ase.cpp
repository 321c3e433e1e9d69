#include <gtest/gtest.h>

#include <fstream>

#include "import/ase.h"
#include "import/ase_values.h"
#include "import_test_util.h"
#include "md3/md3.h"
#include "support/test_files.h"

using testing_support::ScratchDir;

namespace {

const char* kHeader = "*3DSMAX_ASCIIEXPORT\t200\n";

std::string Material(int index, const std::string& name, const std::string& bitmap) {
    return "*MATERIAL " + std::to_string(index) + " {\n*MATERIAL_NAME \"" + name +
           "\"\n*MAP_DIFFUSE {\n*BITMAP \"" + bitmap + "\"\n}\n}\n";
}

// One object with `faces` faces over a 4 x 4 x 4 grid of vertices, faces spread over the
// material ids in `ids` in turn.
std::string Mesh(int faces, std::vector<int> ids = {0}, const std::string& extra = "") {
    std::string text = "*GEOMOBJECT {\n*NODE_NAME \"box\"\n*MESH {\n*MESH_VERTEX_LIST {\n";
    for (int i = 0; i < 8; ++i)
        text += "*MESH_VERTEX\t" + std::to_string(i) + "\t" + std::to_string(i % 2) + "\t" +
                std::to_string(i / 2 % 2) + "\t" + std::to_string(i / 4) + "\n";
    text += "}\n*MESH_FACE_LIST {\n";
    for (int f = 0; f < faces; ++f)
        text += "*MESH_FACE " + std::to_string(f) + ": A: 0 B: " + std::to_string(1 + f % 6) +
                " C: " + std::to_string(2 + f % 6) +
                " AB: 1 BC: 1 CA: 0 *MESH_SMOOTHING 1 *MESH_MTLID " +
                std::to_string(ids[static_cast<std::size_t>(f) % ids.size()]) + "\n";
    return text + "}\n}\n" + extra + "}\n";
}

struct AseRun {
    TASE ase;
    TMD3 model;
    ScriptedAnswers prompts;
    std::string loadMessage;
    std::string message;
    bool loaded = false;
    bool converted = false;

    void Convert(const std::string& text, const std::string& name = "m.ase") {
        static ScratchDir dir;
        std::ofstream(dir.File(name), std::ios::binary) << text;
        loaded = ase.LoadASE(dir.File(name), loadMessage);
        converted = loaded && ase.ConvertASEToMD3(model, prompts, message);
    }
    int Triangles() const {
        int total = 0;
        for (const TSurface& s : model.header.surfaces)
            total += s.numTriangles;
        return total;
    }
};

}  // namespace

TEST(ASEImport, OnlyAFileStartingWithTheExportHeaderLoads) {
    AseRun comment;
    comment.Convert("\n*COMMENT \"x\"\n" + std::string(kHeader));
    EXPECT_FALSE(comment.loaded);
    EXPECT_TRUE(comment.loadMessage.starts_with("File is no valid ASE: "));
    AseRun empty;
    empty.Convert("");
    EXPECT_FALSE(empty.loaded);
    TASE ase;
    std::string message;
    EXPECT_FALSE(ase.LoadASE("/nonexistent/x.ase", message));
    EXPECT_EQ(message, "File does not exist: /nonexistent/x.ase");
}

TEST(ASEImport, ABoxBecomesFlatShadedTrianglesWithTheirOwnCorners) {
    AseRun run;
    std::string flat = Mesh(12);
    for (std::size_t at = flat.find("SMOOTHING 1"); at != std::string::npos;
         at = flat.find("SMOOTHING 1", at))
        flat.replace(at, 11, "SMOOTHING 0");
    run.Convert(kHeader + Material(0, "wood", "textures/wood.tga") + flat, "box.ase");
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.message, "ASE converted to MD3");
    const THeader& h = run.model.header;
    EXPECT_EQ(NameFieldText(h.name), "K_Converted_From_ASE_box.ase");
    ASSERT_EQ(h.numSurfaces, 1);
    const TSurface& s = h.surfaces[0];
    EXPECT_EQ(NameFieldText(s.name), "wood");
    EXPECT_EQ(NameFieldText(s.shaders[0].name), "textures/wood");
    EXPECT_EQ(s.numVerts, 36);
    EXPECT_EQ(s.numTriangles, 12);
    EXPECT_EQ(s.triangles[0].indexes[0], 2);
    for (int f = 0; f < 12; ++f)
        EXPECT_EQ(s.vertices[3 * f].normal, s.vertices[3 * f + 2].normal);
    EXPECT_EQ(h.frames[0].maxBounds, (TVector3{1, 1, 1}));
    EXPECT_EQ(std::string(h.frames[0].name, 16), std::string("K ASE Convert\0  ", 16));
}

TEST(ASEImport, MaterialsDecideSurfacesAndShaders) {
    const std::string multi =
        "*MATERIAL 2 {\n*MATERIAL_NAME \"multi\"\n*SUBMATERIAL 0 {\n*MATERIAL_NAME \"a\"\n"
        "*MAP_DIFFUSE {\n*BITMAP \"d.tga\"\n}\n}\n*SUBMATERIAL 1 {\n*MATERIAL_NAME \"b\"\n"
        "*MAP_REFLECT {\n*BITMAP \"r.tga\"\n}\n}\n}\n";
    AseRun run;
    run.Convert(kHeader + Material(0, "wood", "w.tga") +
                Material(1, "clip", "textures/common/nodraw.tga") + multi + Mesh(6, {0, 1, 2}));
    ASSERT_TRUE(run.converted);
    ASSERT_EQ(run.model.header.numSurfaces, 2);
    EXPECT_EQ(run.Triangles(), 4);  // the tool texture's faces are dropped
    EXPECT_EQ(NameFieldText(run.model.header.surfaces[1].shaders[0].name), "d");
    EXPECT_EQ(run.ase.materials[2].subMaterials[1].bitmap, "r.tga");

    AseRun ref;
    ref.Convert(kHeader + Material(0, "wood", "w.tga") + Material(1, "metal", "m.tga") +
                Mesh(6, {0}, "*MATERIAL_REF 1\n"));
    ASSERT_TRUE(ref.converted);
    // A material no face uses makes no surface.
    ASSERT_EQ(ref.model.header.numSurfaces, 1);
    EXPECT_EQ(NameFieldText(ref.model.header.surfaces[0].name), "metal");
    EXPECT_EQ(ref.model.header.surfaces[0].numTriangles, 6);

    // Faces of tool materials and of ids past the list are counted; a file of nothing else
    // converts to nothing and says why.
    AseRun left;
    left.Convert(kHeader + Material(0, "clip", "textures/common/clip.tga") + Mesh(5, {0, 0, 7}));
    EXPECT_FALSE(left.converted);
    EXPECT_EQ(left.message,
              "no triangles to convert (1 face with a material id past the material list left "
              "out, 4 faces of tool materials (common/, noshader, NULL) left out)");

    EXPECT_TRUE(IsExcludedTexture("textures\\common\\caulk"));
    EXPECT_TRUE(IsExcludedTexture("NULL"));
    EXPECT_FALSE(IsExcludedTexture("textures/Common/x"));
}

TEST(ASEImport, LimitsAndBoundsRefuseWithTheirMessages) {
    AseRun accepted;
    accepted.Convert(kHeader + Material(0, "wood", "w.tga") + Mesh(341));
    EXPECT_TRUE(accepted.converted);
    AseRun refused;
    refused.Convert(kHeader + Material(0, "wood", "w.tga") + Mesh(342));
    EXPECT_FALSE(refused.converted);
    EXPECT_TRUE(refused.ase.LimitExceeded());
    EXPECT_EQ(refused.message,
              "MAX_VERTS limit exceeded: 1026 > 1024\r\nToo many vetices used with the same "
              "material/shader/texture..\r\nMaterial: wood");
    EXPECT_TRUE(refused.model.IsEmpty());

    // Split when the user agrees: the surface's first 1023 vertices, then the rest.
    AseRun split;
    split.prompts.answers = {PromptAnswer::Yes};
    split.Convert(kHeader + Material(0, "wood", "w.tga") + Mesh(342));
    ASSERT_TRUE(split.converted);
    ASSERT_EQ(split.prompts.questions.size(), 1u);
    EXPECT_TRUE(split.prompts.questions[0].starts_with("MAX_VERTS limit exceeded: 1026 > 1024"));
    ASSERT_EQ(split.model.header.numSurfaces, 2);
    EXPECT_EQ(split.model.header.surfaces[0].numVerts, 1023);
    EXPECT_EQ(NameFieldText(split.model.header.surfaces[1].name), "wood_2");
    EXPECT_EQ(NameFieldText(split.model.header.surfaces[1].shaders[0].name), "w");
    EXPECT_EQ(split.Triangles(), 342);

    // Only materials faces use count against the surface limit.
    std::string many = kHeader;
    std::vector<int> ids;
    for (int m = 0; m < 33; ++m) {
        many += Material(m, "m", "x.tga");
        ids.push_back(m);
    }
    AseRun fits;
    fits.Convert(many + Mesh(32, ids));
    EXPECT_TRUE(fits.converted);
    AseRun surfaces;
    surfaces.Convert(many + Mesh(33, ids));
    EXPECT_EQ(surfaces.message,
              "MAX_SURFACES limit exceeded: 33 > 32\r\nToo many materials/shaders/textures used..");

    const std::string far = kHeader + Material(0, "w", "w.tga") +
                            "*GEOMOBJECT {\n*MESH {\n*MESH_VERTEX_LIST {\n"
                            "*MESH_VERTEX\t0\t1022\t0\t-10\n*MESH_VERTEX\t1\t0\t1\t0\n"
                            "*MESH_VERTEX\t2\t0\t0\t1\n}\n*MESH_FACE_LIST {\n"
                            "*MESH_FACE 0: A: 0 B: 1 C: 2 *MESH_MTLID 0\n}\n}\n}\n";
    AseRun declined;
    declined.prompts.answers = {PromptAnswer::No};
    declined.Convert(far);
    EXPECT_EQ(declined.message, kASEOutOfBoundsText);
    AseRun scaled;
    scaled.prompts.answers = {PromptAnswer::Yes};
    scaled.Convert(far);
    ASSERT_TRUE(scaled.converted);
    EXPECT_EQ(scaled.model.header.surfaces[0].vertices[0].x, 32704);
    EXPECT_EQ(scaled.model.header.surfaces[0].vertices[0].z, -320);
}

TEST(ASEImport, ValueReadersFollowTabsAndFallBackOnSpaces) {
    EXPECT_EQ(AseReadVertex("*MESH_VERTEX\t12\t1.5\t-2\t3"), (TVector3{1.5f, -2, 3}));
    EXPECT_EQ(AseReadVertex("*MESH_VERTEX    0\t1\tx\t3"), kVectorZero);
    EXPECT_EQ(AseReadVertex("*MESH_VERTEX 0 -0.559998 6.25 11.5"),
              (TVector3{-0.559998f, 6.25f, 11.5f}));
    EXPECT_EQ(AseReadVertex("*MESH_VERTEX 0 1 2"), kVectorZero);
    EXPECT_EQ(AseReadVertex("*MESH_VERTEX\t0\t1\tinf\t3"), kVectorZero);
    EXPECT_EQ(AseParseFloat(" -.5e1 "), -5.0f);
    EXPECT_EQ(AseParseFloat("nan"), std::nullopt);

    TASEMappingVertex mv{7, 8};
    AseReadMappingVertex("*MESH_TVERT\t0\t0.25\tbad\t0", mv);
    EXPECT_EQ(mv.u, 0.25f);
    EXPECT_EQ(mv.v, 8.0f);
    AseReadMappingVertex("*MESH_TVERT 1 0.5 0.75 0.0", mv);
    EXPECT_EQ(mv.v, 0.75f);

    TASEMappingFace mf{{4, 5, 6}};
    AseReadMappingFace("*MESH_TFACE\t0\t1\t?\t3", mf);
    EXPECT_EQ(mf.index[0], 1);
    EXPECT_EQ(mf.index[1], 5);
    EXPECT_EQ(mf.index[2], 3);

    TASEFace face;
    face.smoothingGroup = 9;
    AseReadFace(
        "*MESH_FACE 0: A: 1 B: 2 C: 3 AB: 1 BC: 0 CA: 1 *MESH_SMOOTHING 1,2 "
        "*MESH_MTLID 4",
        face);
    EXPECT_EQ(face.c, 3);
    EXPECT_TRUE(face.ab && !face.bc && face.ca);
    EXPECT_EQ(face.smoothingGroup, 9);
    EXPECT_EQ(face.materialId, 4);
    // Exporters that leave out the edge labels still give the third corner.
    AseReadFace("*MESH_FACE    0:    A:    7 B:    6 C:    5 *MESH_SMOOTHING 0 \t*MESH_MTLID 2",
                face);
    EXPECT_EQ(face.a, 7);
    EXPECT_EQ(face.c, 5);
    EXPECT_EQ(face.smoothingGroup, 0);
    EXPECT_EQ(face.materialId, 2);
}

TEST(ASEImport, IndicesOutsideTheirListsAreNeverFollowed) {
    const std::string text = kHeader + Material(0, "w", "w.tga") +
                             "*GEOMOBJECT {\n*MESH {\n*MESH_VERTEX_LIST {\n"
                             "*MESH_VERTEX\t0\t1\t0\t0\n*MESH_VERTEX\t1\t0\t1\t0\n"
                             "*MESH_VERTEX\t2\t0\t0\t1\n}\n*MESH_FACE_LIST {\n"
                             "*MESH_FACE 0: A: 0 B: 1 C: 2 *MESH_MTLID 0\n"
                             "*MESH_FACE 1: A: 0 B: 99 C: 2 *MESH_MTLID 0\n"
                             "*MESH_FACE 2: A: -1 B: 1 C: 2 *MESH_MTLID 0\n}\n"
                             "*MESH_TVERTLIST {\n*MESH_TVERT\t0\t0.5\t0.25\t0\n}\n"
                             "*MESH_TFACELIST {\n*MESH_TFACE\t0\t0\t5\t0\n}\n}\n}\n";
    AseRun run;
    run.Convert(text);
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.Triangles(), 1);
    // v runs up the image, t down it: the file stores t = 1 - v.
    EXPECT_FLOAT_EQ(1.0f - run.model.header.surfaces[0].texCoords[0].t, 0.75f);
    EXPECT_EQ(run.ase.SkippedText(),
              "2 faces with a vertex index out of range skipped, 1 corner with a mapping index "
              "out of range left at (0, 0)");

    for (std::size_t n = 0; n < text.size(); n += 7) {
        AseRun prefix;
        prefix.Convert(text.substr(0, n));
        EXPECT_EQ(prefix.loaded, n >= 20) << n;
    }
}

TEST(ASEImport, SamplesConvertWithTheIndependentTriangleCounts) {
    VELDRA_REQUIRE_SAMPLES("ase");
    // Triangle counts as assimp reads them; -1 for a file refused (over the vertex limit, or
    // nothing to convert).
    const std::pair<const char*, int> expected[] = {
        {"InvalidUVIndex.ase", 1},
        {"Rifle.ase", -1},
        {"ThreeCubesGreen.ASE", 36},
        {"ThreeCubesGreen_UTF16LE.ASE", 36},
        {"UVTransform_ScaleUV2x_Rotate45.ASE", 32},
        {"am_it_foghat.ase", 40},
        {"anim.ASE", 24},
        {"dr_testcube_no_ab_bc_ca_in_mesh_face.ase", 12},
        {"dr_testcube_uv_angle.ase", 12},
        {"dr_testcube_uv_offset.ase", 12},
        // Its one material is the tool texture common\clip, which draws nothing (assimp: 8):
        // nothing is left to convert.
        {"dr_tiles_with_shared_vertex_and_colour.ase", -1},
    };
    for (const auto& [name, triangles] : expected) {
        SCOPED_TRACE(name);
        AseRun run;
        std::string loadMessage;
        ASSERT_TRUE(
            run.ase.LoadASE((testing_support::SampleDir("ase") / name).string(), loadMessage));
        std::string message;
        const bool converted = run.ase.ConvertASEToMD3(run.model, run.prompts, message);
        EXPECT_EQ(converted, triangles >= 0) << message;
        if (converted) {
            EXPECT_EQ(run.Triangles(), triangles);
        }
    }
    // Rifle.ase holds 366 faces (1098 corners) in one material and is written with spaces:
    // its vertices are read, not collapsed to the origin.
    AseRun rifle;
    std::string message;
    ASSERT_TRUE(
        rifle.ase.LoadASE((testing_support::SampleDir("ase") / "Rifle.ase").string(), message));
    EXPECT_EQ(rifle.ase.geomObjects[0].meshes[0].vertices[0],
              (TVector3{-0.559998f, 6.284005f, 11.255371f}));
    EXPECT_EQ(rifle.ase.geomObjects[0].meshes[0].faces.size(), 366u);
    EXPECT_FALSE(rifle.ase.ConvertASEToMD3(rifle.model, rifle.prompts, message));
    EXPECT_TRUE(message.starts_with("MAX_VERTS limit exceeded: 1098 > 1024")) << message;
    rifle.prompts.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(rifle.ase.ConvertASEToMD3(rifle.model, rifle.prompts, message));
    EXPECT_EQ(rifle.model.header.numSurfaces, 2);
    EXPECT_EQ(rifle.Triangles(), 366);
}

TEST(ASEImport, SmoothingGroupsShareNormalsAcrossTheirFaces) {
    // Two faces folded along the edge 0-1: in one group their corners there share the mean of
    // both normals, in different groups each keeps its own.
    auto fold = [](const char* first, const char* second) {
        return std::string(kHeader) + Material(0, "w", "w.tga") +
               "*GEOMOBJECT {\n*MESH {\n*MESH_VERTEX_LIST {\n*MESH_VERTEX\t0\t0\t0\t0\n"
               "*MESH_VERTEX\t1\t8\t0\t0\n*MESH_VERTEX\t2\t0\t8\t0\n"
               "*MESH_VERTEX\t3\t0\t0\t8\n}\n*MESH_FACE_LIST {\n"
               "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 1 *MESH_SMOOTHING " +
               first +
               " *MESH_MTLID 0\n*MESH_FACE 1: A: 1 B: 0 C: 3 AB: 1 BC: 1 CA: 1 "
               "*MESH_SMOOTHING " +
               second + " *MESH_MTLID 0\n}\n}\n}\n";
    };
    struct Case {
        const char* first;
        const char* second;
        bool shared;
    };
    const Case cases[] = {
        {"1", "1", true}, {"1,2", "2", true}, {"1", "2", false}, {"0", "0", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second);
        AseRun run;
        run.Convert(fold(c.first, c.second));
        ASSERT_TRUE(run.converted);
        const TSurface& s = run.model.header.surfaces[0];
        // Vertex 0 is corner 0 of face 0 and corner 1 of face 1.
        EXPECT_EQ(s.vertices[0].normal == s.vertices[4].normal, c.shared);
        // Vertex 2 belongs to face 0 alone: its own normal, (0, 0, 1).
        EXPECT_EQ(s.vertices[2].normal, TMD3::EncodeNormal(TVector3{0, 0, 1}));
    }
}

TEST(ASEImport, ShaderNamesBecomeGamePaths) {
    struct Case {
        const char* material;
        const char* bitmap;
        const char* prefix;
        const char* shader;
    };
    const Case cases[] = {
        {"m", ".\\texture.jpg", "", "texture"},
        {"m", "..\\textures\\acc_dm3\\comptop.jpg", "", "textures/acc_dm3/comptop"},
        {"m", "C:\\Max\\maps\\Textures\\a\\b.TGA", "", "textures/a/b"},
        {"m", "C:/work/mymodels/zombie/Zombie.jpg", "models/z", "models/z/Zombie"},
        {"m", "sub\\skin.tga", "models/z/", "models/z/sub/skin"},
        {"textures/acc_dm5/wood01", "..\\wood.jpg", "", "textures/acc_dm5/wood01"},
        {"m", "//base/textures/darkmod/stone/tiles", "", "textures/darkmod/stone/tiles"},
        {"m", "", "x/", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitmap);
        AseRun run;
        run.ase.settings.shaderPrefix = c.prefix;
        run.Convert(kHeader + Material(0, c.material, c.bitmap) + Mesh(1));
        ASSERT_TRUE(run.converted);
        EXPECT_EQ(NameFieldText(run.model.header.surfaces[0].shaders[0].name), c.shader);
    }
}
