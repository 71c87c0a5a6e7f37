// GLWindowApp: one top-level window with an OpenGL context, the message and idle loop, the once-a-second
// frame-rate tick and the perspective projection. A derived class draws and sets up through the virtual hooks.
#pragma once

#include <windows.h>

// Frame-rate timer: the identifier of the one window timer this framework starts, and its period.
constexpr UINT_PTR FRAME_RATE_TIMER_ID = 0xFFFFFFFF;
constexpr UINT FRAME_RATE_PERIOD_MS = 1000;

// What Run returns when the window or its GL context could not be made.
constexpr int EXIT_CODE_NOT_STARTED = 1;

// Frames counted over one timer period, as frames per second (frames x 1000 ms x 0.001, in single precision).
float FramesPerSecond(unsigned frames);

// `size` in pixels at 96 DPI, scaled to `dpi` (rounded, as Windows scales a window).
int ScaleForDpi(int size, UINT dpi);
// The DPI of the primary display, as the system scales for it: the one to size a window by before it exists.
UINT SystemDpi();

// What a start-up box says when `step` failed with the system's `error` (from GetLastError): the step, and the
// system's own reason where it gives one.
void FormatStartFailure(char* buffer, int size, const char* what, const char* step, DWORD error);

// The thread execution states the show asks for: the display kept on while it plays, then released.
constexpr EXECUTION_STATE DISPLAY_HELD = ES_CONTINUOUS | ES_DISPLAY_REQUIRED;
constexpr EXECUTION_STATE DISPLAY_RELEASED = ES_CONTINUOUS;

class GLWindowApp {
public:
    // The class every window of this framework is registered under.
    static constexpr const char* WINDOW_CLASS_NAME = "KelvraWindowClass";

    GLWindowApp();

    // Creates the window, runs the message and idle loop until WM_QUIT with the display held on, calls OnExit,
    // unregisters the window class; returns the quit message's code, or EXIT_CODE_NOT_STARTED when the window
    // or context failed. While IsActive says no, the loop sleeps until the next message instead of drawing.
    int Run(HINSTANCE instance, int showCommand, const char* commandLine);
    // Stores the projection's values; with apply and a client area to draw in, loads it for that area and
    // leaves no context current, whatever was current before (an empty client area changes no context).
    void SetProjection(float fieldOfView, float nearDistance, float farDistance, bool apply);

    // The hooks. "Current" means the GL context is current on this thread when the hook is called.
    // Render: once a frame, from FrameStep; current. Draws the frame; may close the window.
    virtual void Render() = 0;
    // Shutdown: once, on WM_DESTROY, before the context is deleted; current. Frees what Init and Render made.
    virtual void Shutdown() = 0;
    // Init: once, from Create, right after the context is made; current. Its result is the derived class's own.
    virtual int Init() = 0;
    // IsActive: each idle turn of the loop; not current. False skips the frame and waits for the next message.
    // The base says no while the window is minimised: nobody sees the frame.
    virtual bool IsActive();
    // OnFrameRate: with 0 after Init, then once a second with the frames counted; not current.
    virtual void OnFrameRate(float framesPerSecond);
    // OnCommand: on WM_COMMAND; not current. True when handled; false passes it to DefWindowProcA.
    virtual bool OnCommand(int id, int code);
    // Paint: on WM_PAINT, between BeginPaint and EndPaint; not current. The base draws one FrameStep.
    virtual void Paint(HDC paintDC);
    // SetupWindow: from Create, before the class is registered; no context yet. Fills the class record, the
    // styles and the window's rectangle.
    virtual void SetupWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                             int& height);
    // SetupPixelFormat: from Create, before the context is made; no context yet. Fills the requested format.
    virtual void SetupPixelFormat(PIXELFORMATDESCRIPTOR& format);
    // Create: from Run; no context. Registers the class, makes the window and the context, shows the window;
    // false when the class, the window or the context could not be made (nothing is then left registered, and
    // no window is left).
    virtual bool Create(HINSTANCE instance, int showCommand, const char* commandLine);
    // OnCreateFailed: from Create when the class, the window or the GL context cannot be made, before the
    // window goes; no context. `step` names the call that failed, `error` is GetLastError right after it. The
    // base tells the user in a message box.
    virtual void OnCreateFailed(const char* step, DWORD error);
    // OnActivateApp: on WM_ACTIVATEAPP, when the program gains (true) or loses the foreground; not current.
    virtual void OnActivateApp(bool active);
    // OnExit: once, after the loop ends; no context (the window is gone).
    virtual void OnExit();
    // WindowProc: every message of the window; not current. The result goes back to Windows.
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Present: from FrameStep right after Render; current unless Render closed the window (then hDC is
    // null). The base swaps the buffers.
    virtual void Present();
    // SetExecutionState: from Run, DISPLAY_HELD once the window shows and DISPLAY_RELEASED after the loop; no
    // context. The base tells Windows, so that neither the screensaver nor the display's power-off starts.
    virtual void SetExecutionState(EXECUTION_STATE state);
    virtual ~GLWindowApp();

    // Unregisters the window class; a second application object in the same process can then register it.
    void UnregisterWindowClass();

protected:
    // One frame, wherever it is drawn (the idle loop, WM_PAINT, tests, benchmarks): the context made current,
    // Render, Present, the context released, the frame counted and the key presses it could see spent.
    void FrameStep();
    void OnSize(int width, int height);
    // Makes the context and calls Init; false (and `failedStep` names the call) when no context can be made
    // current on the window.
    bool CreateGLContext(const char*& failedStep);
    void DestroyGLContext();

    BOOL timerRunning;
    unsigned frameCount;
    HINSTANCE hInstance;
    HWND hWnd;
    HDC hDC;
    HGLRC hGLRC;
    float fovY;
    float zNear;
    float zFar;
    // The loop waited (nothing to draw, the window minimised) since the last frame: the frame being drawn is
    // the first after a pause. Cleared after each frame.
    bool resumed;
    // Set by a key's first WM_KEYDOWN (not by auto-repeat) and cleared after each frame, so a press and release
    // that both arrive between two frames still reach the next one.
    bool keysPressed[256];
    // Held down now. Both tables start all false, for a static object and a test's local one alike.
    bool keys[256];
};

// The one application object; set by the GLWindowApp constructor before any window exists.
extern GLWindowApp* g_app;

// Dispatches every message waiting for this thread: for hosts that draw the frames themselves, not from Run.
void PumpMessages();

// The window procedure of the registered class: hands every message to g_app.
LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
