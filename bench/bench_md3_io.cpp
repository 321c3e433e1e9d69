// Converting an unchanged large MD3 (load, then save) beside a plain copy of the same bytes:
// a read and a write of the file through one reused buffer, as `dd` does it. Run with
// --benchmark_repetitions to compare medians.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "io/atomic_file_writer.h"
#include "model_factory.h"

namespace {

std::string MadeModel(const char* name, const ModelShape& shape) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("veldra-bench-" + std::to_string(::getpid()) + "-" + name + ".md3");
    TMD3 model;
    MakeModel(model, shape);
    if (!model.SaveToFile(file.string())) std::abort();
    return file.string();
}

// 8 surfaces x 1,000 vertices x 800 frames: about 51 MB of vertices, 6.4 MB per surface as
// in a long animation.
const std::string& LargeModelPath() {
    static const std::string path =
        MadeModel("large", {.surfaces = 8, .vertsPerSurface = 1000, .frames = 800, .tags = 4});
    return path;
}

// About the same bytes in 32 surfaces of 1.6 MB (500 vertices x 400 frames), as a player
// model's many parts are.
const std::string& SmallSurfacesModelPath() {
    static const std::string path =
        MadeModel("small", {.surfaces = 32, .vertsPerSurface = 500, .frames = 400, .tags = 4});
    return path;
}

const std::string& ModelPath(const benchmark::State& state) {
    return state.range(0) == 0 ? LargeModelPath() : SmallSurfacesModelPath();
}

std::string OutputPath() {
    return std::filesystem::temp_directory_path() /
           ("veldra-bench-" + std::to_string(::getpid()) + ".out.md3");
}

// Argument 0: the model with large surfaces; 1: the one with small surfaces.
void BothModels(benchmark::internal::Benchmark* b) {
    b->ArgName("small_surfaces")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Reads `path` in 1 MB pieces and hands each to `write`.
template <typename Write>
bool CopyThrough(const std::string& path, Write write) {
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    std::vector<char> buffer(1 << 20);
    ssize_t got = 0;
    while ((got = ::read(in, buffer.data(), buffer.size())) > 0)
        write(buffer.data(), static_cast<std::size_t>(got));
    ::close(in);
    return got == 0;
}

// dd if=IN of=OUT bs=1M: no flush to the disk, no temporary file.
void BM_PlainCopy(benchmark::State& state) {
    const std::string& path = ModelPath(state);
    const std::string out = OutputPath();
    for (auto _ : state) {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool written = fd >= 0;
        const bool read =
            written && CopyThrough(path, [&](const char* data, std::size_t bytes) {
                written = written && ::write(fd, data, bytes) == static_cast<ssize_t>(bytes);
            });
        if (fd >= 0) ::close(fd);
        if (!read || !written) state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_PlainCopy)->Apply(BothModels);

// The same copy written the way every save is: a temporary file, synced, then renamed.
void BM_PlainCopySafelyWritten(benchmark::State& state) {
    const std::string& path = ModelPath(state);
    for (auto _ : state) {
        AtomicFileWriter out(OutputPath());
        const bool read = CopyThrough(
            path, [&out](const char* data, std::size_t bytes) { out.Write(data, bytes); });
        if (!read || !out.Commit()) state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_PlainCopySafelyWritten)->Apply(BothModels);

// What `convert IN.md3 OUT.md3` does with an unchanged model.
void BM_ConvertMD3(benchmark::State& state) {
    const std::string& path = ModelPath(state);
    for (auto _ : state) {
        TMD3 model;
        if (!model.LoadFromFile(path) || !model.SaveToFile(OutputPath())) {
            state.SkipWithError("convert failed");
        }
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_ConvertMD3)->Apply(BothModels);

// The floor for any loader: the file read into fresh memory it then owns, so first-touch
// page faults are counted as a load pays them.
void BM_PlainReadFreshBuffer(benchmark::State& state) {
    const std::string& path = ModelPath(state);
    const auto size = std::filesystem::file_size(path);
    for (auto _ : state) {
        std::vector<char> buffer;
        buffer.reserve(size);
        const bool read = CopyThrough(path, [&buffer](const char* data, std::size_t bytes) {
            buffer.insert(buffer.end(), data, data + bytes);
        });
        if (!read) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_PlainReadFreshBuffer)->Apply(BothModels);

void BM_LoadMD3(benchmark::State& state) {
    const std::string& path = ModelPath(state);
    for (auto _ : state) {
        TMD3 model;
        if (!model.LoadFromFile(path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.header.surfaces.data());
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadMD3)->Apply(BothModels);

}  // namespace

int main(int argc, char** argv) {
    // A convert is one process whose every large array is fresh memory. Without a fixed
    // threshold the allocator would keep what one iteration freed for the next, and the
    // loads after the first would pay none of the page faults a real convert pays.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(OutputPath());
    std::filesystem::remove(LargeModelPath());
    std::filesystem::remove(SmallSurfacesModelPath());
    return 0;
}
