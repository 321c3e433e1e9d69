#include <gtest/gtest.h>

#include <filesystem>

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
