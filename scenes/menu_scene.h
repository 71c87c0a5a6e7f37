// MenuScene: the imitation disc menu, nine flat text entries whose colours follow a 17-second timeline.
#pragma once

#include <windows.h>

#include "scenes/menu_timeline.h"
#include "text/glyph_font.h"
#include "text/text_item.h"

constexpr int MENU_ITEM_COUNT = MENU_SLOT_COUNT;

extern const Vec3 NORMAL_COLOR;
extern const Vec3 HIGHLIGHT_COLOR;
extern const Vec3 ACTIVE_COLOR;

class MenuScene {
public:
    MenuScene();
    ~MenuScene();

    void BuildFont();
    void Start();
    void Update();
    bool Render();

    // Applies the timeline for a clock reading; Update calls it with the seconds since Start.
    void UpdateAt(float t);

    bool finished;
    bool started;
    GlyphMetricsTable metrics;
    TextItem* items[MENU_ITEM_COUNT];
    LONGLONG startCount;
    LONGLONG frequency;
};
