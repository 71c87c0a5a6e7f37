// The menu's timeline: the cursor walks down the left column, over to "Audio commentary", switches its
// option on, walks back up to "Play Demo" and flashes it.
#include "scenes/menu_timeline.h"

namespace {

struct TimelineRow {
    float bound;
    int writeCount;
    MenuWrite writes[2];
};

const TimelineRow TIMELINE[] = {
    {3.0f, 0, {}},
    {4.5f, 2, {{PLAY_DEMO, MenuColor::Normal}, {CHAPTERS, MenuColor::Highlight}}},
    {6.0f, 2, {{CHAPTERS, MenuColor::Normal}, {EXTRAS, MenuColor::Highlight}}},
    {7.5f, 2, {{EXTRAS, MenuColor::Normal}, {COMMENTARY, MenuColor::Highlight}}},
    {9.0f, 2, {{COMMENTARY_ON, MenuColor::Active}, {COMMENTARY_OFF, MenuColor::Normal}}},
    {10.5f, 2, {{COMMENTARY, MenuColor::Normal}, {EXTRAS, MenuColor::Highlight}}},
    {12.0f, 2, {{EXTRAS, MenuColor::Normal}, {CHAPTERS, MenuColor::Highlight}}},
    {13.5f, 2, {{CHAPTERS, MenuColor::Normal}, {PLAY_DEMO, MenuColor::Highlight}}},
};

}  // namespace

MenuStep MenuTimelineAt(float t)
{
    for (const TimelineRow& row : TIMELINE) {
        if (t <= row.bound) {
            return MenuStep{row.writeCount, {row.writes[0], row.writes[1]}, false};
        }
    }
    if (t <= MENU_END_TIME) {
        // "Play Demo" flashes: highlighted in even seconds, active in odd ones.
        const int whole = static_cast<int>(t);
        const MenuColor flash = (whole % 2 == 0) ? MenuColor::Highlight : MenuColor::Active;
        return MenuStep{1, {{PLAY_DEMO, flash}, {}}, false};
    }
    return MenuStep{0, {}, true};
}
