#include <cstring>
#include <span>

#include "import/ms3d.h"
#include "io/file_bytes.h"

namespace {

// Larger files are not models anyone exports; refusing them keeps a stray path cheap.
constexpr std::int64_t kMaxMS3DBytes = std::int64_t{1} << 30;

// Reads the file front to back. The first read that finds too few bytes left fails, and
// every later one too, so a file cut short leaves the rest as it was: zero or empty.
class Ms3dCursor {
  public:
    explicit Ms3dCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Read(void* destination, std::size_t size) {
        if (failed_ || size > bytes_.size() - position_) {
            failed_ = true;
            return false;
        }
        std::memcpy(destination, bytes_.data() + position_, size);
        position_ += size;
        return true;
    }
    template <typename T>
    bool Read(T& value) {
        return Read(&value, sizeof(T));
    }
    // Reads `count` records. A short file gives the whole records it holds: a count cannot
    // make the array larger than the file, so a few hostile bytes cost no more than the
    // records they really hold.
    template <typename T>
    bool ReadArray(std::vector<T>& array, std::size_t count) {
        array.clear();
        if (failed_) return false;
        const std::size_t whole = std::min(count, Remaining() / sizeof(T));
        // Copies of one record: constructing packed records in place would construct their
        // vector members at unaligned addresses.
        array.assign(whole, T{});
        if (whole > 0) Read(array.data(), whole * sizeof(T));
        if (whole < count) failed_ = true;
        return !failed_;
    }
    // Whether `count` records of `size` bytes are still in the file: arrays that a count
    // could inflate far beyond the file are only allocated when they are there.
    bool Holds(std::size_t count, std::size_t size) const {
        return !failed_ && count <= Remaining() / size;
    }
    void Fail() { failed_ = true; }
    bool Failed() const { return failed_; }

  private:
    std::size_t Remaining() const { return bytes_.size() - position_; }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

bool ReadCount(Ms3dCursor& in, std::size_t& count) {
    std::uint16_t value = 0;
    if (!in.Read(value)) return false;
    count = value;
    return true;
}

// Groups and joints are kept from the first one whose head is in the file; a group cut short
// keeps the triangle indices that were read.
void ReadGroups(Ms3dCursor& in, std::size_t count, std::vector<TMS3DGroup>& groups) {
    for (std::size_t i = 0; i < count; ++i) {
        TMS3DGroup g;
        if (!in.Read(static_cast<TMS3DGroupHead&>(g))) return;
        const bool whole =
            in.ReadArray(g.triangleIndices, g.numTriangles) && in.Read(g.materialIndex);
        groups.push_back(std::move(g));
        if (!whole) return;
    }
}

void ReadJoints(Ms3dCursor& in, std::size_t count, std::vector<TMS3DJoint>& joints) {
    for (std::size_t i = 0; i < count; ++i) {
        TMS3DJoint j;
        if (!in.Read(static_cast<TMS3DJointHead&>(j))) return;
        if (!in.Holds(std::size_t{j.numRotationKeys} + j.numTranslationKeys,
                      sizeof(TMS3DKeyframe))) {
            in.Fail();
            joints.push_back(std::move(j));
            return;
        }
        in.ReadArray(j.rotationKeys, j.numRotationKeys);
        in.ReadArray(j.translationKeys, j.numTranslationKeys);
        joints.push_back(std::move(j));
    }
}

void ReadBlock(Ms3dCursor& in, std::vector<std::uint8_t>& block, std::size_t size) {
    if (!in.Holds(size, 1)) {
        in.Fail();
        return;
    }
    in.ReadArray(block, size);
}

void ReadTrailer(Ms3dCursor& in, TMS3DTrailer& trailer, std::size_t numVertices,
                 std::size_t numJoints) {
    if (!in.Read(trailer.commentSubVersion)) return;
    for (std::vector<TMS3DComment>& list : trailer.comments) {
        std::int32_t count = 0;
        if (!in.Read(count)) return;
        // Entries are appended as they are found, never allocated from the count.
        for (std::int32_t i = 0; i < count; ++i) {
            TMS3DComment comment;
            std::int32_t length = 0;
            if (!in.Read(comment.index) || !in.Read(length)) return;
            if (length < 0 || !in.Holds(static_cast<std::size_t>(length), 1)) {
                in.Fail();
                return;
            }
            comment.text.resize(static_cast<std::size_t>(length));
            in.Read(comment.text.data(), comment.text.size());
            list.push_back(std::move(comment));
        }
    }
    if (!in.Read(trailer.vertexExtraSubVersion)) return;
    ReadBlock(in, trailer.vertexExtras, numVertices * 10);
    if (!in.Read(trailer.jointExtraSubVersion)) return;
    ReadBlock(in, trailer.jointExtras, numJoints * 12);
    if (!in.Read(trailer.modelExtraSubVersion)) return;
    ReadBlock(in, trailer.modelExtra, 12);
}

}  // namespace

void TMS3D::Clear() {
    std::memset(ident, 0, sizeof(ident));
    version = 0;
    vertices.clear();
    triangles.clear();
    groups.clear();
    materials.clear();
    animation = {};
    joints.clear();
    numJoints = 0;
    trailer = {};
    skippedText_.clear();
    cutShort_ = false;
}

bool TMS3D::LoadMS3D(const std::string& fileName) {
    Clear();
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(fileName, kMaxMS3DBytes, bytes, error)) return false;
    return LoadMS3DBytes(bytes);
}

bool TMS3D::LoadMS3DBytes(std::span<const std::uint8_t> bytes) {
    Clear();
    Ms3dCursor in(bytes);
    if (!in.Read(ident) || !in.Read(version) ||
        std::memcmp(ident, kMS3DIdent, sizeof(kMS3DIdent)) != 0) {
        Clear();
        return false;
    }
    std::size_t count = 0;
    if (ReadCount(in, count)) in.ReadArray(vertices, count);
    if (ReadCount(in, count)) in.ReadArray(triangles, count);
    if (ReadCount(in, count)) ReadGroups(in, count, groups);
    if (ReadCount(in, count)) in.ReadArray(materials, count);
    in.Read(animation);
    if (ReadCount(in, count)) {
        numJoints = static_cast<std::uint16_t>(count);
        ReadJoints(in, count, joints);
    }
    // The trailer is optional; only what comes before it is missed when it is not there.
    cutShort_ = in.Failed();
    ReadTrailer(in, trailer, vertices.size(), joints.size());
    return true;
}
