// Maps read and converted end to end in one process: the whole-level samples (every brush
// through the corner search; dm3ish.map is all brushDef brushes) and a small model map
// converted and written as MD3.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "import/level_map.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

namespace {

namespace fs = std::filesystem;

void ConvertMap(benchmark::State& state, const char* name, bool write) {
    const std::string path = (fs::path(VELDRA_TESTDATA_DIR) / "map" / name).string();
    if (!fs::exists(path)) {
        state.SkipWithError("sample map not found");
        return;
    }
    const std::string out = (fs::temp_directory_path() / "veldra_bench_map.md3").string();
    std::size_t polygons = 0;
    for (auto _ : state) {
        TLevelMap map;
        map.LoadMap(path);
        TMD3 model;
        AnswerYesPrompts yes;
        // The whole levels exceed the game's per-texture limits: the conversion counts every
        // surface and is refused, which is the end of the road for them.
        const bool converted = map.ConvertToMD3(model, &yes);
        if (converted && write) model.SaveToFile(out);
        polygons = map.Polygons().size();
        benchmark::DoNotOptimize(model.header.numSurfaces);
    }
    state.counters["polygons"] = static_cast<double>(polygons);
    std::error_code ec;
    fs::remove(out, ec);
}

}  // namespace

BENCHMARK_CAPTURE(ConvertMap, dm3ish_brushDef, "dm3ish.map", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertMap, dm17ish_patches, "dm17ish.map", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertMap, am_it_foghat_written, "am_it_foghat.map", true)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
