// Frames per second drawing a 30,000-triangle MD3 at 800 x 600 offscreen, beside the same
// triangles sent as plain vertex arrays with the same lighting: the limit on this machine.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "model_factory.h"
#include "render/gl/offscreen_factory.h"
#include "render/gl/ogl.h"
#include "render/gl/scene_renderer.h"

namespace {

struct DrawFixture {
    std::unique_ptr<IOffscreenBinding> binding = MakeOffscreenBinding(800, 600);
    TOGL ogl;
    TShaders shaders;
    TMD3 model;
    TSceneRenderer renderer{ogl, shaders};
    TViewState view;
    TViewSwitches switches;
    TSceneColors colours;

    DrawFixture() {
        // 16 surfaces of 1,000 vertices: 31,232 triangles.
        MakeModel(model, {.surfaces = 16, .vertsPerSurface = 1000, .frames = 2, .tags = 2});
        ogl.InitOnWindow(binding.get());
        TCamera& camera = ogl.Camera();
        camera.position = {0, 0, 300};
        camera.target = kVectorZero;
        camera.up = kVectorPosY;
        view.rotationAngles = {-70, 0, 30};
    }
};

DrawFixture* Fixture() {
    static std::unique_ptr<DrawFixture> fixture = [] {
        auto f = std::make_unique<DrawFixture>();
        if (!f->ogl.IsReady()) return std::unique_ptr<DrawFixture>();
        return f;
    }();
    return fixture.get();
}

void CountFrames(benchmark::State& state) {
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RedrawView(benchmark::State& state) {
    DrawFixture* f = Fixture();
    if (f == nullptr) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const TSceneModel scene{kModelKindMD3, &f->model, 0, -1};
    for (auto _ : state) {
        f->renderer.RedrawView(f->view, f->switches, f->colours, scene, true, false);
        glFinish();
    }
    CountFrames(state);
}
BENCHMARK(BM_RedrawView)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: every surface's frame-0 vertices already converted, one glDrawElements each.
void BM_PlainVertexArrays(benchmark::State& state) {
    DrawFixture* f = Fixture();
    if (f == nullptr) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    struct Arrays {
        std::vector<float> positions, normals;
        const TSurface* surface;
    };
    std::vector<Arrays> arrays;
    for (const TSurface& s : f->model.header.surfaces) {
        Arrays a{{}, {}, &s};
        for (int v = 0; v < s.numVerts; ++v) {
            const TMD3Vertex& p = s.vertices[v];
            const TVector3 n = DecodeNormal(p.normal);
            a.positions.insert(a.positions.end(), {p.x / 64.0f, p.y / 64.0f, p.z / 64.0f});
            a.normals.insert(a.normals.end(), {n.x, n.y, n.z});
        }
        arrays.push_back(std::move(a));
    }
    const TSceneModel none{kModelKindNone, nullptr, 0, -1};
    for (auto _ : state) {
        // Background, camera and lights as the scene sets them up, then the raw triangles.
        f->renderer.RedrawView(f->view, f->switches, f->colours, none, true, false);
        glEnable(GL_LIGHTING);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        for (const Arrays& a : arrays) {
            glVertexPointer(3, GL_FLOAT, 0, a.positions.data());
            glNormalPointer(GL_FLOAT, 0, a.normals.data());
            glDrawElements(GL_TRIANGLES, a.surface->numTriangles * 3, GL_UNSIGNED_INT,
                           a.surface->triangles.data());
        }
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glFinish();
    }
    CountFrames(state);
}
BENCHMARK(BM_PlainVertexArrays)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
