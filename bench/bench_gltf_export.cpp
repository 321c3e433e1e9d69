// Exporting the game's full player animation (4,887 frames of 53 bones) with its mesh to
// .glb, beside writing a file of the same size through the same atomic writer: the export
// should cost at most about three such writes. Run with --benchmark_repetitions to compare
// medians.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "import/gltf_export.h"
#include "io/atomic_file_writer.h"
#include "io/user_prompts.h"

namespace {

struct TBody {
    TMDM mesh;
    TMDX anim;
    bool loaded = false;
};

TBody& Body() {
    static TBody body = [] {
        TBody b;
        const std::string dir = VELDRA_TESTDATA_DIR;
        FixedAnswerPrompts yes(true);
        b.loaded = b.mesh.LoadFromFile(dir + "/mdm/allied_soldier_body.mdm", yes) &&
                   b.anim.LoadFromFile(dir + "/mdx/body.mdx");
        return b;
    }();
    return body;
}

std::string OutputPath() {
    return std::filesystem::temp_directory_path() /
           ("veldra-bench-" + std::to_string(::getpid()) + ".glb");
}

bool Export(TBody& body, const std::string& out) {
    TGltfExport doc;
    const std::uint32_t frames = static_cast<std::uint32_t>(body.anim.frames.size());
    std::string error;
    return doc.AddPlayer(body.mesh, body.anim, {{"body", 0, frames, 20.0}}, {}) &&
           doc.Save(out, error);
}

void BM_ExportBodyAnimation(benchmark::State& state) {
    TBody& body = Body();
    if (!body.loaded) {
        state.SkipWithError("samples not found at " VELDRA_TESTDATA_DIR);
        return;
    }
    const std::string out = OutputPath();
    for (auto _ : state) {
        if (!Export(body, out)) state.SkipWithError("export failed");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(out));
    std::filesystem::remove(out);
}
BENCHMARK(BM_ExportBodyAnimation)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: as many bytes as the export writes, through the same writer.
void BM_WriteSameBytes(benchmark::State& state) {
    TBody& body = Body();
    if (!body.loaded) {
        state.SkipWithError("samples not found at " VELDRA_TESTDATA_DIR);
        return;
    }
    const std::string out = OutputPath();
    if (!Export(body, out)) state.SkipWithError("export failed");
    const std::vector<char> bytes(std::filesystem::file_size(out), 'x');
    for (auto _ : state) {
        AtomicFileWriter file(out);
        file.Write(bytes.data(), bytes.size());
        if (!file.Commit()) state.SkipWithError("write failed");
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    std::filesystem::remove(out);
}
BENCHMARK(BM_WriteSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
