// Reading MDX files, whole or in part. Counts and offsets are checked against the real file
// size before anything is allocated.
#include <cstring>
#include <filesystem>
#include <limits>

#include "io/file_image.h"
#include "skeletal/mdx.h"

namespace {

// Offsets are 32-bit, so a larger file cannot be an MDX file.
constexpr std::int64_t kMaxFileBytes = std::numeric_limits<std::int32_t>::max();

std::string Counted(std::uint32_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

class MDXReader {
  public:
    MDXReader(const ByteSource& file, std::string& error) : file_(file), error_(error) {}

    bool ReadHeader(TMDXHeader& header) {
        if (!file_.ReadAt(0, &header, sizeof header)) {
            return Fail("the file is shorter than an MDX header (96 bytes)");
        }
        if (std::memcmp(header.ident, kMDXIdent, 4) != 0) {
            return Fail("not an MDX file (the identifier is not MDXW)");
        }
        return true;
    }

    bool ReadFrames(const TMDXHeader& header, std::vector<TMDXFrame>& frames);
    bool ReadBones(const TMDXHeader& header, std::vector<TMDXBoneInfo>& bones);

  private:
    bool Fail(const std::string& reason) {
        error_ = reason;
        return false;
    }

    const ByteSource& file_;
    std::string& error_;
};

// Runs `load` on the whole file, or gives the reason it could not be read.
template <typename Load>
bool WithFileImage(const std::string& fileName, std::string& error, Load load) {
    const FileImage file(fileName, kMaxFileBytes);
    if (!file.ok()) {
        error = file.error();
        return false;
    }
    return load(file);
}

bool MDXReader::ReadFrames(const TMDXHeader& header, std::vector<TMDXFrame>& frames) {
    const std::int64_t boneBytes = std::int64_t{sizeof(TMDXBoneFrame)} * header.numBones;
    const std::int64_t frameBytes = std::int64_t{sizeof(TMDXFrameRecord)} + boneBytes;
    // An empty array fits anywhere, as nothing of it is read.
    if (header.numFrames > 0 && !file_.Fits(header.ofsFrames, header.numFrames, frameBytes)) {
        return Fail("the file ends before its " + Counted(header.numFrames, "frame", "frames") +
                    " of " + Counted(header.numBones, "bone", "bones") + " at offset " +
                    std::to_string(header.ofsFrames));
    }
    frames.resize(header.numFrames);
    std::int64_t offset = header.ofsFrames;
    for (TMDXFrame& frame : frames) {
        file_.ReadAt(offset, static_cast<TMDXFrameRecord*>(&frame), sizeof(TMDXFrameRecord));
        frame.boneFrames.resize(header.numBones);
        file_.ReadAt(offset + std::int64_t{sizeof(TMDXFrameRecord)}, frame.boneFrames.data(),
                     boneBytes);
        offset += frameBytes;
    }
    return true;
}

bool MDXReader::ReadBones(const TMDXHeader& header, std::vector<TMDXBoneInfo>& bones) {
    if (header.numBones > 0 &&
        !file_.Fits(header.ofsBones, header.numBones, sizeof(TMDXBoneInfo))) {
        return Fail("the file ends before its " + Counted(header.numBones, "bone", "bones") +
                    " at offset " + std::to_string(header.ofsBones));
    }
    bones.resize(header.numBones);
    file_.ReadAt(header.ofsBones, bones.data(),
                 std::int64_t{sizeof(TMDXBoneInfo)} * header.numBones);
    const std::string problem = BoneOrderProblem(bones);
    return problem.empty() || Fail(problem);
}

}  // namespace

bool TMDX::LoadFromFile(const std::string& fileName) {
    lastError_.clear();
    Clear();
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) {
        lastError_ = "the file does not exist";
        return false;
    }
    return WithFileImage(fileName, lastError_,
                         [this](const ByteSource& file) { return LoadFrom(file); });
}

bool TMDX::LoadFrom(const ByteSource& file) {
    lastError_.clear();
    Clear();
    MDXReader reader(file, lastError_);
    if (reader.ReadHeader(header) && reader.ReadFrames(header, frames) &&
        reader.ReadBones(header, bones)) {
        return true;
    }
    Clear();
    return false;
}

bool TMDX::LoadBonesFromFile(const std::string& fileName) {
    lastError_.clear();
    return WithFileImage(fileName, lastError_,
                         [this](const ByteSource& file) { return LoadBonesFrom(file); });
}

bool TMDX::LoadBonesFrom(const ByteSource& file) {
    lastError_.clear();
    MDXReader reader(file, lastError_);
    TMDXHeader other;
    std::vector<TMDXBoneInfo> read;
    if (!reader.ReadHeader(other) || !reader.ReadBones(other, read)) return false;
    // Bone frames are per bone: the frames held must describe exactly these bones.
    if (!frames.empty() && frames.front().boneFrames.size() != read.size()) {
        lastError_ =
            "the file has " + Counted(static_cast<std::uint32_t>(read.size()), "bone", "bones") +
            ", the frames held have " +
            Counted(static_cast<std::uint32_t>(frames.front().boneFrames.size()), "bone", "bones");
        return false;
    }
    bones = std::move(read);
    header.numBones = other.numBones;
    return true;
}

bool TMDX::LoadFramesFromFile(const std::string& fileName) {
    lastError_.clear();
    return WithFileImage(fileName, lastError_,
                         [this](const ByteSource& file) { return LoadFramesFrom(file); });
}

bool TMDX::LoadFramesFrom(const ByteSource& file) {
    lastError_.clear();
    MDXReader reader(file, lastError_);
    TMDXHeader other;
    std::vector<TMDXFrame> read;
    if (!reader.ReadHeader(other)) return false;
    if (other.numBones != bones.size()) {
        lastError_ = "the file's frames have " + Counted(other.numBones, "bone", "bones") +
                     ", the animation has " +
                     Counted(static_cast<std::uint32_t>(bones.size()), "bone", "bones");
        return false;
    }
    if (!reader.ReadFrames(other, read)) return false;
    frames = std::move(read);
    header.numFrames = other.numFrames;
    return true;
}
