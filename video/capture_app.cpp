// CaptureApp: a borderless window of the capture's size, the scenes' clock stepped one frame at a time, and
// the frame path: the demo's Render, then in Present glReadPixels and the hand-over to the writer thread.
#include "video/capture_app.h"

#include <GL/gl.h>
#include <stdio.h>
#include <stdlib.h>

#include "framework/borderless_window.h"
#include "video/music_track.h"
#include "video/production_length.h"

namespace {

const int AUDIO_RATE = 44100;
// Frames are read as 32-bit BGRX, the layout of the GL back buffer; the writer thread turns them into the
// YUV 4:2:0 that tools/capture-video hands straight to the encoder.
const GLenum FRAME_FORMAT = GL_BGRA_EXT;

LONGLONG Now()
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

double CountsToSeconds(LONGLONG counts)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counts) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

CaptureApp::CaptureApp(const CaptureOptions& captureOptions)
    : options(captureOptions),
      clock(captureOptions.fps),
      totalFrames(0),
      framesWritten(0),
      failed(false),
      video(INVALID_HANDLE_VALUE),
      maxViewport{0, 0},
      startCount(0),
      renderStart(0),
      renderCounts(0),
      readCounts(0)
{
    const int whole = ProductionFrameCount(options.fps);
    const double limit = options.seconds * options.fps;
    totalFrames = options.seconds > 0.0 && limit < whole ? static_cast<int>(limit + 0.5) : whole;
}

CaptureApp::~CaptureApp()
{
    writer.Finish();
    if (video != INVALID_HANDLE_VALUE) {
        CloseHandle(video);
    }
}

void CaptureApp::SetupWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                             int& height)
{
    GLWindowApp::SetupWindow(windowClass, style, exStyle, x, y, width, height);
    SetupBorderlessWindow(windowClass, style, exStyle, x, y, width, height, options.width, options.height);
}

int CaptureApp::Init()
{
    // The music goes into the video, not to a sound device.
    SetRenderState();
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    maxViewport[0] = dims[0];
    maxViewport[1] = dims[1];
    return 0;
}

bool CaptureApp::Create(HINSTANCE instance, int showCommand, const char* commandLine)
{
    if (!DemoApp::Create(instance, showCommand, commandLine)) {
        Fail("cannot create the capture window");
        return false;
    }
    RECT client;
    GetClientRect(hWnd, &client);
    if (client.right != options.width || client.bottom != options.height || maxViewport[0] < options.width ||
        maxViewport[1] < options.height) {
        Fail("cannot render " + std::to_string(options.width) + "x" + std::to_string(options.height) +
             " here (the window's drawing area came out " + std::to_string(client.right) + "x" +
             std::to_string(client.bottom) + ")");
        return false;
    }
    const long long sampleFrames = static_cast<long long>(totalFrames) * AUDIO_RATE / options.fps;
    std::string error;
    if (!WriteMusicWav("audio.ogg", options.audio.c_str(), sampleFrames, error)) {
        Fail(error);
        return false;
    }
    // Opening a named pipe waits here until the encoder opens its end.
    video =
        CreateFileA(options.video.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (video == INVALID_HANDLE_VALUE) {
        Fail("cannot open " + options.video + " for the frames");
        return false;
    }
    if (!writer.Start(video, options.width, options.height)) {
        Fail("not enough memory for the frames");
        return false;
    }
    printf("Capturing %d frames (%.2f s) at %d fps, %dx%d\n", totalFrames,
           static_cast<double>(totalFrames) / options.fps, options.fps, options.width, options.height);
    fflush(stdout);
    startCount = Now();
    return true;
}

bool CaptureApp::Recording() const
{
    return video != INVALID_HANDLE_VALUE && !failed;
}

void CaptureApp::Render()
{
    if (!Recording()) {
        return;  // the first paint comes before the outputs are open: it is not a frame of the video
    }
    // Frame n is drawn at exactly n / fps seconds, however long the frames before it took.
    clock.SetCount(framesWritten);
    renderStart = Now();
    DemoApp::Render();
}

void CaptureApp::Present()
{
    // Instead of a swap: nobody watches this window, and a swap would only copy each frame to the X server
    // once more.
    if (!Recording() || hWnd == nullptr) {
        return;  // not recording yet, or the sequencer closed the window: that frame drew nothing
    }
    glFinish();
    const LONGLONG readStart = Now();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, options.width, options.height, FRAME_FORMAT, GL_UNSIGNED_BYTE, writer.NextBuffer());
    renderCounts += readStart - renderStart;
    readCounts += Now() - readStart;
    if (!writer.Hand()) {
        Fail("the encoder stopped taking frames");
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return;
    }
    ++framesWritten;
    if (framesWritten % (5 * options.fps) == 0) {  // every five seconds of video
        ReportProgress();
    }
    if (framesWritten >= totalFrames) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
    }
}

void CaptureApp::OnFrameRate(float)
{
    // Deliberately empty: the capture's window has no title bar to show a rate in.
}

void CaptureApp::ReportProgress()
{
    const double elapsed = CountsToSeconds(Now() - startCount);
    const double left = elapsed / framesWritten * (totalFrames - framesWritten);
    printf("frame %d of %d (%d%%), %.0f s left\n", framesWritten, totalFrames, framesWritten * 100 / totalFrames, left);
    fflush(stdout);
}

void CaptureApp::OnExit()
{
    if (!writer.Finish()) {
        Fail("the encoder stopped taking frames");
    }
    if (video != INVALID_HANDLE_VALUE) {
        CloseHandle(video);  // the encoder sees the end of the frames
        video = INVALID_HANDLE_VALUE;
    }
    if (!failed && framesWritten != totalFrames) {
        Fail("the production ended after " + std::to_string(framesWritten) + " of " + std::to_string(totalFrames) +
             " frames");
    }
    if (failed) {
        return;
    }
    const double wall = CountsToSeconds(Now() - startCount);
    const double length = static_cast<double>(framesWritten) / options.fps;
    printf(
        "Captured %d frames, %.2f s of video, in %.1f s (%.2f x real time): render %.1f s, read-back %.1f s, "
        "handing to the encoder %.1f s\n",
        framesWritten, length, wall, length / wall, CountsToSeconds(renderCounts), CountsToSeconds(readCounts),
        CountsToSeconds(writer.WaitCounts()));
    fflush(stdout);
}

void CaptureApp::Fail(const std::string& reason)
{
    if (!failed) {
        fprintf(stderr, "kelvra-capture: %s\n", reason.c_str());
        fflush(stderr);
    }
    failed = true;
}
