// `veldra-cli info`: what model, tag, skin, shader, animation, imported, archive and character
// files hold, as text or as JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Describes every file in order on `out`. A file that cannot be described gets its one-line
// error on `err` (and, in JSON, an object with "file" and "error", for a single file too) and
// the others are still described. With --json one file gives one object and several give one array.
// When several files include shader scripts, the counts of their directives are summed up at
// the end: a last text line, or in JSON an object {"files": N, "fileList": [...], "summary": {...}}.
// Returns 0 when every file was described, else 1.
int RunInfo(const std::vector<std::string>& paths, bool json, std::ostream& out, std::ostream& err);

// Character definitions (.char) name files that may lie in archives, so the programs that
// read archives describe them and install the description here; elsewhere a .char is refused.
using TCharacterDescriber = void (*)(const std::string& path, bool json, std::ostream& out);
void InstallCharacterDescriber(TCharacterDescriber describer);

// Whether one of the paths names a character definition.
bool AnyIsCharacter(const std::vector<std::string>& paths);

// Archives (.pk3) are summed up by the programs that read archives, which install the
// description here; elsewhere a .pk3 is refused.
using TArchiveDescriber = void (*)(const std::string& path, bool json, std::ostream& out);
void InstallArchiveDescriber(TArchiveDescriber describer);

// Whether one of the paths is an archive itself (not an entry of one).
bool AnyIsArchive(const std::vector<std::string>& paths);
