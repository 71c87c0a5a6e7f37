// CaptureApp: the demo played on a stepped clock into an offscreen framebuffer of the capture's size, each
// frame read back a frame later and handed to a writer thread that sends it to an encoder as YUV 4:2:0, with
// the music written beside it as a WAV file.
#pragma once

#include <string>

#include "app/demo_app.h"
#include "scenes/scene_clock.h"
#include "video/capture_options.h"
#include "video/frame_readback.h"
#include "video/frame_target.h"
#include "video/frame_writer.h"
#include "video/framebuffer_calls.h"

class CaptureApp : public DemoApp {
public:
    explicit CaptureApp(const CaptureOptions& options);
    ~CaptureApp() override;

    // As the base promises, a false return leaves no window, context or registered class behind.
    bool Create(HINSTANCE instance, int showCommand, const char* commandLine) override;
    // Said on standard error: nobody may be there to answer a message box.
    void OnCreateFailed(const char* step, DWORD error) override;
    int Init() override;
    // The demo's frame at this frame's time on the stepped clock, drawn into the offscreen framebuffer.
    void Render() override;
    void OnFrameRate(float framesPerSecond) override;
    void OnExit() override;
    // Offscreen, resolves frame n, starts reading frame n - 1 back and hands frame n - 2 to the writer; from the
    // window, reads frame n and hands frame n - 1. Closes the window after the last frame.
    void Present() override;
    // The one place the writer is drained: hands it the frames still read back and waits for them to go out;
    // then frees the GL objects.
    void Shutdown() override;

    // False once anything went wrong: the window could not be made at the size, or an output failed.
    bool Succeeded() const { return !failed; }

private:
    bool Recording() const;
    void Fail(const std::string& reason);
    bool Abandon(const std::string& reason);
    void EncoderFailed();
    bool HandOldestFrame();
    void ReportProgress();
    std::string Method() const;

    CaptureOptions options;
    SceneClock clock;  // counts frames, at fps counts a second
    int totalFrames;
    int framesDrawn;
    int framesWritten;
    bool failed;
    HANDLE video;
    FramebufferCalls calls;
    bool offscreen;  // frames are drawn into target, not into the window
    bool readbackReady;
    FrameTarget target;
    FrameReadback readback;
    FrameWriter writer;
    int maxViewport[2];
    LONGLONG startCount;
    LONGLONG renderStart;
    LONGLONG renderCounts;
    LONGLONG readCounts;
};
