// Real models written by other tools: every one loads, and survives a save and a reload.
#include <gtest/gtest.h>

#include <cstring>

#include "md3/md3.h"
#include "md3_test_util.h"
#include "support/test_files.h"

namespace {

using namespace md3_test;
using testing_support::ReadBytes;
using testing_support::SampleFiles;
using testing_support::ScratchDir;

// Counts and names straight from the bytes, independently of the reader.
void ExpectMatchesRawFile(const TMD3& model, const Bytes& raw) {
    EXPECT_EQ(model.header.numFrames, GetI32(raw, kNumFrames));
    EXPECT_EQ(model.header.numTags, GetI32(raw, kNumTags));
    ASSERT_EQ(model.header.numSurfaces, GetI32(raw, kNumSurfaces));
    std::size_t at = GetI32(raw, kOfsSurfaces);
    for (const TSurface& s : model.header.surfaces) {
        EXPECT_EQ(std::memcmp(s.name, raw.data() + at + 4, 64), 0);
        EXPECT_EQ(s.numVerts, GetI32(raw, at + kSurfNumVerts));
        EXPECT_EQ(s.numTriangles, GetI32(raw, at + kSurfNumTriangles));
        const std::int32_t shaders = GetI32(raw, at + kSurfNumShaders);
        EXPECT_EQ(s.numShaders, shaders == 0 ? 1 : shaders);
        // First vertex of the last frame, read where the file says it is.
        if (s.numVerts > 0 && model.header.numFrames > 0) {
            const std::size_t last =
                static_cast<std::size_t>(model.header.numFrames - 1) * s.numVerts;
            EXPECT_EQ(std::memcmp(&s.vertices[last],
                                  raw.data() + at + GetI32(raw, at + kSurfOfsXyz) + last * 8, 8),
                      0);
        }
        at += GetI32(raw, at + kSurfOfsEnd);
    }
}

// The texture coordinate block of every surface, wherever the file keeps it.
std::vector<Bytes> TexCoordBlocks(const Bytes& raw) {
    std::vector<Bytes> blocks;
    std::size_t at = GetI32(raw, kOfsSurfaces);
    for (std::int32_t i = 0; i < GetI32(raw, kNumSurfaces); ++i) {
        const std::size_t st = at + GetI32(raw, at + kSurfOfsST);
        blocks.emplace_back(raw.begin() + st,
                            raw.begin() + st + 8 * GetI32(raw, at + kSurfNumVerts));
        at += GetI32(raw, at + kSurfOfsEnd);
    }
    return blocks;
}

TEST(MD3Samples, EverySampleLoadsSavesAndReloads) {
    VELDRA_REQUIRE_SAMPLES("md3");
    ScratchDir dir;
    const auto files = SampleFiles("md3");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        TMD3 original;
        ASSERT_TRUE(original.LoadFromFile(file.string())) << original.LastError();
        const Bytes raw = ReadBytes(file.string());
        ExpectMatchesRawFile(original, raw);

        const std::string copy = dir.File("copy.md3");
        ASSERT_TRUE(original.SaveToFile(copy)) << original.LastError();
        TMD3 reloaded;
        ASSERT_TRUE(reloaded.LoadFromFile(copy)) << reloaded.LastError();
        ExpectSameModel(original, reloaded);

        // Whatever order the blocks have and whatever lies between them.
        EXPECT_TRUE(ReadBytes(copy) == raw) << "an unchanged file changed when saved";

        // Once the layout changes, the fixed order; untouched texture coordinates keep
        // their bits.
        original.AddTag({});
        ASSERT_TRUE(original.SaveToFile(copy)) << original.LastError();
        const Bytes written = ReadBytes(copy);
        EXPECT_EQ(TexCoordBlocks(written), TexCoordBlocks(raw));
        EXPECT_EQ(GetI32(written, kOfsFrames), 108);
        EXPECT_EQ(GetI32(written, kOfsEnd), static_cast<std::int32_t>(written.size()));
        EXPECT_EQ(static_cast<std::int64_t>(written.size()),
                  108 + original.FramesSize() + original.TagsSize() + original.SurfacesSize());
    }
}

}  // namespace
