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

// Whether the file is laid out as the writer lays it out: then saving it unchanged must give
// the same bytes.
bool InCanonicalOrder(const Bytes& raw) {
    const std::int32_t frames = GetI32(raw, kNumFrames);
    std::int64_t at = 108;
    if (GetI32(raw, kOfsFrames) != at) return false;
    at += std::int64_t{frames} * 56;
    if (GetI32(raw, kOfsTags) != at) return false;
    at += std::int64_t{frames} * GetI32(raw, kNumTags) * 112;
    if (GetI32(raw, kOfsSurfaces) != at) return false;
    for (std::int32_t i = 0; i < GetI32(raw, kNumSurfaces); ++i) {
        const std::size_t s = static_cast<std::size_t>(at);
        const std::int64_t shaders = 108 + std::int64_t{GetI32(raw, s + kSurfNumShaders)} * 68;
        const std::int64_t triangles =
            shaders + std::int64_t{GetI32(raw, s + kSurfNumTriangles)} * 12;
        const std::int64_t st = triangles + std::int64_t{GetI32(raw, s + kSurfNumVerts)} * 8;
        const std::int64_t end = st + std::int64_t{GetI32(raw, s + kSurfNumVerts)} * frames * 8;
        if (GetI32(raw, s + kSurfNumShaders) == 0 || GetI32(raw, s + kSurfOfsShaders) != 108 ||
            GetI32(raw, s + kSurfOfsTriangles) != shaders ||
            GetI32(raw, s + kSurfOfsST) != triangles || GetI32(raw, s + kSurfOfsXyz) != st ||
            GetI32(raw, s + kSurfOfsEnd) != end) {
            return false;
        }
        at += end;
    }
    return GetI32(raw, kOfsEnd) == at && static_cast<std::int64_t>(raw.size()) == at;
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
    int canonical = 0;
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

        // Untouched data is written back bit for bit, texture coordinates included.
        const Bytes written = ReadBytes(copy);
        EXPECT_EQ(TexCoordBlocks(written), TexCoordBlocks(raw));
        if (InCanonicalOrder(raw)) {
            ++canonical;
            EXPECT_TRUE(written == raw) << "a canonical file changed when saved unchanged";
        }
        EXPECT_EQ(GetI32(written, kOfsFrames), 108);
        EXPECT_EQ(GetI32(written, kOfsEnd), static_cast<std::int32_t>(written.size()));
        EXPECT_EQ(static_cast<std::int64_t>(written.size()),
                  108 + original.FramesSize() + original.TagsSize() + original.SurfacesSize());
    }
    EXPECT_GT(canonical, 0) << "no sample is in canonical order; the byte comparison never ran";
}

}  // namespace
