// Frames per second drawing the engineer's body posed by the body animation at 800 x 600
// offscreen, one animation frame further every drawn frame as playback does, beside the same
// frames baked into an MD3 beforehand: what posing on every drawn frame costs.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "io/user_prompts.h"
#include "render/gl/offscreen_factory.h"
#include "render/gl/ogl.h"
#include "render/gl/scene_renderer.h"
#include "skeletal/skeletal_export.h"

namespace {

// The frames played: a walk of the body animation.
constexpr std::uint32_t kFirstFrame = 1314;
constexpr std::uint32_t kFrames = 21;

struct DrawFixture {
    std::unique_ptr<IOffscreenBinding> binding = MakeOffscreenBinding(800, 600);
    TOGL ogl;
    TShaders shaders;
    TMDM mesh;
    TMDX anim;
    TMD3 baked;
    TSceneRenderer renderer{ogl, shaders};
    TViewState view;
    TViewSwitches switches;
    TSceneColors colours;
    std::string problem;

    DrawFixture() {
        const std::filesystem::path samples = VELDRA_TESTDATA_DIR;
        AnswerYesPrompts yes;
        if (!mesh.LoadFromFile((samples / "mdm/allied_engineer_body.mdm").string(), yes) ||
            !anim.LoadFromFile((samples / "mdx/body.mdx").string())) {
            problem = "the engineer's body and body.mdx are not in " + samples.string();
            return;
        }
        mesh.ClearShaderIndexes();
        if (!BakeFramesToMD3(mesh, anim, kFirstFrame, kFirstFrame + kFrames - 1, baked).baked) {
            problem = "the walk cannot be baked";
            return;
        }
        ogl.InitOnWindow(binding.get());
        if (!ogl.IsReady()) problem = "no OpenGL context";
        TCamera& camera = ogl.Camera();
        camera.position = {0, 0, 120};
        camera.target = kVectorZero;
        camera.up = kVectorPosY;
        view.rotationAngles = {-80, 0, -60};
        switches.showTags = false;
    }
};

DrawFixture& Fixture() {
    static DrawFixture fixture;
    return fixture;
}

void Draw(benchmark::State& state, bool posed) {
    DrawFixture& f = Fixture();
    if (!f.problem.empty()) {
        state.SkipWithError(f.problem.c_str());
        return;
    }
    int frame = 0;
    for (auto _ : state) {
        TSceneModel scene;
        scene.modelKind = posed ? kModelKindMDMMDX : kModelKindMD3;
        scene.md3 = &f.baked;
        scene.mdm = &f.mesh;
        scene.mdx = &f.anim;
        scene.currentFrame = posed ? static_cast<int>(kFirstFrame) + frame : frame;
        f.renderer.RedrawView(f.view, f.switches, f.colours, scene, true, false);
        glFinish();
        frame = (frame + 1) % static_cast<int>(kFrames);
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PosedPlayer(benchmark::State& state) {
    Draw(state, true);
}
BENCHMARK(BM_PosedPlayer)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BakedPlayer(benchmark::State& state) {
    Draw(state, false);
}
BENCHMARK(BM_BakedPlayer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
