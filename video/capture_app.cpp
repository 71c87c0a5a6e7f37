// CaptureApp: a hidden borderless window of the capture's size, the scenes' clock stepped one frame at a time,
// and the frame path: the demo's Render into the offscreen framebuffer, then in Present the resolve, the read
// into a pixel buffer and the hand-over of the frame before to the writer thread.
#include "video/capture_app.h"

#include <GL/gl.h>
#include <stdio.h>
#include <stdlib.h>

#include "app/music_start.h"
#include "video/music_track.h"

namespace {

// Antialiasing takes this many samples a pixel, or as many as GL offers if fewer.
const GLint SAMPLES = 4;

LONGLONG Now()
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

// The tests' way to meet the encoder's deadline sooner: KELVRA_CAPTURE_ENCODER_DEADLINE, in seconds.
DWORD EncoderDeadlineMs()
{
    const char* seconds = getenv("KELVRA_CAPTURE_ENCODER_DEADLINE");
    const int parsed = seconds != nullptr ? atoi(seconds) : 0;
    return parsed > 0 ? static_cast<DWORD>(parsed) * 1000 : FrameWriter::ENCODER_DEADLINE_MS;
}

double CountsToSeconds(LONGLONG counts)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counts) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

// The window keeps the capture's size, and the music goes into the video, not to a sound device.
CaptureApp::CaptureApp(const CaptureOptions& captureOptions)
    : DemoApp({false, captureOptions.width, captureOptions.height, false, false}),
      options(captureOptions),
      clock(captureOptions.fps),
      totalFrames(0),
      framesDrawn(0),
      framesWritten(0),
      failed(false),
      video(INVALID_HANDLE_VALUE),
      offscreen(false),
      readbackReady(false),
      writer(EncoderDeadlineMs()),
      maxViewport{0, 0},
      startCount(0),
      renderStart(0),
      renderCounts(0),
      readCounts(0)
{
    totalFrames = CaptureFrameCount(options);
}

CaptureApp::~CaptureApp()
{
    // Shutdown has stopped the writer; the pipe is still open here only when Create failed after opening it.
    if (video != INVALID_HANDLE_VALUE) {
        CloseHandle(video);
    }
}

int CaptureApp::Init()
{
    DemoApp::Init();
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    maxViewport[0] = dims[0];
    maxViewport[1] = dims[1];
    GLint samples = 0;
    if (options.antialias) {
        glGetIntegerv(fb::MAX_SAMPLES, &samples);
        samples = samples < SAMPLES ? samples : SAMPLES;
        samples = samples >= 2 ? samples : 0;
    }
    offscreen = calls.Load() && (target.Create(calls, options.width, options.height, samples) ||
                                 (samples > 0 && target.Create(calls, options.width, options.height, 0)));
    readbackReady = readback.Start(offscreen ? &calls : nullptr, options.width, options.height);
    return 0;
}

bool CaptureApp::Create(HINSTANCE instance, int showCommand, const char* commandLine)
{
    if (!DemoApp::Create(instance, showCommand, commandLine)) {
        Fail("cannot create the capture window");
        return false;  // the base has left nothing behind
    }
    RECT client;
    GetClientRect(hWnd, &client);
    if (client.right != options.width || client.bottom != options.height || maxViewport[0] < options.width ||
        maxViewport[1] < options.height) {
        return Abandon("cannot render " + std::to_string(options.width) + "x" + std::to_string(options.height) +
                       " here (the window's drawing area came out " + std::to_string(client.right) + "x" +
                       std::to_string(client.bottom) + ")");
    }
    if (!readbackReady) {
        return Abandon("not enough memory for the frames");
    }
    if (!offscreen) {
        ShowWindow(hWnd, SW_SHOWNOACTIVATE);  // the frames are read from the window itself
    }
    // For people: what is captured, and how (tools/capture-video learns the stream from --describe).
    printf("Capturing %d frames (%.2f s) at %d fps, %dx%d, %s\n", totalFrames,
           static_cast<double>(totalFrames) / options.fps, options.fps, options.width, options.height,
           Method().c_str());
    fflush(stdout);
    const long long sampleFrames = static_cast<long long>(totalFrames) * MUSIC_MIX_RATE / options.fps;
    std::string error;
    if (!WriteMusicWav("audio.ogg", options.audio.c_str(), sampleFrames, error)) {
        return Abandon(error);
    }
    // The music is complete before the pipe opens: tools/capture-video starts ffmpeg only once this end of the
    // pipe is open, so it never meets a partial WAV.
    video =
        CreateFileA(options.video.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (video == INVALID_HANDLE_VALUE) {
        return Abandon("cannot open " + options.video + " for the frames");
    }
    if (!writer.Start(video, options.width, options.height, !offscreen)) {
        return Abandon("not enough memory for the frames");
    }
    startCount = Now();
    return true;
}

void CaptureApp::OnCreateFailed(const char* step, DWORD)
{
    Fail(std::string(hWnd == nullptr ? "the window cannot be made (" : "this display cannot start OpenGL (") + step +
         " failed)");
}

bool CaptureApp::Abandon(const std::string& reason)
{
    Fail(reason);
    // WM_DESTROY gives back the context, and through Shutdown what Init made, before the class goes.
    DestroyWindow(hWnd);
    hWnd = nullptr;
    UnregisterWindowClass();
    return false;
}

std::string CaptureApp::Method() const
{
    if (!offscreen) {
        const std::string why =
            calls.missing != nullptr ? std::string("has no ") + calls.missing : "cannot draw offscreen at this size";
        return "aliased, read from the window (this GL " + why + ")";
    }
    if (target.Samples() > 0) {
        return "antialiased (" + std::to_string(target.Samples()) + " samples)";
    }
    return options.antialias ? "aliased (this GL cannot multisample at this size)" : "aliased";
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
    clock.SetCount(framesDrawn);
    renderStart = Now();
    if (!offscreen) {
        DemoApp::Render();
        return;
    }
    if (target.Samples() > 0 && NextFrameStartsScene()) {
        // A scene's first frame builds its font, and the check for flat glyphs reads pixels back, which a
        // multisampled framebuffer cannot give. That frame is drawn single-sampled first, then again at the
        // same time below.
        target.BindForDrawing(framesDrawn, true);
        DemoApp::Render();
    }
    target.BindForDrawing(framesDrawn, false);
    DemoApp::Render();
}

void CaptureApp::Present()
{
    // Instead of a swap: nobody watches this window, and a swap would only copy each frame to the X server
    // once more.
    if (!Recording() || hWnd == nullptr) {
        return;  // not recording yet, or the sequencer closed the window: that frame drew nothing
    }
    const LONGLONG readStart = Now();
    renderCounts += readStart - renderStart;
    if (offscreen) {
        // This frame is set going, and the one before is read into a pixel buffer that is mapped a frame
        // later: a GPU copies it while this thread goes on. (A software GL such as Mesa's llvmpipe copies in
        // glReadPixels, once what is queued is drawn.)
        target.Resolve(framesDrawn);
        glFlush();
        if (framesDrawn > 0) {
            target.BindForReading(framesDrawn - 1);
            readback.Read();
        }
    } else {
        readback.Read();
    }
    readCounts += Now() - readStart;
    ++framesDrawn;
    if (readback.Waiting() > 1 && !HandOldestFrame()) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return;
    }
    if (framesDrawn >= totalFrames) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);  // Shutdown hands the last frames
    }
}

bool CaptureApp::HandOldestFrame()
{
    // The frame handed before must be out before its slot is given back.
    if (!writer.Wait()) {
        EncoderFailed();
        return false;
    }
    const LONGLONG takeStart = Now();
    const unsigned char* frame = readback.Take();
    readCounts += Now() - takeStart;
    if (frame == nullptr) {
        Fail("cannot read frame " + std::to_string(framesWritten) + " back");
        return false;
    }
    if (!writer.Hand(frame)) {
        EncoderFailed();
        return false;
    }
    ++framesWritten;
    if (framesWritten % (5 * options.fps) == 0) {  // every five seconds of video
        ReportProgress();
    }
    return true;
}

void CaptureApp::Shutdown()
{
    if (offscreen && Recording() && framesDrawn > 0) {
        target.BindForReading(framesDrawn - 1);  // the last frame drawn is not read yet
        readback.Read();
    }
    while (Recording() && readback.Waiting() > 0 && HandOldestFrame()) {
    }
    if (!writer.Finish()) {
        EncoderFailed();
    }
    readback.Stop();
    target.Destroy();
    DemoApp::Shutdown();
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
    // The writer is done: Shutdown, on WM_DESTROY before the loop ended, handed it the last frames and waited.
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
        "Captured %d frames, %.2f s of video, in %.1f s (%.2f x real time), %s: render %.1f s, read-back %.1f s, "
        "handing to the encoder %.1f s\n",
        framesWritten, length, wall, length / wall, Method().c_str(), CountsToSeconds(renderCounts),
        CountsToSeconds(readCounts), CountsToSeconds(writer.WaitCounts()));
    fflush(stdout);
}

void CaptureApp::EncoderFailed()
{
    Fail(writer.Stalled()
             ? "the encoder stopped taking frames (none for " + std::to_string(writer.DeadlineMs() / 1000) + " s)"
             : "the encoder stopped taking frames");
}

void CaptureApp::Fail(const std::string& reason)
{
    if (!failed) {
        fprintf(stderr, "kelvra-capture: %s\n", reason.c_str());
        fflush(stderr);
    }
    failed = true;
}
