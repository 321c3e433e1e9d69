// Frames per second drawing a 30,000-triangle MD3 at 800 x 600 offscreen whose every surface
// uses a two-stage shader with a pulsing colour, scrolling and turbulent coordinates and a
// vertex wave, beside the same model with two plain textured stages: what evaluating the
// shaders on the CPU every frame costs.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "model_factory.h"
#include "render/gl/offscreen_factory.h"
#include "render/gl/ogl.h"
#include "render/gl/scene_renderer.h"
#include "shader/shader_lines.h"
#include "shader/shader_parser.h"

namespace {

constexpr const char* kAnimatedScript =
    "models/bench/animated\n{\n"
    "deformVertexes wave 64 sin 0 2 0 0.5\n"
    "{\nmap a.tga\nrgbGen wave sin 0.75 0.25 0 1\ntcMod scroll 0.1 0.2\n"
    "tcMod turb 0 0.05 0 0.3\n}\n"
    "{\nmap b.tga\nblendFunc add\nrgbGen wave triangle 0.5 0.5 0.25 2\ntcMod scroll -0.3 0\n}\n"
    "}\n";

constexpr const char* kPlainScript =
    "models/bench/plain\n{\n"
    "{\nmap a.tga\n}\n"
    "{\nmap b.tga\nblendFunc add\n}\n"
    "}\n";

struct DrawFixture {
    std::unique_ptr<IOffscreenBinding> binding = MakeOffscreenBinding(800, 600);
    TOGL ogl;
    TShaders animated;
    TShaders plain;
    TMD3 model;
    TSceneRenderer renderer{ogl, plain};
    TViewState view;
    TViewSwitches switches;
    TSceneColors colours;

    DrawFixture() {
        // 16 surfaces of 1,000 vertices: 31,232 triangles.
        MakeModel(model, {.surfaces = 16, .vertsPerSurface = 1000, .frames = 2, .tags = 2});
        for (TSurface& s : model.header.surfaces) {
            if (!s.shaders.empty()) s.shaders[0].shaderIndex = 0;
        }
        ogl.InitOnWindow(binding.get());
        TCamera& camera = ogl.Camera();
        camera.position = {0, 0, 300};
        camera.target = kVectorZero;
        camera.up = kVectorPosY;
        view.rotationAngles = {-70, 0, 30};
        switches.showTags = false;
        if (!ogl.IsReady()) return;
        const std::uint32_t texture = GreyTexture();
        Load(animated, kAnimatedScript, "models/bench/animated", texture);
        Load(plain, kPlainScript, "models/bench/plain", texture);
    }

    static std::uint32_t GreyTexture() {
        std::vector<std::uint8_t> texels(64 * 64 * 4, 160);
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
        return name;
    }

    static void Load(TShaders& store, const char* script, const std::string& name,
                     std::uint32_t texture) {
        store.LoadShader(PrepareShaderLines(script, true), name, 0, name);
        for (TShaderTexture& stage : store.shaders[0].stages)
            stage.texture = texture;
    }
};

DrawFixture* Fixture() {
    static std::unique_ptr<DrawFixture> fixture = [] {
        auto f = std::make_unique<DrawFixture>();
        if (!f->ogl.IsReady() || f->animated.Count() != 1 || f->plain.Count() != 1)
            return std::unique_ptr<DrawFixture>();
        return f;
    }();
    return fixture.get();
}

void DrawFrames(benchmark::State& state, bool animatedShader) {
    DrawFixture* f = Fixture();
    if (f == nullptr) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    TSceneModel scene{kModelKindMD3, &f->model, 0, -1};
    scene.md3Shaders = animatedShader ? &f->animated : &f->plain;
    for (auto _ : state) {
        scene.shaderTime += 1.0 / 60.0;
        f->renderer.RedrawView(f->view, f->switches, f->colours, scene, true, false);
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_AnimatedShaders(benchmark::State& state) {
    DrawFrames(state, true);
}
BENCHMARK(BM_AnimatedShaders)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: the same passes without anything to evaluate.
void BM_PlainStages(benchmark::State& state) {
    DrawFrames(state, false);
}
BENCHMARK(BM_PlainStages)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
