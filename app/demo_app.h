// DemoApp: the program's application: the fullscreen question, the fixed render state, the frame rate in the
// title, Exit and Escape, the music, and the sequencer that plays the menu and then the crawl.
#pragma once

#include "framework/gl_window_app.h"

class CrawlScene;
class MenuScene;

// What the title shows: the rate formatted as "%.1f FPS" into the buffer.
void FormatFrameRateTitle(char* buffer, int size, float framesPerSecond);

// A fullscreen display-mode request for `width` x `height` at `bitsPerPixel`; with 0 bits it leaves the depth
// out, so the display keeps its own.
DEVMODEA FullscreenMode(int width, int height, DWORD bitsPerPixel);

// The production's phases in their order. Each runs until its scene reports, on one of its frames, that it has
// finished; the next begins on the frame after. The frame after the crawl only closes the window.
enum class DemoPhase { Menu, Crawl, Closing };
DemoPhase PhaseOf(bool menuDone, bool crawlDone);

// What a program that hosts the production chooses for it, given when the production is made. The demo
// itself asks the fullscreen question, plays the music and draws one frame per display refresh; a host that
// reads the frames back (the capture, tests, benchmarks) draws into a borderless window of a drawing area of
// its own instead, may go silent, and draws as fast as it can.
struct DemoHosting {
    bool askFullscreen;  // false: a borderless window of frameWidth x frameHeight at the screen's origin
    int frameWidth;      // with the question: the window's size at 100 % display scale, and the fullscreen mode's
    int frameHeight;
    bool playMusic;
    bool syncToDisplay;  // swap interval 1 (wait for the display's refresh) rather than 0, where the driver offers it
};

// The demo as a person starts it.
constexpr DemoHosting STANDALONE_DEMO = {true, 800, 600, true, true};

class DemoApp : public GLWindowApp {
public:
    explicit DemoApp(const DemoHosting& hosting = STANDALONE_DEMO);

    void Render() override;
    void Shutdown() override;
    int Init() override;
    void OnFrameRate(float framesPerSecond) override;
    bool OnCommand(int id, int code) override;
    void SetupWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                     int& height) override;
    void SetupPixelFormat(PIXELFORMATDESCRIPTOR& format) override;
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnActivateApp(bool active) override;
    void OnCreateFailed(const char* step, DWORD error) override;
    void OnExit() override;

protected:
    // Switches the display to `mode` with CDS_FULLSCREEN, or with null back to the desktop's own mode, and gives
    // the ChangeDisplaySettingsA result; virtual so that a display which refuses some modes can stand in.
    virtual LONG ChangeDisplayMode(const DEVMODEA* mode);
    // Asks for the fullscreen mode at 16 bits, then at the desktop's own depth; true once one is granted.
    bool SwitchToFullscreen(int width, int height);
    // Asks the driver for a swap interval through WGL_EXT_swap_control; false where it offers none. Called with
    // the context current; virtual so that a test can see the request.
    virtual bool RequestSwapInterval(int interval);
    // Gives the desktop its own mode back if the granted one is in force, and shows the pointer again.
    void GiveDesktopModeBack();
    // Hides the pointer over the show, or shows it again; balanced, whatever the order of the calls.
    void HidePointer(bool hide);
    // Sets the fixed render state both scenes rely on: depth test, light 0, colour-driven material.
    void SetRenderState();
    void RunMenuPhase();
    void RunCrawlPhase();
    // True when the next Render starts a scene: it builds that scene's glyphs and places its items.
    bool NextFrameStartsScene() const;

    const DemoHosting hosting;

    // The fullscreen mode that was granted, and whether it is on the display now (not while another program has
    // the screen).
    DEVMODEA grantedMode;
    bool modeGranted;
    bool modeInForce;
    bool pointerHidden;
    // The menu ended while nothing was drawn (minimised): the crawl then starts at the menu's end, not at its
    // first frame, so that it is where it would have been and stays in step with the music.
    bool menuEndedUnseen;
    bool crawlDone;
    bool menuDone;
    CrawlScene* crawl;
    MenuScene* menu;
};
