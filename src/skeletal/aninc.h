// TANINC: the animation list that belongs to an MDX file (same path, extension ".aninc").
// Each entry names a frame range of the animation and the rate to play it at.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TANINCFrame {
    std::string name;
    std::int32_t firstFrame = 0;
    std::int32_t numFrames = 0;
    std::int32_t looping = 0;  // carried, not used
    std::int32_t framesPerSecond = 0;
    std::int32_t moveSpeed = 0;   // carried, not used
    std::int32_t transition = 0;  // carried, not used
    std::int32_t reversed = 0;    // carried, not used
};

class TANINC {
  public:
    std::vector<TANINCFrame> frames;  // in file order

    // Empties the list and reads the file. Lines are trimmed, "//" starts a comment, and a
    // line of exactly eight blank-separated tokens (a name and seven decimal integers) is an
    // entry; other lines are skipped. False when the file does not exist (LastError() empty)
    // or cannot be read, and when an entry holds something other than an integer: then the
    // list is empty and LastError() names the file, the line number and the token.
    bool LoadFromFile(const std::string& fileName);
    // The same from the text of the file named `fileName` (named in the messages only).
    bool LoadFromText(std::string_view text, const std::string& fileName);

    const std::string& LastError() const { return lastError_; }

  private:
    std::string lastError_;
};

// The entry of that name (the first, if several share it), or nullptr. The game ignores
// letter case in animation names: without an exact match, the first that differs only in
// case is taken.
const TANINCFrame* FindAnimation(const TANINC& list, const std::string& name);

// The .aninc path that belongs to an MDX path: the same name with the extension ".aninc".
// Game files come from Windows, so an existing file whose name differs only in letter case
// ("BODY.ANINC" beside "body.mdx") is the one.
std::string AnincPathFor(const std::string& mdxPath);
