#include "cli/archives/shader_image_check.h"

#include <unistd.h>
#include <filesystem>
#include <memory>

#include "assets/game_assets.h"
#include "assets/image_search.h"
#include "assets/pk3_archive.h"
#include "check/shader_image_names.h"
#include "cli/check_command.h"
#include "io/file_bytes.h"
#include "io/file_error.h"
#include "io/path_case.h"

namespace {

constexpr std::int64_t kMaxScriptBytes = 64 << 20;

// The game index wants a folder for extractions; nothing is extracted here, and the folder
// goes with the check.
struct TScratchFolder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("veldra-check-" + std::to_string(::getpid()));
    ~TScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

TCheckFindings MissingShaderImages(const std::string& scriptFile, const std::string& gameDir) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(scriptFile, kMaxScriptBytes, bytes, error)) throw FileError(error);
    const TScratchFolder scratch;
    TGameAssets assets(scratch.path.string() + "/");
    assets.UseGameFolder(gameDir);
    std::vector<std::unique_ptr<TPK3Archive>> paks;
    for (const std::string& path : assets.Paks().Paths()) {
        try {
            paks.push_back(std::make_unique<TPK3Archive>(path));
        } catch (const FileError&) {
            // A PAK the game cannot read either holds no image for it.
        }
    }
    const std::filesystem::path etmain = std::filesystem::path(gameDir) / "etmain";
    auto found = [&](const std::string& image) {
        for (const std::string& candidate : ImageNameCandidates(image)) {
            if (FindFileIgnoringCase((etmain / candidate).string())) return true;
            for (const auto& pak : paks)
                if (pak->FindEntry(candidate) != nullptr) return true;
        }
        return false;
    };
    TCheckFindings findings;
    const std::vector<TShaderImageName> names = ShaderImageNames(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    for (const TShaderImageName& name : names) {
        if (found(name.image)) continue;
        TCheckFinding f;
        f.what = "image found nowhere in the game: " + name.image;
        f.where = "shader \"" + name.shader + "\"";
        f.counted = false;
        findings.push_back(f);
    }
    return findings;
}

}  // namespace

void InstallShaderImageCheck() {
    InstallShaderImageChecker(&MissingShaderImages);
}
