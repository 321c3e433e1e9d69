// The files a character definition names, found on disk: in the game (its etmain folder,
// then its PAKs, extracted) or, without a game, under the folders that hold the .char.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/character_attachments.h"
#include "skeletal/anim_group.h"
#include "skeletal/aninc.h"
#include "skeletal/character_def.h"

class TGameAssets;

struct TCharacterFiles {
    TCharacterDef def;
    std::string mesh;  // local files; empty when not found
    std::string mdx;   // the first animation file of the group
    std::string skin;
    TANINC animations;  // the group's list for that MDX
    // The head and accessories the game draws with the body; shown, never saved.
    std::vector<TCharacterAttachment> attachments;
    // What could not be found or read, one sentence each ("mesh \"models/...\" not found").
    std::vector<std::string> missing;
    bool Loadable() const { return !mesh.empty() && !mdx.empty(); }

    // The whole animation group, every file with its list in the group's order; the first is
    // the one `mdx` holds. The others are looked up only when one is needed, since taking
    // every file out of the PAKs at once would make opening slow.
    std::string charFile;
    std::vector<TAnimGroupFile> animationFiles;
};

// The top of the unpacked game tree a .char lies in: the folder holding its "characters"
// folder, else its "etmain" folder (either in any letter case), else the .char's own folder.
std::filesystem::path CharacterTreeRoot(const std::string& charFile);

// Reads `charFile` and finds what it names. A game path (see GameFileName; one the game
// refuses is not found) is looked up in the game folder's etmain, then in the PAKs of `game`
// (extracted into its TmpDir), then in the .char's game tree (CharacterTreeRoot), then
// beside the .char by name alone. `game` may be null. A .char that cannot be parsed gives only its
// error in `missing`.
TCharacterFiles FindCharacterFiles(const std::string& charFile, const TGameAssets* game);

// The local file of the group's animation file `index`, looked up as FindCharacterFiles
// looks up a game path; empty when it is not found.
std::string FindCharacterAnimationFile(const TCharacterFiles& files, std::size_t index,
                                       const TGameAssets* game);

// One sentence listing what is missing, for a status line or an error.
std::string MissingCharacterText(const TCharacterFiles& files);
