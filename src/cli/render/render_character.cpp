#include "cli/render/render_character.h"

#include <optional>

#include "assets/archive_entry_ref.h"
#include "assets/character_files.h"
#include "assets/character_sources.h"
#include "assets/game_path.h"
#include "cli/cli_error.h"
#include "cli/model_source.h"
#include "io/file_names.h"

TRenderCharacter::TRenderCharacter(TRenderOptions& options, std::ostream& warnings) {
    if (UpperCaseExtension(options.model) != ".CHAR") return;
    const std::string argument = options.model;
    const auto fail = [&argument](const std::string& reason) {
        return CliError("Cannot render \"" + argument + "\": " + reason);
    };
    if (!options.game.empty() && !IsValidGamePath(WithTrailingSeparator(options.game)))
        throw fail("\"" + options.game +
                   "\" is not a game folder (no etmain with pak0.pk3 or scripts in it)");
    // A definition inside an archive (a mod's PK3) finds what it names there first.
    const std::optional<TArchiveEntryRef> inArchive = SplitArchiveEntryRef(argument);
    if (inArchive) source_ = std::make_unique<TModelSource>(argument);
    // Archives that cannot be read show as missing files below.
    sources_ =
        std::make_unique<TCharacterSources>(options.game, inArchive ? inArchive->archive : "");
    const std::string charFile = source_ ? source_->File() : argument;
    const TCharacterFiles files = FindCharacterFiles(charFile, sources_->Game());
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
            options.mdx = FindCharacterAnimationFile(files, found->file, sources_->Game());
            if (options.mdx.empty())
                throw fail("animation \"" + gamePath + "\" (holding \"" + options.animName +
                           "\") not found");
        }
        options.frame = found->entry->firstFrame;
        options.animName.clear();
    }
}

TRenderCharacter::~TRenderCharacter() = default;
