// MD3 models saved as MDC: the game's compression keeps every vertex within its error bound,
// makes the file smaller when frames are alike, and keeps what it cannot improve.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <numbers>

#include "math/normal.h"
#include "md3/md3.h"
#include "mdc/mdc.h"
#include "mdc/mdc_normals.h"
#include "mdc_test_model.h"
#include "support/byte_patch.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::SampleDir;
using testing_support::ScratchDir;

using mdc_test::MakeAnimated;

float Distance(const TMD3Vertex& a, const TMD3Vertex& b) {
    const float dx = (a.x - b.x) / 64.0f, dy = (a.y - b.y) / 64.0f, dz = (a.z - b.z) / 64.0f;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

TEST(MDCConvert, FramesStayWithinTheErrorBoundAndSimilarFramesShrinkTheFile) {
    struct Case {
        const char* name;
        mdc_test::Motion motion;
        bool smaller;  // than the MD3
        int baseFrames;
    };
    const Case cases[] = {
        // Small steps: every frame after the first is compressed.
        {"breathing",
         [](int f, int v) {
             return TVector3{v * 1.5f, 0.3f * std::sin(f * 0.5f + v), 0.02f * f};
         },
         true, 1},
        // A jump every 8 frames beyond the 8-bit range forces new base frames.
        {"jumping",
         [](int f, int v) {
             return TVector3{v * 1.5f + 10.0f * (f / 8), 0.1f * f, 0.0f};
         },
         true, 5},
        // Every frame far from the last: all base frames, the file only gains its frame lists.
        {"teleporting",
         [](int f, int v) {
             return TVector3{v + 7.0f * f, 0.0f, 0.0f};
         },
         false, 40},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMD3 model = MakeAnimated(40, 30, c.motion);
        ASSERT_TRUE(model.SaveToFile(dir.File("m.md3"))) << model.LastError();
        ASSERT_TRUE(model.SaveToFile(dir.File("m.mdc"))) << model.LastError();
        EXPECT_EQ(std::filesystem::file_size(dir.File("m.mdc")) <
                      std::filesystem::file_size(dir.File("m.md3")),
                  c.smaller);
        const auto bytes = ReadBytes(dir.File("m.mdc"));
        const std::int32_t surface = testing_support::GetI32(bytes, 104);
        EXPECT_EQ(testing_support::GetI32(bytes, surface + 76), c.baseFrames);
        EXPECT_EQ(testing_support::GetI32(bytes, surface + 72), 40 - c.baseFrames);
        TMD3 back;
        ASSERT_TRUE(back.LoadFromFile(dir.File("m.mdc"))) << back.LastError();
        ASSERT_TRUE(back.ReadFromMDC());
        const TSurface& want = model.header.surfaces[0];
        const TSurface& got = back.header.surfaces[0];
        ASSERT_EQ(got.vertices.size(), want.vertices.size());
        float worst = 0.0f;
        for (std::size_t i = 0; i < want.vertices.size(); ++i) {
            worst = std::max(worst, Distance(got.vertices[i], want.vertices[i]));
            // Normals of compressed frames go through the table of 256 directions.
            EXPECT_GT(VectorDot(DecodeNormal(got.vertices[i].normal),
                                DecodeNormal(want.vertices[i].normal)),
                      0.95f);
        }
        EXPECT_LE(worst, kMDCMaxError + 1.0 / 64);
        // Frame 0 is always stored as it is.
        for (int v = 0; v < want.numVerts; ++v)
            EXPECT_EQ(std::memcmp(&got.vertices[v], &want.vertices[v], sizeof(TMD3Vertex)), 0);
        // Everything else is carried over.
        EXPECT_EQ(NameFieldText(got.shaders[0].name), "textures/body");
        EXPECT_EQ(
            std::memcmp(got.triangles.data(), want.triangles.data(), want.triangles.size() * 12),
            0);
    }
}

TEST(MDCConvert, TagsKeepTheirPlaceAndTurn) {
    ScratchDir dir;
    TMD3 model = MakeAnimated(3, 4, [](int f, int v) { return TVector3{float(v), float(f), 0}; });
    // Turns that include straight up and down, where yaw and roll fall together.
    const float turns[][3] = {
        {0, 0, 0}, {30, -120, 45}, {-90, 10, 20}, {90, 0, 170}, {12.5f, 179, -179}};
    model.header.numTags = 5;
    model.header.tags.clear();
    for (int f = 0; f < 3; ++f) {
        for (const auto& t : turns) {
            TMD3Tag tag;
            SetName64("tag_" + std::to_string(&t - turns), tag.name);
            tag.origin = {1.3f * f, -200.27f, 511.9f};
            const double p = t[0] * std::numbers::pi / 180, y = t[1] * std::numbers::pi / 180,
                         r = t[2] * std::numbers::pi / 180;
            const double sp = std::sin(p), cp = std::cos(p), sy = std::sin(y), cy = std::cos(y);
            const double sr = std::sin(r), cr = std::cos(r);
            tag.axis[0] = {float(cp * cy), float(cp * sy), float(-sp)};
            tag.axis[1] = {float(sr * sp * cy - cr * sy), float(sr * sp * sy + cr * cy),
                           float(sr * cp)};
            tag.axis[2] = {float(cr * sp * cy + sr * sy), float(cr * sp * sy - sr * cy),
                           float(cr * cp)};
            model.header.tags.push_back(tag);
        }
    }
    ASSERT_TRUE(model.SaveToFile(dir.File("tags.mdc"))) << model.LastError();
    TMD3 back;
    ASSERT_TRUE(back.LoadFromFile(dir.File("tags.mdc"))) << back.LastError();
    ASSERT_EQ(back.header.tags.size(), model.header.tags.size());
    for (std::size_t i = 0; i < model.header.tags.size(); ++i) {
        SCOPED_TRACE(i);
        const TMD3Tag& want = model.header.tags[i];
        const TMD3Tag& got = back.header.tags[i];
        EXPECT_EQ(NameFieldText(got.name), NameFieldText(want.name));
        EXPECT_NEAR(got.origin.x, want.origin.x, 1.0 / 128);
        EXPECT_NEAR(got.origin.y, want.origin.y, 1.0 / 128);
        EXPECT_NEAR(got.origin.z, want.origin.z, 1.0 / 128);
        // One step of the stored angles turns an axis by 0.011 degrees at most per angle.
        for (int a = 0; a < 3; ++a)
            EXPECT_GT(VectorDot(got.axis[a], want.axis[a]), 0.99999f) << "axis " << a;
    }
}

TEST(MDCConvert, AnEditKeepsWhatItDidNotTouch) {
    VELDRA_REQUIRE_SAMPLES("mdc");
    ScratchDir dir;
    const std::string sample = (SampleDir("mdc") / "chair_office3.mdc").string();
    TMD3 read;
    ASSERT_TRUE(read.LoadFromFile(sample)) << read.LastError();

    // A new shader name: the compressed frames are written as they were read.
    TMD3 renamed = read;
    renamed.SetShaderName(0, "textures/props/chair_new");
    ASSERT_TRUE(renamed.SaveToFile(dir.File("renamed.mdc"))) << renamed.LastError();
    const auto original = ReadBytes(sample);
    const auto bytes = ReadBytes(dir.File("renamed.mdc"));
    ASSERT_EQ(bytes.size(), original.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        differing += bytes[i] != original[i];
    EXPECT_GT(differing, 0u);
    EXPECT_LE(differing, 64u);  // within the one shader name

    // A moved vertex: compressed anew, and still within the bound of the edited model.
    TMD3 moved = read;
    moved.header.surfaces[1].vertices[5].x += 64;
    ASSERT_TRUE(moved.SaveToFile(dir.File("moved.mdc"))) << moved.LastError();
    TMD3 back;
    ASSERT_TRUE(back.LoadFromFile(dir.File("moved.mdc"))) << back.LastError();
    for (std::size_t s = 0; s < moved.header.surfaces.size(); ++s) {
        const auto& want = moved.header.surfaces[s].vertices;
        const auto& got = back.header.surfaces[s].vertices;
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i)
            ASSERT_LE(Distance(got[i], want[i]), kMDCMaxError + 1.0 / 64)
                << "surface " << s << " vertex " << i;
    }
}

TEST(MDCConvert, TheGamePicksEachTableDirectionForItself) {
    for (int i = 0; i < kMDCNormalCount; ++i) {
        const auto index = static_cast<std::uint8_t>(i);
        EXPECT_EQ(MDCNormalIndex(MDCNormal(index)), index);
    }
    EXPECT_EQ(MDCNormalIndex({0, 0, 1}), MDCNormalIndex({0.19509f, 0, 0.980785f}));
}

}  // namespace
