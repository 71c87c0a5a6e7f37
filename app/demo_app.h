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

class DemoApp : public GLWindowApp {
public:
    DemoApp();

    void Render() override;
    void Shutdown() override;
    int Init() override;
    void OnFrameRate(float framesPerSecond) override;
    bool OnCommand(int id, int code) override;
    void SetupWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                     int& height) override;
    void SetupPixelFormat(PIXELFORMATDESCRIPTOR& format) override;
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Switches the display to `mode` with CDS_FULLSCREEN and gives the ChangeDisplaySettingsA result; virtual so
    // that a display which refuses some modes can stand in for the real one.
    virtual LONG ChangeDisplayMode(DEVMODEA& mode);
    // Asks for the fullscreen mode at 16 bits, then at the desktop's own depth; true once one is granted.
    bool SwitchToFullscreen(int width, int height);
    // Sets the fixed render state both scenes rely on: depth test, light 0, colour-driven material.
    void SetRenderState();
    void RunMenuPhase();
    void RunCrawlPhase();

    bool crawlDone;
    bool menuDone;
    CrawlScene* crawl;
    MenuScene* menu;
};
