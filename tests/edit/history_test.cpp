#include "edit/history.h"

#include <memory>

#include <gtest/gtest.h>

namespace morvane::edit {
namespace {

// A table that tells the edits apart: sample 0 of wave 0 holds the edit number.
Wavetable Edit(int number) {
    Wavetable t;
    FillNewWavetable(t, 0);
    WriteSample(t, 0, 0, number);
    return t;
}

int EditNumber(const Wavetable *t) {
    return t ? ReadSample(*t, 0, 0) : -1;
}

class History : public ::testing::Test {
protected:
    void SetUp() override {
        history->Reset();
        history->HistoryPush(Edit(0)); // the new table
    }
    std::unique_ptr<HistoryStack> history = std::make_unique<HistoryStack>();
};

TEST_F(History, StartsAtOneOfOneAndRefusesUndoAndRedo) {
    EXPECT_EQ(history->Caption(), "History: 1 / 1");
    EXPECT_EQ(history->HistoryUndo(), nullptr);
    EXPECT_EQ(history->HistoryRedo(), nullptr);
    EXPECT_EQ(history->Caption(), "History: 1 / 1");
}

TEST_F(History, ThreeEditsTwoUndosOneRedoThenANewEditDropsTheRedoState) {
    for (int e = 1; e <= 3; ++e)
        history->HistoryPush(Edit(e));
    EXPECT_EQ(history->Caption(), "History: 4 / 4");
    EXPECT_EQ(EditNumber(history->HistoryUndo()), 2);
    EXPECT_EQ(EditNumber(history->HistoryUndo()), 1);
    EXPECT_EQ(history->Caption(), "History: 2 / 4");
    EXPECT_EQ(EditNumber(history->HistoryRedo()), 2);
    EXPECT_EQ(history->Caption(), "History: 3 / 4");
    history->HistoryPush(Edit(9));
    EXPECT_EQ(history->Caption(), "History: 4 / 4");
    EXPECT_EQ(history->HistoryRedo(), nullptr);
    EXPECT_EQ(EditNumber(history->HistoryUndo()), 2);
}

TEST_F(History, TwoHundredFiftyEditsKeepTheLatestTwoHundredStates) {
    for (int e = 1; e <= 250; ++e)
        history->HistoryPush(Edit(e));
    EXPECT_EQ(history->Caption(), "History: 200 / 200");
    const Wavetable *t = nullptr;
    for (int u = 1; u <= 199; ++u) {
        t = history->HistoryUndo();
        ASSERT_NE(t, nullptr) << "undo " << u;
        ASSERT_EQ(EditNumber(t), 250 - u) << "undo " << u;
    }
    EXPECT_EQ(EditNumber(t), 51);
    EXPECT_EQ(history->HistoryUndo(), nullptr);
    EXPECT_EQ(history->Caption(), "History: 1 / 200");
    // And all the way forward again.
    for (int r = 1; r <= 199; ++r)
        ASSERT_EQ(EditNumber(history->HistoryRedo()), 51 + r);
    EXPECT_EQ(history->HistoryRedo(), nullptr);
}

TEST_F(History, FullHistoryAfterUndoAndPushStaysConsistent) {
    for (int e = 1; e <= 205; ++e)
        history->HistoryPush(Edit(e));
    EXPECT_EQ(EditNumber(history->HistoryUndo()), 204);
    history->HistoryPush(Edit(300)); // back at 200, state 205 discarded
    EXPECT_EQ(history->Caption(), "History: 200 / 200");
    history->HistoryPush(Edit(301)); // full: oldest dropped
    EXPECT_EQ(history->Caption(), "History: 200 / 200");
    EXPECT_EQ(EditNumber(history->HistoryUndo()), 300);
    EXPECT_EQ(EditNumber(history->HistoryUndo()), 204);
}

TEST_F(History, ResetEmptiesTheHistory) {
    history->HistoryPush(Edit(1));
    history->Reset();
    EXPECT_EQ(history->HistoryPosition(), 0);
    EXPECT_EQ(history->HistoryCount(), 0);
    history->HistoryPush(Edit(7));
    EXPECT_EQ(history->Caption(), "History: 1 / 1");
    EXPECT_EQ(history->HistoryUndo(), nullptr);
}

TEST_F(History, SnapshotsAreWholeTablesWithHeadersAndNames) {
    Wavetable renamed = Edit(0);
    WriteNameToAll(renamed, TrimmedPaddedName("other"));
    renamed.Message(12)[408] = 0x11;
    history->HistoryPush(renamed);
    history->HistoryPush(Edit(1));
    const Wavetable *back = history->HistoryUndo();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(*back, renamed);
}

} // namespace
} // namespace morvane::edit
