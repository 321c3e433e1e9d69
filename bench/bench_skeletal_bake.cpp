// Baking the whole body animation (4887 frames) onto the engineer's mesh: the poser that
// computes each frame's bones once for all surfaces (on every core) against a full
// per-surface pose for every surface and the tags, as the pose was first described. Both must
// write the same bytes; the benchmark refuses to time them otherwise. The reference for the
// whole `bake` command is writing the same baked model: bake and write against write alone,
// in wall-clock time (the CPU column counts the time of every thread of the process).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "io/user_prompts.h"
#include "skeletal/skeletal_export.h"

namespace {

struct Pair {
    TMDM mesh;
    TMDX anim;
    std::string problem;  // why the benchmark cannot run, empty when it can
};

std::vector<char> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string SameOutput(TMDM& mesh, const TMDX& anim) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string pid = std::to_string(::getpid());
    const std::string a = (dir / ("veldra-bench-shared-" + pid + ".md3")).string();
    const std::string b = (dir / ("veldra-bench-per-surface-" + pid + ".md3")).string();
    TMD3 shared, perSurface;
    const std::uint32_t last = static_cast<std::uint32_t>(anim.frames.size()) - 1;
    if (!BakeFramesToMD3(mesh, anim, 0, last, shared, TBakePose::SharedBones).baked ||
        !BakeFramesToMD3(mesh, anim, 0, last, perSurface, TBakePose::PerSurface).baked ||
        !shared.SaveToFile(a) || !perSurface.SaveToFile(b)) {
        return "baking or saving failed";
    }
    const bool same = Bytes(a) == Bytes(b);
    std::filesystem::remove(a);
    std::filesystem::remove(b);
    return same ? "" : "the two ways of posing wrote different bytes";
}

Pair& Engineer() {
    static Pair pair = [] {
        Pair p;
        const std::filesystem::path data(VELDRA_TESTDATA_DIR);
        AnswerYesPrompts yes;
        try {
            if (!p.mesh.LoadFromFile((data / "mdm/allied_engineer_body.mdm").string(), yes) ||
                !p.anim.LoadFromFile((data / "mdx/body.mdx").string()) || p.anim.frames.empty()) {
                p.problem = "the sample pair does not load";
            }
        } catch (const std::exception& e) {
            p.problem = std::string("samples not found: ") + e.what();
        }
        if (p.problem.empty()) p.problem = SameOutput(p.mesh, p.anim);
        return p;
    }();
    return pair;
}

// What the window's and the terminal's reporters do between two redraws: read the clock and
// compare. The redraws themselves happen a few times a second whatever the work.
struct ClockCheckingProgress : TProgress {
    std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
    std::uint64_t redraws = 0;
    bool Report(std::uint64_t, std::uint64_t) override {
        const auto now = std::chrono::steady_clock::now();
        if (now - last >= std::chrono::milliseconds(50)) {
            last = now;
            ++redraws;
        }
        return true;
    }
};

void Bake(benchmark::State& state, TBakePose pose, TProgress* progress = nullptr) {
    Pair& pair = Engineer();
    if (!pair.problem.empty()) {
        state.SkipWithError(pair.problem.c_str());
        return;
    }
    const std::uint32_t last = static_cast<std::uint32_t>(pair.anim.frames.size()) - 1;
    TMD3 md3;
    for (auto _ : state) {
        const TBakeResult result =
            BakeFramesToMD3(pair.mesh, pair.anim, 0, last, md3, pose, progress);
        benchmark::DoNotOptimize(result.clamped);
    }
    state.counters["frames/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * (last + 1), benchmark::Counter::kIsRate);
}

void BM_BakeSharedBones(benchmark::State& state) {
    Bake(state, TBakePose::SharedBones);
}
BENCHMARK(BM_BakeSharedBones)->Unit(benchmark::kMillisecond)->UseRealTime();

// Against BM_BakeSharedBones in the same run: the cost of reporting progress once per frame.
void BM_BakeSharedBonesWithProgress(benchmark::State& state) {
    ClockCheckingProgress progress;
    Bake(state, TBakePose::SharedBones, &progress);
}
BENCHMARK(BM_BakeSharedBonesWithProgress)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string ScratchModel() {
    return (std::filesystem::temp_directory_path() /
            ("veldra-bench-write-" + std::to_string(::getpid()) + ".md3"))
        .string();
}

// The reference: writing the baked model of all frames (43.8 MB).
void BM_WriteBakedModel(benchmark::State& state) {
    Pair& pair = Engineer();
    if (!pair.problem.empty()) {
        state.SkipWithError(pair.problem.c_str());
        return;
    }
    const std::uint32_t last = static_cast<std::uint32_t>(pair.anim.frames.size()) - 1;
    TMD3 md3;
    BakeFramesToMD3(pair.mesh, pair.anim, 0, last, md3);
    const std::string file = ScratchModel();
    for (auto _ : state)
        benchmark::DoNotOptimize(md3.SaveToFile(file));
    std::filesystem::remove(file);
}
BENCHMARK(BM_WriteBakedModel)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// What `veldra-cli bake` does with the whole animation: bake, then write.
void BM_BakeAndWrite(benchmark::State& state) {
    Pair& pair = Engineer();
    if (!pair.problem.empty()) {
        state.SkipWithError(pair.problem.c_str());
        return;
    }
    const std::uint32_t last = static_cast<std::uint32_t>(pair.anim.frames.size()) - 1;
    const std::string file = ScratchModel();
    for (auto _ : state) {
        TMD3 md3;
        BakeFramesToMD3(pair.mesh, pair.anim, 0, last, md3);
        benchmark::DoNotOptimize(md3.SaveToFile(file));
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_BakeAndWrite)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_BakePerSurfacePose(benchmark::State& state) {
    Bake(state, TBakePose::PerSurface);
}
BENCHMARK(BM_BakePerSurfacePose)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
