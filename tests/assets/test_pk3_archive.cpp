#include <gtest/gtest.h>

#include <filesystem>

#include "assets/entry_safety.h"
#include "assets/pk3_archive.h"
#include "io/file_error.h"
#include "support/test_files.h"
#include "support/zip_fixture.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

std::vector<std::string> Names(const std::vector<const TArchiveEntry*>& entries) {
    std::vector<std::string> names;
    for (const TArchiveEntry* entry : entries)
        names.push_back(entry->name);
    return names;
}

// Every file below `folder`, relative to it.
std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), folder).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(PK3Archive, ListsAndFindsInArchiveOrderSkippingFolders) {
    ScratchDir dir;
    WriteZip(dir.File("a.pk3"), {{"models/", ""},
                                 {"models/B.MD3", "b"},
                                 {"scripts\\x.shader", "s"},
                                 {"models/a.md3", "aa", true},
                                 {"sound/a.wav", "w"}});
    TPK3Archive archive(dir.File("a.pk3"));
    EXPECT_EQ(archive.Entries().size(), 5u);
    EXPECT_EQ(Names(archive.FindAll("*.md3")),
              (std::vector<std::string>{"models/B.MD3", "models/a.md3"}));
    EXPECT_EQ(Names(archive.FindAll("scripts\\*.SHADER")),
              std::vector<std::string>{"scripts/x.shader"});
    EXPECT_TRUE(archive.FindAll("*.tga").empty());
    const TArchiveEntry* entry = archive.FindEntry("MODELS\\b.md3");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Folder(), "models/");
    EXPECT_EQ(entry->FileName(), "B.MD3");
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(archive.ReadEntry(*archive.FindEntry("models/a.md3"), 16, bytes, error));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "aa");
    EXPECT_EQ(archive.FindEntry("models/"), nullptr);
}

TEST(PK3Archive, ArchivesThatCannotBeOpenedNameTheFileAndTheReason) {
    ScratchDir dir;
    WriteBytes(dir.File("text.pk3"), {'n', 'o', 't', ' ', 'z', 'i', 'p'});
    WriteZip(dir.File("cut.pk3"), {{"a.md3", std::string(5000, 'x')}});
    std::vector<std::uint8_t> bytes = ReadBytes(dir.File("cut.pk3"));
    bytes.resize(bytes.size() - 30);  // the end of the central directory is gone
    WriteBytes(dir.File("cut.pk3"), bytes);
    for (const char* name : {"missing.pk3", "text.pk3", "cut.pk3"}) {
        TPK3Archive archive;
        try {
            archive.Open(dir.File(name));
            ADD_FAILURE() << name << " opened";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("Cannot open file \"" + dir.File(name) + "\". "),
                      std::string::npos)
                << e.what();
        }
        EXPECT_FALSE(archive.IsOpen());
    }
}

TEST(PK3Archive, HostileNamesAreRefusedAndNothingLandsOutsideTheTarget) {
    ScratchDir dir;
    const std::vector<std::string> hostile{"../evil1.txt",       "..\\evil2.txt",
                                           "/tmp/evil3.txt",     "C:\\evil4.txt",
                                           "ok/../../evil5.txt", "ok\\..\\..\\evil6.txt"};
    std::vector<ZipEntry> entries{{"ok/good.txt", "good"}};
    for (const std::string& name : hostile)
        entries.push_back({name, "evil"});
    fs::create_directories(dir.path() / "out");
    WriteZip(dir.File("hostile.pk3"), entries);

    const TExtractReport report =
        TPK3Archive(dir.File("hostile.pk3")).Extract("*", dir.File("out"));
    ASSERT_EQ(report.written.size(), 1u);
    EXPECT_EQ(FileText(report.written[0].path), "good");
    ASSERT_EQ(report.problems.size(), hostile.size());
    for (std::size_t i = 0; i < hostile.size(); ++i) {
        std::string stored = hostile[i];
        std::replace(stored.begin(), stored.end(), '\\', '/');
        EXPECT_NE(report.problems[i].find("\"" + stored + "\""), std::string::npos)
            << report.problems[i];
        EXPECT_NE(report.problems[i].find(dir.File("hostile.pk3")), std::string::npos);
    }
    EXPECT_EQ(FilesBelow(dir.path()), (std::vector<std::string>{"hostile.pk3", "out/ok/good.txt"}));
    EXPECT_FALSE(fs::exists("/tmp/evil3.txt"));
}

// Bombs and damage: each entry is refused or reported, the copy an earlier extraction made
// survives, and no partial or temporary file is left.
TEST(PK3Archive, BombsAndDamagedEntriesLeaveNothingBehind) {
    struct Case {
        const char* what;
        void (*spoil)(const std::string& path);
        const char* message;
    };
    const Case cases[] = {
        {"stated size above the bound",
         [](const std::string& p) { PatchStatedSize(p, "big.tga", 600u << 20); }, "Refused"},
        {"ratio beyond deflate",
         [](const std::string& p) { PatchStatedSize(p, "big.tga", 100u << 20); }, "Refused"},
        {"data longer than stated",
         [](const std::string& p) { PatchStatedSize(p, "big.tga", 1000); }, "Damaged"},
        {"data shorter than stated",
         [](const std::string& p) { PatchStatedSize(p, "big.tga", 300000); }, "Damaged"},
        {"CRC error", [](const std::string& p) { CorruptEntryData(p, "big.tga"); }, "Damaged"},
    };
    std::string data;
    for (int i = 0; i < 200000; ++i)
        data += static_cast<char>((i * 7919) % 251);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string pk3 = dir.File("bomb.pk3");
        WriteZip(pk3, {{"big.tga", data}, {"small.txt", "small"}});
        c.spoil(pk3);
        fs::create_directories(dir.path() / "out");
        WriteBytes(dir.File("out/big.tga"), {'o', 'l', 'd'});

        const TExtractReport report = TPK3Archive(pk3).Extract("*", dir.File("out"));
        ASSERT_EQ(report.problems.size(), 1u);
        EXPECT_EQ(report.problems[0].rfind(c.message, 0), 0u) << report.problems[0];
        EXPECT_NE(report.problems[0].find("\"big.tga\""), std::string::npos);
        ASSERT_EQ(report.written.size(), 1u);
        EXPECT_EQ(FileText(dir.File("out/big.tga")), "old");
        EXPECT_EQ(FilesBelow(dir.path() / "out"),
                  (std::vector<std::string>{"big.tga", "small.txt"}));
    }
}

// Directory records sharing one deflated stream are how a small archive writes gigabytes:
// every record whose bytes overlap another's is refused, the honest entries are written.
TEST(PK3Archive, EntriesSharingDataAreRefused) {
    ScratchDir dir;
    const std::string pk3 = dir.File("bomb.pk3");
    WriteZip(pk3, {{"scripts/b.shader", "b"}, {"scripts/a.shader", std::string(100000, 'a')}});
    AddAliasRecord(pk3, "scripts/a.shader", "scripts/copy1.shader");
    AddAliasRecord(pk3, "scripts/a.shader", "scripts/copy2.shader");
    AddAliasRecord(pk3, "scripts/a.shader", "scripts/inside.shader", 40);

    const TPK3Archive archive(pk3);
    const TExtractReport report = archive.Extract("scripts/*", dir.File("out"));
    EXPECT_EQ(FilesBelow(dir.path() / "out"), std::vector<std::string>{"scripts/b.shader"});
    ASSERT_EQ(report.problems.size(), 4u);
    for (const std::string& problem : report.problems) {
        EXPECT_EQ(problem.rfind("Refused entry \"scripts/", 0), 0u) << problem;
        EXPECT_NE(problem.find(pk3), std::string::npos) << problem;
        EXPECT_NE(problem.find("overlaps"), std::string::npos) << problem;
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(
        archive.ReadEntry(*archive.FindEntry("scripts/copy1.shader"), 1 << 20, bytes, error));
}

// Entries each within the bounds of one add up; an extraction stops letting them through
// once their stated sizes reach its total bound.
TEST(PK3Archive, OneExtractionWritesAtMostItsBound) {
    ScratchDir dir;
    const std::string pk3 = dir.File("many.pk3");
    std::string noise(500000, '\0');
    std::uint32_t state = 1;
    for (char& c : noise) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    const int perBound = static_cast<int>(kMaxExtractionBytes / kMaxEntryBytes);
    std::vector<ZipEntry> entries;
    for (int i = 0; i <= perBound; ++i)
        entries.push_back({"big" + std::to_string(i) + ".tga", noise});
    entries.push_back({"small.txt", "s"});
    WriteZip(pk3, entries);
    for (int i = 0; i <= perBound; ++i)
        PatchStatedSize(pk3, "big" + std::to_string(i) + ".tga",
                        static_cast<std::uint32_t>(kMaxEntryBytes));

    const TExtractReport report = TPK3Archive(pk3).Extract("*", dir.File("out"));
    ASSERT_EQ(report.problems.size(), entries.size());
    for (int i = 0; i < perBound; ++i)
        EXPECT_EQ(report.problems[i].rfind("Damaged", 0), 0u) << report.problems[i];
    for (std::size_t i = perBound; i < entries.size(); ++i) {
        EXPECT_EQ(report.problems[i].rfind("Refused entry \"" + entries[i].name, 0), 0u);
        EXPECT_NE(report.problems[i].find("limit of " + std::to_string(kMaxExtractionBytes)),
                  std::string::npos)
            << report.problems[i];
    }
    EXPECT_TRUE(FilesBelow(dir.path() / "out").empty());
}

// A link already inside the target is neither followed to write elsewhere (a folder link)
// nor written into (a file link, replaced by the extracted file instead).
TEST(PK3Archive, LinksInsideTheTargetAreNeverWrittenThrough) {
    ScratchDir dir;
    const std::string pk3 = dir.File("l.pk3");
    WriteZip(pk3, {{"models/a.md3", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}});
    fs::create_directories(dir.path() / "outside");
    fs::create_directories(dir.path() / "out");
    fs::create_directory_symlink(dir.File("outside"), dir.File("out/models"));
    WriteBytes(dir.File("outside/victim.txt"), {'v'});
    fs::create_symlink(dir.File("outside/victim.txt"), dir.File("out/b.txt"));
    WriteBytes(dir.File("out/c.txt"), {'o', 'l', 'd'});

    const TExtractReport report = TPK3Archive(pk3).Extract("*", dir.File("out"));
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].rfind("Cannot extract \"models/a.md3\"", 0), 0u)
        << report.problems[0];
    EXPECT_NE(report.problems[0].find("symbolic link"), std::string::npos);
    EXPECT_EQ(FilesBelow(dir.path() / "outside"), std::vector<std::string>{"victim.txt"});
    EXPECT_EQ(FileText(dir.File("outside/victim.txt")), "v");
    EXPECT_FALSE(fs::is_symlink(dir.File("out/b.txt")));
    EXPECT_EQ(FileText(dir.File("out/b.txt")), "new b");
    EXPECT_EQ(FileText(dir.File("out/c.txt")), "new c");
    EXPECT_EQ(FilesBelow(dir.path() / "out"), (std::vector<std::string>{"b.txt", "c.txt"}));
}

TEST(PK3Archive, RealMapArchiveWithUpperCaseNamesAndFolderEntries) {
    VELDRA_REQUIRE_SAMPLES("pk3");
    ScratchDir dir;
    TPK3Archive archive((SampleDir("pk3") / "SGDTT3.pk3").string());
    EXPECT_EQ(archive.Entries().size(), 7u);
    EXPECT_EQ(archive.FindAll("*").size(), 4u);
    EXPECT_TRUE(archive.FindAll("*.md3").empty());
    EXPECT_EQ(Names(archive.FindAll("levelshots\\*.jpg")),
              std::vector<std::string>{"levelshots/SGDTT3.JPG"});
    const TExtractReport report = archive.Extract("*", dir.File("out"));
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(FilesBelow(dir.path() / "out"),
              (std::vector<std::string>{"levelshots/SGDTT3.JPG", "maps/SGDTT3.aas",
                                        "maps/SGDTT3.bsp", "scripts/SGDTT3.arena"}));
    EXPECT_EQ(fs::file_size(dir.File("out/maps/SGDTT3.bsp")), 852016u);
}

}  // namespace
