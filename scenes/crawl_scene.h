// CrawlScene: fourteen solid, tilted text lines rising and fading over a field of stars flying at the viewer.
#pragma once

#include <windows.h>

#include "scenes/star.h"
#include "text/glyph_font.h"
#include "text/solid_glyph_lists.h"
#include "text/text_item.h"

constexpr int CRAWL_ITEM_COUNT = 14;

extern const char* const CRAWL_LINES[CRAWL_ITEM_COUNT];
extern const float CRAWL_START_TIMES[CRAWL_ITEM_COUNT];
extern const Vec3 CRAWL_COLOR;

class CrawlScene {
public:
    CrawlScene(float starSpeed, int starCount);
    ~CrawlScene();

    void BuildFont();
    void Start();
    void Update();
    bool Render();

    // Moves the lines to the item clock and the stars to the star clock; Update reads both from one
    // counter reading.
    void UpdateAt(float itemClock, float starClock);

    // Deliberately one variable for two clocks: the item clock while the lines move, then the star clock, which
    // is what it holds afterwards and what the end test in Render reads.
    float elapsed;
    float starSpeed;
    int starCount;
    bool started;
    GlyphMetricsTable metrics;
    TextItem* items[CRAWL_ITEM_COUNT];
    Star* stars;
    LONGLONG startCount;
    LONGLONG starStartCount;
    LONGLONG frequency;
    // Where the system built the glyphs flat: the solid rebuild of the glyphs no line uses, a few a frame.
    SolidGlyphLists solidGlyphs;
};
