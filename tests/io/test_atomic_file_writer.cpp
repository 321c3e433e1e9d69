// Where the shared writer puts what it writes: through links, never beside them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "io/atomic_file_writer.h"
#include "io/file_error.h"
#include "io/temporary_files.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using testing_support::FilesIn;
using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

void WriteThrough(const std::string& name, const std::string& text) {
    AtomicFileWriter out(name);
    out.Write(text.data(), text.size());
    ASSERT_TRUE(out.Commit()) << out.error();
}

TEST(AtomicFileWriter, WritingThroughLinksReplacesTheTargetAndKeepsTheLinks) {
    ScratchDir dir;
    fs::create_directory(dir.File("models"));
    WriteBytes(dir.File("models/real.md3"), {1, 2});
    ::chmod(dir.File("models/real.md3").c_str(), 0640);
    fs::create_symlink("models/real.md3", dir.File("relative.md3"));
    fs::create_symlink(dir.File("relative.md3"), dir.File("chain.md3"));
    fs::create_symlink(dir.File("models/new.md3"), dir.File("dangling.md3"));

    WriteThrough(dir.File("relative.md3"), "one");
    EXPECT_EQ(ReadBytes(dir.File("models/real.md3")), (std::vector<std::uint8_t>{'o', 'n', 'e'}));
    WriteThrough(dir.File("chain.md3"), "two");
    EXPECT_EQ(ReadBytes(dir.File("models/real.md3")), (std::vector<std::uint8_t>{'t', 'w', 'o'}));
    EXPECT_EQ(fs::status(dir.File("models/real.md3")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteThrough(dir.File("dangling.md3"), "new");
    EXPECT_EQ(ReadBytes(dir.File("models/new.md3")), (std::vector<std::uint8_t>{'n', 'e', 'w'}));

    for (const char* link : {"relative.md3", "chain.md3", "dangling.md3"})
        EXPECT_TRUE(fs::is_symlink(dir.File(link))) << link;
    EXPECT_EQ(FilesIn(dir.path()), 4u);  // no temporary file left beside the links
    EXPECT_EQ(FilesIn(dir.File("models")), 2u);

    fs::create_symlink(dir.File("loop.md3"), dir.File("loop.md3"));
    EXPECT_THROW(AtomicFileWriter{dir.File("loop.md3")}, FileError);
}

// A pipe or a device stays what it is: an output that names one, or links to one, is
// refused instead of being replaced by a regular file.
TEST(AtomicFileWriter, PipesAndLinksToPipesAreRefused) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.File("f.md3").c_str(), 0644), 0);
    fs::create_symlink(dir.File("f.md3"), dir.File("link.md3"));
    for (const char* name : {"f.md3", "link.md3"}) {
        try {
            AtomicFileWriter out(dir.File(name));
            ADD_FAILURE() << name << " accepted";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot create file \"" + dir.File(name) + "\". Not a regular file.");
        }
    }
    EXPECT_TRUE(fs::is_fifo(dir.File("f.md3")));
    EXPECT_EQ(FilesIn(dir.path()), 2u);
}

// The temporary sibling's name does not grow with the target's, so the longest names a
// folder allows can still be written.
TEST(AtomicFileWriter, TargetNamesOfTheFullLengthAreWritten) {
    ScratchDir dir;
    const std::string name = dir.File(std::string(251, 'k') + ".md3");
    WriteThrough(name, "long");
    EXPECT_EQ(ReadBytes(name), (std::vector<std::uint8_t>{'l', 'o', 'n', 'g'}));
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

// Small pieces are gathered and large ones go straight out; either way the file holds every
// piece in the order written, also where a large piece follows gathered small ones.
TEST(AtomicFileWriter, PiecesOfEverySizeArriveInOrder) {
    ScratchDir dir;
    const std::string name = dir.File("pieces.md3");
    const std::size_t sizes[] = {3, 1 << 16, 1, (1 << 16) - 1, 5, 3 << 20, 7, (1 << 20) - 2, 2};
    std::vector<std::uint8_t> expected;
    AtomicFileWriter out(name);
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        const std::vector<std::uint8_t> piece(sizes[i], static_cast<std::uint8_t>('a' + i));
        out.Write(piece.data(), piece.size());
        expected.insert(expected.end(), piece.begin(), piece.end());
    }
    ASSERT_TRUE(out.Commit()) << out.error();
    EXPECT_TRUE(ReadBytes(name) == expected);
}

// Ctrl+C or a termination request in the middle of a write removes the temporary file and
// still stops the program by that signal.
TEST(AtomicFileWriter, InterruptedWritesLeaveNoTemporaryFile) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        ScratchDir dir;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RemoveTemporaryFilesOnInterrupt();
            AtomicFileWriter out(dir.File("big.md3"));
            out.Write("partial", 7);
            ::raise(signalNumber);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
        EXPECT_EQ(FilesIn(dir.path()), 0u) << signalNumber;
    }
}

}  // namespace
