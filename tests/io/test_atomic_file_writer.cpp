// Where the shared writer puts what it writes: through links, never beside them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "io/atomic_file_writer.h"
#include "io/file_error.h"
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

}  // namespace
