#include "render/skeletal_draw_plan.h"

#include <algorithm>

TSkeletalSurfacePlan PlanSkeletalSurface(const TShaders& store, int shaderIndex, int textureUnits) {
    TSkeletalSurfacePlan plan;
    const int units = std::max(1, textureUnits);
    TStageBatch batch;
    auto take = [&](int stage, TUnitBlend later) {
        const int unit = static_cast<int>(batch.units.size());
        batch.units.push_back({unit, stage, unit == 0 ? TUnitBlend::Replace : later});
        if (static_cast<int>(batch.units.size()) == units) {
            plan.batches.push_back(std::move(batch));
            batch = TStageBatch{};
            batch.depthEqual = true;
        }
    };

    plan.hasShader = store.ValidIndex(shaderIndex);
    const std::vector<TShaderTexture> none;
    const std::vector<TShaderTexture>& stages =
        plan.hasShader ? store.shaders[static_cast<std::size_t>(shaderIndex)].stages : none;
    plan.basePass = std::none_of(stages.begin(), stages.end(),
                                 [](const TShaderTexture& s) {
                                     return s.alphaFunc != kAlphaFuncNone && s.texture != 0 &&
                                            s.textureHasAlpha;
                                 }) &&
                    !(!stages.empty() && AddsLightToWhatLiesBeneath(stages.front()));
    if (plan.basePass) take(-1, TUnitBlend::Modulate);
    for (std::size_t j = 0; j < stages.size(); ++j) {
        take(static_cast<int>(j),
             stages[j].textureHasAlpha ? TUnitBlend::Decal : TUnitBlend::Modulate);
    }
    if (!batch.units.empty()) plan.batches.push_back(std::move(batch));
    return plan;
}

TCullFace SkeletalStageCull(int cull, bool twoSided) {
    if (twoSided) return TCullFace::None;
    if (cull == kCullFront) return TCullFace::Front;
    if (cull == kCullBack) return TCullFace::Back;
    return TCullFace::None;
}
