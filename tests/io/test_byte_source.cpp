// Bytes in memory are read with the checks a file of the same bytes gets, so a reader given
// either accepts and refuses alike.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "io/binary_file.h"
#include "io/byte_source.h"
#include "support/test_files.h"

TEST(ByteSource, MemoryReadsAsTheFileOfTheSameBytes) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    testing_support::ScratchDir dir;
    testing_support::WriteBytes(dir.File("ten"), bytes);
    const BinaryFile file(dir.File("ten"));
    const MemoryBytes memory(bytes);
    ASSERT_EQ(memory.size(), file.size());
    constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();
    for (std::int64_t offset : {std::int64_t{-1}, std::int64_t{0}, std::int64_t{3}, std::int64_t{9},
                                std::int64_t{10}, std::int64_t{11}, kHuge}) {
        for (std::int64_t count : {std::int64_t{-1}, std::int64_t{0}, std::int64_t{1},
                                   std::int64_t{7}, std::int64_t{10}, std::int64_t{11}, kHuge}) {
            char fromFile[16] = {}, fromMemory[16] = {};
            EXPECT_EQ(memory.ReadAt(offset, fromMemory, count),
                      file.ReadAt(offset, fromFile, count))
                << offset << " " << count;
            EXPECT_EQ(std::memcmp(fromFile, fromMemory, sizeof fromFile), 0);
            EXPECT_EQ(memory.Fits(offset, count, 3), file.Fits(offset, count, 3));
        }
    }
}
