// Whole `veldra-cli info` processes beside `assimp info` (from assimp-utils) on the same
// files, and an empty process: the floor of any start.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model_factory.h"
#include "process_runner.h"

namespace {

namespace fs = std::filesystem;

// The largest sample MD3 by bytes that has surfaces (the reference refuses models without
// them, such as tags-only hand models); empty when the samples are absent.
const std::string& LargestSample() {
    static const std::string path = [] {
        std::error_code error;
        std::string best;
        std::uintmax_t bestSize = 0;
        for (fs::recursive_directory_iterator it(VELDRA_TESTDATA_DIR, error), end;
             !error && it != end; it.increment(error)) {
            std::string ext = it->path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(),
                           [](unsigned char c) { return std::tolower(c); });
            if (ext != ".md3" || !it->is_regular_file() || it->file_size() <= bestSize) continue;
            TMD3 model;
            if (!model.LoadFromFile(it->path().string()) || model.header.numSurfaces == 0) continue;
            bestSize = it->file_size();
            best = it->path().string();
        }
        return best;
    }();
    return path;
}

struct TemporaryFile {
    std::string path;
    ~TemporaryFile() {
        std::error_code error;
        fs::remove(path, error);
    }
};

// A model the size of a long animated one met in use: 401 frames, about 1.4 MB.
const std::string& LongAnimation() {
    static const TemporaryFile path = [] {
        const auto file =
            fs::temp_directory_path() / ("veldra-bench-" + std::to_string(::getpid()) + ".md3");
        TMD3 model;
        MakeModel(model, {.surfaces = 4, .vertsPerSurface = 96, .frames = 401, .tags = 4});
        if (!model.SaveToFile(file.string())) std::abort();
        return TemporaryFile{file.string()};
    }();
    return path.path;
}

void RunProcesses(benchmark::State& state, const std::vector<std::string>& command) {
    if (RunQuietly(command) != 0) {
        state.SkipWithError((command[0] + " failed on " + command.back()).c_str());
        return;
    }
    for (auto _ : state) {
        if (RunQuietly(command) != 0) {
            state.SkipWithError((command[0] + " failed").c_str());
            break;
        }
    }
    state.SetLabel(fs::path(command.back()).filename().string());
}

void BM_EmptyProcess(benchmark::State& state) {
    const std::string program = FindOnPath("true");
    if (program.empty()) return state.SkipWithError("no true(1) on PATH");
    RunProcesses(state, {program});
}

using ModelPath = const std::string& (*)();

void BM_VeldraCliInfo(benchmark::State& state, ModelPath model) {
    if (model().empty()) return state.SkipWithError("no sample MD3 with surfaces in the test data");
    RunProcesses(state, {VELDRA_CLI_PATH, "info", model()});
}

// `assimp info` and `veldra-cli info` started in turn, so that on a shared machine both
// meet the same load. The time is assimp's; the counters give veldra-cli's and how many
// times faster it is.
void BM_AssimpInfoBesideVeldraCli(benchmark::State& state, ModelPath model) {
    if (model().empty()) return state.SkipWithError("no sample MD3 with surfaces in the test data");
    const std::string assimp = FindOnPath("assimp");
    if (assimp.empty()) {
        return state.SkipWithError(
            "assimp not found: the reference needs assimp-utils (scripts/install-deps.sh)");
    }
    const std::vector<std::string> reference{assimp, "info", model()};
    const std::vector<std::string> ours{VELDRA_CLI_PATH, "info", model()};
    if (RunQuietly(reference) != 0) return state.SkipWithError("assimp cannot read the model");
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
        state.SetIterationTime(std::chrono::duration<double>(end - middle).count());
    }
    if (state.iterations() == 0 || oursTotal.count() == 0) return;
    state.counters["veldra_cli_us"] = std::chrono::duration<double, std::micro>(oursTotal).count() /
                                      static_cast<double>(state.iterations());
    state.counters["times_faster"] = std::chrono::duration<double>(referenceTotal).count() /
                                     std::chrono::duration<double>(oursTotal).count();
    state.SetLabel(fs::path(model()).filename().string());
}

}  // namespace

BENCHMARK(BM_EmptyProcess)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_VeldraCliInfo, largest_sample, LargestSample)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_AssimpInfoBesideVeldraCli, largest_sample, LargestSample)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_VeldraCliInfo, long_animation, LongAnimation)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_AssimpInfoBesideVeldraCli, long_animation, LongAnimation)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
