// CrawlScene: the crawl's lines and stars, their clocks, and the frame that draws them.
#include "scenes/crawl_scene.h"

#include <GL/gl.h>
#include <new>
#include <stdlib.h>

#include "scenes/scene_clock.h"
#include "scenes/scene_view.h"
#include "scenes/crawl_motion.h"

const char* const CRAWL_LINES[CRAWL_ITEM_COUNT] = {
    "A long time ago,",
    "in a galaxy far, far away.",
    "HELL NO!",
    "Right here, right now,",
    "a scener has broken his chains.",
    "Once again he conquers the planet",
    "with his wits and his evil laughter.",
    "QuillfestW'04 is his playground.",
    "His fellow sceners are the targets.",
    "With this production,",
    "he will make everyone worship him,",
    "and be remembered forever",
    "May the source be with him...",
    "......it wasn't. THE END",
};

const float CRAWL_START_TIMES[CRAWL_ITEM_COUNT] = {
    0.0f, 1.5f, 6.0f, 8.5f, 10.0f, 12.5f, 14.0f, 16.5f, 18.0f, 20.5f, 22.0f, 23.5f, 26.5f, 48.0f,
};

const Vec3 CRAWL_COLOR = {0.96f, 0.9f, 0.2f};

namespace {

const float STAR_HALF_SIDE = 0.02f;
const float CRAWL_EXTRUSION = 0.1f;
// The solid rebuild of the glyphs no line uses goes on over the crawl's first ten frames or so, at well
// under a millisecond a frame.
const int SOLID_GLYPHS_PER_FRAME = 16;

}  // namespace

CrawlScene::CrawlScene(float speed, int count)
    : elapsed(0.0f),
      starSpeed(speed),
      starCount(count),
      started(false),
      metrics{},
      items{},
      stars(count > 0 ? new (std::nothrow) Star[count] : nullptr),
      startCount(0),
      starStartCount(0),
      frequency(SceneClock::Frequency())
{
    if (stars == nullptr) {
        starCount = 0;  // no field rather than a crash when the array cannot be had
    }
}

CrawlScene::~CrawlScene()
{
    delete[] stars;
    stars = nullptr;
    DeleteOutlineFont();
    for (TextItem*& item : items) {
        delete item;
        item = nullptr;
    }
}

void CrawlScene::BuildFont()
{
    BuildOutlineFont(metrics, CRAWL_EXTRUSION, &solidGlyphs);
}

void CrawlScene::Start()
{
    startCount = SceneClock::Counter();
    if (!started) {
        starStartCount = startCount;
        srand(SceneClock::Ticks());
        for (int i = 0; i < starCount; ++i) {
            PlaceStar(stars[i], starSpeed, rand);
        }
    }
    started = true;
    for (int slot = 0; slot < CRAWL_ITEM_COUNT; ++slot) {
        if (items[slot] == nullptr) {
            items[slot] = new (std::nothrow) TextItem(metrics, CRAWL_LINES[slot], CRAWL_COLOR.x, CRAWL_COLOR.y,
                                                      CRAWL_COLOR.z, CRAWL_START_TIMES[slot]);
        }
    }
}

void CrawlScene::Update()
{
    const LONGLONG now = SceneClock::Counter();
    UpdateAt(SecondsBetween(startCount, now, frequency), SecondsBetween(starStartCount, now, frequency));
}

void CrawlScene::UpdateAt(float itemClock, float starClock)
{
    elapsed = itemClock;
    for (TextItem* item : items) {
        if (item != nullptr) {
            item->pos = LinePositionAt(item->basePos, item->velocity, item->startTime, elapsed);
        }
    }
    elapsed = starClock;
    for (int i = 0; i < starCount; ++i) {
        StepStar(stars[i], elapsed, rand);
    }
}

bool CrawlScene::Render()
{
    ClearSceneFrame();
    if (!started) {
        return false;
    }
    EnableSceneMultisample();
    glDisable(GL_BLEND);
    // NOTE: the system's glyph lists may set the front face themselves (Windows documents that they call
    // glFrontFace); left at GL_CW by the last line drawn, it would cull every star of the next frame.
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    PlaceSceneCamera();

    glDisable(GL_LIGHTING);
    glBegin(GL_QUADS);
    for (int i = 0; i < starCount; ++i) {
        const Star& star = stars[i];
        glColor3fv(&star.color.x);
        glVertex3f(star.pos.x - STAR_HALF_SIDE, star.pos.y - STAR_HALF_SIDE, star.pos.z);
        glVertex3f(star.pos.x + STAR_HALF_SIDE, star.pos.y - STAR_HALF_SIDE, star.pos.z);
        glVertex3f(star.pos.x + STAR_HALF_SIDE, star.pos.y + STAR_HALF_SIDE, star.pos.z);
        glVertex3f(star.pos.x - STAR_HALF_SIDE, star.pos.y + STAR_HALF_SIDE, star.pos.z);
    }
    glEnd();
    glEnable(GL_LIGHTING);

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    // With no line to draw there is nothing left to fade: the crawl ends after its minimum running time.
    float lastAlpha = 0.0f;
    for (TextItem* item : items) {
        if (item != nullptr) {
            lastAlpha = LineAlpha(item->pos.z);
            if (LineCanShow(lastAlpha, item->pos.z)) {
                item->DrawPlaced(lastAlpha);
            }
        }
    }
    // NOTE: where the system builds the glyphs flat (Wine), the first frame rebuilds only printable ASCII
    // solid, so that the change from the menu does not stutter; the rest follow here, after the frame's
    // drawing, a few per frame until done. That is the only work these frames do besides drawing.
    solidGlyphs.Continue(SOLID_GLYPHS_PER_FRAME);
    return CrawlFinished(lastAlpha, elapsed);
}
