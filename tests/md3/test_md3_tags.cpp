// Tag files: loading appends to every frame, saving writes frame 0, and a file that is not a
// usable tag file changes nothing and says why.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "io/file_error.h"
#include "md3/md3.h"
#include "md3/md3_input.h"
#include "md3_test_util.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using namespace md3_test;
using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

TMD3Tag Tag(const std::string& name, float x) {
    TMD3Tag t;
    SetName64(name, t.name);
    t.origin = {x, 2 * x, 3 * x};
    t.axis[0] = kVectorPosX;
    t.axis[1] = kVectorPosY;
    t.axis[2] = {0.0f, 0.5f, x};
    return t;
}

Bytes TagFile(const std::vector<TMD3Tag>& tags) {
    Bytes b(16 + tags.size() * sizeof(TMD3Tag));
    std::memcpy(b.data(), "TAG3", 4);
    PutI32(b, 4, 1);
    PutI32(b, 8, static_cast<std::int32_t>(tags.size()));
    PutI32(b, 12, static_cast<std::int32_t>(b.size()));
    if (!tags.empty()) std::memcpy(b.data() + 16, tags.data(), tags.size() * sizeof(TMD3Tag));
    return b;
}

std::vector<TMD3Tag> ThreeTags() {
    return {Tag("tag_a", 1), Tag("tag_b", 2), Tag("tag_c", 3)};
}

void ExpectSameTag(const TMD3Tag& a, const TMD3Tag& b) {
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0)
        << NameFieldText(a.name) << " vs " << NameFieldText(b.name);
}

TEST(MD3Tags, LoadAppendsTheFileTagsToEveryFrameAfterTheOldOnes) {
    ScratchDir dir;
    WriteBytes(dir.File("three.tag"), TagFile(ThreeTags()));
    for (int frames : {1, 3}) {
        TMD3 model;
        MakeModel(model, {.surfaces = 1, .vertsPerSurface = 8, .frames = frames, .tags = 2});
        const std::vector<TMD3Tag> old = model.header.tags;
        ASSERT_TRUE(model.LoadTagsFromFile(dir.File("three.tag"))) << model.LastError();
        ASSERT_EQ(model.header.numTags, 5);
        ASSERT_EQ(model.header.tags.size(), static_cast<std::size_t>(frames) * 5);
        for (int f = 0; f < frames; ++f) {
            for (int t = 0; t < 2; ++t)
                ExpectSameTag(model.header.tags[f * 5 + t], old[f * 2 + t]);
            for (int t = 0; t < 3; ++t)
                ExpectSameTag(model.header.tags[f * 5 + 2 + t], ThreeTags()[t]);
        }
    }
}

TEST(MD3Tags, AddTagGoesToTheEndOfEveryFrame) {
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 8, .frames = 2, .tags = 2});
    const std::vector<TMD3Tag> old = model.header.tags;
    model.AddTag(Tag("tag_new", 7));
    ASSERT_EQ(model.header.numTags, 3);
    ASSERT_EQ(model.header.tags.size(), 6u);
    ExpectSameTag(model.header.tags[3], old[2]);
    ExpectSameTag(model.header.tags[4], old[3]);
    ExpectSameTag(model.header.tags[2], Tag("tag_new", 7));
    ExpectSameTag(model.header.tags[5], Tag("tag_new", 7));
}

TEST(MD3Tags, RemoveRenameAndMoveActOnEveryFrame) {
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 8, .frames = 3, .tags = 4});
    const std::vector<TMD3Tag> old = model.header.tags;
    auto expectTags = [&](const std::vector<int>& from) {
        ASSERT_EQ(model.header.numTags, static_cast<int>(from.size()));
        ASSERT_EQ(model.header.tags.size(), 3 * from.size());
        for (std::size_t f = 0; f < 3; ++f) {
            for (std::size_t t = 0; t < from.size(); ++t) {
                const TMD3Tag& now = model.header.tags[f * from.size() + t];
                const TMD3Tag& then = old[f * 4 + static_cast<std::size_t>(from[t])];
                EXPECT_EQ(now.origin, then.origin) << "frame " << f << " tag " << t;
                EXPECT_EQ(now.axis[2], then.axis[2]) << "frame " << f << " tag " << t;
            }
        }
    };
    ASSERT_TRUE(model.MoveTag(0, 2));
    expectTags({1, 2, 0, 3});
    ASSERT_TRUE(model.MoveTag(3, 0));
    expectTags({3, 1, 2, 0});
    ASSERT_TRUE(model.RemoveTag(1));
    expectTags({3, 2, 0});
    ASSERT_TRUE(model.RenameTag(2, "tag_hand"));
    for (std::size_t f = 0; f < 3; ++f)
        EXPECT_EQ(NameFieldText(model.header.tags[f * 3 + 2].name), "tag_hand");
    expectTags({3, 2, 0});

    const std::vector<TMD3Tag> kept = model.header.tags;
    EXPECT_FALSE(model.RemoveTag(3));
    EXPECT_FALSE(model.RemoveTag(-1));
    EXPECT_FALSE(model.MoveTag(0, 3));
    EXPECT_FALSE(model.RenameTag(3, "x"));
    EXPECT_EQ(model.header.tags.size(), kept.size());
    EXPECT_EQ(std::memcmp(model.header.tags.data(), kept.data(), kept.size() * sizeof(TMD3Tag)), 0);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(model.RemoveTag(0));
    EXPECT_EQ(model.header.numTags, 0);
    EXPECT_TRUE(model.header.tags.empty());
}

TEST(MD3Tags, SaveWritesFrameZeroOnlyAndReadsBackAsTheSameTags) {
    ScratchDir dir;
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 8, .frames = 10, .tags = 3});
    ASSERT_TRUE(model.SaveTagsToFile(dir.File("out.tag"))) << model.LastError();
    const Bytes written = ReadBytes(dir.File("out.tag"));
    const std::vector<TMD3Tag> frameZero(model.header.tags.begin(), model.header.tags.begin() + 3);
    EXPECT_EQ(written, TagFile(frameZero));

    TMD3 single;
    MakeModel(single, {.surfaces = 1, .vertsPerSurface = 8, .frames = 1, .tags = 3});
    ASSERT_TRUE(single.LoadTagsFromFile(dir.File("out.tag")));
    EXPECT_EQ(single.header.numTags, 6);
    for (int t = 0; t < 3; ++t)
        ExpectSameTag(single.header.tags[3 + t], single.header.tags[t]);
}

TEST(MD3Tags, NothingToSaveCreatesNoFileAndKeepsAnOldOne) {
    ScratchDir dir;
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 8, .frames = 1, .tags = 0});
    EXPECT_FALSE(model.SaveTagsToFile(dir.File("none.tag")));
    EXPECT_FALSE(model.LastError().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.tag")));

    WriteBytes(dir.File("old.tag"), Bytes(5, 1));
    // Tags counted but no frame to hold them: still nothing to write.
    model.header.numFrames = 0;
    model.header.frames.clear();
    model.header.numTags = 2;
    EXPECT_FALSE(model.SaveTagsToFile(dir.File("old.tag")));
    EXPECT_EQ(ReadBytes(dir.File("old.tag")), Bytes(5, 1));
    EXPECT_THROW(TMD3().LoadTagsFromFile(dir.File("absent.tag")), FileError);
}

TEST(MD3Tags, UnusableFilesChangeNothing) {
    ScratchDir dir;
    const Bytes good = TagFile(ThreeTags());
    std::vector<std::pair<std::string, Bytes>> cases;
    for (std::size_t n = 0; n < good.size(); ++n)
        cases.emplace_back("prefix " + std::to_string(n), Bytes(good.begin(), good.begin() + n));
    auto patched = [&](std::size_t at, std::int32_t value) {
        Bytes b = good;
        PutI32(b, at, value);
        return b;
    };
    cases.emplace_back("ident", patched(0, 0));
    cases.emplace_back("version 2", patched(4, 2));
    cases.emplace_back("no tags", patched(8, 0));
    cases.emplace_back("negative", patched(8, -1));
    cases.emplace_back("INT_MIN", patched(8, INT_MIN));
    cases.emplace_back("INT_MAX", patched(8, INT_MAX));
    cases.emplace_back("one too many", patched(8, 4));

    for (const auto& [what, bytes] : cases) {
        WriteBytes(dir.File("bad.tag"), bytes);
        TMD3 model;
        MakeModel(model, {.surfaces = 1, .vertsPerSurface = 8, .frames = 1, .tags = 2});
        const std::vector<TMD3Tag> before = model.header.tags;
        EXPECT_FALSE(model.LoadTagsFromFile(dir.File("bad.tag"))) << what;
        EXPECT_FALSE(model.LastError().empty()) << what;
        EXPECT_EQ(model.header.numTags, 2) << what;
        ASSERT_EQ(model.header.tags.size(), before.size()) << what;
    }
    // ofsEnd is not examined.
    WriteBytes(dir.File("ofs.tag"), patched(12, 12345));
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 8, .frames = 1, .tags = 0});
    EXPECT_TRUE(model.LoadTagsFromFile(dir.File("ofs.tag")));
    EXPECT_EQ(model.header.numTags, 3);
}

TEST(MD3Tags, SampleFilesLoadAndSaveBackByteExact) {
    VELDRA_REQUIRE_SAMPLES("tag");
    ScratchDir dir;
    for (const auto& path : testing_support::SampleFiles("tag")) {
        TMD3 model;
        MakeModel(model, {.surfaces = 1, .vertsPerSurface = 8, .frames = 1, .tags = 0});
        ASSERT_TRUE(model.LoadTagsFromFile(path.string())) << path << ": " << model.LastError();
        EXPECT_GT(model.header.numTags, 0) << path;
        ASSERT_TRUE(model.SaveTagsToFile(dir.File("copy.tag")));
        EXPECT_EQ(ReadBytes(dir.File("copy.tag")), ReadBytes(path.string())) << path;
    }
}

TEST(MD3TagInput, NumbersUseAPointAndMustBeWhole) {
    float v = -1.0f;
    EXPECT_TRUE(ParseDecimal(" 1.5 ", v));
    EXPECT_EQ(v, 1.5f);
    EXPECT_TRUE(ParseDecimal("+2", v));
    EXPECT_EQ(v, 2.0f);
    EXPECT_TRUE(ParseDecimal("-.25", v));
    EXPECT_EQ(v, -0.25f);
    EXPECT_TRUE(ParseDecimal("1e2", v));
    EXPECT_EQ(v, 100.0f);
    for (const char* bad : {"", " ", "1,5", "abc", "1.5x", "inf", "nan", "+", "+-1", "1e99"})
        EXPECT_FALSE(ParseDecimal(bad, v)) << bad;
    EXPECT_EQ(v, 100.0f);
}

TEST(MD3TagInput, MakeTagKeepsAxesAsTypedAndRejectsAnyBadField) {
    const std::array<std::string_view, 12> typed = {"1", "2", "3", "2", "0", "0",
                                                    "0", "1", "1", "0", "0", "-1"};
    TMD3Tag tag;
    ASSERT_TRUE(MakeTag(std::string(70, 'n'), typed, tag));
    EXPECT_EQ(NameFieldText(tag.name), std::string(64, 'n'));
    EXPECT_EQ(tag.origin, (TVector3{1, 2, 3}));
    EXPECT_EQ(tag.axis[0], (TVector3{2, 0, 0}));
    EXPECT_EQ(tag.axis[1], (TVector3{0, 1, 1}));
    EXPECT_EQ(tag.axis[2], (TVector3{0, 0, -1}));

    std::array<std::string_view, 12> bad = typed;
    bad[7] = "abc";  // axis 1 y
    const TMD3Tag before = tag;
    EXPECT_FALSE(MakeTag("tag_x", bad, tag));
    EXPECT_EQ(std::memcmp(&tag, &before, sizeof tag), 0);
}

}  // namespace
