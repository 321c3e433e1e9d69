// The game's own compressed models: each reads, decodes to what the game's formulas give for
// the bytes (worked out here from the file, not through the reader), and is written back
// byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "math/normal.h"
#include "md3/md3.h"
#include "mdc/mdc.h"
#include "mdc/mdc_normals.h"
#include "support/byte_patch.h"
#include "support/test_files.h"

namespace {

using testing_support::Bytes;
using testing_support::GetI32;
using testing_support::ReadBytes;
using testing_support::SampleDir;
using testing_support::SampleFiles;
using testing_support::ScratchDir;

// Header and surface fields of the file format.
constexpr std::size_t kNumFrames = 76, kNumTags = 80, kOfsTagNames = 96, kOfsTags = 100,
                      kOfsSurfaces = 104;
constexpr std::size_t kSurfNumVerts = 84, kSurfOfsXyz = 104, kSurfOfsComp = 108,
                      kSurfOfsBaseFrames = 112, kSurfOfsCompFrames = 116, kSurfOfsEnd = 120;

std::int16_t GetI16(const Bytes& b, std::size_t at) {
    std::int16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

std::string Sample(const std::string& name) {
    return (SampleDir("mdc") / name).string();
}

TEST(MDCSamples, EverySampleReadsAndIsWrittenBackByteForByte) {
    VELDRA_REQUIRE_SAMPLES("mdc");
    ScratchDir dir;
    const auto files = SampleFiles("mdc");
    ASSERT_EQ(files.size(), 7u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        TMD3 model;
        ASSERT_TRUE(model.LoadFromFile(file.string())) << model.LastError();
        EXPECT_TRUE(model.ReadFromMDC());
        const std::string copy = dir.File("copy.MDC");
        ASSERT_TRUE(model.SaveToFile(copy)) << model.LastError();
        EXPECT_EQ(ReadBytes(copy), ReadBytes(file.string()));

        // As an MD3 it is a plain MD3 that holds the decoded model exactly.
        const std::string md3 = dir.File("copy.md3");
        ASSERT_TRUE(model.SaveToFile(md3)) << model.LastError();
        TMD3 plain;
        ASSERT_TRUE(plain.LoadFromFile(md3)) << plain.LastError();
        EXPECT_FALSE(plain.ReadFromMDC());
        ASSERT_EQ(plain.header.numSurfaces, model.header.numSurfaces);
        EXPECT_TRUE(SameMDCModel(plain.header, model.header));
    }
}

// Vertex v of `frame` in surface `surface`, in stored 1/64 units, by the game's formula.
struct Expected {
    std::int16_t xyz[3];
    std::uint8_t normalIndex;  // 0 and unused for a base frame
    bool compressed;
};

Expected ExpectedVertex(const Bytes& raw, int surface, int frame, int v) {
    std::size_t at = GetI32(raw, kOfsSurfaces);
    for (int i = 0; i < surface; ++i)
        at += GetI32(raw, at + kSurfOfsEnd);
    const std::int32_t numVerts = GetI32(raw, at + kSurfNumVerts);
    const std::int16_t base = GetI16(raw, at + GetI32(raw, at + kSurfOfsBaseFrames) + 2 * frame);
    const std::int16_t comp = GetI16(raw, at + GetI32(raw, at + kSurfOfsCompFrames) + 2 * frame);
    const std::size_t xyz = at + GetI32(raw, at + kSurfOfsXyz) + (base * numVerts + v) * 8;
    Expected e{};
    std::uint32_t packed = 0;
    if (comp >= 0) {
        std::memcpy(&packed,
                    raw.data() + at + GetI32(raw, at + kSurfOfsComp) + (comp * numVerts + v) * 4,
                    4);
    }
    e.compressed = comp >= 0;
    e.normalIndex = static_cast<std::uint8_t>(packed >> 24);
    for (int axis = 0; axis < 3; ++axis) {
        double position = GetI16(raw, xyz + 2 * axis) / 64.0;
        if (e.compressed) position += (double((packed >> (8 * axis)) & 255) - 127.0) * 0.05;
        e.xyz[axis] = static_cast<std::int16_t>(std::lround(position * 64.0));
    }
    return e;
}

TEST(MDCSamples, FramesDecodeAsTheGameComputesThem) {
    VELDRA_REQUIRE_SAMPLES("mdc");
    struct Case {
        const char* file;
        int surface, frame, vertex;
        bool compressed;
    };
    // Compressed frames against base frames 0 and 12, a base frame, a one-frame model.
    const Case cases[] = {{"chair_office3.mdc", 0, 1, 0, true},
                          {"chair_office3.mdc", 4, 27, 87, true},
                          {"chair_office3.mdc", 5, 2, 5, false},
                          {"sidechair3.mdc", 3, 34, 17, true},
                          {"skull.mdc", 0, 0, 75, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " frame " + std::to_string(c.frame));
        const Bytes raw = ReadBytes(Sample(c.file));
        TMD3 model;
        ASSERT_TRUE(model.LoadFromFile(Sample(c.file))) << model.LastError();
        const Expected e = ExpectedVertex(raw, c.surface, c.frame, c.vertex);
        ASSERT_EQ(e.compressed, c.compressed);
        const TSurface& s = model.header.surfaces[c.surface];
        const TMD3Vertex& got =
            s.vertices[static_cast<std::size_t>(c.frame) * s.numVerts + c.vertex];
        EXPECT_EQ(got.x, e.xyz[0]);
        EXPECT_EQ(got.y, e.xyz[1]);
        EXPECT_EQ(got.z, e.xyz[2]);
        if (!c.compressed) continue;
        // The normal is the table's direction, as near as an MD3 normal word comes.
        const TVector3 n = DecodeNormal(got.normal);
        const TVector3 table = MDCNormal(e.normalIndex);
        EXPECT_GT(VectorDot(n, table), std::cos(3.0 * std::numbers::pi / 180));
    }
}

TEST(MDCSamples, TagsDecodeAsTheGameComputesThem) {
    VELDRA_REQUIRE_SAMPLES("mdc");
    struct Case {
        const char* file;
        int frame, tag;
    };
    const Case cases[] = {{"v_kar98.mdc", 0, 0},
                          {"v_kar98.mdc", 0, 8},
                          {"v_luger_hand.mdc", 77, 6},
                          {"v_luger_hand.mdc", 40, 2},
                          {"kar98_3rd_flash.mdc", 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " tag " + std::to_string(c.tag));
        const Bytes raw = ReadBytes(Sample(c.file));
        TMD3 model;
        ASSERT_TRUE(model.LoadFromFile(Sample(c.file))) << model.LastError();
        const int numTags = GetI32(raw, kNumTags);
        ASSERT_LT(c.frame, GetI32(raw, kNumFrames));
        const TMD3Tag& tag = model.header.tags[static_cast<std::size_t>(c.frame * numTags + c.tag)];
        EXPECT_EQ(std::memcmp(tag.name, raw.data() + GetI32(raw, kOfsTagNames) + 64 * c.tag, 64),
                  0);
        const std::size_t at =
            GetI32(raw, kOfsTags) + 12 * static_cast<std::size_t>(c.frame * numTags + c.tag);
        double angle[3];
        for (int i = 0; i < 3; ++i)
            angle[i] = GetI16(raw, at + 6 + 2 * i) * (360.0 / 32700.0) * std::numbers::pi / 180;
        EXPECT_FLOAT_EQ(tag.origin.x, GetI16(raw, at) / 64.0f);
        EXPECT_FLOAT_EQ(tag.origin.y, GetI16(raw, at + 2) / 64.0f);
        EXPECT_FLOAT_EQ(tag.origin.z, GetI16(raw, at + 4) / 64.0f);
        // Pitch turns forward down from the horizontal, yaw turns it left around Z, and roll
        // turns left and up around forward.
        const double sp = std::sin(angle[0]), cp = std::cos(angle[0]);
        const double sy = std::sin(angle[1]), cy = std::cos(angle[1]);
        const double sr = std::sin(angle[2]), cr = std::cos(angle[2]);
        const double forward[3] = {cp * cy, cp * sy, -sp};
        const double left0[3] = {-sy, cy, 0}, up0[3] = {sp * cy, sp * sy, cp};
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR((&tag.axis[0].x)[i], forward[i], 1e-5);
            EXPECT_NEAR((&tag.axis[1].x)[i], cr * left0[i] + sr * up0[i], 1e-5);
            EXPECT_NEAR((&tag.axis[2].x)[i], cr * up0[i] - sr * left0[i], 1e-5);
        }
    }
}

}  // namespace
