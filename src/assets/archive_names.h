// Entry names inside PK3 (ZIP) archives. Archives made on Windows store either separator and
// game code asks for names in any letter case, so names are compared with '/' for '\' and
// without regard to ASCII case; masks use '*' and '?' the way file dialogs do.
#pragma once

#include <string>
#include <string_view>

// The stored name with every '\' turned into '/'.
std::string NormalizedEntryName(std::string_view stored);

// ASCII lower case; other bytes are kept.
std::string LowerCaseAscii(std::string_view text);

bool EqualIgnoringCase(std::string_view a, std::string_view b);

// The folder part of a normalized entry name, up to and with its last '/'; empty at the top
// level. Folder + FileNamePart is the name again.
std::string_view FolderPart(std::string_view name);
// The part after the last '/'; empty for a folder entry ("maps/").
std::string_view FileNamePart(std::string_view name);

// Whether a normalized entry name matches a mask such as "*.md3", "scripts\*.shader" or a
// full entry path. A mask without a folder matches the file name in every folder; a mask
// with one matches that folder only ('*' and '?' never cross a separator) unless a "**"
// part stands for any number of folders ("models/**/*.md3" matches "models/a.md3" and
// "models/x/y/a.md3"). Either separator and any letter case.
bool MatchesArchiveMask(std::string_view mask, std::string_view name);

// The name with the extension of its file part replaced (".tga"), or appended when it has
// none.
std::string WithExtension(std::string_view name, std::string_view extension);

// The name without the extension of its file part; the name itself when it has none.
std::string WithoutExtension(std::string_view name);
