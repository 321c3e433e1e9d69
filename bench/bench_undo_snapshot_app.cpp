// What the undo history adds to an edit of a large MD3: the copy taken before the command and
// the comparison after it, beside the edit itself (Mirror X, one of the cheapest).
#include <benchmark/benchmark.h>

#include "app/model_snapshot.h"
#include "model_factory.h"

namespace {

// 32 surfaces x 1,000 vertices x 200 frames: about 51 MB of vertices.
const TMD3& LargeModel() {
    static const TMD3 model = [] {
        TMD3 m;
        MakeModel(m, {.surfaces = 32, .vertsPerSurface = 1000, .frames = 200, .tags = 4});
        return m;
    }();
    return model;
}

void BM_MirrorX(benchmark::State& state) {
    TMD3 model = LargeModel();
    for (auto _ : state)
        benchmark::DoNotOptimize(model.MirrorX());
}
BENCHMARK(BM_MirrorX)->Unit(benchmark::kMillisecond);

// Snapshot and comparison as Undoable does them around any command.
void BM_SnapshotAndCompare(benchmark::State& state) {
    const TMD3& model = LargeModel();
    for (auto _ : state) {
        TModelSnapshot before;
        before.md3 = model;
        benchmark::DoNotOptimize(SameModel(*before.md3, model));
        benchmark::DoNotOptimize(SnapshotBytes(before));
    }
}
BENCHMARK(BM_SnapshotAndCompare)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
