// The .aninc animation list: which lines are entries, and what a broken entry reports.
#include <gtest/gtest.h>

#include <fstream>

#include "skeletal/aninc.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;

std::string Write(const ScratchDir& dir, const std::string& text) {
    std::ofstream(dir.File("list.aninc"), std::ios::binary) << text;
    return dir.File("list.aninc");
}

TEST(ANINC, EntriesAreLinesOfExactlyEightTokens) {
    ScratchDir dir;
    TANINC list;
    ASSERT_TRUE(list.LoadFromFile(Write(dir,
                                        "\t\t// <animation name>\t<first frame> <length>\r\n"
                                        "\r\n"
                                        "  walk\t10 20\t0 20 0 0 0 // steady pace\r\n"
                                        "short 1 2 3 4 5 6\r\n"
                                        "long 1 2 3 4 5 6 7 8\n"
                                        "//run 1 2 3 4 5 6 7\n"
                                        "\t\trun\t\t-5\t+3\t1\t15\t2\t3\t4")));
    ASSERT_EQ(list.frames.size(), 2u);
    const TANINCFrame& walk = list.frames[0];
    EXPECT_EQ(walk.name, "walk");
    EXPECT_EQ(walk.firstFrame, 10);
    EXPECT_EQ(walk.numFrames, 20);
    EXPECT_EQ(walk.framesPerSecond, 20);
    const TANINCFrame& run = list.frames[1];
    EXPECT_EQ(run.name, "run");
    EXPECT_EQ(run.firstFrame, -5);
    EXPECT_EQ(run.numFrames, 3);
    EXPECT_EQ(run.looping, 1);
    EXPECT_EQ(run.reversed, 4);
}

TEST(ANINC, ABadIntegerNamesTheFileAndLine) {
    ScratchDir dir;
    TANINC list;
    for (const char* bad : {"2.5", "x", "99999999999", "1e3", "--1"}) {
        const std::string file =
            Write(dir, std::string("good 0 1 0 20 0 0 0\n\nbroken 1 ") + bad + " 0 20 0 0 0\n");
        EXPECT_FALSE(list.LoadFromFile(file)) << bad;
        EXPECT_TRUE(list.frames.empty());
        EXPECT_EQ(list.LastError(), "\"" + file + "\", line 3: \"" + bad + "\" is not an integer");
    }
}

TEST(ANINC, AMissingFileEmptiesTheList) {
    ScratchDir dir;
    TANINC list;
    ASSERT_TRUE(list.LoadFromFile(Write(dir, "a 0 1 0 20 0 0 0")));
    EXPECT_FALSE(list.LoadFromFile(dir.File("gone.aninc")));
    EXPECT_TRUE(list.frames.empty());
    EXPECT_EQ(list.LastError(), "");
    EXPECT_EQ(AnincPathFor("/models/body.MDX"), "/models/body.aninc");
}

}  // namespace
