// The settings file survives every failure to save, and the user's locale never changes how
// numbers are read or written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <clocale>
#include <filesystem>

#include "app_settings/app_settings.h"
#include "io/file_error.h"
#include "io/ini_file.h"
#include "support/file_size_limit.h"
#include "support/test_files.h"

namespace {

using testing_support::FilesIn;
using testing_support::FileSizeLimit;

using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

const std::vector<std::uint8_t> kOldFile = {'[', 'G', 'a', 'm', 'e', ']', '\n', 'G', 'a', 'm',
                                            'e', 'D', 'i', 'r', '=', '/', 'e',  't', '\n'};

// LC_NUMERIC switched to the first installed locale with a decimal comma, as the GUI toolkit
// does from the user's environment.
class CommaLocale {
  public:
    CommaLocale() : saved_(std::setlocale(LC_NUMERIC, nullptr)) {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                 "ru_RU.UTF-8", "nl_NL.UTF-8", "de_DE"}) {
            if (std::setlocale(LC_NUMERIC, name) != nullptr &&
                std::string(std::localeconv()->decimal_point) == ",")
                return;
        }
        std::setlocale(LC_NUMERIC, saved_.c_str());
        saved_.clear();
    }
    ~CommaLocale() {
        if (active()) std::setlocale(LC_NUMERIC, saved_.c_str());
    }
    bool active() const { return !saved_.empty(); }

  private:
    std::string saved_;
};

TEST(SettingsFileSafety, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    ScratchDir dir;
    const std::string path = dir.File("veldra.ini");
    WriteBytes(path, kOldFile);
    TAppSettings s;
    s.shaderList.assign(2000, std::string(100, 's'));
    std::string error;
    {
        FileSizeLimit limit(16 * 1024);
        EXPECT_FALSE(SaveAppSettings(path, s, &error));
    }
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), kOldFile);
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(SettingsFileSafety, FileThatCannotBeReadIsNeverReplaced) {
    ScratchDir dir;
    // Too large to be a settings file: its contents could not be kept, so it stays as it is.
    const std::string big = dir.File("big.ini");
    WriteBytes(big, kOldFile);
    std::filesystem::resize_file(big, TIniFile::kMaxFileBytes + 1);
    std::string problem;
    EXPECT_EQ(LoadAppSettings(big, &problem), TAppSettings{});
    EXPECT_NE(problem.find(big), std::string::npos);
    EXPECT_FALSE(SaveAppSettings(big, TAppSettings{}));
    EXPECT_EQ(std::filesystem::file_size(big), TIniFile::kMaxFileBytes + 1);

    // A folder where the file should be.
    const std::string folder = dir.File("folder.ini");
    std::filesystem::create_directory(folder);
    problem.clear();
    EXPECT_EQ(LoadAppSettings(folder, &problem), TAppSettings{});
    EXPECT_FALSE(problem.empty());
    EXPECT_THROW(SaveAppSettings(folder, TAppSettings{}), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    // A file where the folder should be.
    WriteBytes(dir.File("file"), kOldFile);
    EXPECT_THROW(SaveAppSettings(dir.File("file/veldra.ini"), TAppSettings{}), FileError);
    EXPECT_EQ(ReadBytes(dir.File("file")), kOldFile);
    EXPECT_EQ(FilesIn(dir.path()), 3u);
}

TEST(SettingsFileSafety, DecimalCommaLocaleReadsAndWritesAPoint) {
    CommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no locale with a decimal comma is installed (de_DE.UTF-8, fr_FR.UTF-8, "
                        "ru_RU.UTF-8, nl_NL.UTF-8 tried)";
    ScratchDir dir;
    const std::string path = dir.File("veldra.ini");
    const std::string text = "[Texturing]\nGamma=1.5\n";
    WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    TAppSettings s = LoadAppSettings(path);
    EXPECT_EQ(s.gamma, 1.5);
    s.gamma = 2.25;
    ASSERT_TRUE(SaveAppSettings(path, s));
    const auto bytes = ReadBytes(path);
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("\nGamma=2.25\n"), std::string::npos);
}

}  // namespace
