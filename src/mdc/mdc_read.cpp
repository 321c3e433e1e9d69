// Reading an MDC file and decoding it into the MD3 model as the game's renderer decodes each
// frame. The file is read whole (it is kept to be written back), then every count and offset
// is checked against its size before anything is allocated.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "io/byte_source.h"
#include "io/large_pages.h"
#include "md3/md3_surface_read.h"
#include "mdc/mdc.h"
#include "mdc/mdc_normals.h"
#include "mdc/mdc_tags.h"

namespace {

// As for MD3 files: no legitimate file stores a byte twice, so what may be copied out of a
// file is capped at a small multiple of its size.
constexpr std::int64_t kReadBudgetFactor = 4;
// A compressed vertex decodes to twice its size, and base frames shared by many compressed
// frames are decoded once per frame; legitimate files stay well below this many decoded
// vertex bytes per byte of file, files that point every frame at the same few do not.
constexpr std::int64_t kDecodeBudgetFactor = 4;

// The game draws a compressed vertex at base x 1/64 + (byte - 127) x 0.05 in floats. Held in
// 1/64 units that is base + (byte - 127) x 3.2 rounded; the fraction of the second term is a
// multiple of 0.2, at least 0.1 from a tie, far more than any float error of the game's sum,
// so the stored value is the base plus a whole number per byte, clamped to the 16-bit range.
constexpr std::array<std::int16_t, 256> kOffsetSteps = [] {
    std::array<std::int16_t, 256> steps{};
    for (int b = 0; b < 256; ++b) {
        const int sixteenths = (b - 127) * 16;  // (b - 127) x 3.2 = sixteenths / 5
        steps[b] = static_cast<std::int16_t>(sixteenths >= 0 ? (sixteenths + 2) / 5
                                                             : -((-sixteenths + 2) / 5));
    }
    return steps;
}();

std::int16_t Offset(std::int16_t base, std::uint32_t byte) {
    return static_cast<std::int16_t>(std::clamp(base + kOffsetSteps[byte], -32768, 32767));
}

// Decodes one compressed frame against its base frame's vertices. Only where a base coordinate
// lies within an offset of the 16-bit range's ends can the sum leave it and need clamping.
template <bool kClamp>
void DecodeCompressedFrame(const char* from, const char* ofs, std::int64_t numVerts,
                           const std::uint16_t* normalWords, TMD3Vertex* dst) {
    auto add = [](std::int16_t coordinate, std::uint32_t byte) {
        if constexpr (kClamp) return Offset(coordinate, byte);
        return static_cast<std::int16_t>(coordinate + kOffsetSteps[byte]);
    };
    for (std::int64_t v = 0; v < numVerts; ++v) {
        TMD3Vertex vertex;
        TMDCCompressedVertex packed;
        std::memcpy(&vertex, from + v * std::int64_t{sizeof vertex}, sizeof vertex);
        std::memcpy(&packed, ofs + v * std::int64_t{sizeof packed}, sizeof packed);
        dst[v] = {add(vertex.x, packed & 255u), add(vertex.y, (packed >> 8) & 255u),
                  add(vertex.z, (packed >> 16) & 255u), normalWords[packed >> 24]};
    }
}

// Whether any coordinate of the base frames lies so near the range's ends that an offset may
// carry it past them.
bool NeedsClamping(const char* base, std::int64_t vertexCount) {
    constexpr int kLow = -32768 - kOffsetSteps[0];
    constexpr int kHigh = 32767 - kOffsetSteps[255];
    int low = 0, high = 0;
    for (std::int64_t v = 0; v < vertexCount; ++v) {
        TMD3Vertex vertex;
        std::memcpy(&vertex, base + v * std::int64_t{sizeof vertex}, sizeof vertex);
        low = std::min({low, int{vertex.x}, int{vertex.y}, int{vertex.z}});
        high = std::max({high, int{vertex.x}, int{vertex.y}, int{vertex.z}});
    }
    return low < kLow || high > kHigh;
}

class MDCReader {
  public:
    MDCReader(const std::vector<char>& bytes, THeader& header, TMDCSource& source,
              std::string& error)
        : bytes_(bytes),
          size_(static_cast<std::int64_t>(bytes.size())),
          header_(header),
          source_(source),
          error_(error),
          budget_(kReadBudgetFactor * size_),
          decodeBudget_(kDecodeBudgetFactor * size_) {}

    bool Read();

  private:
    bool Fail(const std::string& reason) {
        error_ = reason;
        return false;
    }
    // Checks that `count` records of `recordSize` bytes at `offset` lie in the file and within
    // the budget, and takes them from it.
    bool Claim(std::int64_t offset, std::int64_t count, std::int64_t recordSize,
               const std::string& what);
    template <typename T>
    bool ReadArray(std::int64_t offset, std::int64_t count, std::vector<T>& array,
                   const std::string& what);
    template <typename T>
    T At(std::int64_t offset) const {
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return value;
    }
    bool ReadTags(const TMDCHeaderRecord& record);
    bool ReadSurface(int index, std::int64_t position);
    bool DecodeFrames(int index, std::int64_t position, const TMDCSurfaceRecord& record);

    const std::vector<char>& bytes_;
    std::int64_t size_;
    THeader& header_;
    TMDCSource& source_;
    std::string& error_;
    std::int64_t budget_;
    std::int64_t decodeBudget_;
};

bool MDCReader::Claim(std::int64_t offset, std::int64_t count, std::int64_t recordSize,
                      const std::string& what) {
    if (count < 0) return Fail(what + " has a negative count");
    if (count == 0) return true;
    if (offset < 0 || offset > size_ || count > (size_ - offset) / recordSize) {
        return Fail(what + " (" + std::to_string(count) + " records at offset " +
                    std::to_string(offset) + ") runs past the end of the file");
    }
    const std::int64_t bytes = count * recordSize;
    if (bytes > budget_) return Fail(what + " overlaps data that was already read");
    budget_ -= bytes;
    return true;
}

template <typename T>
bool MDCReader::ReadArray(std::int64_t offset, std::int64_t count, std::vector<T>& array,
                          const std::string& what) {
    array.clear();
    if (!Claim(offset, count, sizeof(T), what)) return false;
    array.resize(static_cast<std::size_t>(count));
    if (count > 0) std::memcpy(array.data(), bytes_.data() + offset, count * sizeof(T));
    return true;
}

bool MDCReader::Read() {
    if (size_ < std::int64_t{sizeof(TMDCHeaderRecord)}) {
        return Fail("the file is shorter than an MDC header (112 bytes)");
    }
    const auto record = At<TMDCHeaderRecord>(0);
    if (std::memcmp(record.ident, kMDCIdent, 4) != 0) {
        return Fail("not an MDC file (the identifier is not IDPC)");
    }
    if (record.version != kMDCVersion) {
        return Fail("the MDC version is " + std::to_string(record.version) + ", not 2");
    }
    if (record.numFrames < 0) return Fail("the frame count is negative");
    if (record.numTags < 0) return Fail("the tag count is negative");
    if (record.numSurfaces < 0) return Fail("the surface count is negative");

    // The model is held as an MD3.
    std::memcpy(header_.ident, kMD3Ident, 4);
    header_.version = kMD3Version;
    std::memcpy(header_.name, record.name, sizeof header_.name);
    header_.flags = record.flags;
    header_.numFrames = record.numFrames;
    header_.numTags = record.numTags;
    header_.numSurfaces = record.numSurfaces;
    header_.numSkins = record.numSkins;

    if (!ReadArray(record.ofsFrames, record.numFrames, header_.frames, "the frame array") ||
        !ReadTags(record)) {
        return false;
    }
    if (record.numSurfaces > 0 &&
        (record.ofsSurfaces < 0 || record.ofsSurfaces > size_ ||
         record.numSurfaces >
             (size_ - record.ofsSurfaces) / std::int64_t{sizeof(TMDCSurfaceRecord)})) {
        return Fail(record.numSurfaces == 1 ? std::string("the surface does not fit in the file")
                                            : "the " + std::to_string(record.numSurfaces) +
                                                  " surfaces do not fit in the file");
    }
    header_.surfaces.resize(static_cast<std::size_t>(record.numSurfaces));
    source_.surfaces.resize(static_cast<std::size_t>(record.numSurfaces));
    std::int64_t position = record.ofsSurfaces;
    for (int i = 0; i < record.numSurfaces; ++i) {
        if (!ReadSurface(i, position)) return false;
        position += At<TMDCSurfaceRecord>(position).ofsEnd;
    }
    return true;
}

bool MDCReader::ReadTags(const TMDCHeaderRecord& record) {
    if (record.numTags == 0) return true;
    const std::int64_t count = std::int64_t{record.numFrames} * record.numTags;
    if (!Claim(record.ofsTagNames, record.numTags, sizeof(TMDCTagNameRecord), "the tag names") ||
        !Claim(record.ofsTags, count, sizeof(TMDCTagRecord), "the tag array")) {
        return false;
    }
    source_.tags = record.ofsTags;
    header_.tags.resize(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        TMD3Tag& tag = header_.tags[static_cast<std::size_t>(i)];
        tag = DecodeMDCTag(
            At<TMDCTagRecord>(record.ofsTags + i * std::int64_t{sizeof(TMDCTagRecord)}));
        const std::int64_t name = record.ofsTagNames + (i % record.numTags) * kMD3NameLength;
        std::memcpy(tag.name, bytes_.data() + name, kMD3NameLength);
    }
    return true;
}

bool MDCReader::ReadSurface(int index, std::int64_t position) {
    const std::string what = "surface " + std::to_string(index);
    if (position < 0 || position > size_ - std::int64_t{sizeof(TMDCSurfaceRecord)} ||
        budget_ < std::int64_t{sizeof(TMDCSurfaceRecord)}) {
        return Fail("the header of " + what + " lies outside the file");
    }
    budget_ -= sizeof(TMDCSurfaceRecord);
    const auto record = At<TMDCSurfaceRecord>(position);
    TSurface& surface = header_.surfaces[index];
    std::memcpy(surface.ident, kMD3Ident, 4);
    std::memcpy(surface.name, record.name, sizeof surface.name);
    surface.flags = record.flags;
    surface.numFrames = header_.numFrames;
    surface.numShaders = record.numShaders;
    surface.numVerts = record.numVerts;
    surface.numTriangles = record.numTriangles;

    if (!ReadArray(position + record.ofsShaders, record.numShaders, surface.shaders,
                   "the shader array of " + what)) {
        return false;
    }
    if (!ReadArray(position + record.ofsTriangles, record.numTriangles, surface.triangles,
                   "the triangle array of " + what) ||
        !ReadArray(position + record.ofsST, record.numVerts, surface.texCoords,
                   "the texture coordinates of " + what)) {
        return false;
    }
    const std::string bad = CompleteSurfaceAsRead(surface, record.numVerts, what);
    if (!bad.empty()) return Fail(bad);
    return DecodeFrames(index, position, record);
}

bool MDCReader::DecodeFrames(int index, std::int64_t position, const TMDCSurfaceRecord& record) {
    const std::string what = "surface " + std::to_string(index);
    const std::int64_t numVerts = record.numVerts;
    const std::int64_t numFrames = header_.numFrames;
    TMDCSource::SurfaceBlocks& blocks = source_.surfaces[index];
    blocks.numBaseFrames = record.numBaseFrames;
    blocks.numCompFrames = record.numCompFrames;
    blocks.baseVertices = position + record.ofsXyzNormals;
    blocks.compVertices = position + record.ofsXyzCompressed;
    blocks.frameBaseFrames = position + record.ofsFrameBaseFrames;
    blocks.frameCompFrames = position + record.ofsFrameCompFrames;
    // The game reads the compressed frame list only when there are compressed frames.
    const bool hasComp = record.numCompFrames > 0;
    if (record.numBaseFrames < 0) return Fail("the base frame count of " + what + " is negative");
    if (record.numCompFrames < 0) {
        return Fail("the compressed frame count of " + what + " is negative");
    }
    if (!Claim(blocks.baseVertices, numVerts * record.numBaseFrames, sizeof(TMD3Vertex),
               "the base frames of " + what) ||
        !Claim(blocks.compVertices, numVerts * record.numCompFrames, sizeof(TMDCCompressedVertex),
               "the compressed frames of " + what) ||
        !Claim(blocks.frameBaseFrames, numFrames, sizeof(std::int16_t),
               "the base frame list of " + what) ||
        (hasComp && !Claim(blocks.frameCompFrames, numFrames, sizeof(std::int16_t),
                           "the compressed frame list of " + what))) {
        return false;
    }
    const std::int64_t decodedBytes = numVerts * numFrames * std::int64_t{sizeof(TMD3Vertex)};
    if (decodedBytes > decodeBudget_) {
        return Fail(what + " decodes to more vertices than its file can hold (" +
                    std::to_string(numFrames) + " frames of " + std::to_string(numVerts) + ")");
    }
    decodeBudget_ -= decodedBytes;
    if (numVerts == 0) return true;

    std::vector<TMD3Vertex>& out = header_.surfaces[index].vertices;
    out.reserve(static_cast<std::size_t>(numVerts * numFrames));
    PrepareFreshArray(out.data(), decodedBytes);
    out.resize(static_cast<std::size_t>(numVerts * numFrames));
    const char* base = bytes_.data() + blocks.baseVertices;
    const char* comp = bytes_.data() + blocks.compVertices;
    const std::uint16_t* normalWords = MDCNormalWords();
    const bool clamp = NeedsClamping(base, numVerts * record.numBaseFrames);
    for (std::int64_t f = 0; f < numFrames; ++f) {
        const auto baseFrame = At<std::int16_t>(blocks.frameBaseFrames + 2 * f);
        const std::int16_t compFrame =
            hasComp ? At<std::int16_t>(blocks.frameCompFrames + 2 * f) : -1;
        if (baseFrame < 0 || baseFrame >= record.numBaseFrames) {
            return Fail("frame " + std::to_string(f) + " of " + what + " refers to base frame " +
                        std::to_string(baseFrame) + " of " + std::to_string(record.numBaseFrames));
        }
        if (compFrame < -1 || compFrame >= record.numCompFrames) {
            return Fail("frame " + std::to_string(f) + " of " + what +
                        " refers to compressed frame " + std::to_string(compFrame) + " of " +
                        std::to_string(record.numCompFrames));
        }
        TMD3Vertex* dst = out.data() + f * numVerts;
        const char* from = base + baseFrame * numVerts * std::int64_t{sizeof(TMD3Vertex)};
        if (compFrame < 0) {
            std::memcpy(dst, from, numVerts * sizeof(TMD3Vertex));
            continue;
        }
        const char* ofs = comp + compFrame * numVerts * std::int64_t{sizeof(TMDCCompressedVertex)};
        if (clamp) {
            DecodeCompressedFrame<true>(from, ofs, numVerts, normalWords, dst);
        } else {
            DecodeCompressedFrame<false>(from, ofs, numVerts, normalWords, dst);
        }
    }
    return true;
}

}  // namespace

bool IsMDCFile(const ByteSource& file) {
    char ident[4];
    return file.ReadAt(0, ident, sizeof ident) && std::memcmp(ident, kMDCIdent, 4) == 0;
}

bool TMD3::LoadMDC(const ByteSource& file) {
    std::vector<char> bytes;
    bytes.reserve(static_cast<std::size_t>(file.size()));
    PrepareFreshArray(bytes.data(), file.size());
    bytes.resize(static_cast<std::size_t>(file.size()));
    if (!file.ReadAt(0, bytes.data(), file.size())) {
        lastError_ = "the file could not be read";
        return false;
    }
    return LoadMDCFromMemory(std::move(bytes));
}

bool TMD3::LoadMDCFromMemory(std::vector<char> bytes) {
    lastError_.clear();
    Clear();
    auto source = std::make_shared<TMDCSource>();
    if (!DecodeMDC(bytes, header, *source, lastError_)) return false;
    source->bytes = std::move(bytes);
    mdcAsRead = std::move(source);
    return true;
}

bool DecodeMDC(const std::vector<char>& bytes, THeader& header, TMDCSource& blocks,
               std::string& error) {
    MDCReader reader(bytes, header, blocks, error);
    return reader.Read();
}
