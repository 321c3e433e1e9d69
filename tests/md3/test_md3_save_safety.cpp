// Saving never destroys the user's existing file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "io/file_error.h"
#include "md3/md3.h"
#include "md3_test_util.h"
#include "model_factory.h"
#include "support/file_size_limit.h"
#include "support/test_files.h"

namespace {

using testing_support::FilesIn;
using testing_support::FileSizeLimit;

using md3_test::Bytes;
using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

TEST(MD3SaveSafety, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    ScratchDir dir;
    const std::string target = dir.File("model.md3");
    const Bytes original(777, 0x5A);
    WriteBytes(target, original);

    TMD3 big;
    MakeModel(big, {.surfaces = 8, .vertsPerSurface = 500, .frames = 20, .tags = 1});
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(big.SaveToFile(target));
    }
    EXPECT_FALSE(big.LastError().empty());
    EXPECT_EQ(ReadBytes(target), original);
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(MD3SaveSafety, CannotCreateNamesTheFileAndTheReason) {
    ScratchDir dir;
    TMD3 model;
    MakeCube(model);
    const std::string target = dir.File("no/such/folder/model.md3");
    try {
        model.SaveToFile(target);
        FAIL() << "no error raised";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + target + "\". No such file or directory.");
    }
    // A folder in the way is not replaced.
    std::filesystem::create_directory(dir.File("folder.md3"));
    EXPECT_THROW(model.SaveToFile(dir.File("folder.md3")), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.md3")));
}

TEST(MD3SaveSafety, ReplacingKeepsThePermissions) {
    ScratchDir dir;
    const std::string target = dir.File("model.md3");
    WriteBytes(target, Bytes(10, 1));
    ::chmod(target.c_str(), 0640);
    TMD3 model;
    MakeCube(model);
    ASSERT_TRUE(model.SaveToFile(target));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(MD3SaveSafety, InconsistentModelIsRefusedBeforeTouchingTheFile) {
    ScratchDir dir;
    const std::string target = dir.File("model.md3");
    WriteBytes(target, Bytes(10, 1));
    TMD3 model;
    MakeCube(model);
    model.header.surfaces[0].numVerts += 1;  // the arrays no longer match the count
    EXPECT_FALSE(model.SaveToFile(target));
    EXPECT_EQ(ReadBytes(target), Bytes(10, 1));
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

}  // namespace
