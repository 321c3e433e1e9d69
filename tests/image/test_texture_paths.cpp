#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/path_case.h"
#include "image/texture_paths.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ScratchDir;

void Touch(const ScratchDir& dir, const std::string& relative) {
    const fs::path path = dir.path() / relative;
    fs::create_directories(path.parent_path());
    testing_support::WriteBytes(path.string(), {1});
}

std::string Resolved(const TexturePaths& paths, std::string path) {
    return paths.ResolvePath(path) ? path : "(not found: " + path + ")";
}

TEST(TexturePaths, ProgramFoldersComeInTheirFixedOrder) {
    TexturePaths paths;
    paths.AddProgramSearchDirs("/opt/veldra");
    paths.AddSearchDir("C:\\maps\\extra");
    paths.AddSearchDir("");
    EXPECT_EQ(paths.SearchDirs(),
              (std::vector<std::string>{"/opt/veldra/textures/BG/", "/opt/veldra/textures/",
                                        "/opt/veldra/", "/opt/veldra/tmp/", "C:/maps/extra/", ""}));
}

TEST(TexturePaths, ExtensionsAreTriedBeforeFolders) {
    ScratchDir dir;
    Touch(dir, "textures/BG/textures/a/b.jpg");
    Touch(dir, "textures/textures/a/b.tga");
    TexturePaths paths;
    paths.AddProgramSearchDirs(dir.path().string());
    EXPECT_EQ(Resolved(paths, "textures/a/b"), (dir.path() / "textures/textures/a/b.tga").string());
    // With an extension the folders alone decide: the first folder that has the file.
    Touch(dir, "tmp/textures/a/b.jpg");
    EXPECT_EQ(Resolved(paths, "textures\\a\\b.jpg"),
              (dir.path() / "textures/BG/textures/a/b.jpg").string());
}

TEST(TexturePaths, ExistingPathWinsAndFailureKeepsForwardSlashes) {
    ScratchDir dir;
    Touch(dir, "own/x.tga");
    Touch(dir, "textures/own/x.tga");
    TexturePaths paths;
    paths.AddProgramSearchDirs(dir.path().string());
    const std::string own = (dir.path() / "own/x.tga").string();
    EXPECT_EQ(Resolved(paths, own), own);
    std::string missing = "models\\missing\\thing";
    EXPECT_FALSE(paths.ResolvePath(missing));
    EXPECT_EQ(missing, "models/missing/thing");
    // A folder with the wanted name is not a file.
    fs::create_directories(dir.path() / "textures/dir.tga");
    std::string folder = "dir.tga";
    EXPECT_FALSE(paths.ResolvePath(folder));
}

TEST(TexturePaths, LetterCaseIsMatchedLooselyInEveryComponent) {
    ScratchDir dir;
    Touch(dir, "textures/Models/Props/Crate.TGA");
    TexturePaths paths;
    paths.AddProgramSearchDirs(dir.path().string());
    const std::string onDisk = (dir.path() / "textures/Models/Props/Crate.TGA").string();
    EXPECT_EQ(Resolved(paths, "models/props/crate.tga"), onDisk);
    EXPECT_EQ(Resolved(paths, "MODELS\\PROPS\\CRATE"), onDisk);
    Touch(dir, "textures/models/props/other.jpg");
    EXPECT_EQ(Resolved(paths, "models/props/other"),
              (dir.path() / "textures/models/props/other.jpg").string());
}

TEST(PathCase, PrefersExactNamesAndBacktracksOverFolders) {
    ScratchDir dir;
    Touch(dir, "a.tga");
    Touch(dir, "A.tga");
    EXPECT_EQ(FindFileIgnoringCase(dir.File("a.tga")), dir.File("a.tga"));
    EXPECT_EQ(FindFileIgnoringCase(dir.File("A.TGA")), dir.File("A.tga"));
    // The exactly named folder is a dead end; the file is in its differently cased twin.
    fs::create_directories(dir.path() / "models");
    Touch(dir, "Models/x.tga");
    EXPECT_EQ(FindFileIgnoringCase(dir.File("models/X.tga")), dir.File("Models/x.tga"));
    EXPECT_EQ(FindFileIgnoringCase(dir.File("models/y.tga")), std::nullopt);
    // Both twins hold the file: the exactly named folder is taken, not the first by name.
    Touch(dir, "Models/z.tga");
    Touch(dir, "models/Z.tga");
    EXPECT_EQ(FindFileIgnoringCase(dir.File("models/z.TGA")), dir.File("models/Z.tga"));
    EXPECT_EQ(FindFileIgnoringCase(dir.File("models/")), std::nullopt);
    EXPECT_EQ(FindFileIgnoringCase(""), std::nullopt);
}

TEST(TexturePaths, UpperCaseExtensionLooksOnlyAtTheFileName) {
    EXPECT_EQ(UpperCaseExtension("models/a.tga"), ".TGA");
    EXPECT_EQ(UpperCaseExtension("models\\a.b\\c.Jpg"), ".JPG");
    EXPECT_EQ(UpperCaseExtension("models.dir/c"), "");
    EXPECT_EQ(UpperCaseExtension("models\\c"), "");
}

}  // namespace
