// Damaged and hostile MDC files: each is refused with a reason that says what is wrong, before
// anything the damage asks for is allocated.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>

#include "md3/md3.h"
#include "mdc_test_model.h"
#include "support/byte_patch.h"
#include "support/test_files.h"

namespace {

using testing_support::Bytes;
using testing_support::GetI32;
using testing_support::PutI32;
using testing_support::ReadBytes;
using testing_support::ScratchDir;

constexpr std::size_t kVersion = 4, kNumFrames = 76, kNumTags = 80, kNumSurfaces = 84,
                      kOfsTags = 100, kOfsSurfaces = 104;
constexpr std::size_t kSurfNumComp = 72, kSurfNumBase = 76, kSurfNumVerts = 84,
                      kSurfOfsTriangles = 92, kSurfOfsXyz = 104, kSurfOfsComp = 108,
                      kSurfOfsBaseFrames = 112, kSurfOfsCompFrames = 116;

// Three frames of four vertices: a base frame, one compressed against it and one that jumps
// too far to be compressed; one tag.
Bytes ValidFile() {
    TMD3 model = mdc_test::MakeAnimated(3, 4, [](int f, int v) {
        return TVector3{float(v) + (f == 2 ? 20.0f : 0.5f * f), 1.0f, 2.0f};
    });
    TMD3Tag tag;
    SetName64("tag_weapon", tag.name);
    model.AddTag(tag);
    ScratchDir dir;
    EXPECT_TRUE(model.SaveToFile(dir.File("valid.mdc"))) << model.LastError();
    return ReadBytes(dir.File("valid.mdc"));
}

bool Load(const Bytes& bytes, std::string& error) {
    TMD3 model;
    const bool loaded = model.LoadMDCFromMemory(std::vector<char>(bytes.begin(), bytes.end()));
    error = model.LastError();
    return loaded;
}

void PutI16(Bytes& b, std::size_t at, std::int16_t v) {
    std::memcpy(b.data() + at, &v, 2);
}

TEST(MDCHostile, DamagedFieldsAreRefusedWithTheirReason) {
    const Bytes valid = ValidFile();
    std::string error;
    ASSERT_TRUE(Load(valid, error)) << error;
    const std::size_t s = GetI32(valid, kOfsSurfaces);
    ASSERT_EQ(GetI32(valid, s + kSurfNumBase), 2);
    ASSERT_EQ(GetI32(valid, s + kSurfNumComp), 1);
    struct Case {
        const char* reason;
        std::function<void(Bytes&)> damage;
    };
    const Case cases[] = {
        {"not an MDC file", [](Bytes& b) { std::memcpy(b.data(), "IDP3", 4); }},
        {"the MDC version is 3, not 2", [](Bytes& b) { PutI32(b, kVersion, 3); }},
        {"the frame count is negative", [](Bytes& b) { PutI32(b, kNumFrames, -1); }},
        {"the frame array (2147483647 records", [](Bytes& b) { PutI32(b, kNumFrames, INT_MAX); }},
        {"the tag count is negative", [](Bytes& b) { PutI32(b, kNumTags, INT_MIN); }},
        {"the tag names", [](Bytes& b) { PutI32(b, kNumTags, INT_MAX); }},
        {"the tag array", [](Bytes& b) { PutI32(b, kOfsTags, INT_MAX - 4); }},
        {"the surface count is negative", [](Bytes& b) { PutI32(b, kNumSurfaces, -5); }},
        {"surfaces do not fit in the file", [](Bytes& b) { PutI32(b, kNumSurfaces, INT_MAX); }},
        {"the surface does not fit in the file", [](Bytes& b) { PutI32(b, kOfsSurfaces, -124); }},
        {"the texture coordinates of surface 0",
         [s](Bytes& b) { PutI32(b, s + kSurfNumVerts, INT_MAX); }},
        {"the base frame count of surface 0 is negative",
         [s](Bytes& b) { PutI32(b, s + kSurfNumBase, -1); }},
        {"the compressed frames of surface 0",
         [s](Bytes& b) { PutI32(b, s + kSurfNumComp, 1 << 20); }},
        {"frame 1 of surface 0 refers to base frame 2 of 2",
         [s](Bytes& b) { PutI16(b, s + GetI32(b, s + kSurfOfsBaseFrames) + 2, 2); }},
        {"frame 0 of surface 0 refers to base frame -1 of 2",
         [s](Bytes& b) { PutI16(b, s + GetI32(b, s + kSurfOfsBaseFrames), -1); }},
        {"frame 2 of surface 0 refers to compressed frame 1 of 1",
         [s](Bytes& b) { PutI16(b, s + GetI32(b, s + kSurfOfsCompFrames) + 4, 1); }},
        {"surface 0 has a triangle that refers to vertex 99 of 4",
         [s](Bytes& b) { PutI32(b, s + GetI32(b, s + kSurfOfsTriangles) + 4, 99); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        Bytes damaged = valid;
        c.damage(damaged);
        EXPECT_FALSE(Load(damaged, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

// A base coordinate at the end of the 16-bit range with the largest offset stops at the end,
// where the game's float sum would go past what an MD3 can hold.
TEST(MDCHostile, AnOffsetPastTheRangeStopsAtItsEnd) {
    Bytes bytes = ValidFile();
    const std::size_t s = GetI32(bytes, kOfsSurfaces);
    PutI16(bytes, s + GetI32(bytes, s + kSurfOfsXyz), 32767);
    bytes[s + GetI32(bytes, s + kSurfOfsComp)] = 255;
    TMD3 model;
    ASSERT_TRUE(model.LoadMDCFromMemory(std::vector<char>(bytes.begin(), bytes.end())))
        << model.LastError();
    EXPECT_EQ(model.header.surfaces[0].vertices[4].x, 32767);  // frame 1, vertex 0
}

TEST(MDCHostile, EveryPrefixOfAFileIsRefused) {
    const Bytes valid = ValidFile();
    std::string error;
    for (std::size_t n = 0; n < valid.size(); ++n) {
        ASSERT_FALSE(Load(Bytes(valid.begin(), valid.begin() + n), error)) << n << " bytes";
        ASSERT_FALSE(error.empty());
    }
}

// Frames that all point at the same stored frame would decode to far more than the file
// holds; such a file is refused before the vertices are allocated.
TEST(MDCHostile, FramesSharingOneStoredFrameCannotBlowUpTheModel) {
    TMD3 model = mdc_test::MakeAnimated(2, 1000, [](int f, int v) {
        return TVector3{float(v % 100), float(v / 100), 0.5f * f};
    });
    ScratchDir dir;
    ASSERT_TRUE(model.SaveToFile(dir.File("two.mdc"))) << model.LastError();
    Bytes bytes = ReadBytes(dir.File("two.mdc"));
    // Claim 40000 frames: the frame array and both frame lists are made to fit by pointing
    // them at the start of the file's vertex data, every list entry then reading as frame 0
    // or compressed frame 0 at most.
    const std::size_t s = GetI32(bytes, kOfsSurfaces);
    const std::int32_t frames = 40000;
    bytes.resize(bytes.size() + frames * 60, 0);
    PutI32(bytes, kNumFrames, frames);
    PutI32(bytes, 92, static_cast<std::int32_t>(bytes.size() - frames * 56));
    PutI32(bytes, kNumTags, 0);
    PutI32(bytes, s + kSurfOfsBaseFrames,
           static_cast<std::int32_t>(bytes.size() - frames * 60 - s));
    PutI32(bytes, s + kSurfOfsCompFrames,
           static_cast<std::int32_t>(bytes.size() - frames * 58 - s));
    std::string error;
    EXPECT_FALSE(Load(bytes, error));
    EXPECT_NE(error.find("decodes to more vertices than its file can hold"), std::string::npos)
        << error;
}

}  // namespace
