// GLWindowApp: one top-level window with an OpenGL context, the message and idle loop, the once-a-second
// frame-rate tick and the perspective projection. A derived class draws and sets up through the virtual hooks.
#pragma once

#include <windows.h>

// Frame-rate timer: the identifier of the one window timer this framework starts, and its period.
constexpr UINT_PTR FRAME_RATE_TIMER_ID = 0xFFFFFFFF;
constexpr UINT FRAME_RATE_PERIOD_MS = 1000;

// Frames counted over one timer period, as frames per second (frames x 1000 ms x 0.001, in single precision).
float FramesPerSecond(unsigned frames);

class GLWindowApp {
public:
    GLWindowApp();

    int Run(HINSTANCE instance, int showCommand, const char* commandLine);
    void SetProjection(float fieldOfView, float nearDistance, float farDistance, bool apply);

    // The hooks, in the order the framework's table lists them. The GL context is current only inside
    // Init, Render and Shutdown (and while SetProjection applies a projection).
    virtual void Render() = 0;
    virtual void Shutdown() = 0;
    virtual int Init() = 0;
    virtual bool IsActive();
    virtual void OnFrameRate(float framesPerSecond);
    virtual bool OnCommand(int id, int code);
    virtual void Paint(HDC paintDC);
    virtual void SetupWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                             int& height);
    virtual void SetupPixelFormat(PIXELFORMATDESCRIPTOR& format);
    virtual bool Create(HINSTANCE instance, int showCommand, const char* commandLine);
    virtual void OnExit();
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Beyond the table: shows the frame Render drew, after it and with the context still current; the
    // base swaps the buffers. The capture, which reads its frames back instead, shows nothing.
    virtual void Present();
    virtual ~GLWindowApp();

protected:
    void OnSize(int width, int height);
    void CreateGLContext();
    void DestroyGLContext();
    // Counts a drawn frame; the key presses it could see are then spent.
    void CountFrame();

    BOOL timerRunning;
    unsigned frameCount;
    HINSTANCE hInstance;
    HWND hWnd;
    HDC hDC;
    HGLRC hGLRC;
    float fovY;
    float zNear;
    float zFar;
    // Set by a key's first WM_KEYDOWN (not by auto-repeat) and cleared after each frame, so a press and release
    // that both arrive between two frames still reach the next one.
    bool keysPressed[256];
    // Held down now. Lives in zero-initialised static storage with the one application object, so every flag
    // starts false.
    bool keys[256];
};

// The one application object; set by the GLWindowApp constructor before any window exists.
extern GLWindowApp* g_app;

// The window procedure of the registered class: hands every message to g_app.
LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
