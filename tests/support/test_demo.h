// TestDemo: the real DemoApp in an 800 x 600 borderless window without the fullscreen question (or with it,
// before a display that grants only deep modes), with a way to draw one frame as the loop does and read its
// pixels, and access to the sequencer's state.
#pragma once

#include <string>
#include <vector>

#include "app/demo_app.h"
#include "support/frame_pixels.h"

class TestDemo : public DemoApp {
public:
    static constexpr int WIDTH = 800;
    static constexpr int HEIGHT = 600;

    // With askFullscreen, Open asks the fullscreen question as the program does, before a display that stands
    // in for the real one (leastDepth, modeRequests).
    explicit TestDemo(bool askFullscreen = false);
    ~TestDemo() override;

    LONG ChangeDisplayMode(const DEVMODEA* mode) override;
    // Keeps each interval asked for, then asks the driver as the demo does.
    bool RequestSwapInterval(int interval) override;

    // Creates the window and context as the program does.
    bool Open();
    // Reads the frame's pixels into frame, then swaps.
    void Present() override;
    // One turn of the idle loop.
    void DrawFrame();

    FramePixels frame;
    // The stand-in display grants the modes of at least `leastDepth` bits and keeps each request as "WxHxbits"
    // ("desktop" for the desktop's own mode given back).
    DWORD leastDepth = 0;
    std::vector<std::string> modeRequests;
    std::vector<int> swapIntervals;

    using DemoApp::crawl;
    using DemoApp::crawlDone;
    using DemoApp::fovY;
    using DemoApp::hDC;
    using DemoApp::hGLRC;
    using DemoApp::hWnd;
    using DemoApp::menu;
    using DemoApp::menuDone;
    using DemoApp::resumed;
};

// Creates the application's window and context. A Wine session that has just started on its display can
// refuse the very first window; that is retried once, after a second, and said on standard error.
bool OpenTestWindow(GLWindowApp& app);
