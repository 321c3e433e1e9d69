#include "app/undo_history.h"

#include <gtest/gtest.h>

namespace {

using THistory = TUndoHistory<int>;

TEST(UndoHistory, StepsComeBackInOrderAndANewCommandDropsRedo) {
    THistory history;
    int model = 0;
    for (int step = 1; step <= 3; ++step) {
        history.Record("set " + std::to_string(step), model, 10);
        model = step;
    }
    EXPECT_EQ(history.UndoName(), "set 3");
    model = history.Undo(model, 10);
    model = history.Undo(model, 10);
    EXPECT_EQ(model, 1);
    EXPECT_EQ(history.RedoName(), "set 2");
    model = history.Redo(model, 10);
    EXPECT_EQ(model, 2);
    EXPECT_EQ(history.Bytes(), 30u);

    history.Record("other", model, 10);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.RedoName(), "");
    EXPECT_EQ(history.UndoSteps(), 3u);
}

TEST(UndoHistory, CapsDropTheOldestSteps) {
    struct Case {
        std::size_t maxBytes, maxSteps, recordBytes, records, keptSteps;
    };
    for (const Case c : {Case{100, 10, 30, 5, 3}, Case{1000, 2, 30, 5, 2}, Case{100, 10, 101, 3, 0},
                         Case{100, 10, 100, 3, 1}}) {
        THistory history(c.maxBytes, c.maxSteps);
        for (std::size_t i = 0; i < c.records; ++i)
            history.Record("step", static_cast<int>(i), c.recordBytes);
        EXPECT_EQ(history.UndoSteps(), c.keptSteps) << c.maxBytes << ' ' << c.recordBytes;
        EXPECT_LE(history.Bytes(), c.maxBytes);
        if (c.keptSteps > 0) {
            EXPECT_EQ(history.Undo(-1, 0), static_cast<int>(c.records) - 1);
        }
    }
}

TEST(UndoHistory, RedoStepsCountAgainstTheBudget) {
    THistory history(100, 10);
    history.Record("a", 0, 40);
    history.Record("b", 1, 40);
    // The current state is bigger than what is left: the older undo step goes first.
    history.Undo(2, 70);
    EXPECT_EQ(history.UndoSteps(), 0u);
    EXPECT_EQ(history.RedoSteps(), 1u);
    EXPECT_EQ(history.Bytes(), 70u);
}

TEST(UndoHistory, TheSavedStateIsFoundAgainThroughUndoAndRedo) {
    THistory history(100, 2);
    EXPECT_TRUE(history.AtSavedState());
    history.Record("a", 0, 1);
    EXPECT_FALSE(history.AtSavedState());
    history.Undo(1, 1);
    EXPECT_TRUE(history.AtSavedState());
    history.Redo(0, 1);
    history.MarkSaved();
    history.Undo(1, 1);
    EXPECT_FALSE(history.AtSavedState());
    // Taking another path from there never reaches the saved state, even when the step that
    // led to it fell off the history.
    for (int i = 0; i < 3; ++i)
        history.Record("b", i, 1);
    EXPECT_FALSE(history.AtSavedState());
    while (history.CanUndo())
        history.Undo(0, 1);
    EXPECT_FALSE(history.AtSavedState());
    history.Clear();
    EXPECT_TRUE(history.AtSavedState());
    EXPECT_FALSE(history.CanUndo());
}

}  // namespace
