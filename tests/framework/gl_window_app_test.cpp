// The window framework against a real window and GL context: creation, the frame-rate tick, the key table and
// its press latch, the system commands it keeps from the default procedure, the projection, the loop (no frame
// while minimised, the display held on while it runs) and closing.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/gl_window_app.h"
#include "support/deadline.h"
#include "support/test_demo.h"

namespace {

class ProbeApp : public GLWindowApp {
public:
    ~ProbeApp() override
    {
        if (hWnd != nullptr) {
            DestroyWindow(hWnd);
        }
        PumpMessages();
        UnregisterWindowClass();
    }

    void Render() override
    {
        pressedInRender.push_back(keysPressed['A']);
        resumedInRender.push_back(resumed);
        drawnMinimised += IsIconic(hWnd) ? 1 : 0;
        if (minimiseAt == pressedInRender.size()) {
            // Minimised for half a second; a timer of the window's own brings it back.
            ShowWindow(hWnd, SW_MINIMIZE);
            SetTimer(hWnd, RESTORE_TIMER, 500, nullptr);
            minimisedTurns = 0;
        }
        if (scripted && pressedInRender.size() == 2) {  // a tap between this frame and the next
            PostMessageA(hWnd, WM_KEYDOWN, 'A', 0x00000001);
            PostMessageA(hWnd, WM_KEYUP, 'A', 0xC0000001);
        }
        contextInRender = wglGetCurrentContext();
        if (projectionInRender) {
            SetProjection(30.0f, 2.0f, 50.0f, true);
            contextAfterProjection = wglGetCurrentContext();
        }
        if (scripted && pressedInRender.size() == 4) {
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
        }
    }
    void Shutdown() override { contextInShutdown.push_back(wglGetCurrentContext()); }
    int Init() override
    {
        contextInInit.push_back(wglGetCurrentContext());
        return 0;
    }
    void OnFrameRate(float rate) override
    {
        rates.push_back(rate);
        rateTimes.push_back(GetTickCount64());
        if (rates.size() == closeAtRate) {
            PostMessageA(hWnd, WM_CLOSE, 0, 0);
        }
    }
    void OnExit() override { ++exits; }
    void SetExecutionState(EXECUTION_STATE state) override { executionStates.push_back(state); }
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == RESTORE_TIMER) {
            KillTimer(window, RESTORE_TIMER);
            ShowWindow(window, SW_RESTORE);
        }
        return GLWindowApp::WindowProc(window, message, wParam, lParam);
    }
    bool IsActive() override
    {
        const bool active = GLWindowApp::IsActive();
        minimisedTurns += active ? 0 : 1;
        return active;
    }

    // The projection matrix now, or (given a field of view) the one gluPerspective makes for the client area.
    std::vector<GLfloat> Projection(float fov = 0.0f, float nearZ = 0.0f, float farZ = 0.0f)
    {
        RECT client;
        GetClientRect(hWnd, &client);
        std::vector<GLfloat> m(16);
        wglMakeCurrent(hDC, hGLRC);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        if (fov != 0.0f) {
            glLoadIdentity();
            gluPerspective(fov, static_cast<float>(client.right) / static_cast<float>(client.bottom), nearZ, farZ);
        }
        glGetFloatv(GL_PROJECTION_MATRIX, m.data());
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        wglMakeCurrent(nullptr, nullptr);
        return m;
    }

    using GLWindowApp::frameCount;
    using GLWindowApp::hDC;
    using GLWindowApp::hGLRC;
    using GLWindowApp::hWnd;
    using GLWindowApp::keys;
    using GLWindowApp::keysPressed;

    // Directly after keys in memory: a key code past the table would land here.
    unsigned char guard[96] = {};

    static constexpr UINT_PTR RESTORE_TIMER = 7;
    bool scripted = false;  // the second frame taps 'A', the fourth closes
    size_t minimiseAt = 0;  // the frame that minimises the window, if any
    int drawnMinimised = 0;
    int minimisedTurns = 0;  // idle turns of the loop that found the window minimised
    std::vector<bool> resumedInRender;
    std::vector<EXECUTION_STATE> executionStates;
    bool projectionInRender = false;
    std::vector<bool> pressedInRender;
    std::vector<HGLRC> contextInInit, contextInShutdown;
    HGLRC contextInRender = nullptr, contextAfterProjection = reinterpret_cast<HGLRC>(1);
    std::vector<float> rates;
    std::vector<ULONGLONG> rateTimes;
    size_t closeAtRate = 0;  // the report (the first is Create's 0) after which the window closes, if any
    int exits = 0;
};

TEST(WindowFramework, CreateMakesWindowClassMenuContextAndFirstRate)
{
    ProbeApp app;
    ASSERT_TRUE(OpenTestWindow(app));
    ASSERT_NE(app.hGLRC, nullptr);
    EXPECT_EQ(app.contextInInit, std::vector<HGLRC>{app.hGLRC});
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(app.rates, std::vector<float>{0.0f});  // reported before any frame
    char text[3][32] = {};
    GetWindowTextA(app.hWnd, text[0], 32);
    HMENU menu = GetMenu(app.hWnd);
    GetMenuStringA(menu, 0, text[1], 32, MF_BYPOSITION);
    GetMenuStringA(GetSubMenu(menu, 0), 0, text[2], 32, MF_BYPOSITION);
    EXPECT_EQ(std::vector<std::string>(text, text + 3), (std::vector<std::string>{"Kelvra", "&File", "E&xit"}));
    EXPECT_TRUE(GetClassLongPtrA(app.hWnd, GCLP_HICON) && GetClassLongPtrA(app.hWnd, GCLP_HICONSM));
    PIXELFORMATDESCRIPTOR format = {};
    DescribePixelFormat(app.hDC, GetPixelFormat(app.hDC), sizeof(format), &format);
    EXPECT_EQ(format.dwFlags & (PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL), DWORD{PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL});
    EXPECT_GE(format.cDepthBits, 16);
}

// The CBT hook sees each system command the default window procedure is about to carry out, and stops it.
std::vector<WPARAM> defaultCommands;
LRESULT CALLBACK RecordSystemCommand(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_SYSCOMMAND) {
        defaultCommands.push_back(wParam);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(WindowFramework, TimerKeyAndSystemCommandMessages)
{
    ProbeApp app;
    ASSERT_TRUE(OpenTestWindow(app));
    HWND w = app.hWnd;
    app.rates.clear();
    app.frameCount = 60;
    EXPECT_EQ(app.WindowProc(w, WM_TIMER, 7, 0), 0);  // not the frame-rate timer
    EXPECT_EQ(app.WindowProc(w, WM_TIMER, FRAME_RATE_TIMER_ID, 0), 0);
    app.WindowProc(w, WM_TIMER, FRAME_RATE_TIMER_ID, 0);
    EXPECT_EQ(app.rates, (std::vector<float>{60.000004f, 0.0f}));  // single precision, then counted afresh

    EXPECT_EQ(app.WindowProc(w, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_TRUE(app.keys[VK_ESCAPE]);
    EXPECT_EQ(app.WindowProc(w, WM_KEYUP, VK_ESCAPE, 0), 0);
    EXPECT_FALSE(app.keys[VK_ESCAPE]);
    EXPECT_TRUE(app.keysPressed[VK_ESCAPE]);  // the press stays until a frame has seen it
    app.WindowProc(w, WM_KEYDOWN, 'B', 0x40000000);
    EXPECT_TRUE(app.keys['B']);
    EXPECT_FALSE(app.keysPressed['B']);  // an auto-repeat is no new press
    app.WindowProc(w, WM_SYSKEYDOWN, 'A', 0);
    app.WindowProc(w, WM_SYSKEYDOWN, VK_F10, 0);
    EXPECT_FALSE(app.keys['A'] || app.keys[VK_F10]);
    for (WPARAM key : {WPARAM{256}, WPARAM{256 + sizeof(app.guard) - 1}, WPARAM{0x10000}}) {
        app.WindowProc(w, WM_KEYDOWN, key, 0);
    }
    EXPECT_EQ(std::vector<unsigned char>(app.guard, app.guard + sizeof(app.guard)),
              std::vector<unsigned char>(sizeof(app.guard)));

    // The screensaver and the display's power-off (2: off) are answered here, with or without the system's low
    // bits; any other command is the default procedure's.
    const HHOOK hook = SetWindowsHookExA(WH_CBT, RecordSystemCommand, nullptr, GetCurrentThreadId());
    for (WPARAM command : {WPARAM{SC_SCREENSAVE}, WPARAM{SC_SCREENSAVE | 2}, WPARAM{SC_MONITORPOWER}}) {
        EXPECT_EQ(app.WindowProc(w, WM_SYSCOMMAND, command, 2), 0) << command;
    }
    app.WindowProc(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(defaultCommands, std::vector<WPARAM>{SC_MINIMIZE});
}

TEST(WindowFramework, ProjectionIsStoredWithoutApplyAndAppliedOnSizeOrRequestButNotToAnEmptyArea)
{
    ProbeApp app;
    ASSERT_TRUE(OpenTestWindow(app));
    PumpMessages();
    const std::vector<GLfloat> initial = app.Projection();
    EXPECT_EQ(initial, app.Projection(90.0f, 1.0f, 90.0f));
    app.SetProjection(30.0f, 2.0f, 50.0f, false);
    app.WindowProc(app.hWnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(app.Projection(), initial);
    SetWindowPos(app.hWnd, nullptr, 0, 0, 640, 400, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(app.Projection(), app.Projection(30.0f, 2.0f, 50.0f));

    RECT client;
    GetClientRect(app.hWnd, &client);
    GLint viewport[4] = {};
    wglMakeCurrent(app.hDC, app.hGLRC);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport + 2, viewport + 4), (std::vector<GLint>{client.right, client.bottom}));
    app.SetProjection(50.0f, 1.0f, 20.0f, true);  // applying releases even a context made current before
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(app.Projection(), app.Projection(50.0f, 1.0f, 20.0f));

    // A paint draws and counts one frame; a projection applied inside Render releases the context too.
    app.projectionInRender = true;
    const unsigned frames = app.frameCount;
    app.pressedInRender.clear();
    InvalidateRect(app.hWnd, nullptr, FALSE);
    UpdateWindow(app.hWnd);
    EXPECT_EQ(app.pressedInRender.size(), 1u);
    EXPECT_EQ(app.frameCount, frames + 1);
    EXPECT_EQ(app.contextInRender, app.hGLRC);
    EXPECT_EQ(app.contextAfterProjection, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    const std::vector<GLfloat> before = app.Projection();
    EXPECT_EQ(before, app.Projection(30.0f, 2.0f, 50.0f));

    // An empty client area has no aspect ratio: nothing is applied.
    SetWindowLongPtrA(app.hWnd, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    SetWindowPos(app.hWnd, nullptr, 0, 0, 300, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    PumpMessages();
    GetClientRect(app.hWnd, &client);
    ASSERT_EQ(client.bottom - client.top, 0);
    app.SetProjection(40.0f, 1.0f, 10.0f, true);
    EXPECT_EQ(app.Projection(), before);
}

// The real loop: a key tapped between frames is seen by the next frame only, and nothing is drawn after the
// close that the fourth frame asks for. The display is held on from the start to the end.
TEST(WindowFramework, RunLatchesATapForOneFrameAndDrawsUntilClose)
{
    ProbeApp app;
    app.scripted = true;
    {
        Deadline deadline(10, "Run to return after the fourth frame closed the window");
        EXPECT_EQ(app.Run(GetModuleHandleA(nullptr), SW_SHOW, ""), 0);
    }
    EXPECT_EQ(app.pressedInRender, (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(app.executionStates, (std::vector<EXECUTION_STATE>{DISPLAY_HELD, DISPLAY_RELEASED}));
    EXPECT_EQ(app.contextInShutdown, std::vector<HGLRC>{app.contextInRender});
    EXPECT_EQ(app.exits, 1);
    EXPECT_TRUE(app.hWnd == nullptr && app.hDC == nullptr && app.hGLRC == nullptr);
    WNDCLASSEXA registered = {};
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), GLWindowApp::WINDOW_CLASS_NAME, &registered));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

// Minimised for half a second, the loop draws nothing and sleeps until the next message (a handful of turns,
// against many thousands for a loop that polls); the one frame drawn first after it knows it follows a pause. The
// rate is frames counted over one tick's period, reported as per second: the ticks come a second apart.
TEST(WindowFramework, RunWaitsWhileMinimisedAndTicksOnceASecond)
{
    ProbeApp app;
    app.minimiseAt = 3;
    app.closeAtRate = 3;  // Create's 0, then two ticks
    {
        Deadline deadline(10, "Run to return after the restore and two frame-rate ticks");
        EXPECT_EQ(app.Run(GetModuleHandleA(nullptr), SW_SHOW, ""), 0);
    }
    EXPECT_EQ(app.drawnMinimised, 0);
    EXPECT_GT(app.minimisedTurns, 0);
    EXPECT_LT(app.minimisedTurns, 50);
    EXPECT_EQ(std::count(app.resumedInRender.begin(), app.resumedInRender.end(), true), 1);
    ASSERT_EQ(app.rateTimes.size(), 3u);
    EXPECT_GE(app.rateTimes[2] - app.rateTimes[1], 990u);
}

}  // namespace
