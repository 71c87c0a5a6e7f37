// The window framework against a real window and GL context: creation, the message table, the frame-rate
// tick, the projection, and closing.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <string.h>
#include <vector>

#include "framework/gl_window_app.h"
#include "support/test_demo.h"

namespace {

class ProbeApp : public GLWindowApp {
public:
    ProbeApp() { memset(keys, 0, sizeof(keys)); }
    ~ProbeApp() override
    {
        if (hWnd != nullptr) {
            DestroyWindow(hWnd);
        }
        PumpMessages();
        UnregisterClassA("KelvraWindowClass", GetModuleHandleA(nullptr));
    }

    void Render() override
    {
        ++renders;
        pressedInRender.push_back(keysPressed['A']);
        if (renders == tapAtRender) {
            PostMessageA(hWnd, WM_KEYDOWN, 'A', 0x00000001);
            PostMessageA(hWnd, WM_KEYUP, 'A', 0xC0000001);
        }
        contextInRender = wglGetCurrentContext();
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        if (projectionInRender) {
            SetProjection(30.0f, 2.0f, 50.0f, true);
            contextAfterProjection = wglGetCurrentContext();
        }
        if (closeAtRender != 0 && renders >= closeAtRender) {
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
        }
    }
    void Shutdown() override
    {
        ++shutdowns;
        contextInShutdown = wglGetCurrentContext();
    }
    int Init() override
    {
        ++inits;
        contextInInit = wglGetCurrentContext();
        return 0;
    }
    bool IsActive() override { return active; }
    void OnFrameRate(float rate) override
    {
        rates.push_back(rate);
        rendersAtRate.push_back(renders);
    }
    bool OnCommand(int id, int code) override
    {
        lastId = id;
        lastCode = code;
        return GLWindowApp::OnCommand(id, code);
    }
    void OnExit() override { ++exits; }

    bool Open() { return OpenTestWindow(*this); }

    std::vector<GLfloat> ProjectionMatrix()
    {
        std::vector<GLfloat> m(16);
        wglMakeCurrent(hDC, hGLRC);
        glGetFloatv(GL_PROJECTION_MATRIX, m.data());
        wglMakeCurrent(nullptr, nullptr);
        return m;
    }

    std::vector<GLfloat> PerspectiveFor(float fov, float nearZ, float farZ)
    {
        RECT client;
        GetClientRect(hWnd, &client);
        std::vector<GLfloat> m(16);
        wglMakeCurrent(hDC, hGLRC);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPerspective(fov, static_cast<float>(client.right) / static_cast<float>(client.bottom), nearZ, farZ);
        glGetFloatv(GL_PROJECTION_MATRIX, m.data());
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        wglMakeCurrent(nullptr, nullptr);
        return m;
    }

    using GLWindowApp::fovY;
    using GLWindowApp::frameCount;
    using GLWindowApp::hDC;
    using GLWindowApp::hGLRC;
    using GLWindowApp::hWnd;
    using GLWindowApp::keys;
    using GLWindowApp::keysPressed;
    using GLWindowApp::zFar;
    using GLWindowApp::zNear;

    // Directly after keys in memory: a key code past the table would land here.
    unsigned char guard[96] = {};

    bool active = true;
    bool projectionInRender = false;
    int closeAtRender = 0;
    int tapAtRender = 0;  // this render queues a press and release of 'A'
    std::vector<bool> pressedInRender;
    int renders = 0, shutdowns = 0, inits = 0, exits = 0;
    int lastId = -1, lastCode = -1;
    HGLRC contextInRender = nullptr, contextInInit = nullptr, contextInShutdown = nullptr;
    HGLRC contextAfterProjection = reinterpret_cast<HGLRC>(1);
    std::vector<float> rates;
    std::vector<int> rendersAtRate;
};

TEST(FrameRate, CountsOverOneSecondInSinglePrecision)
{
    EXPECT_EQ(FramesPerSecond(60), 60.000004f);
    EXPECT_EQ(FramesPerSecond(0), 0.0f);
    EXPECT_EQ(FramesPerSecond(1), 1.0f);
}

TEST(WindowFramework, CreateMakesWindowContextAndFirstRateBeforeAnyFrame)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    ASSERT_NE(app.hWnd, nullptr);
    ASSERT_NE(app.hGLRC, nullptr);
    EXPECT_EQ(app.inits, 1);
    EXPECT_EQ(app.contextInInit, app.hGLRC);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    ASSERT_FALSE(app.rates.empty());
    EXPECT_EQ(app.rates.front(), 0.0f);
    EXPECT_EQ(app.rendersAtRate.front(), 0);

    char title[64] = {};
    GetWindowTextA(app.hWnd, title, sizeof(title));
    EXPECT_STREQ(title, "Kelvra");
    char className[64] = {};
    GetClassNameA(app.hWnd, className, sizeof(className));
    EXPECT_STREQ(className, "KelvraWindowClass");
    EXPECT_TRUE(GetClassLongPtrA(app.hWnd, GCL_STYLE) & CS_OWNDC);
    EXPECT_NE(GetClassLongPtrA(app.hWnd, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrA(app.hWnd, GCLP_HICONSM), 0);

    HMENU menu = GetMenu(app.hWnd);
    ASSERT_NE(menu, nullptr);
    char label[32] = {};
    GetMenuStringA(menu, 0, label, sizeof(label), MF_BYPOSITION);
    EXPECT_STREQ(label, "&File");
    GetMenuStringA(GetSubMenu(menu, 0), 0, label, sizeof(label), MF_BYPOSITION);
    EXPECT_STREQ(label, "E&xit");
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 0), 105u);

    PIXELFORMATDESCRIPTOR format = {};
    DescribePixelFormat(app.hDC, GetPixelFormat(app.hDC), sizeof(format), &format);
    EXPECT_TRUE(format.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_TRUE(format.dwFlags & PFD_SUPPORT_OPENGL);
    EXPECT_GE(format.cDepthBits, 16);
}

TEST(WindowFramework, TimerTickReportsOnlyForTheFrameRateTimer)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    app.rates.clear();

    app.frameCount = 60;
    EXPECT_EQ(app.WindowProc(app.hWnd, WM_TIMER, 7, 0), 0);
    EXPECT_TRUE(app.rates.empty());
    EXPECT_EQ(app.frameCount, 60u);

    EXPECT_EQ(app.WindowProc(app.hWnd, WM_TIMER, 0xFFFFFFFF, 0), 0);
    ASSERT_EQ(app.rates.size(), 1u);
    EXPECT_EQ(app.rates[0], 60.000004f);
    EXPECT_EQ(app.frameCount, 0u);

    app.WindowProc(app.hWnd, WM_TIMER, 0xFFFFFFFF, 0);
    EXPECT_EQ(app.rates.back(), 0.0f);
}

TEST(WindowFramework, KeysFollowKeyDownAndUpButNotSystemKeys)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    EXPECT_EQ(app.WindowProc(app.hWnd, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_TRUE(app.keys[VK_ESCAPE]);
    app.WindowProc(app.hWnd, WM_KEYDOWN, VK_ESCAPE, 0x40000000);  // key repeat
    EXPECT_TRUE(app.keys[VK_ESCAPE]);
    EXPECT_EQ(app.WindowProc(app.hWnd, WM_KEYUP, VK_ESCAPE, 0), 0);
    EXPECT_FALSE(app.keys[VK_ESCAPE]);
    EXPECT_TRUE(app.keysPressed[VK_ESCAPE]);  // the press stays until a frame has seen it

    app.WindowProc(app.hWnd, WM_KEYDOWN, 'B', 0x40000000);  // a repeat is no new press
    EXPECT_TRUE(app.keys['B']);
    EXPECT_FALSE(app.keysPressed['B']);

    app.WindowProc(app.hWnd, WM_SYSKEYDOWN, 'A', 0);
    app.WindowProc(app.hWnd, WM_SYSKEYDOWN, VK_F10, 0);
    EXPECT_FALSE(app.keys['A']);
    EXPECT_FALSE(app.keys[VK_F10]);
}

TEST(WindowFramework, KeyCodesPastTheTableAreIgnored)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    for (WPARAM key = 256; key < 256 + sizeof(app.guard); ++key) {
        app.WindowProc(app.hWnd, WM_KEYDOWN, key, 0);
    }
    app.WindowProc(app.hWnd, WM_KEYDOWN, 0x10000, 0);
    for (unsigned char byte : app.guard) {
        ASSERT_EQ(byte, 0);
    }
}

TEST(WindowFramework, CommandGoesToOnCommandSplitIntoIdAndCode)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    EXPECT_EQ(app.WindowProc(app.hWnd, WM_COMMAND, MAKEWPARAM(105, 1), 0), 0);
    EXPECT_EQ(app.lastId, 105);
    EXPECT_EQ(app.lastCode, 1);
    EXPECT_NE(app.hWnd, nullptr);  // the base handles every command and closes nothing
}

TEST(WindowFramework, PaintDrawsAndCountsAFrameEvenWhenInactive)
{
    ProbeApp app;
    app.active = false;
    ASSERT_TRUE(app.Open());
    PumpMessages();
    const int renders = app.renders;
    const unsigned frames = app.frameCount;
    InvalidateRect(app.hWnd, nullptr, FALSE);
    UpdateWindow(app.hWnd);
    EXPECT_EQ(app.renders, renders + 1);
    EXPECT_EQ(app.frameCount, frames + 1);
    EXPECT_EQ(app.contextInRender, app.hGLRC);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST(WindowFramework, ProjectionIsStoredWithoutApplyAndAppliedOnTheNextSize)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    PumpMessages();
    EXPECT_EQ(app.ProjectionMatrix(), app.PerspectiveFor(90.0f, 1.0f, 90.0f));

    const std::vector<GLfloat> before = app.ProjectionMatrix();
    app.SetProjection(30.0f, 2.0f, 50.0f, false);
    EXPECT_EQ(app.fovY, 30.0f);
    EXPECT_EQ(app.zNear, 2.0f);
    EXPECT_EQ(app.zFar, 50.0f);
    EXPECT_EQ(app.ProjectionMatrix(), before);

    // Minimised: nothing changes.
    app.WindowProc(app.hWnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(app.ProjectionMatrix(), before);

    SetWindowPos(app.hWnd, nullptr, 0, 0, 640, 400, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(app.ProjectionMatrix(), app.PerspectiveFor(30.0f, 2.0f, 50.0f));

    RECT client;
    GetClientRect(app.hWnd, &client);
    GLint viewport[4] = {};
    wglMakeCurrent(app.hDC, app.hGLRC);
    glGetIntegerv(GL_VIEWPORT, viewport);
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_EQ(viewport[2], client.right);
    EXPECT_EQ(viewport[3], client.bottom);
}

TEST(WindowFramework, AppliedProjectionLeavesNoContextCurrentAlsoFromRender)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    wglMakeCurrent(app.hDC, app.hGLRC);
    app.SetProjection(50.0f, 1.0f, 20.0f, true);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);

    app.projectionInRender = true;
    InvalidateRect(app.hWnd, nullptr, FALSE);
    UpdateWindow(app.hWnd);
    EXPECT_EQ(app.contextInRender, app.hGLRC);
    EXPECT_EQ(app.contextAfterProjection, nullptr);
    EXPECT_EQ(app.ProjectionMatrix(), app.PerspectiveFor(30.0f, 2.0f, 50.0f));
}

TEST(WindowFramework, ProjectionOnAnEmptyClientAreaAppliesNothing)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    SetWindowLongPtrA(app.hWnd, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    SetWindowPos(app.hWnd, nullptr, 0, 0, 300, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    PumpMessages();
    RECT client;
    GetClientRect(app.hWnd, &client);
    ASSERT_EQ(client.bottom - client.top, 0);

    const std::vector<GLfloat> before = app.ProjectionMatrix();
    app.SetProjection(40.0f, 1.0f, 10.0f, true);
    EXPECT_EQ(app.fovY, 40.0f);
    EXPECT_EQ(app.ProjectionMatrix(), before);
    for (GLfloat value : app.ProjectionMatrix()) {
        EXPECT_TRUE(value == value) << "no NaN in the projection";
    }
}

TEST(WindowFramework, CreateFailsWhenTheClassCannotBeRegistered)
{
    WNDCLASSEXA taken = {};
    taken.cbSize = sizeof(taken);
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = "KelvraWindowClass";
    ASSERT_NE(RegisterClassExA(&taken), 0);

    ProbeApp app;
    EXPECT_EQ(app.Run(GetModuleHandleA(nullptr), SW_SHOW, ""), 0);
    EXPECT_EQ(app.exits, 0);
    EXPECT_EQ(app.inits, 0);
    EXPECT_EQ(app.hWnd, nullptr);
}

TEST(WindowFramework, RunDrawsUntilCloseThenShutsDownAndExits)
{
    ProbeApp app;
    app.closeAtRender = 5;
    EXPECT_EQ(app.Run(GetModuleHandleA(nullptr), SW_SHOW, ""), 0);
    EXPECT_EQ(app.renders, 5);  // nothing drawn after the close
    EXPECT_EQ(app.shutdowns, 1);
    EXPECT_EQ(app.contextInShutdown, app.hGLRC);
    EXPECT_EQ(app.exits, 1);
    EXPECT_EQ(app.hWnd, nullptr);
    EXPECT_EQ(app.hDC, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST(WindowFramework, KeyTappedBetweenFramesIsSeenByTheNextFrameOnly)
{
    ProbeApp app;
    app.tapAtRender = 2;
    app.closeAtRender = 4;
    EXPECT_EQ(app.Run(GetModuleHandleA(nullptr), SW_SHOW, ""), 0);
    EXPECT_EQ(app.pressedInRender, (std::vector<bool>{false, false, true, false}));
}

TEST(WindowFramework, CloseNullsWindowAndDeviceContext)
{
    ProbeApp app;
    ASSERT_TRUE(app.Open());
    HWND window = app.hWnd;
    EXPECT_EQ(app.WindowProc(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(app.hWnd, nullptr);
    EXPECT_EQ(app.hDC, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app.shutdowns, 1);
}

}  // namespace
