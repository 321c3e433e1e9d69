// Importing the largest MilkShape and 3ds Max samples: the conversion in memory, and whole
// `veldra-cli convert` processes beside `assimp info` merely importing the same file.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "import/ase.h"
#include "import/ms3d.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "process_runner.h"

namespace {

namespace fs = std::filesystem;

struct Sample {
    const char* path;  // inside the test data
};

const Sample kWuson{"ms3d/Wuson.ms3d"};
const Sample kRifle{"ase/Rifle.ase"};

std::string SamplePath(const Sample& sample) {
    return (fs::path(VELDRA_TESTDATA_DIR) / sample.path).string();
}

std::string OutputPath() {
    return (fs::temp_directory_path() /
            ("veldra-bench-import-" + std::to_string(::getpid()) + ".md3"))
        .string();
}

void BM_ConvertMS3DInMemory(benchmark::State& state) {
    const std::string path = SamplePath(kWuson);
    if (!fs::exists(path)) return state.SkipWithError("samples not found");
    AnswerYesPrompts yes;
    for (auto _ : state) {
        TMS3D ms3d;
        TMD3 model;
        std::string message;
        if (!ms3d.LoadMS3D(path) || !ms3d.ConvertMS3DToMD3(model, yes, message))
            return state.SkipWithError("Wuson.ms3d did not convert");
        benchmark::DoNotOptimize(model.header.numSurfaces);
    }
}

void BM_ConvertASEInMemory(benchmark::State& state) {
    const std::string path = SamplePath(kRifle);
    if (!fs::exists(path)) return state.SkipWithError("samples not found");
    AnswerYesPrompts yes;
    for (auto _ : state) {
        TASE ase;
        TMD3 model;
        std::string message;
        if (!ase.LoadASE(path, message)) return state.SkipWithError("Rifle.ase did not load");
        // Refused at the vertex limit after the whole surface was built.
        benchmark::DoNotOptimize(ase.ConvertASEToMD3(model, yes, message));
    }
}

// `veldra-cli convert` and `assimp info` started in turn, so that on a shared machine both
// meet the same load. The time is veldra-cli's; the counters give assimp's and how many times
// faster veldra-cli is.
void BM_ConvertBesideAssimpInfo(benchmark::State& state, const Sample* sample) {
    const std::string input = SamplePath(*sample);
    if (!fs::exists(input)) return state.SkipWithError("samples not found");
    const std::string assimp = FindOnPath("assimp");
    if (assimp.empty())
        return state.SkipWithError("assimp not found (scripts/install-deps.sh installs it)");
    const std::string output = OutputPath();
    // Both samples pass the vertex limit of one surface: split, they convert whole.
    const std::vector<std::string> ours{VELDRA_CLI_PATH, "convert", input, output,
                                        "--split-surfaces"};
    const std::vector<std::string> reference{assimp, "info", input};
    if (RunQuietly(ours) != 0) return state.SkipWithError("veldra-cli failed");
    if (RunQuietly(reference) != 0) return state.SkipWithError("assimp cannot read the file");
    using Clock = std::chrono::steady_clock;
    Clock::duration oursTotal{}, referenceTotal{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const bool oursRan = RunQuietly(ours) == 0;
        const Clock::time_point middle = Clock::now();
        const bool referenceRan = RunQuietly(reference) == 0;
        const Clock::time_point end = Clock::now();
        if (!oursRan || !referenceRan) {
            state.SkipWithError("a process failed");
            break;
        }
        oursTotal += middle - start;
        referenceTotal += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
    }
    std::error_code error;
    fs::remove(output, error);
    if (state.iterations() == 0 || oursTotal.count() == 0) return;
    state.counters["assimp_info_us"] =
        std::chrono::duration<double, std::micro>(referenceTotal).count() /
        static_cast<double>(state.iterations());
    state.counters["times_faster"] = std::chrono::duration<double>(referenceTotal).count() /
                                     std::chrono::duration<double>(oursTotal).count();
    state.SetLabel(fs::path(input).filename().string());
}

}  // namespace

BENCHMARK(BM_ConvertMS3DInMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertASEInMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ConvertBesideAssimpInfo, wuson_ms3d, &kWuson)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ConvertBesideAssimpInfo, rifle_ase, &kRifle)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
