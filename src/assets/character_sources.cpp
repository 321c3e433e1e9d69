#include "assets/character_sources.h"

#include <filesystem>

#include "io/file_error.h"

TCharacterSources::TCharacterSources(const std::string& gameDir, const std::string& archive) {
    if (gameDir.empty() && archive.empty()) return;
    scratch_ = std::make_unique<TScratchFolder>("veldra-char-");
    assets_ = std::make_unique<TGameAssets>(scratch_->Path() + "/");
    if (!gameDir.empty()) problems_ = assets_->UseGameFolder(gameDir);
    if (archive.empty()) return;
    // An archive of the game itself is in the list already.
    std::error_code ec;
    for (const std::string& pak : assets_->Paks().Paths())
        if (std::filesystem::equivalent(pak, archive, ec)) return;
    // Added last, so that its entries are the ones found.
    std::string reason;
    try {
        if (assets_->AddPak(archive, [&reason](const std::string& text) { reason = text; }) < 0)
            problems_.push_back(reason);
    } catch (const FileError& e) {
        problems_.push_back(e.what());
    }
}
