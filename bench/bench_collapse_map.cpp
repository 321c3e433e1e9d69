// The progressive mesh with the priority structure against the plain scan of every remaining
// vertex for every collapse, on a 6,000-vertex surface (the game's vertex limit) and on the
// engineer's body posed where "Calculate LOD" poses it. Both must give the same permutation,
// collapse map and LOD minimum; the benchmark refuses to time them otherwise.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/user_prompts.h"
#include "lod/collapse_map.h"
#include "lod/progressive_mesh.h"
#include "lod_meshes.h"
#include "skeletal/skeletal_pose.h"

namespace {

struct Surfaces {
    std::vector<LodMesh> meshes;
    std::string problem;  // why the benchmark cannot run, empty when it can
};

bool Same(const TcmResult& a, const TcmResult& b) {
    return a.permutation == b.permutation && a.map == b.map && a.lodMinimum == b.lodMinimum;
}

std::string Check(Surfaces& s) {
    for (const LodMesh& m : s.meshes) {
        if (!Same(ProgressiveMesh(m.positions, m.triangles),
                  ProgressiveMeshLiteral(m.positions, m.triangles))) {
            return "the fast and the literal choice differ";
        }
    }
    return "";
}

Surfaces& Grid6000() {
    static Surfaces s = [] {
        Surfaces g;
        g.meshes.push_back(LodGridMesh(75, 80, 0.25f, 11));
        g.problem = Check(g);
        return g;
    }();
    return s;
}

// The engineer's four surfaces posed at the frame "Calculate LOD" uses for a pair.
Surfaces& Engineer() {
    static Surfaces s = [] {
        Surfaces e;
        const std::filesystem::path data(VELDRA_TESTDATA_DIR);
        AnswerYesPrompts yes;
        TMDM mesh;
        TMDX anim;
        try {
            if (!mesh.LoadFromFile((data / "mdm/allied_engineer_body.mdm").string(), yes) ||
                !anim.LoadFromFile((data / "mdx/body.mdx").string())) {
                e.problem = "the sample pair does not load";
                return e;
            }
        } catch (const std::exception& error) {
            e.problem = std::string("samples not found: ") + error.what();
            return e;
        }
        const std::uint32_t frame = TCollapseMap::LodFrame(anim, kLodFrameMDMMDX);
        for (std::uint32_t i = 0; i < mesh.surfaces.size(); ++i) {
            SkeletalPose(mesh, anim, frame, i);
            e.meshes.push_back({mesh.pose.vertexPositions, mesh.surfaces[i].triangles});
        }
        e.problem = Check(e);
        return e;
    }();
    return s;
}

template <TcmResult (*Reduce)(const std::vector<TVector3>&, const std::vector<TMDMTriangle>&)>
void Run(benchmark::State& state, Surfaces& surfaces) {
    if (!surfaces.problem.empty()) {
        state.SkipWithError(surfaces.problem.c_str());
        return;
    }
    std::size_t vertices = 0;
    for (const LodMesh& m : surfaces.meshes)
        vertices += m.positions.size();
    for (auto _ : state) {
        for (const LodMesh& m : surfaces.meshes)
            benchmark::DoNotOptimize(Reduce(m.positions, m.triangles));
    }
    state.counters["vertices"] = static_cast<double>(vertices);
}

void BM_Grid6000_Fast(benchmark::State& state) {
    Run<ProgressiveMesh>(state, Grid6000());
}
void BM_Grid6000_Literal(benchmark::State& state) {
    Run<ProgressiveMeshLiteral>(state, Grid6000());
}
void BM_EngineerBody_Fast(benchmark::State& state) {
    Run<ProgressiveMesh>(state, Engineer());
}
void BM_EngineerBody_Literal(benchmark::State& state) {
    Run<ProgressiveMeshLiteral>(state, Engineer());
}

BENCHMARK(BM_Grid6000_Fast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grid6000_Literal)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EngineerBody_Fast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineerBody_Literal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
