#include <gtest/gtest.h>

#include <fstream>

#include "app_settings/settings_location.h"
#include "support/test_files.h"

namespace {

TEST(SettingsLocation, BesideTheProgramWhileWritableElseTheUsersOnceItExists) {
    testing_support::ScratchDir dir;
    const std::string beside = dir.File("veldra.ini");
    const std::string user = dir.File("user.ini");
    const std::string missingUser = dir.File("none.ini");
    std::ofstream(user) << "[Game]\n";
    struct Case {
        bool besideWritable;
        std::string userFile;
        std::string read, write;
    } cases[] = {
        {true, user, beside, beside},
        {false, missingUser, beside, missingUser},  // the installer's defaults, then the user's
        {false, user, user, user},
    };
    for (const Case& c : cases) {
        const TSettingsFiles f = ChooseSettingsFiles(
            beside, c.userFile,
            [&](const std::string& file) { return file == beside && c.besideWritable; });
        EXPECT_EQ(f.read, c.read) << c.besideWritable << " " << c.userFile;
        EXPECT_EQ(f.write, c.write) << c.besideWritable << " " << c.userFile;
    }
    EXPECT_EQ(ChooseWorkFolder("/opt/v/", dir.File("u/"), [](const std::string&) { return false; }),
              dir.File("u/"));
    EXPECT_EQ(ChooseWorkFolder(dir.File(""), "/nowhere/"), dir.File(""));
    // A missing file is writable where its folder is.
    EXPECT_TRUE(CanWriteSettingsFile(dir.File("new.ini")));
    EXPECT_FALSE(CanWriteSettingsFile(dir.File("no/such/folder/new.ini")));
}

}  // namespace
