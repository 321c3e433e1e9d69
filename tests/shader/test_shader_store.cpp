#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "io/file_error.h"
#include "shader/gl_blend_factors.h"
#include "shader/q3_shaders.h"
#include "support/test_files.h"

namespace {

class RecordingDeleter : public TextureDeleter {
  public:
    void DeleteTexture(std::uint32_t texture) override { deleted.push_back(texture); }
    std::vector<std::uint32_t> deleted;
};

class ShaderStore : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string text =
            "Models/X/Body\n{\n  {\n    map models/x/body.tga\n  }\n  {\n    map glow.tga\n"
            "  }\n}\n"
            "models/x/head\n{\n  cull none\n  {\n    map head.tga\n  }\n}\n";
        testing_support::WriteBytes(script, {text.begin(), text.end()});
    }

    testing_support::ScratchDir dir;
    const std::string script = dir.File("x.shader");
    RecordingDeleter deleter;
    TShaders store{&deleter};
};

TEST_F(ShaderStore, LoadShaderReusesEntriesByNameOrAlternativeName) {
    const int body = store.LoadShader(script, "models/x/body", 0x22, "models/x/body");
    EXPECT_EQ(body, 0);
    ASSERT_EQ(store.shaders[0].stages.size(), 2u);
    EXPECT_EQ(store.shaders[0].flags, 0x22u);
    EXPECT_EQ(store.shaders[0].stages[1].textureName, "glow.tga");

    EXPECT_EQ(store.LoadShader(script, "models/x/body", 0x43, "models/x/body"), body);
    EXPECT_EQ(store.LoadShader(script, "Models/X/Body.TGA", 0, "Models/X/Body"), body);
    EXPECT_EQ(store.LoadShader(script, "models/x/head.tga", 0, "models/x/head"), 1);
    EXPECT_EQ(store.shaders[1].stages.at(0).shaderName, "models/x/head");
    EXPECT_EQ(store.shaders[1].stages.at(0).cull, 0);
    EXPECT_EQ(store.LoadShader(script, "models/x/head", 0, "models/x/head"), 1);
    EXPECT_EQ(store.Count(), 2);
}

TEST_F(ShaderStore, ShaderNotInTheScriptAddsAnEmptyEntryEveryTime) {
    EXPECT_EQ(store.LoadShader(script, "models/x/legs", 2, "models/x/legs"), 0);
    EXPECT_EQ(store.LoadShader(script, "models/x/legs", 2, "models/x/legs"), 1);
    EXPECT_TRUE(store.shaders[0].stages.empty());
    EXPECT_TRUE(store.shaders[1].stages.empty());
    EXPECT_EQ(store.shaders[1].flags, 2u);
}

// The store keeps a script's lines between shaders, but an edited script is read again.
TEST_F(ShaderStore, AScriptChangedOnDiskIsReadAgain) {
    EXPECT_TRUE(store.shaders[store.LoadShader(script, "legs", 0, "legs")].stages.empty());
    const std::string text = "legs\n{\n  {\n    map legs.tga\n  }\n}\n";
    testing_support::WriteBytes(script, {text.begin(), text.end()});
    const int legs = store.LoadShader(script, "legs", 0, "legs");
    ASSERT_EQ(store.shaders[legs].stages.size(), 1u);
    EXPECT_EQ(store.shaders[legs].stages[0].textureName, "legs.tga");
}

TEST_F(ShaderStore, UnreadableScriptThrowsAndAddsNothing) {
    EXPECT_THROW(store.LoadShader(dir.File("missing.shader"), "a", 0, "a"), FileError);
    EXPECT_EQ(store.Count(), 0);
}

TEST_F(ShaderStore, TextureShaderIsOneModulatingStage) {
    store.LoadShader(script, "models/x/body", 0, "models/x/body");
    const int index = store.AddTextureShader("models/x/legs.tga", "/game/legs.tga", 0x45);
    EXPECT_EQ(index, 1);
    const TShaderObj& entry = store.shaders[1];
    EXPECT_EQ(entry.flags, 0x45u);
    ASSERT_EQ(entry.stages.size(), 1u);
    const TShaderTexture& stage = entry.stages[0];
    EXPECT_EQ(stage.shaderName, "");
    EXPECT_EQ(stage.textureName, "models/x/legs.tga");
    EXPECT_EQ(stage.texturePath, "/game/legs.tga");
    EXPECT_EQ(stage.cull, 4);
    EXPECT_EQ(stage.blendSrc, kGlDstColor);
    EXPECT_EQ(stage.blendDst, kGlZero);

    // A texture entry has no shader name, so it is never mistaken for a loaded shader.
    EXPECT_EQ(store.LoadShader(script, "", 0, ""), 2);
}

TEST_F(ShaderStore, ClearingDeletesStageTexturesThroughTheTextureStore) {
    store.LoadShader(script, "models/x/body", 0, "models/x/body");
    store.LoadShader(script, "models/x/head", 0, "models/x/head");
    store.shaders[0].stages[0].texture = 11;
    store.shaders[0].stages[1].texture = 0;  // no texture: nothing to delete
    store.shaders[1].stages[0].texture = 12;

    store.ClearShaderStages(-1);
    store.ClearShaderStages(2);
    EXPECT_TRUE(deleter.deleted.empty());

    store.ClearShaderStages(0);
    EXPECT_EQ(deleter.deleted, (std::vector<std::uint32_t>{11}));
    EXPECT_EQ(store.Count(), 2);
    EXPECT_TRUE(store.shaders[0].stages.empty());
    store.ClearShaderStages(0);
    EXPECT_EQ(deleter.deleted.size(), 1u);

    // Emptied by ClearShaderStages, the entry no longer answers for its name.
    EXPECT_EQ(store.LoadShader(script, "models/x/body", 0, "models/x/body"), 2);
    store.shaders[2].stages[1].texture = 13;

    store.ClearShaders();
    EXPECT_EQ(deleter.deleted, (std::vector<std::uint32_t>{11, 12, 13}));
    EXPECT_EQ(store.Count(), 0);
}

}  // namespace
