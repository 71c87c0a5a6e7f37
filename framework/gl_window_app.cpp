// GLWindowApp: window class and window creation, the GL context, the idle loop, the message table and the
// projection. The context is made current around each use and released right after.
#include "gl_window_app.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <stdio.h>
#include <string.h>

#include "resources/resource.h"

GLWindowApp* g_app = nullptr;

namespace {
const char* const WINDOW_TITLE = "Kelvra";
const WORD ICON_RESOURCE = IDI_KELVRA;
const WORD MENU_RESOURCE = IDM_MAIN;
}  // namespace

// In that order and in single precision: 60 frames give 60.000004, the value the framework test pins; "%.1f"
// shows it as 60.0 either way.
float FramesPerSecond(unsigned frames)
{
    return static_cast<float>(frames) * 1000.0f * 0.001f;
}

int ScaleForDpi(int size, UINT dpi)
{
    return MulDiv(size, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

UINT SystemDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

void FormatStartFailure(char* buffer, int size, const char* what, const char* step, DWORD error)
{
    char reason[256] = "";
    if (error != ERROR_SUCCESS) {
        const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                            0, reason, sizeof(reason), nullptr);
        // The system's text ends with a line break; a code it has no text for gets its number instead.
        DWORD end = length;
        while (end > 0 && (reason[end - 1] == '\r' || reason[end - 1] == '\n' || reason[end - 1] == ' ')) {
            --end;
        }
        reason[end] = '\0';
        if (end == 0) {
            snprintf(reason, sizeof(reason), "System error %lu.", error);
        }
    }
    snprintf(buffer, static_cast<size_t>(size), "%s (%s failed).%s%s", what, step, reason[0] != '\0' ? "\n" : "",
             reason);
}

LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return g_app->WindowProc(window, message, wParam, lParam);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

GLWindowApp::GLWindowApp()
    : timerRunning(FALSE),
      frameCount(0),
      hInstance(nullptr),
      hWnd(nullptr),
      hDC(nullptr),
      hGLRC(nullptr),
      fovY(90.0f),
      zNear(1.0f),
      zFar(90.0f),
      resumed(false),
      keysPressed{},
      keys{}
{
    g_app = this;
}

GLWindowApp::~GLWindowApp() = default;

int GLWindowApp::Run(HINSTANCE instance, int showCommand, const char* commandLine)
{
    if (!Create(instance, showCommand, commandLine)) {
        return EXIT_CODE_NOT_STARTED;
    }
    SetExecutionState(DISPLAY_HELD);
    MSG msg = {};
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&msg, nullptr, 0, 0) == 0) {
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (IsActive()) {
            FrameStep();
        } else {
            WaitMessage();  // nothing to draw: sleep until a message (a restore, the timer's tick) comes
            resumed = true;
        }
    }
    SetExecutionState(DISPLAY_RELEASED);
    OnExit();
    UnregisterWindowClass();
    return static_cast<int>(msg.wParam);
}

void GLWindowApp::UnregisterWindowClass()
{
    UnregisterClassA(WINDOW_CLASS_NAME, hInstance != nullptr ? hInstance : GetModuleHandleA(nullptr));
}

bool GLWindowApp::Create(HINSTANCE instance, int showCommand, const char*)
{
    hInstance = instance;

    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpszClassName = WINDOW_CLASS_NAME;
    DWORD style, exStyle;
    int x, y, width, height;
    SetupWindow(windowClass, style, exStyle, x, y, width, height);
    windowClass.style |= CS_OWNDC;

    SetLastError(ERROR_SUCCESS);  // the reason a failure leaves there is then the failing call's own
    if (RegisterClassExA(&windowClass) == 0) {
        OnCreateFailed("RegisterClassExA", GetLastError());
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    hWnd = CreateWindowExA(exStyle, WINDOW_CLASS_NAME, WINDOW_TITLE, style, x, y, width, height, nullptr, nullptr,
                           hInstance, nullptr);
    if (hWnd == nullptr) {
        OnCreateFailed("CreateWindowExA", GetLastError());
        UnregisterWindowClass();
        return false;
    }
    const char* failedStep = nullptr;
    if (!CreateGLContext(failedStep)) {
        OnCreateFailed(failedStep, GetLastError());
        DestroyWindow(hWnd);  // WM_DESTROY gives back whatever of the context was made
        hWnd = nullptr;
        UnregisterWindowClass();
        return false;
    }
    ShowWindow(hWnd, showCommand);
    UpdateWindow(hWnd);
    return true;
}

void GLWindowApp::SetupWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                              int& height)
{
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = StaticWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(ICON_RESOURCE));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = MAKEINTRESOURCEA(MENU_RESOURCE);
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageA(hInstance, MAKEINTRESOURCEA(ICON_RESOURCE), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    style = WS_OVERLAPPEDWINDOW;
    exStyle = WS_EX_APPWINDOW;
    x = CW_USEDEFAULT;
    y = CW_USEDEFAULT;
    width = CW_USEDEFAULT;
    height = CW_USEDEFAULT;
}

void GLWindowApp::SetupPixelFormat(PIXELFORMATDESCRIPTOR& format)
{
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
}

bool GLWindowApp::CreateGLContext(const char*& failedStep)
{
    PIXELFORMATDESCRIPTOR format;
    ZeroMemory(&format, sizeof(format));
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    SetupPixelFormat(format);

    // Each step can fail on a display without OpenGL; nothing may then be drawn, started or timed. Not every
    // step sets the thread's last error when it fails: cleared first, what is left there is that step's own.
    SetLastError(ERROR_SUCCESS);
    hDC = GetDC(hWnd);
    const int chosen = hDC != nullptr ? ChoosePixelFormat(hDC, &format) : 0;
    if (chosen == 0) {
        failedStep = hDC == nullptr ? "GetDC" : "ChoosePixelFormat";
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    if (!SetPixelFormat(hDC, chosen, &format)) {
        failedStep = "SetPixelFormat";
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    hGLRC = wglCreateContext(hDC);
    if (hGLRC == nullptr) {
        failedStep = "wglCreateContext";
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    if (!wglMakeCurrent(hDC, hGLRC)) {
        failedStep = "wglMakeCurrent";
        return false;
    }
    Init();
    wglMakeCurrent(nullptr, nullptr);

    RECT client;
    GetClientRect(hWnd, &client);
    if (client.right - client.left != 0 && client.bottom - client.top != 0 && hWnd != nullptr) {
        SetProjection(fovY, zNear, zFar, true);
    }
    if (timerRunning) {
        KillTimer(hWnd, FRAME_RATE_TIMER_ID);
    }
    frameCount = 0;
    SetTimer(hWnd, FRAME_RATE_TIMER_ID, FRAME_RATE_PERIOD_MS, nullptr);
    OnFrameRate(0.0f);
    timerRunning = TRUE;
    return true;
}

void GLWindowApp::DestroyGLContext()
{
    if (hGLRC != nullptr) {
        // Shutdown frees what Init and Render made, which needs the context they made it in.
        if (wglMakeCurrent(hDC, hGLRC)) {
            Shutdown();
            wglMakeCurrent(nullptr, nullptr);
        }
        wglDeleteContext(hGLRC);
        hGLRC = nullptr;
    }
    if (hDC != nullptr) {
        ReleaseDC(hWnd, hDC);
        hDC = nullptr;
    }
}

void GLWindowApp::OnCreateFailed(const char* step, DWORD error)
{
    // Before the window exists the failure is the window's; after, the display's OpenGL.
    const char* what = hWnd == nullptr ? "The window could not be made" : "This display could not start OpenGL";
    char text[512];
    FormatStartFailure(text, sizeof(text), what, step, error);
    MessageBoxA(nullptr, text, WINDOW_TITLE, MB_OK | MB_ICONERROR);
}

void GLWindowApp::SetExecutionState(EXECUTION_STATE state)
{
    SetThreadExecutionState(state);
}

void GLWindowApp::SetProjection(float fieldOfView, float nearDistance, float farDistance, bool apply)
{
    fovY = fieldOfView;
    zNear = nearDistance;
    zFar = farDistance;
    if (!apply) {
        return;
    }
    RECT client;
    GetClientRect(hWnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) {
        return;  // an empty client area has no aspect ratio; the next WM_SIZE applies the stored values
    }
    wglMakeCurrent(hDC, hGLRC);
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovY, aspect, zNear, zFar);
    glViewport(client.left, client.top, width, height);
    glMatrixMode(GL_MODELVIEW);
    wglMakeCurrent(nullptr, nullptr);
}

void GLWindowApp::Paint(HDC)
{
    // The class has CS_OWNDC, so the DC from BeginPaint is our own hDC, which FrameStep uses.
    FrameStep();
}

void GLWindowApp::FrameStep()
{
    wglMakeCurrent(hDC, hGLRC);
    Render();
    Present();
    wglMakeCurrent(nullptr, nullptr);
    ++frameCount;
    resumed = false;
    memset(keysPressed, 0, sizeof(keysPressed));
}

void GLWindowApp::Present()
{
    SwapBuffers(hDC);  // read here, not before Render: Render may have closed the window and nulled hDC
}

void GLWindowApp::OnSize(int width, int height)
{
    if (width != 0 && height != 0 && hWnd != nullptr) {
        SetProjection(fovY, zNear, zFar, true);
    }
}

void GLWindowApp::OnActivateApp(bool)
{
}

bool GLWindowApp::IsActive()
{
    return !IsIconic(hWnd);
}

void GLWindowApp::OnFrameRate(float)
{
}

bool GLWindowApp::OnCommand(int, int)
{
    return true;
}

void GLWindowApp::OnExit()
{
}

LRESULT GLWindowApp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY: {
        DestroyGLContext();
        PostQuitMessage(0);
        return 0;
    }
    case WM_SIZE: {
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC paintDC = BeginPaint(window, &paint);
        Paint(paintDC);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CLOSE: {
        DestroyWindow(hWnd);
        hWnd = nullptr;
        return 0;
    }
    case WM_KEYDOWN: {
        if (wParam < 256) {  // virtual-key codes are below 256; anything larger is not a key we track
            keys[wParam] = true;
            const bool repeat = (lParam & 0x40000000) != 0;  // bit 30: the key was already down
            if (!repeat) {
                keysPressed[wParam] = true;
            }
        }
        return 0;
    }
    case WM_KEYUP: {
        if (wParam < 256) {
            keys[wParam] = false;
        }
        return 0;
    }
    case WM_SYSCOMMAND: {
        // The show is watched, not used: neither the screensaver nor the display's power saving may start
        // over it. The low four bits of the command are the system's own.
        const WPARAM command = wParam & 0xFFF0;
        if (command == SC_SCREENSAVE || command == SC_MONITORPOWER) {
            return 0;
        }
        break;
    }
    case WM_ACTIVATEAPP: {
        OnActivateApp(wParam != FALSE);
        return 0;
    }
    case WM_DPICHANGED: {
        // A framed window takes the rectangle Windows suggests for the new scale, so it keeps its apparent
        // size; a popup keeps its pixels (the fullscreen mode, or a drawing area of an asked-for size).
        if ((GetWindowLongA(window, GWL_STYLE) & WS_POPUP) == 0) {
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                         suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    }
    case WM_COMMAND: {
        if (OnCommand(LOWORD(wParam), HIWORD(wParam))) {
            return 0;
        }
        break;
    }
    case WM_TIMER: {
        if (wParam == FRAME_RATE_TIMER_ID) {
            OnFrameRate(FramesPerSecond(frameCount));
            frameCount = 0;
        }
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
