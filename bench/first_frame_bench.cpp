// first_frame_bench: times the first frame of the menu and of the crawl (glyph build, items, projection,
// first draw) in fresh DemoApp windows, and ordinary frames of both phases for comparison. Console program.
#include <GL/gl.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "app/demo_app.h"
#include "scenes/scene_clock.h"
#include "scenes/menu_timeline.h"
#include "text/glyph_font.h"

namespace {

const int WIDTH = 800;
const int HEIGHT = 600;
const int DEFAULT_RUNS = 10;
const int ORDINARY_FRAMES = 200;
const double TARGET_MS = 30.0;
// Past the menu's end, so the next frame finishes the menu and the one after it starts the crawl.
const double CRAWL_START_SECONDS = MENU_END_TIME + 0.5;
// Ordinary crawl frames cover the whole crawl (it ends about 79 s in); from 25 to 50 s twelve or thirteen
// lines are in view (they enter at the bottom about 3 s after they start and leave at the top about 40 s later).
const int CRAWL_FRAMES = 500;
const double CRAWL_END = 78.0;
const double CRAWL_BUSY_FROM = 25.0;
const double CRAWL_BUSY_TO = 50.0;

// The bench's own timer: the real performance counter, independent of the scenes' clock.
double NowMs()
{
    static LONGLONG frequency = 0;
    if (frequency == 0) {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        frequency = f.QuadPart;
    }
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

// The real DemoApp without the fullscreen question and the music, drawing only when the bench asks.
class BenchDemo : public DemoApp {
public:
    // The scenes read the fixed clock, so every run sees the same scene times however slow the frames are.
    // Music is not part of a frame; leaving it out keeps the bench silent and its start-up short.
    explicit BenchDemo(SceneClock& sceneClock)
        : DemoApp({false, WIDTH, HEIGHT, false, false}), clock(sceneClock), drawing(false), clearOnly(false)
    {
    }

    // WM_PAINT also calls Render; only the bench's own frames may create the scenes, or clear only.
    void Render() override
    {
        if (clearOnly) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        } else if (drawing) {
            DemoApp::Render();
        }
    }

    // glFinish after the swap, so the GL work a frame queues is charged to that frame, not to the next one.
    void Present() override
    {
        DemoApp::Present();
        glFinish();
    }

    bool Open()
    {
        const bool created = Create(GetModuleHandleA(nullptr), SW_SHOW, "");
        PumpMessages();
        return created;
    }

    void Close()
    {
        if (hWnd != nullptr) {
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
        }
        PumpMessages();
        UnregisterWindowClass();
    }

    // One turn of the idle loop at the given scene time, in milliseconds.
    double TimedFrame(double sceneSeconds)
    {
        PumpMessages();
        clock.SetSeconds(sceneSeconds);
        const double start = NowMs();
        drawing = true;
        FrameStep();
        drawing = false;
        return NowMs() - start;
    }

    // A first frame that only clears and swaps: what a fresh window costs before any scene work.
    double TimedClearFrame()
    {
        clearOnly = true;
        const double start = NowMs();
        FrameStep();
        clearOnly = false;
        return NowMs() - start;
    }

    // The glyph build alone (both scenes' share of a first frame), with this window's context current.
    double TimedGlyphBuild(float extrusion)
    {
        static GlyphMetricsTable metrics;
        wglMakeCurrent(hDC, hGLRC);
        const double start = NowMs();
        BuildOutlineFont(metrics, extrusion);
        glFinish();
        const double end = NowMs();
        DeleteOutlineFont();
        wglMakeCurrent(nullptr, nullptr);
        return end - start;
    }

    bool InMenu() const { return !menuDone; }
    bool CrawlStarted() const { return crawl != nullptr; }

private:
    SceneClock& clock;
    bool drawing;
    bool clearOnly;
};

struct Stats {
    double median;
    double max;
};

Stats Summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    return Stats{median, values.back()};
}

void PrintRow(const char* what, const std::vector<double>& values, bool withTarget)
{
    const Stats s = Summarise(values);
    printf("%-38s %4u  %8.2f  %8.2f", what, static_cast<unsigned>(values.size()), s.median, s.max);
    if (withTarget) {
        printf("   target < %.0f ms: %s", TARGET_MS,
               s.max < TARGET_MS ? "met" : (s.median < TARGET_MS ? "median met, max not" : "not met"));
    }
    printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : DEFAULT_RUNS;
    SceneClock clock;

    std::vector<double> menuFirst, crawlFirst, menuFrames, crawlFrames, busyFrames, flatBuild, solidBuild, clearFirst;
    for (int run = 0; run < runs; ++run) {
        BenchDemo* demo = new BenchDemo(clock);
        if (!demo->Open()) {
            fprintf(stderr, "first_frame_bench: cannot open the window\n");
            return 1;
        }
        menuFirst.push_back(demo->TimedFrame(0.0));
        demo->TimedFrame(CRAWL_START_SECONDS);  // the menu sees its end and hands over
        if (demo->InMenu()) {
            fprintf(stderr, "first_frame_bench: the menu did not finish at %.1f s\n", CRAWL_START_SECONDS);
            return 1;
        }
        crawlFirst.push_back(demo->TimedFrame(CRAWL_START_SECONDS));
        if (!demo->CrawlStarted()) {
            fprintf(stderr, "first_frame_bench: the crawl did not start\n");
            return 1;
        }
        demo->Close();
        delete demo;
    }

    for (int run = 0; run < runs; ++run) {
        BenchDemo* fresh = new BenchDemo(clock);
        if (!fresh->Open()) {
            fprintf(stderr, "first_frame_bench: cannot open the window\n");
            return 1;
        }
        clearFirst.push_back(fresh->TimedClearFrame());
        fresh->Close();
        delete fresh;
    }

    // Ordinary frames in one more fresh window: the menu across its 17 s, the crawl across its busy part.
    BenchDemo* demo = new BenchDemo(clock);
    if (!demo->Open()) {
        fprintf(stderr, "first_frame_bench: cannot open the window\n");
        return 1;
    }
    demo->TimedFrame(0.0);
    for (int i = 1; i <= ORDINARY_FRAMES; ++i) {
        menuFrames.push_back(demo->TimedFrame(i * (MENU_END_TIME - 0.5) / ORDINARY_FRAMES));
    }
    demo->TimedFrame(CRAWL_START_SECONDS);
    demo->TimedFrame(CRAWL_START_SECONDS);
    for (int i = 1; i <= CRAWL_FRAMES; ++i) {
        const double crawlSeconds = i * CRAWL_END / CRAWL_FRAMES;
        const double ms = demo->TimedFrame(CRAWL_START_SECONDS + crawlSeconds);
        crawlFrames.push_back(ms);
        if (crawlSeconds >= CRAWL_BUSY_FROM && crawlSeconds <= CRAWL_BUSY_TO) {
            busyFrames.push_back(ms);
        }
    }
    for (int i = 0; i < runs; ++i) {
        flatBuild.push_back(demo->TimedGlyphBuild(0.0f));
        solidBuild.push_back(demo->TimedGlyphBuild(0.1f));
    }
    demo->Close();
    delete demo;

    printf("%-38s %4s  %8s  %8s\n", "frame (800x600, Render+Swap+Finish)", "n", "median", "max");
    PrintRow("first menu frame (ms)", menuFirst, true);
    PrintRow("first crawl frame (ms)", crawlFirst, true);
    PrintRow("  clear-only first frame, fresh window", clearFirst, false);
    PrintRow("  glyph build, flat (menu) (ms)", flatBuild, false);
    PrintRow("  glyph build, extruded (crawl) (ms)", solidBuild, false);
    PrintRow("ordinary menu frame (ms)", menuFrames, false);
    PrintRow("ordinary crawl frame, 0-78 s (ms)", crawlFrames, false);
    PrintRow("  busiest part of the crawl, 25-50 s", busyFrames, false);
    printf("first frames per run (ms), menu / crawl:");
    for (size_t i = 0; i < menuFirst.size(); ++i) {
        printf(" %.1f/%.1f", menuFirst[i], crawlFirst[i]);
    }
    printf("\n(the first run of a process pays the cold caches)\n");
    fflush(stdout);
    return 0;
}
