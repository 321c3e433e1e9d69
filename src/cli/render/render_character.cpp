#include "cli/render/render_character.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "assets/character_files.h"
#include "assets/game_assets.h"
#include "assets/game_path.h"
#include "cli/cli_error.h"
#include "io/file_error.h"
#include "io/file_names.h"

namespace fs = std::filesystem;

TRenderCharacter::TRenderCharacter(TRenderOptions& options, std::ostream& warnings) {
    if (UpperCaseExtension(options.model) != ".CHAR") return;
    const std::string charFile = options.model;
    const auto fail = [&charFile](const std::string& reason) {
        return CliError("Cannot render \"" + charFile + "\": " + reason);
    };
    if (!options.game.empty()) {
        if (!IsValidGamePath(WithTrailingSeparator(options.game)))
            throw fail("\"" + options.game + "\" is not a game folder (no etmain/pak0.pk3 in it)");
        std::error_code ec;
        std::string pattern = (fs::temp_directory_path(ec) / "veldra-cli-char-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw FileError::CannotCreate(pattern, errno);
        scratch_ = pattern;
        assets_ = std::make_unique<TGameAssets>(scratch_ + "/");
        // Archives that cannot be read show as missing files below.
        assets_->UseGameFolder(options.game);
    }
    const TCharacterFiles files = FindCharacterFiles(charFile, assets_.get());
    if (!files.Loadable()) throw fail(MissingCharacterText(files));
    for (const std::string& missing : files.missing)
        warnings << "veldra-cli: warning: " << missing << '\n';
    options.model = files.mesh;
    options.mdx = files.mdx;
    if (options.skin.empty()) options.skin = files.skin;
    attachments_ = files.attachments;
    if (!options.animName.empty()) {
        const std::optional<TGroupAnimation> found =
            FindGroupAnimation(files.animationFiles, options.animName);
        if (!found) throw fail("its animation group has no animation \"" + options.animName + "\"");
        if (found->file != 0) {
            const std::string& gamePath = files.animationFiles[found->file].mdx;
            options.mdx = FindCharacterAnimationFile(files, found->file, assets_.get());
            if (options.mdx.empty())
                throw fail("animation \"" + gamePath + "\" (holding \"" + options.animName +
                           "\") not found");
        }
        options.frame = found->entry->firstFrame;
        options.animName.clear();
    }
}

TRenderCharacter::~TRenderCharacter() {
    std::error_code ec;
    if (!scratch_.empty()) fs::remove_all(scratch_, ec);
}
