// The menu's timeline as plain arithmetic: for a clock reading, which entries get which colour, and
// whether the menu has run its 17 seconds.
#pragma once

constexpr float MENU_END_TIME = 17.0f;

enum class MenuColor { Normal, Highlight, Active };

struct MenuWrite {
    int slot;
    MenuColor color;
};

struct MenuStep {
    int writeCount;
    MenuWrite writes[2];
    bool finished;
};

// The row of the timeline that t falls in: each row covers (previous bound, its bound].
MenuStep MenuTimelineAt(float t);
