// The production's length at a fixed frame rate, from the scenes' own timeline, motion and end test.
#include "video/production_length.h"

#include "app/demo_app.h"
#include "scenes/scene_clock.h"
#include "scenes/crawl_motion.h"
#include "scenes/crawl_scene.h"
#include "scenes/menu_timeline.h"
#include "text/text_item.h"

namespace {
// The production ends after about 96 s; an end test that never holds stops the count here instead of never.
const LONGLONG LONGEST_SECONDS = 600;
}  // namespace

int ProductionFrameCount(int fps)
{
    if (fps <= 0) {
        return 0;
    }
    const LONGLONG longest = LONGEST_SECONDS * fps;
    // The clock counts frames at fps counts per second, as the capture's clock does; the phases follow each
    // other as the demo's sequencer has them follow.
    bool menuDone = false, crawlDone = false;
    LONGLONG crawlStart = 0;
    const int last = CRAWL_ITEM_COUNT - 1;
    for (LONGLONG frame = 0; frame < longest; ++frame) {
        switch (PhaseOf(menuDone, crawlDone)) {
        case DemoPhase::Menu: {
            menuDone = MenuTimelineAt(SecondsBetween(0, frame, fps)).finished;
            crawlStart = frame + 1;
            break;
        }
        case DemoPhase::Crawl: {
            const float t = SecondsBetween(crawlStart, frame, fps);
            const float z = LinePositionAt(TextItem::START_POSITION, TextItem::VELOCITY, CRAWL_START_TIMES[last], t).z;
            crawlDone = CrawlFinished(LineAlpha(z), t);
            break;
        }
        case DemoPhase::Closing: {
            return static_cast<int>(frame);
        }
        }
    }
    return static_cast<int>(longest);
}
