// TestDemo: opens the real DemoApp in a fixed-size window and drives frames the way the idle loop does.
#include "support/test_demo.h"

#include <stdio.h>

TestDemo::~TestDemo()
{
    if (hWnd != nullptr) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
    }
    PumpMessages();
    OnExit();  // as after the loop: the desktop's mode and the pointer given back
    UnregisterWindowClass();
}

// The music start is kept (and fails: the test folder has no music), as where a real demo finds none.
TestDemo::TestDemo(bool askFullscreen)
    : DemoApp(askFullscreen ? STANDALONE_DEMO : DemoHosting{false, WIDTH, HEIGHT, true, false})
{
}

LONG TestDemo::ChangeDisplayMode(const DEVMODEA* request)
{
    if (request == nullptr) {
        modeRequests.push_back("desktop");
        return DISP_CHANGE_SUCCESSFUL;
    }
    const DEVMODEA& mode = *request;
    const DWORD fields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    const bool complete = mode.dmSize == sizeof(DEVMODEA) && (mode.dmFields & fields) == fields;
    modeRequests.push_back(std::to_string(mode.dmPelsWidth) + "x" + std::to_string(mode.dmPelsHeight) + "x" +
                           (complete ? std::to_string(mode.dmBitsPerPel) : "?"));
    return complete && mode.dmBitsPerPel >= leastDepth ? DISP_CHANGE_SUCCESSFUL : DISP_CHANGE_BADMODE;
}

bool TestDemo::RequestSwapInterval(int interval)
{
    swapIntervals.push_back(interval);
    return DemoApp::RequestSwapInterval(interval);
}

bool TestDemo::Open()
{
    const bool created = OpenTestWindow(*this);
    PumpMessages();
    return created;
}

void TestDemo::Present()
{
    if (wglGetCurrentContext() != nullptr) {
        frame.Capture(WIDTH, HEIGHT);
    } else {
        frame = FramePixels();  // Render closed the window
    }
    DemoApp::Present();
}

void TestDemo::DrawFrame()
{
    FrameStep();
}

bool OpenTestWindow(GLWindowApp& app)
{
    if (app.Create(GetModuleHandleA(nullptr), SW_SHOW, "")) {
        return true;
    }
    fprintf(stderr, "test window refused (error %lu); trying once more\n", GetLastError());
    Sleep(1000);
    return app.Create(GetModuleHandleA(nullptr), SW_SHOW, "");
}
