// Appending frames from another file of the same model, and deleting frames. A refused file
// must leave the model exactly as it was and name the first thing that did not match.
#include <gtest/gtest.h>

#include <climits>

#include "md3/md3.h"
#include "md3_test_util.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using namespace md3_test;
using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

constexpr ModelShape kTwoSurfacesTwoTags{
    .surfaces = 2, .vertsPerSurface = 16, .frames = 1, .tags = 2};

// A file of the model `shape` describes, as the writer lays it out.
Bytes ModelFile(const ScratchDir& dir, ModelShape shape) {
    TMD3 model;
    MakeModel(model, shape);
    EXPECT_TRUE(model.SaveToFile(dir.File("made.md3")));
    return ReadBytes(dir.File("made.md3"));
}

// The file offset of surface i of a file the writer laid out.
std::size_t SurfaceAt(const Bytes& b, int i) {
    std::size_t at = static_cast<std::size_t>(GetI32(b, kOfsSurfaces));
    for (int k = 0; k < i; ++k)
        at += static_cast<std::size_t>(GetI32(b, at + kSurfOfsEnd));
    return at;
}

// Appends frame 0 of `bytes` (saved as "other.md3") to a fresh one-frame model; returns the
// message and checks that a refusal changed nothing.
std::string AppendMessage(const ScratchDir& dir, const Bytes& bytes, bool all = false) {
    WriteBytes(dir.File("other.md3"), bytes);
    TMD3 model, before;
    MakeModel(model, kTwoSurfacesTwoTags);
    MakeModel(before, kTwoSurfacesTwoTags);
    std::string message = "not set";
    const bool ok = all ? model.AppendAllFramesFromFile(dir.File("other.md3"), message)
                        : model.AppendFirstFrameFromFile(dir.File("other.md3"), message);
    EXPECT_EQ(ok, message.empty()) << message;
    if (!ok) ExpectSameModel(model, before);
    return message;
}

TEST(MD3Frames, AppendingAModelToItselfDoublesItsFrames) {
    ScratchDir dir;
    TMD3 model;
    MakeModel(model, {.surfaces = 2, .vertsPerSurface = 16, .frames = 3, .tags = 2});
    ASSERT_TRUE(model.SaveToFile(dir.File("self.md3")));
    const TMD3 original = model;
    std::string message;
    ASSERT_TRUE(model.AppendAllFramesFromFile(dir.File("self.md3"), message)) << message;
    EXPECT_EQ(message, "");
    const THeader& h = model.header;
    ASSERT_EQ(h.numFrames, 6);
    ASSERT_EQ(h.frames.size(), 6u);
    ASSERT_EQ(h.tags.size(), 12u);
    for (int f = 0; f < 6; ++f) {
        const int from = f % 3;
        EXPECT_EQ(NameFieldText(h.frames[f].name),
                  f < 3 ? NameFieldText(original.header.frames[f].name) : "K merged");
        EXPECT_EQ(h.frames[f].maxBounds, original.header.frames[from].maxBounds);
        EXPECT_EQ(h.frames[f].radius, original.header.frames[from].radius);
        for (int t = 0; t < 2; ++t)
            EXPECT_EQ(h.tags[f * 2 + t].origin, original.header.tags[from * 2 + t].origin);
    }
    for (int i = 0; i < 2; ++i) {
        const TSurface& s = h.surfaces[i];
        const TSurface& o = original.header.surfaces[i];
        EXPECT_EQ(s.numFrames, 6);
        ASSERT_EQ(s.vertices.size(), 6u * 16);
        for (std::size_t v = 0; v < s.vertices.size(); ++v) {
            const TMD3Vertex& a = s.vertices[v];
            const TMD3Vertex& b = o.vertices[v % (3 * 16)];
            EXPECT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z && a.normal == b.normal) << v;
        }
    }
    // The result is a consistent model.
    ASSERT_TRUE(model.SaveToFile(dir.File("doubled.md3"))) << model.LastError();
    TMD3 again;
    ASSERT_TRUE(again.LoadFromFile(dir.File("doubled.md3")));
    ExpectSameModel(again, model, 1e-6f);
}

TEST(MD3Frames, AppendFirstTakesOnlyFrameZeroButChecksEveryFrame) {
    ScratchDir dir;
    ModelShape tenFrames = kTwoSurfacesTwoTags;
    tenFrames.frames = 10;
    TMD3 source;
    MakeModel(source, tenFrames);
    ASSERT_TRUE(source.SaveToFile(dir.File("ten.md3")));
    TMD3 model;
    MakeModel(model, kTwoSurfacesTwoTags);
    std::string message;
    ASSERT_TRUE(model.AppendFirstFrameFromFile(dir.File("ten.md3"), message)) << message;
    ASSERT_EQ(model.header.numFrames, 2);
    EXPECT_EQ(model.header.frames[1].maxBounds, source.header.frames[0].maxBounds);
    EXPECT_EQ(model.header.tags[3].origin, source.header.tags[1].origin);
    EXPECT_EQ(model.header.surfaces[1].vertices[16 + 5].x, source.header.surfaces[1].vertices[5].x);

    // The last vertex of frame 9 is missing.
    Bytes truncated = ReadBytes(dir.File("ten.md3"));
    truncated.resize(truncated.size() - 8);
    EXPECT_EQ(AppendMessage(dir, truncated),
              "Error reading vertex-data for surface[\"surface1\"]: other.md3");
}

TEST(MD3Frames, EveryCheckInOrderWithItsMessage) {
    ScratchDir dir;
    const Bytes good = ModelFile(dir, kTwoSurfacesTwoTags);
    ASSERT_EQ(AppendMessage(dir, good), "");
    const std::size_t s0 = SurfaceAt(good, 0), s1 = SurfaceAt(good, 1);
    auto patched = [&](std::size_t at, std::int32_t value) {
        Bytes b = good;
        PutI32(b, at, value);
        return b;
    };

    EXPECT_EQ(AppendMessage(dir, Bytes(good.begin(), good.begin() + 107)),
              "Could not read header: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(0, 0)), "No MD3 format: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(kNumFrames, 0)), "No frame-data: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(kNumFrames, -1)), "No frame-data: other.md3");
    // The tag count is compared before any frame data is read.
    Bytes tagsAndFrames = patched(kNumTags, 3);
    PutI32(tagsAndFrames, kOfsFrames, INT_MAX);
    EXPECT_EQ(AppendMessage(dir, tagsAndFrames), "Number of tags not equal: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(kOfsFrames, INT_MAX)),
              "Error reading frame-data: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(kNumFrames, INT_MAX)),
              "Error reading frame-data: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(kOfsTags, static_cast<std::int32_t>(good.size()) - 100)),
              "Error reading tag-data: other.md3");

    Bytes renamed = good;
    const std::size_t tags = static_cast<std::size_t>(GetI32(good, kOfsTags));
    std::memcpy(renamed.data() + tags, "Tag_0", 5);
    EXPECT_EQ(AppendMessage(dir, renamed), "Tag \"Tag_0\" found, expected \"tag_0\" in: other.md3");
    // Only the first tag's name is compared.
    Bytes second = good;
    std::memcpy(second.data() + tags + sizeof(TMD3Tag), "other", 5);
    EXPECT_EQ(AppendMessage(dir, second), "");

    EXPECT_EQ(AppendMessage(dir, patched(kNumSurfaces, 3)),
              "Number of surfaces not equal: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(kNumSurfaces, -1)),
              "Number of surfaces not equal: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(s0 + kSurfOfsEnd, INT_MAX)),
              "Error reading surface[1]-header: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(s1 + kSurfNumShaders, 2)),
              "Number of shaders not equal for surface[\"surface1\"]: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(s1 + kSurfNumTriangles, 1)),
              "Number of triangles not equal for surface[\"surface1\"]: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(s0 + kSurfNumVerts, 15)),
              "Number of vertexes not equal for surface[\"surface0\"]: other.md3");
    EXPECT_EQ(AppendMessage(dir, patched(s1 + kSurfOfsXyz, INT_MAX)),
              "Error reading vertex-data for surface[\"surface1\"]: other.md3");
}

TEST(MD3Frames, LooserMatchesStillAppend) {
    ScratchDir dir;
    Bytes b = ModelFile(dir, kTwoSurfacesTwoTags);
    PutI32(b, 4, 3);  // version
    std::memcpy(b.data() + SurfaceAt(b, 0) + 4, "renamed", 7);
    // A surface without shader records matches the empty one the reader gives it.
    PutI32(b, SurfaceAt(b, 1) + kSurfNumShaders, 0);
    // Surface frame counts are not trusted (exporters store 0 or other values): the vertex
    // block holds the header's frames, as the model reader takes it.
    PutI32(b, SurfaceAt(b, 0) + kSurfNumFrames, 0);
    PutI32(b, SurfaceAt(b, 1) + kSurfNumFrames, 2);
    WriteBytes(dir.File("loose.md3"), b);
    TMD3 model;
    MakeModel(model, kTwoSurfacesTwoTags);
    std::string message;
    ASSERT_TRUE(model.AppendAllFramesFromFile(dir.File("loose.md3"), message)) << message;
    EXPECT_EQ(NameFieldText(model.header.surfaces[0].name), "surface0");
    EXPECT_EQ(model.header.version, kMD3Version);
    ASSERT_EQ(model.header.numFrames, 2);
    for (const TSurface& s : model.header.surfaces) {
        ASSERT_EQ(s.vertices.size(), 32u);
        EXPECT_EQ(s.vertices[16 + 5].x, s.vertices[5].x);
    }
}

TEST(MD3Frames, EveryTruncationOfTheOtherFileIsRefused) {
    ScratchDir dir;
    const Bytes good = ModelFile(dir, kTwoSurfacesTwoTags);
    for (std::size_t n = 0; n < good.size(); n += 7) {
        EXPECT_NE(AppendMessage(dir, Bytes(good.begin(), good.begin() + n)), "")
            << "prefix of " << n << " bytes appended";
    }
}

TEST(MD3Frames, DeleteFrameMovesTheLaterFramesDown) {
    TMD3 model;
    MakeModel(model, {.surfaces = 2, .vertsPerSurface = 16, .frames = 3, .tags = 2});
    const TMD3 original = model;
    ASSERT_TRUE(model.DeleteFrame(0));
    const THeader& h = model.header;
    ASSERT_EQ(h.numFrames, 2);
    ASSERT_EQ(h.frames.size(), 2u);
    ASSERT_EQ(h.tags.size(), 4u);
    EXPECT_EQ(NameFieldText(h.frames[0].name), "frame1");
    EXPECT_EQ(h.frames[0].maxBounds, original.header.frames[1].maxBounds);
    EXPECT_EQ(h.tags[1].origin, original.header.tags[3].origin);
    for (const TSurface& s : h.surfaces) {
        EXPECT_EQ(s.numFrames, 2);
        ASSERT_EQ(s.vertices.size(), 32u);
    }
    EXPECT_EQ(h.surfaces[1].vertices[16 + 3].x, original.header.surfaces[1].vertices[32 + 3].x);

    const TMD3 twoFrames = model;
    EXPECT_FALSE(model.DeleteFrame(2));
    EXPECT_FALSE(model.DeleteFrame(-1));
    ExpectSameModel(model, twoFrames);
    ASSERT_TRUE(model.DeleteFrame(1));
    EXPECT_EQ(NameFieldText(model.header.frames[0].name), "frame1");
    // The only frame stays.
    EXPECT_FALSE(model.DeleteFrame(0));
    EXPECT_EQ(model.header.numFrames, 1);
}

TEST(MD3Frames, SampleAppendedToItselfDoublesItsFrames) {
    VELDRA_REQUIRE_SAMPLES("md3");
    const std::string path = (testing_support::SampleDir("md3") / "mortar_shell_ax.md3").string();
    TMD3 model;
    ASSERT_TRUE(model.LoadFromFile(path));
    const int frames = model.header.numFrames;
    std::string message;
    ASSERT_TRUE(model.AppendAllFramesFromFile(path, message)) << message;
    EXPECT_EQ(model.header.numFrames, 2 * frames);
    ASSERT_TRUE(model.AppendFirstFrameFromFile(path, message)) << message;
    EXPECT_EQ(model.header.numFrames, 2 * frames + 1);
    EXPECT_EQ(NameFieldText(model.header.frames.back().name), "K merged");
}

}  // namespace
