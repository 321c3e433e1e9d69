// The animation group (.anim) a character names: for each animation file (MDX) it uses, the
// list of its animations, one a line of a name and eight numbers:
//   animgroup { animfile "animations/human/base/body.mdx" {
//       revive  320  47  0  22  0  0  0  11   // first, length, looping, fps, move speed,
//   } }                                       // transition, reversed, priority
// Each file's entries make the same list an .aninc gives for that MDX.
#pragma once

#include <cstddef>
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

// "//" starts a comment. The rate may be fractional (21.5): the list keeps whole frames per
// second, so it is rounded to the nearest. A line that is neither structure nor a complete
// entry of numbers, an entry outside an animfile block, or a group without entries is an
// error.
TAnimGroupParse ParseAnimGroup(const std::string& text);

// Reads and parses a .anim file; a file that cannot be read is an error naming it.
TAnimGroupParse LoadAnimGroup(const std::string& fileName);

struct TGroupAnimation {
    std::size_t file = 0;  // index into the group's files
    const TANINCFrame* entry = nullptr;
};

// The animation of that name in the first file that has one, as the game resolves a name;
// nothing when no file has it.
std::optional<TGroupAnimation> FindGroupAnimation(const std::vector<TAnimGroupFile>& files,
                                                  const std::string& name);
