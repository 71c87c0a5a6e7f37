// The menu scene's entries and timeline as the scene applies them: creation, skipped rows, restarts.
#include <gtest/gtest.h>

#include "scenes/menu_scene.h"
#include "framework/fixed_clock.h"

namespace {

bool SameColor(const Vec3& a, const Vec3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

TEST(MenuScene, StartCreatesNineUprightStillEntriesAtTheirPlaces)
{
    FixedClock clock;
    MenuScene menu;
    EXPECT_FALSE(menu.started);
    menu.Start();
    EXPECT_TRUE(menu.started);
    for (TextItem* item : menu.items) {
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->tilt, 0.0f);
        EXPECT_EQ(item->velocity.y, 0.0f);
        EXPECT_EQ(item->velocity.z, 0.0f);
        EXPECT_EQ(item->pos.z, -11.0f);
    }
    EXPECT_STREQ(menu.items[0]->text, "Play Demo");
    EXPECT_STREQ(menu.items[6]->text, "Subtitles");
    EXPECT_EQ(menu.items[4]->text, menu.items[7]->text);  // both "ON" point at one literal
    EXPECT_EQ(menu.items[5]->text, menu.items[8]->text);
    EXPECT_EQ(menu.items[3]->pos.x, 1.0f);
    EXPECT_EQ(menu.items[8]->pos.y, -1.5f);
    EXPECT_TRUE(SameColor(menu.items[0]->color, HIGHLIGHT_COLOR));
    EXPECT_TRUE(SameColor(menu.items[5]->color, ACTIVE_COLOR));
    EXPECT_TRUE(SameColor(menu.items[1]->color, NORMAL_COLOR));
}

TEST(MenuScene, UpdateReadsTheClockSinceStart)
{
    FixedClock clock;
    clock.SetSeconds(100.0);
    MenuScene menu;
    menu.Start();
    clock.SetSeconds(104.0);
    menu.Update();
    EXPECT_TRUE(SameColor(menu.items[1]->color, HIGHLIGHT_COLOR));
    EXPECT_TRUE(SameColor(menu.items[0]->color, NORMAL_COLOR));
    clock.SetSeconds(117.0);
    menu.Update();
    EXPECT_FALSE(menu.finished);
    clock.SetSeconds(117.001);
    menu.Update();
    EXPECT_TRUE(menu.finished);
}

TEST(MenuScene, AGapThatSkipsARowLeavesItsWritesUndone)
{
    FixedClock clock;
    MenuScene menu;
    menu.Start();
    menu.UpdateAt(4.0f);
    menu.UpdateAt(6.2f);
    EXPECT_TRUE(SameColor(menu.items[1]->color, HIGHLIGHT_COLOR));  // its "back to normal" was skipped
    EXPECT_TRUE(SameColor(menu.items[3]->color, HIGHLIGHT_COLOR));
}

TEST(MenuScene, OptionStaysSwitchedAndSubtitlesNeverChange)
{
    FixedClock clock;
    MenuScene menu;
    menu.Start();
    for (float t = 0.0f; t < 17.5f; t += 0.05f) {
        menu.UpdateAt(t);
    }
    EXPECT_TRUE(menu.finished);
    EXPECT_TRUE(SameColor(menu.items[4]->color, ACTIVE_COLOR));
    EXPECT_TRUE(SameColor(menu.items[5]->color, NORMAL_COLOR));
    EXPECT_TRUE(SameColor(menu.items[7]->color, NORMAL_COLOR));
    EXPECT_TRUE(SameColor(menu.items[8]->color, ACTIVE_COLOR));
}

TEST(MenuScene, FirstUpdatePastTheEndFinishesWithTheColoursOfCreation)
{
    FixedClock clock;
    MenuScene menu;
    menu.Start();
    menu.UpdateAt(30.0f);
    EXPECT_TRUE(menu.finished);
    EXPECT_TRUE(SameColor(menu.items[0]->color, HIGHLIGHT_COLOR));
    EXPECT_TRUE(SameColor(menu.items[5]->color, ACTIVE_COLOR));
}

TEST(MenuScene, SecondStartRestartsTheClockWithoutRecolouring)
{
    FixedClock clock;
    MenuScene menu;
    menu.Start();
    TextItem* first = menu.items[0];
    menu.UpdateAt(10.0f);  // "Extras" highlighted, "Audio commentary" back to normal
    clock.SetSeconds(50.0);
    menu.Start();
    EXPECT_EQ(menu.items[0], first);
    EXPECT_TRUE(SameColor(menu.items[2]->color, HIGHLIGHT_COLOR));
    clock.SetSeconds(53.5);
    menu.Update();  // 3.5 s after the second start
    EXPECT_TRUE(SameColor(menu.items[1]->color, HIGHLIGHT_COLOR));
    EXPECT_FALSE(menu.finished);
}

TEST(MenuScene, EmptySlotsAreSkipped)
{
    FixedClock clock;
    MenuScene menu;
    menu.Start();
    delete menu.items[1];
    menu.items[1] = nullptr;
    menu.UpdateAt(4.0f);  // writes slot 1: must not touch the empty slot
    EXPECT_TRUE(SameColor(menu.items[0]->color, NORMAL_COLOR));
    menu.Start();  // refills only the empty slot
    ASSERT_NE(menu.items[1], nullptr);
    EXPECT_TRUE(SameColor(menu.items[1]->color, NORMAL_COLOR));
    EXPECT_TRUE(SameColor(menu.items[0]->color, NORMAL_COLOR));
}

}  // namespace
