// Taking the scripts out of a game-sized archive: `veldra-cli pk3 extract` and the game-path
// scan (which extracts and indexes every PAK's scripts) beside `unzip` writing the same
// entries, into an empty folder and over an earlier extraction.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "io/time_zone.h"
#include "process_runner.h"

namespace {

namespace fs = std::filesystem;

constexpr int kScripts = 1000;
constexpr int kTextures = 600;

// A scratch folder for one run of the program, removed with it.
struct BenchFolder {
    fs::path path = fs::temp_directory_path() / ("veldra-bench-pk3-" + std::to_string(::getpid()));
    BenchFolder() { fs::create_directories(path); }
    ~BenchFolder() {
        std::error_code error;
        fs::remove_all(path, error);
    }
};

const BenchFolder& Folder() {
    static const BenchFolder folder;
    return folder;
}

std::string ShaderText(int i) {
    std::string text;
    for (int s = 0; s < 4 + i % 40; ++s) {
        text += "textures/bench_" + std::to_string(i) + "/s" + std::to_string(s) +
                "\n{\n\tqer_editorimage textures/bench/s" + std::to_string(s) +
                ".tga\n\tsurfaceparm nomarks\n\t{\n\t\tmap $lightmap\n\t\trgbGen identity\n\t}"
                "\n\t{\n\t\tmap textures/bench/s" +
                std::to_string(s) + ".tga\n\t\tblendFunc GL_DST_COLOR GL_ZERO\n\t}\n}\n\n";
    }
    return text;
}

// etmain/pak0.pk3 of a game folder: 1,000 scripts of 1-20 KB among 600 images, as in the
// stock archive the scripts are a minority of the entries the directory lists.
const std::string& GameFolder() {
    static const std::string game = [] {
        const fs::path etmain = Folder().path / "game" / "etmain";
        fs::create_directories(etmain);
        const std::string pak = (etmain / "pak0.pk3").string();
        int error = 0;
        zip_t* archive = zip_open(pak.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (archive == nullptr) std::abort();
        static std::vector<std::string> data;
        data.reserve(kScripts + kTextures);
        for (int i = 0; i < kScripts + kTextures; ++i) {
            std::string name;
            if (i % 8 < 5 && i / 8 * 5 + i % 8 < kScripts) {
                const int n = i / 8 * 5 + i % 8;
                name = "scripts/bench" + std::to_string(n) + ".shader";
                data.push_back(ShaderText(n));
            } else {
                name = "textures/bench/image" + std::to_string(i) + ".tga";
                data.push_back(std::string(4096, static_cast<char>(i)));
            }
            zip_source_t* source =
                zip_source_buffer(archive, data.back().data(), data.back().size(), 0);
            if (zip_file_add(archive, name.c_str(), source, 0) < 0) std::abort();
        }
        if (zip_close(archive) != 0) std::abort();
        return (Folder().path / "game").string();
    }();
    return game;
}

std::string Pak() {
    return GameFolder() + "/etmain/pak0.pk3";
}

// range(0): 0 into an empty folder, 1 over the previous extraction.
void RunExtraction(benchmark::State& state, const std::vector<std::string>& command,
                   const fs::path& out) {
    const bool fresh = state.range(0) == 0;
    std::error_code error;
    fs::remove_all(out, error);
    if (RunQuietly(command) != 0) {
        state.SkipWithError((command[0] + " failed").c_str());
        return;
    }
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            fs::remove_all(out, error);
            state.ResumeTiming();
        }
        if (RunQuietly(command) != 0) {
            state.SkipWithError((command[0] + " failed").c_str());
            break;
        }
    }
    state.SetLabel(fresh ? "into an empty folder" : "over the last extraction");
}

void BM_Unzip(benchmark::State& state) {
    const std::string unzip = FindOnPath("unzip");
    if (unzip.empty()) {
        state.SkipWithError("unzip is not installed");
        return;
    }
    const fs::path out = Folder().path / "unzip";
    RunExtraction(state, {unzip, "-o", "-qq", Pak(), "scripts/*", "-d", out.string()}, out);
}

void BM_VeldraCliExtract(benchmark::State& state) {
    const fs::path out = Folder().path / "veldra";
    RunExtraction(
        state, {VELDRA_CLI_PATH, "pk3", "extract", Pak(), "scripts/*", "--to", out.string()}, out);
}

// What choosing the game path costs: every PAK's scripts extracted over the last scan's
// copies and indexed.
void BM_GamePathScan(benchmark::State& state) {
    LoadLocalTimeZoneOnce();
    TGameAssets assets((Folder().path / "tmp").string() + "/");
    assets.AddPak(Pak());
    assets.CreateWorkFolders();
    for (auto _ : state) {
        TShaderScanReport report;
        assets.SetGamePath(GameFolder(), {}, &report);
        if (report.files != kScripts || !report.problems.empty()) {
            state.SkipWithError("the scan did not index every script");
            break;
        }
    }
}

BENCHMARK(BM_Unzip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VeldraCliExtract)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GamePathScan)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
