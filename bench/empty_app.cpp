// The ceiling of the frame loop: an application on the same framework that only clears and swaps.
#include <GL/gl.h>
#include <stdio.h>

#include "framework/gl_window_app.h"

namespace {

class EmptyApp : public GLWindowApp {
public:
    void Render() override { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
    void Shutdown() override {}
    int Init() override { return 0; }
    void OnFrameRate(float framesPerSecond) override
    {
        char title[32];
        snprintf(title, sizeof(title), "%.1f FPS", static_cast<double>(framesPerSecond));
        SetWindowTextA(hWnd, title);
    }
};

EmptyApp emptyApp;

}  // namespace
