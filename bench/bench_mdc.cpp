// Compressed models beside plain ones, on a 401-frame model of 4 surfaces of 480 vertices
// that grow half a unit a frame (a base frame about every dozen frames, the rest compressed):
// reading and decoding every frame of its MDC against reading the MD3 it decodes to, and
// converting it to MDC against writing it as MD3. Run with --benchmark_repetitions to compare
// medians.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "model_factory.h"

namespace {

const TMD3& Model() {
    static const TMD3 model = [] {
        TMD3 m;
        MakeModel(m, {.surfaces = 4, .vertsPerSurface = 480, .frames = 401, .tags = 3});
        return m;
    }();
    return model;
}

std::string TempPath(const std::string& extension) {
    return (std::filesystem::temp_directory_path() /
            ("veldra-bench-mdc-" + std::to_string(::getpid()) + extension))
        .string();
}

// The model as an MDC, and the MD3 its decoding gives.
const std::string& FilePath(const std::string& extension) {
    static const std::string mdc = [] {
        TMD3 model = Model();
        const std::string path = TempPath(".mdc");
        if (!model.SaveToFile(path)) std::abort();
        return path;
    }();
    static const std::string md3 = [] {
        TMD3 decoded;
        const std::string path = TempPath(".md3");
        if (!decoded.LoadFromFile(mdc) || !decoded.SaveToFile(path)) std::abort();
        return path;
    }();
    return extension == ".mdc" ? mdc : md3;
}

void Read(benchmark::State& state, const std::string& extension) {
    const std::string& path = FilePath(extension);
    for (auto _ : state) {
        TMD3 model;
        if (!model.LoadFromFile(path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.header.surfaces.data());
    }
}

void BM_ReadMD3(benchmark::State& state) {
    Read(state, ".md3");
}
BENCHMARK(BM_ReadMD3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadAndDecodeMDC(benchmark::State& state) {
    Read(state, ".mdc");
}
BENCHMARK(BM_ReadAndDecodeMDC)->Unit(benchmark::kMillisecond)->UseRealTime();

void Write(benchmark::State& state, const std::string& extension) {
    TMD3 model = Model();
    const std::string path = TempPath(".out" + extension);
    for (auto _ : state) {
        if (!model.SaveToFile(path)) state.SkipWithError("save failed");
    }
    std::filesystem::remove(path);
}

void BM_WriteMD3(benchmark::State& state) {
    Write(state, ".md3");
}
BENCHMARK(BM_WriteMD3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ConvertToMDC(benchmark::State& state) {
    Write(state, ".mdc");
}
BENCHMARK(BM_ConvertToMDC)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(FilePath(".mdc"));
    std::filesystem::remove(FilePath(".md3"));
    return 0;
}
