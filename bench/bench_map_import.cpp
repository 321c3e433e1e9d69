// Maps read and converted end to end in one process: the whole-level samples (every brush
// through the corner search; dm3ish.map is all brushDef brushes) and a small model map
// converted and written as MD3; what reporting progress once per brush costs a map whose
// round brushes make the corner search slow; and brushes of many faces against small ones.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "import/level_map.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "round_brush_map.h"

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

// Does what the window's and the terminal's reporters do on every call that shows nothing:
// read the clock and compare.
class ClockProgress : public TProgress {
  public:
    bool Report(std::uint64_t done, std::uint64_t total) override {
        const auto now = std::chrono::steady_clock::now();
        if (done < total && now - last_ < std::chrono::milliseconds(50)) return true;
        last_ = now;
        ++shown_;
        return true;
    }
    std::uint64_t shown_ = 0;

  private:
    std::chrono::steady_clock::time_point last_{};
};

// state.range(0): 1 to report every brush, 0 to pass no reporter.
void LoadRoundBrushes(benchmark::State& state) {
    static const std::string text = RoundBrushMap(120, 48);
    ClockProgress clock;
    TProgress* progress = state.range(0) != 0 ? &clock : nullptr;
    std::size_t polygons = 0;
    for (auto _ : state) {
        TLevelMap map;
        map.LoadMapText(text, "round", {}, progress);
        polygons = map.Polygons().size();
        benchmark::DoNotOptimize(polygons);
    }
    state.counters["polygons"] = static_cast<double>(polygons);
}

// 300 round brushes of state.range(0) faces: a map of about 5 MB at 128 faces. The brushes
// of 24 faces, which are searched whole, are the reference the large ones are read against.
void LoadManyFacedBrushes(benchmark::State& state) {
    const std::string text = RoundBrushMap(300, static_cast<int>(state.range(0)));
    std::size_t polygons = 0;
    for (auto _ : state) {
        TLevelMap map;
        map.LoadMapText(text, "round");
        polygons = map.Polygons().size();
        benchmark::DoNotOptimize(polygons);
    }
    state.counters["polygons"] = static_cast<double>(polygons);
}

}  // namespace

BENCHMARK(LoadManyFacedBrushes)->ArgName("faces")->Arg(24)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadRoundBrushes)->ArgName("reporter")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertMap, dm3ish_brushDef, "dm3ish.map", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertMap, dm17ish_patches, "dm17ish.map", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertMap, am_it_foghat_written, "am_it_foghat.map", true)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
