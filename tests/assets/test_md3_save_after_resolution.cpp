// Saving a model the window has textured: the shader store's rows the resolution put into
// the shader records belong to this session, not to the file.
#include <gtest/gtest.h>

#include "assets/surface_resolution.h"
#include "game_fixture.h"
#include "model_factory.h"

using namespace testing_support;

namespace {

class MD3SaveAfterResolution : public GameFixture {};

TEST_F(MD3SaveAfterResolution, AnUnchangedModelIsSavedAsItWasRead) {
    const std::string pak =
        Pak("pak0.pk3", {{"scripts/x.shader", ShaderScript("models/x/a", "models/x/a.tga")},
                         {"models/x/b.tga", TgaFile()}});
    TGameAssets& assets = Assets({pak});
    TMD3 built;
    MakeModel(built, {.surfaces = 3});
    const char* shaderNames[] = {"models/x/a", "models/x/b.tga", ""};
    for (int i = 0; i < 3; ++i) {
        built.SetShaderName(i, shaderNames[i]);
        built.header.surfaces[i].shaders[0].shaderIndex = 9 + i;  // as another program left it
    }
    ASSERT_TRUE(built.SaveToFile(File("in.md3")));

    TMD3 model;
    ASSERT_TRUE(model.LoadFromFile(File("in.md3")));
    TShaders shaders;
    SetMD3ShaderIndices(
        model, ResolveSurfaceShaders(MD3SurfaceShaderRefs(model), assets, TModelOrigin{}, shaders));
    ASSERT_EQ(model.header.surfaces[0].shaders[0].shaderIndex, 0);
    ASSERT_EQ(model.header.surfaces[1].shaders[0].shaderIndex, 1);
    ASSERT_EQ(model.header.surfaces[2].shaders[0].shaderIndex, -1);
    ASSERT_TRUE(model.SaveToFile(File("out.md3")));
    EXPECT_EQ(ReadBytes(File("out.md3")), ReadBytes(File("in.md3")));
}

}  // namespace
