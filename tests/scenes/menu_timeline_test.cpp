// The menu's timeline at its row boundaries, without a window.
#include <gtest/gtest.h>

#include "scenes/menu_timeline.h"

namespace {

bool Writes(const MenuStep& step, int slot, MenuColor color)
{
    for (int i = 0; i < step.writeCount; ++i) {
        if (step.writes[i].slot == slot && step.writes[i].color == color) {
            return true;
        }
    }
    return false;
}

TEST(MenuTimeline, NothingChangesUpToThreeSeconds)
{
    EXPECT_EQ(MenuTimelineAt(0.0f).writeCount, 0);
    EXPECT_EQ(MenuTimelineAt(3.0f).writeCount, 0);
    EXPECT_FALSE(MenuTimelineAt(3.0f).finished);
}

TEST(MenuTimeline, EachRowIncludesItsUpperBound)
{
    const MenuStep justAfterThree = MenuTimelineAt(3.0001f);
    EXPECT_TRUE(Writes(justAfterThree, 0, MenuColor::Normal));
    EXPECT_TRUE(Writes(justAfterThree, 1, MenuColor::Highlight));

    const MenuStep atFourAndHalf = MenuTimelineAt(4.5f);
    EXPECT_TRUE(Writes(atFourAndHalf, 1, MenuColor::Highlight));
    EXPECT_TRUE(Writes(MenuTimelineAt(4.5001f), 2, MenuColor::Highlight));
    EXPECT_TRUE(Writes(MenuTimelineAt(6.0f), 2, MenuColor::Highlight));
    EXPECT_TRUE(Writes(MenuTimelineAt(7.5f), 3, MenuColor::Highlight));
}

TEST(MenuTimeline, TheCursorWalksOverAndBack)
{
    const MenuStep option = MenuTimelineAt(8.0f);
    EXPECT_TRUE(Writes(option, 4, MenuColor::Active));
    EXPECT_TRUE(Writes(option, 5, MenuColor::Normal));
    EXPECT_TRUE(Writes(MenuTimelineAt(10.0f), 3, MenuColor::Normal));
    EXPECT_TRUE(Writes(MenuTimelineAt(10.0f), 2, MenuColor::Highlight));
    EXPECT_TRUE(Writes(MenuTimelineAt(11.0f), 1, MenuColor::Highlight));
    EXPECT_TRUE(Writes(MenuTimelineAt(13.0f), 0, MenuColor::Highlight));
    EXPECT_TRUE(Writes(MenuTimelineAt(13.5f), 1, MenuColor::Normal));
}

TEST(MenuTimeline, PlayDemoFlashesByWholeSecondsUntilTheEnd)
{
    EXPECT_TRUE(Writes(MenuTimelineAt(13.9f), 0, MenuColor::Active));
    EXPECT_TRUE(Writes(MenuTimelineAt(14.0f), 0, MenuColor::Highlight));
    EXPECT_TRUE(Writes(MenuTimelineAt(15.0f), 0, MenuColor::Active));
    EXPECT_TRUE(Writes(MenuTimelineAt(16.99f), 0, MenuColor::Highlight));
    const MenuStep atEnd = MenuTimelineAt(17.0f);
    EXPECT_TRUE(Writes(atEnd, 0, MenuColor::Active));
    EXPECT_EQ(atEnd.writeCount, 1);
    EXPECT_FALSE(atEnd.finished);
}

TEST(MenuTimeline, PastSeventeenSecondsItFinishesAndWritesNothing)
{
    const MenuStep after = MenuTimelineAt(17.0001f);
    EXPECT_TRUE(after.finished);
    EXPECT_EQ(after.writeCount, 0);
    EXPECT_TRUE(MenuTimelineAt(500.0f).finished);
}

TEST(MenuTimeline, SubtitlesAreNeverWritten)
{
    for (float t = 0.0f; t < 18.0f; t += 0.01f) {
        const MenuStep step = MenuTimelineAt(t);
        for (int i = 0; i < step.writeCount; ++i) {
            ASSERT_LT(step.writes[i].slot, 6) << "at t = " << t;
        }
    }
}

}  // namespace
