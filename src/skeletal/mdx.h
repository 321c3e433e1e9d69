// TMDX: the one in-memory MDX animation. The header's counts are the authority for the array
// lengths, and every loader and edit keeps them equal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skeletal/mdx_format.h"

class ByteSink;
class ByteSource;

struct TMDXFrame : TMDXFrameRecord {
    std::vector<TMDXBoneFrame> boneFrames;  // numBones, in bone order
};

class TMDX {
  public:
    TMDXHeader header;
    std::vector<TMDXFrame> frames;    // header.numFrames
    std::vector<TMDXBoneInfo> bones;  // header.numBones

    // Reads a whole MDX file. A missing file gives false; a file that cannot be opened throws
    // FileError; anything else wrong gives false with the reason in LastError() (the caller
    // clears the model). A bone whose parent does not come before it refuses the file: the
    // pose computes parents first.
    bool LoadFromFile(const std::string& fileName);
    // The same from a file's bytes held elsewhere; `source` is only read.
    bool LoadFrom(const ByteSource& source);

    // Writes header, frames with their bone frames, then the bones, with recomputed offsets.
    // A model whose counts disagree with its arrays is not written. The file is replaced only
    // when everything was written; throws FileError when it cannot be created.
    bool SaveToFile(const std::string& fileName);
    // The same into a sink, finished; false with the reason in LastError().
    bool WriteTo(ByteSink& out);

    // Replace only the bones (with numBones), or only the frames (with numFrames), by those of
    // another MDX file. The file must agree with what stays: its bone count must equal that
    // of the frames held (bones), or of the bones held (frames). On failure the model is
    // unchanged. Throws FileError when the file cannot be opened.
    bool LoadBonesFromFile(const std::string& fileName);
    bool LoadFramesFromFile(const std::string& fileName);
    bool LoadBonesFrom(const ByteSource& source);
    bool LoadFramesFrom(const ByteSource& source);

    // Frees every array and zeroes numFrames and numBones; the rest of the header stays.
    void Clear();
    bool IsValid() const;  // the identifier is "MDXW": an MDX was loaded or built

    // Why the last load or save failed.
    const std::string& LastError() const { return lastError_; }

    // Bytes of one frame with its bone frames.
    std::int64_t FrameSize() const {
        return std::int64_t{sizeof(TMDXFrameRecord)} +
               std::int64_t{sizeof(TMDXBoneFrame)} * header.numBones;
    }

    // Empty when every count equals the length of its array, else what disagrees.
    std::string CountMismatch() const;

  private:
    // Checks the counts and sets the offsets for writing; false with the reason in
    // LastError().
    bool PlaceBlocks();

    std::string lastError_;
};

// Empty when every bone's parent is -1 or an earlier bone, else which bone breaks the order.
std::string BoneOrderProblem(const std::vector<TMDXBoneInfo>& bones);
