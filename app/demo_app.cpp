// DemoApp: window set-up with the fullscreen question, render state, title, exit handling and the scene
// sequence. The music starts from Init.
#include "app/demo_app.h"

#include <GL/gl.h>
#include <math.h>
#include <stdio.h>

#include "app/music_start.h"
#include "framework/borderless_window.h"
#include "resources/resource.h"
#include "scenes/crawl_scene.h"
#include "scenes/menu_scene.h"
#include "scenes/menu_timeline.h"

namespace {

const int FULLSCREEN_BITS = 16;
const WPARAM ESCAPE_KEY = VK_ESCAPE;

const float MENU_FIELD_OF_VIEW = 45.0f;
const float CRAWL_FIELD_OF_VIEW = 60.0f;
const float SCENE_NEAR = 1.0f;
const float SCENE_FAR = 90.0f;
const float STAR_SPEED = 8.0f;
const int STAR_COUNT = 100;

typedef BOOL(WINAPI* SwapIntervalCall)(int interval);

}  // namespace

void FormatFrameRateTitle(char* buffer, int size, float framesPerSecond)
{
    snprintf(buffer, static_cast<size_t>(size), "%.1f FPS", static_cast<double>(framesPerSecond));
}

DEVMODEA FullscreenMode(int width, int height, DWORD bitsPerPixel)
{
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof(mode));
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bitsPerPixel;
    mode.dmFields = (bitsPerPixel != 0 ? DM_BITSPERPEL : 0) | DM_PELSWIDTH | DM_PELSHEIGHT;
    return mode;
}

DemoPhase PhaseOf(bool menuDone, bool crawlDone)
{
    if (!menuDone) {
        return DemoPhase::Menu;
    }
    return crawlDone ? DemoPhase::Closing : DemoPhase::Crawl;
}

DemoApp::DemoApp(const DemoHosting& demoHosting)
    : hosting(demoHosting),
      grantedMode(FullscreenMode(demoHosting.frameWidth, demoHosting.frameHeight, FULLSCREEN_BITS)),
      modeGranted(false),
      modeInForce(false),
      pointerHidden(false),
      menuEndedUnseen(false),
      crawlDone(false),
      menuDone(false),
      crawl(nullptr),
      menu(nullptr)
{
}

void DemoApp::SetupWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                          int& height)
{
    GLWindowApp::SetupWindow(windowClass, style, exStyle, x, y, width, height);
    if (!hosting.askFullscreen) {
        // A popup larger than the screen is not clipped to it: the drawing area is the host's size whatever the
        // screen, and the scenes' projection and viewport follow it.
        SetupBorderlessWindow(windowClass, style, exStyle, x, y, width, height, hosting.frameWidth,
                              hosting.frameHeight);
        return;
    }
    // A window keeps the apparent size it has at 100 % on a scaled desktop, drawn at the display's own pixels.
    width = ScaleForDpi(hosting.frameWidth, SystemDpi());
    height = ScaleForDpi(hosting.frameHeight, SystemDpi());
    if (MessageBoxA(nullptr, "Run in fullscreen window?", "Kelvra", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    if (SwitchToFullscreen(hosting.frameWidth, hosting.frameHeight)) {
        style = WS_POPUP;
        exStyle = WS_EX_TOPMOST;
        windowClass.lpszMenuName = nullptr;
        x = 0;
        y = 0;
        width = hosting.frameWidth;
        height = hosting.frameHeight;
        HidePointer(true);  // the popup covers the whole screen: nothing to point at
    } else {
        // The caption is deliberately not the program's name: the warning's words are the show's own, caption
        // included, and people who know the show know it by them.
        MessageBoxA(nullptr,
                    "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
                    "qf2k4_demo", MB_OK | MB_ICONEXCLAMATION);
        style = WS_OVERLAPPEDWINDOW;
        exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        windowClass.lpszMenuName = nullptr;
    }
}

bool DemoApp::SwitchToFullscreen(int width, int height)
{
    grantedMode = FullscreenMode(width, height, FULLSCREEN_BITS);
    modeGranted = modeInForce = ChangeDisplayMode(&grantedMode) == DISP_CHANGE_SUCCESSFUL;
    if (modeGranted) {
        return true;
    }
    // NOTE: 64-bit Windows 8 and later refuse modes below 32 bits to many programs, though the card shows
    // the size at the desktop's depth happily. Where the current mode cannot be read the request leaves the
    // depth out, and the display keeps its own.
    DEVMODEA current;
    ZeroMemory(&current, sizeof(current));
    current.dmSize = sizeof(DEVMODEA);
    const DWORD desktopBits = EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current) ? current.dmBitsPerPel : 0;
    grantedMode = FullscreenMode(width, height, desktopBits);
    modeGranted = modeInForce = ChangeDisplayMode(&grantedMode) == DISP_CHANGE_SUCCESSFUL;
    return modeGranted;
}

LONG DemoApp::ChangeDisplayMode(const DEVMODEA* mode)
{
    if (mode == nullptr) {
        return ChangeDisplaySettingsA(nullptr, 0);
    }
    DEVMODEA request = *mode;  // the call takes a writable record
    return ChangeDisplaySettingsA(&request, CDS_FULLSCREEN);
}

void DemoApp::GiveDesktopModeBack()
{
    if (modeInForce) {
        ChangeDisplayMode(nullptr);
        modeInForce = false;
    }
    HidePointer(false);
}

void DemoApp::HidePointer(bool hide)
{
    if (hide != pointerHidden) {
        ShowCursor(hide ? FALSE : TRUE);
        pointerHidden = hide;
    }
}

// NOTE: a CDS_FULLSCREEN mode is the program's to give back when it leaves the screen; Windows keeps it over
// Alt+Tab, a UAC prompt or the lock screen. So the show steps aside, minimised over the desktop's own mode,
// and takes the screen again when it is brought back; its clocks run on meanwhile.
void DemoApp::OnActivateApp(bool active)
{
    if (!modeGranted || hWnd == nullptr) {
        return;
    }
    if (!active) {
        GiveDesktopModeBack();
        if (IsWindowVisible(hWnd)) {  // not while the window closes: it is hidden before it goes
            ShowWindow(hWnd, SW_MINIMIZE);
        }
        return;
    }
    if (!modeInForce) {
        modeInForce = ChangeDisplayMode(&grantedMode) == DISP_CHANGE_SUCCESSFUL;
        if (IsIconic(hWnd)) {
            ShowWindow(hWnd, SW_RESTORE);
        }
        // Refused this time (the display may be busy with another program's mode): the show covers the
        // desktop at its own mode, the scenes' projection following the window, and asks again next time.
        const int width = modeInForce ? hosting.frameWidth : GetSystemMetrics(SM_CXSCREEN);
        const int height = modeInForce ? hosting.frameHeight : GetSystemMetrics(SM_CYSCREEN);
        SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, width, height, SWP_NOACTIVATE);
        HidePointer(true);
    }
}

void DemoApp::OnCreateFailed(const char* step, DWORD error)
{
    // The message box must be read on the desktop's own screen, and the show will not play: the window, while
    // it is still there, must not take the mode again when the box hands it the focus back.
    GiveDesktopModeBack();
    modeGranted = false;
    GLWindowApp::OnCreateFailed(step, error);
}

void DemoApp::OnExit()
{
    GiveDesktopModeBack();
}

// The demo's design has it override these two only to call the framework's.
void DemoApp::SetupPixelFormat(PIXELFORMATDESCRIPTOR& format)
{
    GLWindowApp::SetupPixelFormat(format);
}

LRESULT DemoApp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GLWindowApp::WindowProc(window, message, wParam, lParam);
}

bool DemoApp::RequestSwapInterval(int interval)
{
    // GL 1.1 has no swap interval of its own: the driver offers it as an extension, or not at all.
    const SwapIntervalCall swapInterval =
        reinterpret_cast<SwapIntervalCall>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    return swapInterval != nullptr && swapInterval(interval);
}

int DemoApp::Init()
{
    // Left to itself a driver may or may not wait for the display: one frame a refresh keeps the fullscreen
    // crawl from tearing and a core from running flat out; a host that measures or captures draws flat out.
    RequestSwapInterval(hosting.syncToDisplay ? 1 : 0);
    // A failed music start still gets the render state: the demo then runs silent with the right picture.
    const bool musicReady = hosting.playMusic && MusicStart();
    // A fresh context means the production starts over from the menu.
    crawlDone = false;
    menuDone = false;
    SetRenderState();
    return musicReady ? MusicPlay() : 1;
}

void DemoApp::SetRenderState()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat lightPosition[] = {-4.0f, 4.0f, 4.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    const GLfloat specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, 128.0f);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 1.0f, 1.0f);
    // The text is drawn at half scale, which doubles the length of its normals in eye space; without
    // renormalising, the white specular term saturates and every line would render white.
    glEnable(GL_NORMALIZE);
}

void DemoApp::Shutdown()
{
    delete crawl;
    crawl = nullptr;
    delete menu;
    menu = nullptr;
}

void DemoApp::Render()
{
    switch (PhaseOf(menuDone, crawlDone)) {
    case DemoPhase::Menu: {
        RunMenuPhase();
        break;
    }
    case DemoPhase::Crawl: {
        RunCrawlPhase();
        break;
    }
    case DemoPhase::Closing: {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        break;
    }
    }
    glFlush();
    // Held now, or tapped since the last frame: a quick tap's release may already have cleared the held flag.
    if (keys[ESCAPE_KEY] || keysPressed[ESCAPE_KEY]) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
    }
}

bool DemoApp::NextFrameStartsScene() const
{
    return menu == nullptr || (menuDone && crawl == nullptr);
}

void DemoApp::RunMenuPhase()
{
    if (menu == nullptr) {
        menu = new MenuScene();
        menu->BuildFont();
        menu->Start();
        SetProjection(MENU_FIELD_OF_VIEW, SCENE_NEAR, SCENE_FAR, true);
        // The projection change releases the context; take it back so this first frame is drawn too.
        wglMakeCurrent(hDC, hGLRC);
    }
    menu->Update();
    menuDone = menu->Render();
    menuEndedUnseen = menuDone && resumed;
}

void DemoApp::RunCrawlPhase()
{
    if (crawl == nullptr) {
        crawl = new CrawlScene(STAR_SPEED, STAR_COUNT);
        crawl->BuildFont();
        crawl->Start();
        if (menuEndedUnseen) {
            const double menuCounts = static_cast<double>(MENU_END_TIME) * static_cast<double>(menu->frequency);
            crawl->startCount = crawl->starStartCount = menu->startCount + llround(menuCounts);
        }
        SetProjection(CRAWL_FIELD_OF_VIEW, SCENE_NEAR, SCENE_FAR, true);
        wglMakeCurrent(hDC, hGLRC);
    }
    crawl->Update();
    crawlDone = crawl->Render();
}

void DemoApp::OnFrameRate(float framesPerSecond)
{
    static char title[32];
    FormatFrameRateTitle(title, sizeof(title), framesPerSecond);
    SetWindowTextA(hWnd, title);
}

bool DemoApp::OnCommand(int id, int code)
{
    if (id == IDM_EXIT) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return true;
    }
    return GLWindowApp::OnCommand(id, code);
}
