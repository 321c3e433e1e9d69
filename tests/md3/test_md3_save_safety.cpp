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
#include "support/test_files.h"

namespace {

using md3_test::Bytes;
using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

std::size_t FilesIn(const ScratchDir& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++n;
    return n;
}

// Lowers the file-size limit so writes fail part way, as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit saved_{};
    sighandler_t oldHandler_;
};

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
    EXPECT_EQ(FilesIn(dir), 1u);
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
    EXPECT_EQ(FilesIn(dir), 1u);
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
    EXPECT_EQ(FilesIn(dir), 1u);
}

}  // namespace
