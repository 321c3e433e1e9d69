// MDX reading and writing, the partial loaders, and files that must be refused cleanly.
#include <gtest/gtest.h>

#include <climits>

#include "io/file_error.h"
#include "skeletal/mdx.h"
#include "skeletal_test_util.h"
#include "support/test_files.h"

namespace {

using namespace skeletal_test;
using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

std::string SaveAnim(const ScratchDir& dir, const std::string& name, const PairShape& shape) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, shape);
    EXPECT_TRUE(anim.SaveToFile(dir.File(name))) << anim.LastError();
    return dir.File(name);
}

std::string LoadFailure(const ScratchDir& dir, const Bytes& bytes) {
    WriteBytes(dir.File("hostile.mdx"), bytes);
    TMDX anim;
    if (anim.LoadFromFile(dir.File("hostile.mdx"))) return "";
    EXPECT_FALSE(anim.LastError().empty());
    EXPECT_EQ(anim.CountMismatch(), "");
    return anim.LastError();
}

TEST(MDX, WritesFramesThenBonesAndReadsThemBack) {
    ScratchDir dir;
    const std::string file = SaveAnim(dir, "a.mdx", {.frames = 5, .bones = 4});
    const Bytes bytes = ReadBytes(file);
    EXPECT_EQ(GetI32(bytes, kMdxOfsFrames), 96);
    EXPECT_EQ(GetI32(bytes, kMdxOfsBones), 96 + 5 * (52 + 12 * 4));
    EXPECT_EQ(GetI32(bytes, 92), static_cast<std::int32_t>(bytes.size()));

    TMDX anim;
    ASSERT_TRUE(anim.LoadFromFile(file)) << anim.LastError();
    EXPECT_EQ(anim.frames[3].boneFrames[2].angles[1], -700 * 3 + 4096 * 2);
    EXPECT_EQ(anim.bones[3].parent, 2);
    EXPECT_EQ(anim.header.torsoParent, 1);
    ASSERT_TRUE(anim.SaveToFile(dir.File("b.mdx")));
    EXPECT_EQ(ReadBytes(dir.File("b.mdx")), bytes);

    // Without frames the bones follow the header directly.
    anim.frames.clear();
    anim.header.numFrames = 0;
    ASSERT_TRUE(anim.SaveToFile(dir.File("c.mdx")));
    EXPECT_EQ(GetI32(ReadBytes(dir.File("c.mdx")), kMdxOfsBones), 96);
}

TEST(MDX, PartialLoadsKeepCountsAndArraysTogether) {
    ScratchDir dir;
    const std::string bones4 = SaveAnim(dir, "b4.mdx", {.frames = 2, .bones = 4});
    const std::string frames9 = SaveAnim(dir, "f9.mdx", {.frames = 9, .bones = 3});
    const std::string bones5 = SaveAnim(dir, "b5.mdx", {.frames = 1, .bones = 5});
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.frames = 4, .bones = 3});

    ASSERT_TRUE(anim.LoadFramesFromFile(frames9)) << anim.LastError();
    EXPECT_EQ(anim.header.numFrames, 9u);
    EXPECT_EQ(anim.CountMismatch(), "");

    // Bones of another count would leave every frame describing the wrong bones.
    EXPECT_FALSE(anim.LoadBonesFromFile(bones4));
    EXPECT_EQ(anim.LastError(), "the file has 4 bones, the frames held have 3 bones");
    EXPECT_FALSE(anim.LoadFramesFromFile(bones5));
    EXPECT_EQ(anim.header.numFrames, 9u);
    EXPECT_EQ(anim.CountMismatch(), "");

    anim.frames.clear();
    anim.header.numFrames = 0;
    ASSERT_TRUE(anim.LoadBonesFromFile(bones4)) << anim.LastError();
    EXPECT_EQ(anim.header.numBones, 4u);
    EXPECT_THROW(anim.LoadBonesFromFile(dir.File("missing.mdx")), FileError);
}

TEST(MDX, ParentsMustComeBeforeTheirChildren) {
    ScratchDir dir;
    for (std::int32_t parent : {2, 5, -2, INT_MAX}) {
        TMDM mesh;
        TMDX anim;
        MakePair(mesh, anim, {.bones = 3});
        anim.bones[1].parent = parent;
        ASSERT_TRUE(anim.SaveToFile(dir.File("order.mdx")));
        EXPECT_NE(LoadFailure(dir, ReadBytes(dir.File("order.mdx"))).find("not an earlier bone"),
                  std::string::npos)
            << parent;
        EXPECT_FALSE(anim.LoadBonesFromFile(dir.File("order.mdx")));
    }
}

TEST(MDXHostile, TruncationsAndInflatedCountsFail) {
    ScratchDir dir;
    const Bytes full = ReadBytes(SaveAnim(dir, "a.mdx", {.frames = 3, .bones = 3}));
    ASSERT_EQ(LoadFailure(dir, full), "");
    // The partial loaders too: the frames-only one reads no bones, so a file cut inside its
    // frames must be refused by the frames' own size, 52 bytes of frame record included.
    TMDM mesh;
    TMDX held;
    MakePair(mesh, held, {.frames = 2, .bones = 3});
    const TMDX before = held;
    for (std::size_t n = 0; n < full.size(); ++n) {
        const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_NE(LoadFailure(dir, prefix), "") << "prefix of " << n << " bytes loaded";
        const bool framesWhole = n >= 96 + 3 * (52 + 3 * 12);
        EXPECT_EQ(held.LoadFramesFromFile(dir.File("hostile.mdx")), framesWhole) << n;
        EXPECT_EQ(held.LoadBonesFromFile(dir.File("hostile.mdx")), n == full.size()) << n;
        held = before;
    }
    for (std::size_t field : {kMdxNumFrames, kMdxNumBones, kMdxOfsFrames, kMdxOfsBones}) {
        for (std::int32_t value : {INT_MAX, INT_MIN, -1, 1 << 24}) {
            Bytes b = full;
            PutI32(b, field, value);
            EXPECT_NE(LoadFailure(dir, b), "") << "field " << field << " = " << value;
        }
    }
    Bytes b = full;
    b[0] = 'X';
    EXPECT_NE(LoadFailure(dir, b).find("MDXW"), std::string::npos);
    TMDX anim;
    EXPECT_FALSE(anim.LoadFromFile(dir.File("missing.mdx")));
}

}  // namespace
