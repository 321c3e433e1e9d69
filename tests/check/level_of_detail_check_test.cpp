// The lower levels of detail beside a model, compared with it as the game uses them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "check/file_check.h"
#include "cli/check_command.h"
#include "md3/md3.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using namespace testing_support;

std::vector<std::string> FindingLines(const std::string& file) {
    std::vector<std::string> lines;
    for (const TFileCheck& check : CheckFiles({file}, LimitsOf(TEngine::ET))) {
        EXPECT_EQ(check.error, "") << file;
        for (const TCheckFinding& f : check.findings)
            lines.push_back(FindingText(f));
    }
    return lines;
}

TEST(LevelOfDetailCheck, LevelsThatDoNotMatchLevelZeroAreFound) {
    ScratchDir dir;
    TMD3 model;
    MakeModel(model, {2, 8, 3, 2, 1});
    ASSERT_TRUE(model.SaveToFile(dir.File("gun.md3")));
    ASSERT_TRUE(model.SaveToFile(dir.File("same.md3")));
    // An MD3 whatever its name says.
    ASSERT_TRUE(model.SaveToFile(dir.File("same_1.md3")));
    std::filesystem::rename(dir.File("same_1.md3"), dir.File("same_1.mdc"));
    ASSERT_TRUE(model.SaveToFile(dir.File("gap.md3")));
    ASSERT_TRUE(model.SaveToFile(dir.File("gap_2.md3")));
    // Level 1: a surface renamed, a tag missing, one frame short.
    TMD3 lower;
    MakeModel(lower, {2, 4, 2, 1, 1});
    SetName64("barrel_1", lower.header.surfaces[1].name);
    ASSERT_TRUE(lower.SaveToFile(dir.File("gun_1.md3")));
    // Level 2: a compressed model where level 0 is not one.
    WriteBytes(dir.File("gun_2.mdc"), {'I', 'D', 'P', 'C', 2, 0, 0, 0});

    EXPECT_EQ(FindingLines(dir.File("same.md3")), std::vector<std::string>{});
    EXPECT_EQ(
        FindingLines(dir.File("gun.md3")),
        (std::vector<std::string>{
            "warning: level 1 \"gun_1.md3\": surfaces differ from level 0's: 2 here, 2 in "
            "level 0; only here \"barrel\"; only in level 0 \"surface1\"",
            "warning: level 1 \"gun_1.md3\": tags differ from level 0's: 1 here, 2 in level 0; "
            "only in level 0 \"tag_1\"",
            "warning: level 1 \"gun_1.md3\": 2 frames, level 0 has 3: the game shows "
            "frame 0 here for the frames this level lacks",
            "level 2 \"gun_2.mdc\": is an MDC and level 0 an MD3: the game draws every "
            "level as the kind of level 0"}));
    EXPECT_EQ(FindingLines(dir.File("gap.md3")),
              std::vector<std::string>{"level 2 \"gap_2.md3\": there is no level 1, which the "
                                       "game then draws from nothing"});

    // The command line's exit code follows the severities.
    std::ostringstream out, err;
    EXPECT_EQ(RunCheck({{dir.File("gap.md3")}, "et", false, ""}, out, err), kExitCheckErrors);
}

}  // namespace
