#include "shader/shader_stage.h"

TShaderTexture ShaderHeaderStage(const std::string& shaderName) {
    TShaderTexture stage;
    stage.shaderName = shaderName;
    stage.cull = kCullBack;
    stage.blendSrc = kGlDstColor;
    stage.blendDst = kGlZero;
    return stage;
}

void ResetForNextStage(TShaderTexture& stage) {
    stage.textureName.clear();
    stage.environment = false;
    stage.blendSrc = 0;
    stage.blendDst = 0;
    stage.clamp = false;
    stage.animMap = false;
    stage.videoMap = false;
    stage.lightmap = false;
    stage.whiteImage = false;
    stage.texture = 0;
    stage.textureHasAlpha = false;
    stage.texturePath.clear();
    stage.scrollSpeedS = 0.0f;
    stage.scrollSpeedT = 0.0f;
    stage.rotationSpeed = 0.0f;
    stage.effects = TStageEffects();
}
