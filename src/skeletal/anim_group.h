// The animation group (.anim) a character names: for each animation file (MDX) it uses, the
// list of its animations, one a line of a name and seven or eight numbers:
//   animgroup { animfile "animations/human/base/body.mdx" {
//       revive  320  47  0  22  0  0  0  11   // first, length, looping, fps, move speed,
//   } }                                       // transition, reversed, priority
// Each file's entries make the same list an .aninc gives for that MDX.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skeletal/aninc.h"

struct TAnimGroupFile {
    std::string mdx;  // game path
    TANINC animations;
};

struct TAnimGroupParse {
    bool ok = false;
    std::vector<TAnimGroupFile> files;  // in file order
    std::string error;                  // with the line number, when !ok
};

// The text of the file an "#include "path"" line names (a game path), or nothing when it
// cannot be had.
using TAnimGroupInclude = std::function<std::optional<std::string>(const std::string& path)>;

// "//" starts a comment. An entry holds seven numbers (the game's own groups) or eight (a
// priority after them). The rate may be fractional (21.5): the list keeps whole frames per
// second, so it is rounded to the nearest. "#include "path"" reads the lines of another file
// in its place, as the game's groups take each file's entries from its .aninc. A line that is
// neither structure nor a complete entry of numbers, an entry outside an animfile block, an
// include that cannot be had (or nests too deep) or a group without entries is an error.
TAnimGroupParse ParseAnimGroup(const std::string& text, const TAnimGroupInclude& include = {});

// Included files found beside the group: the game path under the group's folder or a folder
// above it (an unpacked game tree), else the file's name in the group's folder.
TAnimGroupInclude IncludesBeside(const std::string& groupFile);

// Reads and parses a .anim file; a file that cannot be read is an error naming it. Includes
// are read through `include`, or IncludesBeside the file without one.
TAnimGroupParse LoadAnimGroup(const std::string& fileName, const TAnimGroupInclude& include = {});

struct TGroupAnimation {
    std::size_t file = 0;  // index into the group's files
    const TANINCFrame* entry = nullptr;
};

// The animation of that name in the first file that has one, as the game resolves a name;
// nothing when no file has it.
std::optional<TGroupAnimation> FindGroupAnimation(const std::vector<TAnimGroupFile>& files,
                                                  const std::string& name);
