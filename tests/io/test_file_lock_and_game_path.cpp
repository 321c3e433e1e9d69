#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "assets/game_path.h"
#include "io/file_lock.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteBytes;

TEST(FileInUse, OnlyWhileSomeoneHoldsALock) {
    ScratchDir dir;
    const std::string pak = dir.File("pak0.pk3");
    EXPECT_FALSE(IsFileInUse(pak));  // missing
    WriteBytes(pak, {1, 2, 3});
    EXPECT_FALSE(IsFileInUse(pak));

    const int holder = ::open(pak.c_str(), O_RDWR);
    ASSERT_GE(holder, 0);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(holder, F_OFD_SETLK, &lock), 0);
    EXPECT_TRUE(IsFileInUse(pak));
    ::close(holder);  // closing the description releases its lock
    EXPECT_FALSE(IsFileInUse(pak));
}

TEST(GamePath, NeedsEtmainWithPak0InAnyLetterCase) {
    ScratchDir dir;
    const std::string game = dir.path().string();
    EXPECT_FALSE(IsValidGamePath(game));
    EXPECT_FALSE(IsValidGamePath(""));
    std::filesystem::create_directories(dir.path() / "ETMain");
    EXPECT_FALSE(IsValidGamePath(game));
    WriteBytes(dir.File("ETMain/PAK0.pk3"), {0});
    EXPECT_TRUE(IsValidGamePath(game));
    EXPECT_TRUE(IsValidGamePath(game + "/"));
    // A game whose archives were unpacked: etmain holds their folders instead.
    ScratchDir unpacked;
    std::filesystem::create_directories(unpacked.path() / "etmain/Scripts");
    EXPECT_TRUE(IsValidGamePath(unpacked.path().string()));
}

TEST(GamePath, FolderLookupPrefersTheExactSpellingThenTheFirstByName) {
    ScratchDir dir;
    for (const char* name : {"etmain", "Etmain", "ETMAIN"})
        std::filesystem::create_directories(dir.path() / name);
    const std::string base = dir.path().string();
    EXPECT_EQ(FindFolderIgnoringCase(base, "etmain"), base + "/etmain/");
    EXPECT_EQ(FindFolderIgnoringCase(base, "Etmain"), base + "/Etmain/");
    EXPECT_EQ(FindFolderIgnoringCase(base, "eTmain"), base + "/ETMAIN/");
    EXPECT_EQ(FindFolderIgnoringCase(base, "maps"), std::nullopt);
}

TEST(GamePath, ChosenFolderInsideEtmainGivesTheGameFolder) {
    EXPECT_EQ(GamePathFromChosenFolder("/games/et/etmain"), "/games/et/");
    EXPECT_EQ(GamePathFromChosenFolder("/games/et/etmain/maps"), "/games/et/");
    EXPECT_EQ(GamePathFromChosenFolder("/games/et"), "/games/et/");
    EXPECT_EQ(GamePathFromChosenFolder("/games/ET/ETMAIN"), "/games/ET/");
    EXPECT_EQ(GamePathFromChosenFolder("/games/ET/EtMain/etmain/maps/"), "/games/ET/");
    // Only a whole folder name is cut.
    EXPECT_EQ(GamePathFromChosenFolder("/games/etmain_old/et"), "/games/etmain_old/et/");
}

}  // namespace
