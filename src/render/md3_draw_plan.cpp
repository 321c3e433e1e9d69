#include "render/md3_draw_plan.h"

#include <algorithm>

#include "shader/gl_blend_factors.h"

bool AlphaBlendingMode(const std::vector<TShaderTexture>& stages) {
    const auto hasAlphaFunc = [](const TShaderTexture& s) { return s.alphaFunc != kAlphaFuncNone; };
    if (std::any_of(stages.begin(), stages.end(), hasAlphaFunc)) return true;
    if (stages.size() == 1) return stages[0].textureHasAlpha;
    return std::all_of(stages.begin(), stages.end(),
                       [](const TShaderTexture& s) { return s.textureHasAlpha && !s.environment; });
}

bool AddsLightToWhatLiesBeneath(const TShaderTexture& stage) {
    return stage.blendDst == kGlOne || stage.blendDst == kGlOneMinusSrcColor;
}

TCullFace StageCull(int cull, bool twoSided) {
    if (twoSided || cull < kCullFront) return TCullFace::None;
    return cull == kCullFront ? TCullFace::Front : TCullFace::Back;
}

TSurfaceDrawPlan PlanSurface(const TShaders& store, int shaderIndex, bool twoSided) {
    TSurfaceDrawPlan plan;
    if (!store.ValidIndex(shaderIndex)) {
        plan.plainPasses = 1;
        return plan;
    }
    const std::vector<TShaderTexture>& stages = store.shaders[shaderIndex].stages;
    plan.hasShader = true;
    plan.alphaBlending = AlphaBlendingMode(stages);
    plan.lightmapPass = std::any_of(stages.begin(), stages.end(),
                                    [](const TShaderTexture& s) { return s.lightmap; });
    // A first stage that adds light, or that the script blends by its alpha, is drawn over
    // what lies behind the surface, as the game draws it.
    const bool overBackground =
        !stages.empty() &&
        (AddsLightToWhatLiesBeneath(stages.front()) ||
         (stages.front().effects.blendGiven && stages.front().blendDst == kGlOneMinusSrcAlpha));
    plan.basePass = !plan.alphaBlending && !overBackground;
    plan.plainPasses = (plan.basePass ? 1 : 0) + (plan.lightmapPass ? 1 : 0);
    if (!stages.empty()) plan.plainCull = StageCull(stages.front().cull, twoSided);
    return plan;
}

std::vector<int> SurfaceDrawOrder(const TShaders& store, const std::vector<int>& shaderIndices) {
    std::vector<float> sorts(shaderIndices.size(), kSortOpaque);
    for (std::size_t i = 0; i < shaderIndices.size(); ++i) {
        const int index = shaderIndices[i];
        // A plain texture's stage carries no settled sort (0): it is opaque.
        if (store.ValidIndex(index) && !store.shaders[index].stages.empty() &&
            store.shaders[index].stages.front().sort != 0.0f)
            sorts[i] = store.shaders[index].stages.front().sort;
    }
    std::vector<int> order(shaderIndices.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&sorts](int a, int b) { return sorts[a] < sorts[b]; });
    return order;
}
