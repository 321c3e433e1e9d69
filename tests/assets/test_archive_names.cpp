#include <gtest/gtest.h>

#include "assets/archive_entry_ref.h"
#include "assets/archive_names.h"
#include "assets/entry_safety.h"
#include "assets/game_file_name.h"
#include "assets/image_search.h"

namespace {

TEST(ArchiveMask, FolderLessMasksMatchEveryFolderOthersOnlyTheirOwn) {
    struct Case {
        const char* mask;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.MD3", "models/a/b.md3", true},
        {"*.md3", "B.MD3", true},
        {"*.md3", "models/a/b.md3.bak", false},
        {"scripts\\*.shader", "scripts/a.shader", true},
        {"scripts/*.shader", "Scripts/A.SHADER", true},
        {"scripts\\*.shader", "scripts/sub/a.shader", false},
        {"scripts\\*.shader", "maps/scripts/a.shader", false},
        {"Models\\X\\y.md3", "models/x/Y.md3", true},
        {"models/x/y.md3", "models/x/y.md3x", false},
        {"?.tga", "a.tga", true},
        {"?.tga", "ab.tga", false},
        {"*a*b*", "xxaxxbxx", true},
        {"*a*b", "ab_a", false},
        // "**" stands for any number of whole folders, none included.
        {"models/**/*.md3", "models/a.md3", true},
        {"models/**/*.md3", "Models/x/y/A.MD3", true},
        {"models/**/*.md3", "maps/models/a.md3", false},
        {"**/b/*.tga", "a/b/c/d.tga", false},
        {"**/b/**", "a/b/c/d.tga", true},
        {"a/**/b/**/c", "a/x/b/y/z/c", true},
        {"a/**/b/**/c", "a/x/y/z/c", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesArchiveMask(c.mask, c.name), c.matches) << c.mask << " / " << c.name;
}

TEST(ArchiveNames, ExtensionsAndImageCandidates) {
    EXPECT_EQ(WithoutExtension("models/x.y/body.tga"), "models/x.y/body");
    EXPECT_EQ(WithoutExtension("models/x.y/body"), "models/x.y/body");
    EXPECT_EQ(WithExtension("a\\b", ".jpg"), "a\\b.jpg");
    const std::vector<std::string> expected{"models/a.tga", "models/a.jpg", "models/a.bmp"};
    EXPECT_EQ(ImageNameCandidates("models\\a.tga"), expected);
    EXPECT_EQ(ImageNameCandidates("models/a").size(), 4u);
    EXPECT_EQ(ImageNameCandidates("/models\\a.tga"), expected);
    EXPECT_TRUE(ImageNameCandidates("../a.tga").empty());
}

TEST(GameFileName, TheGamesFileSystemDropsALeadingSeparatorAndRefusesEscapes) {
    struct Case {
        const char* name;
        const char* taken;  // nullptr: refused
    };
    const Case cases[] = {
        {"models/a.tga", "models/a.tga"},
        {"/models/a.tga", "models/a.tga"},
        {"\\models\\a.tga", "models/a.tga"},
        {"//models/a.tga", "models/a.tga"},
        {"models/../a.tga", nullptr},
        {"a..b.tga", nullptr},
        {"c::a.tga", nullptr},
        {"/", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> taken = GameFileName(c.name);
        ASSERT_EQ(taken.has_value(), c.taken != nullptr) << c.name;
        if (taken) {
            EXPECT_EQ(*taken, c.taken) << c.name;
        }
    }
}

TEST(EntrySafety, NamesThatLeaveTheTargetFolderAreRefused) {
    struct Case {
        const char* name;
        const char* path;  // empty: refused
    };
    const Case cases[] = {
        {"models/a.md3", "models/a.md3"},
        {"./models//a.md3", "models/a.md3"},
        {"models\\x\\a.md3", "models/x/a.md3"},
        {"...", "..."},
        {"a..b/c", "a..b/c"},
        {"../evil.txt", ""},
        {"..\\..\\evil.txt", ""},
        {"models/../../evil.txt", ""},
        {"a\\..\\b", ""},
        {"/etc/evil", ""},
        {"\\evil", ""},
        {"C:\\evil.txt", ""},
        {"c:evil.txt", ""},
        {"maps/", ""},
        {"", ""},
        {"./", ""},
    };
    for (const Case& c : cases) {
        const TSafeEntryPath safe = SafeEntryPath(c.name);
        EXPECT_EQ(safe.path, c.path) << c.name;
        EXPECT_EQ(safe.problem.empty(), *c.path != '\0') << c.name;
    }
}

TEST(EntrySafety, SizeAndRatioBounds) {
    EXPECT_EQ(EntrySizeProblem(kMaxEntryBytes, kMaxEntryBytes / 4, false), "");
    EXPECT_NE(EntrySizeProblem(kMaxEntryBytes + 1, kMaxEntryBytes, false), "");
    // A flat mask image compresses about 1000:1 and must pass; beyond deflate's limit not.
    EXPECT_EQ(EntrySizeProblem(4 << 20, (4 << 20) / 1000, false), "");
    EXPECT_NE(EntrySizeProblem(4 << 20, (4 << 20) / 2000, false), "");
    EXPECT_NE(EntrySizeProblem(4 << 20, 0, false), "");
    EXPECT_EQ(EntrySizeProblem(100, 0, false), "");  // too small to matter
    EXPECT_NE(EntrySizeProblem(100, 90, true), "");  // stored data cannot shrink
}

TEST(ArchiveEntryRef, SplitsAfterTheArchiveName) {
    auto ref = SplitArchiveEntryRef("maps/x.PK3:models/a/b.md3");
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->archive, "maps/x.PK3");
    EXPECT_EQ(ref->entry, "models/a/b.md3");
    ref = SplitArchiveEntryRef("C:/a b.zip:c.md3");
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->archive, "C:/a b.zip");
    EXPECT_FALSE(SplitArchiveEntryRef("models/a.md3"));
    EXPECT_FALSE(SplitArchiveEntryRef("x.pk3:"));
    EXPECT_FALSE(SplitArchiveEntryRef("x.md3:y"));
}

}  // namespace
