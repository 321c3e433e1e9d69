// Loading and saving a large MD3 beside a plain read of the same file, the physical limit.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <unistd.h>

#include "model_factory.h"

namespace {

// 32 surfaces x 1,000 vertices x 200 frames: about 51 MB of vertices.
const std::string& LargeModelPath() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() /
                          ("veldra-bench-" + std::to_string(::getpid()) + ".md3");
        TMD3 model;
        MakeModel(model, {.surfaces = 32, .vertsPerSurface = 1000, .frames = 200, .tags = 4});
        if (!model.SaveToFile(file.string())) std::abort();
        return file.string();
    }();
    return path;
}

// The physical limit for a loader: read the whole file into memory it then owns. A fresh
// buffer each time, as every load needs, so first-touch page faults are counted too.
void BM_PlainRead(benchmark::State& state) {
    const std::string& path = LargeModelPath();
    const auto size = std::filesystem::file_size(path);
    for (auto _ : state) {
        std::unique_ptr<char[]> buffer(new char[size]);
        std::ifstream in(path, std::ios::binary);
        in.read(buffer.get(), static_cast<std::streamsize>(size));
        benchmark::DoNotOptimize(buffer.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

// The same read into one buffer kept warm across iterations: the page cache's copy speed.
void BM_PlainReadReusedBuffer(benchmark::State& state) {
    const std::string& path = LargeModelPath();
    const auto size = std::filesystem::file_size(path);
    std::vector<char> buffer(size);
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        in.read(buffer.data(), static_cast<std::streamsize>(size));
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_PlainReadReusedBuffer)->Unit(benchmark::kMillisecond);

void BM_LoadMD3(benchmark::State& state) {
    const std::string& path = LargeModelPath();
    const auto size = std::filesystem::file_size(path);
    TMD3 model;
    for (auto _ : state) {
        if (!model.LoadFromFile(path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.header.surfaces.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_LoadMD3)->Unit(benchmark::kMillisecond);

void BM_SaveMD3(benchmark::State& state) {
    const std::string& path = LargeModelPath();
    TMD3 model;
    if (!model.LoadFromFile(path)) state.SkipWithError("load failed");
    const std::string out = path + ".out.md3";
    for (auto _ : state) {
        if (!model.SaveToFile(out)) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(out)));
    std::filesystem::remove(out);
}
BENCHMARK(BM_SaveMD3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(LargeModelPath());
    return 0;
}
