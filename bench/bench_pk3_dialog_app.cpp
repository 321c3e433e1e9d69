// The PK3 browser listing a game-sized PAK (8,000 entries, a quarter of them models): the
// tree as data alone, and the dialog's whole showing up to the moment it would wait for the
// user (the listing and the tree widget filled with its nodes).
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zip.h>

#include <QApplication>
#include <QDialog>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/pk3_dialog.h"
#include "assets/pk3_tree.h"
#include "game_pak.h"

namespace {

void BM_TreeAsData(benchmark::State& state) {
    const std::vector<TPK3Source> sources{{GamePakPath(), "pak0.pk3"}};
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildPK3Tree(kPK3ModeMD3, sources));
}
BENCHMARK(BM_TreeAsData)->Unit(benchmark::kMillisecond);

void BM_DialogListing(benchmark::State& state) {
    TdlgPK3 dialog;
    dialog.runModal = [](TdlgPK3&) { return int(QDialog::Rejected); };
    const std::vector<TPK3Source> sources{{GamePakPath(), "pak0.pk3"}};
    for (auto _ : state)
        benchmark::DoNotOptimize(dialog.Browse(kPK3ModeMD3, sources, QString()));
}
BENCHMARK(BM_DialogListing)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(GamePakPath());
    return 0;
}
