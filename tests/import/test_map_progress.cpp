// Progress while a map is read: the reporter follows the brushes to the end, and a cancel
// leaves nothing loaded and the model a conversion would have replaced as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "import/level_map.h"
#include "import/map_text.h"
#include "md3/md3.h"
#include "support/test_files.h"

using namespace map_text;

namespace {

class RecordingProgress : public TProgress {
  public:
    explicit RecordingProgress(std::size_t cancelAt = std::numeric_limits<std::size_t>::max())
        : cancelAt_(cancelAt) {}
    bool Report(std::uint64_t done, std::uint64_t total) override {
        reports.emplace_back(done, total);
        return reports.size() < cancelAt_;
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;

  private:
    std::size_t cancelAt_;
};

std::string Row(int count) {
    std::vector<std::string> brushes;
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(i * 16);
        brushes.push_back(Box(x, 0, 0, x + 8, 8, 8, {"a", "a", "a", "a", "a", "a"}));
    }
    return World(brushes);
}

}  // namespace

TEST(MapProgress, ReportsClimbToTheirTotal) {
    RecordingProgress progress;
    TLevelMap map;
    ASSERT_TRUE(map.LoadMapText(Row(5), "row", {}, &progress));
    EXPECT_EQ(map.Polygons().size(), 30u);
    ASSERT_FALSE(progress.reports.empty());
    const std::uint64_t total = progress.reports.front().second;
    EXPECT_GE(total, 5u);
    std::uint64_t previous = 0;
    for (const auto& [done, reportTotal] : progress.reports) {
        EXPECT_EQ(reportTotal, total);
        EXPECT_GT(done, previous);
        EXPECT_LE(done, total);
        previous = done;
    }
    EXPECT_EQ(progress.reports.back().first, total);
}

TEST(MapProgress, CancelStopsAtOnceAndKeepsTheModel) {
    TMD3 model;
    TLevelMap earlier;
    earlier.LoadMapText(World({Cube(64, "wall")}), "cube");
    ASSERT_TRUE(earlier.ConvertToMD3(model, nullptr));
    testing_support::ScratchDir dir;
    ASSERT_TRUE(model.SaveToFile(dir.File("before.md3")));

    RecordingProgress progress(3);
    TLevelMap map;
    EXPECT_FALSE(map.LoadMapText(Row(10), "row", {}, &progress));
    EXPECT_TRUE(map.Cancelled());
    EXPECT_EQ(progress.reports.size(), 3u);
    EXPECT_FALSE(map.Loaded());
    EXPECT_TRUE(map.Polygons().empty());
    EXPECT_FALSE(map.ConvertToMD3(model, nullptr));
    ASSERT_TRUE(model.SaveToFile(dir.File("after.md3")));
    EXPECT_EQ(testing_support::ReadBytes(dir.File("after.md3")),
              testing_support::ReadBytes(dir.File("before.md3")));

    // The next load starts afresh.
    EXPECT_TRUE(map.LoadMapText(Row(2), "row"));
    EXPECT_FALSE(map.Cancelled());
    EXPECT_TRUE(map.ConvertToMD3(model, nullptr));
}
