// The game's installation folder: valid when it holds "etmain" with "etmain/pak0.pk3" in it.
// Game data comes from Windows installs, so both names are matched without regard to case.
#pragma once

#include <string>

// The folder with a trailing '/'; empty for an empty text.
std::string WithTrailingSeparator(std::string folder);

// True when folder/etmain is a folder and folder/etmain/pak0.pk3 a file (any letter case).
bool IsValidGamePath(const std::string& folder);

// A folder the user picked: when its path contains "etmain" (this exact spelling), the part
// before its first occurrence; always with a trailing separator.
std::string GamePathFromChosenFolder(const std::string& chosen);
