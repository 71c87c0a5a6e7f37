// CaptureApp: the demo played on a fixed-rate clock, each frame read back and written out as raw BGRX for an
// encoder (by a writer thread, while the next frame renders), with the music written beside it as a WAV file.
#pragma once

#include <string>

#include "app/demo_app.h"
#include "video/capture_options.h"
#include "video/frame_writer.h"

class CaptureApp : public DemoApp {
public:
    explicit CaptureApp(const CaptureOptions& options);
    ~CaptureApp() override;

    bool Create(HINSTANCE instance, int showCommand, const char* commandLine) override;
    void SetupWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                     int& height) override;
    int Init() override;
    void Render() override;
    void OnFrameRate(float framesPerSecond) override;
    void OnExit() override;
    void Present() override;

    // False once anything went wrong: the window could not be made at the size, or an output failed.
    bool Succeeded() const { return !failed; }
    int FramesWritten() const { return framesWritten; }

private:
    void Fail(const std::string& reason);
    void ReportProgress();

    CaptureOptions options;
    int totalFrames;
    int framesWritten;
    bool failed;
    HANDLE video;
    FrameWriter writer;
    int maxViewport[2];
    LONGLONG startCount;
    LONGLONG renderCounts;
    LONGLONG readCounts;
};
