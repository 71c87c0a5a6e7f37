// The menu's timeline as plain arithmetic: for a clock reading, which entries get which colour, and
// whether the menu has run its 17 seconds.
#pragma once

constexpr float MENU_END_TIME = 17.0f;

enum class MenuColor { Normal, Highlight, Active };

// The menu's entries by slot: the timeline writes to them, and the scene places its entries by them.
enum MenuSlot {
    PLAY_DEMO,
    CHAPTERS,
    EXTRAS,
    COMMENTARY,
    COMMENTARY_ON,
    COMMENTARY_OFF,
    SUBTITLES,
    SUBTITLES_ON,
    SUBTITLES_OFF,
    MENU_SLOT_COUNT
};

struct MenuWrite {
    MenuSlot slot;
    MenuColor color;
};

struct MenuStep {
    int writeCount;
    MenuWrite writes[2];
    bool finished;
};

// The row of the timeline that t falls in: each row covers (previous bound, its bound].
MenuStep MenuTimelineAt(float t);
