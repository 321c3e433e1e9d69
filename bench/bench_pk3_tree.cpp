// The PK3 browser's tree for a game-sized PAK (thousands of entries, as the game's pak0
// holds), beside a bare listing of the same archive's directory, the physical limit.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "assets/pak_list.h"
#include "assets/pk3_tree.h"
#include "game_pak.h"

namespace {

void BM_ZipDirectoryOnly(benchmark::State& state) {
    for (auto _ : state) {
        int error = 0;
        zip_t* archive = zip_open(GamePakPath().c_str(), ZIP_RDONLY, &error);
        for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i)
            benchmark::DoNotOptimize(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0));
        zip_discard(archive);
    }
}
BENCHMARK(BM_ZipDirectoryOnly)->Unit(benchmark::kMillisecond);

void BM_BuildPK3Tree(benchmark::State& state) {
    const std::vector<TPK3Source> sources{{GamePakPath(), "pak0.pk3"}};
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildPK3Tree(kPK3ModeMD3, sources));
}
BENCHMARK(BM_BuildPK3Tree)->Unit(benchmark::kMillisecond);

void BM_AddPakScans(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ScanPakContents(GamePakPath()));
}
BENCHMARK(BM_AddPakScans)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove(GamePakPath());
    return 0;
}
