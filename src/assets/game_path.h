// The game's installation folder: valid when it holds "etmain" with "etmain/pak0.pk3" in it.
// Game data comes from Windows installs, so both names are matched without regard to case.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The folder with a trailing '/'; empty for an empty text.
std::string WithTrailingSeparator(std::string folder);

// True when folder/etmain is a folder that holds pak0.pk3 or, for a game whose archives were
// unpacked, a scripts folder (any letter case).
bool IsValidGamePath(const std::string& folder);

// A folder the user picked: when one of its folders is "etmain" (any letter case), the part
// before the first such folder; always with a trailing separator.
std::string GamePathFromChosenFolder(const std::string& chosen);

// The sub-folder `name` of `folder` in any letter case (the exact spelling preferred), with
// a trailing '/'.
std::optional<std::string> FindFolderIgnoringCase(const std::string& folder,
                                                  const std::string& name);

// The game's etmain folder and its base archive, as they are spelled on disk.
std::optional<std::string> GameEtmainFolder(const std::string& gamePath);
std::optional<std::string> GamePakPath(const std::string& gamePath);

// Every ".pk3" file directly in the game's etmain folder, in the order the game reads them
// (by name, without regard to case); the game lets a later archive override an earlier one.
std::vector<std::string> ListGamePaks(const std::string& gamePath);
