// kelvra-capture.exe: plays the production on a fixed-rate clock and hands every frame and the music to an
// encoder (exit code 0 when every frame was written); with --describe, prints the stream the options make.
#include <stdio.h>
#include <string>
#include <windows.h>

#include "video/capture_app.h"
#include "video/capture_options.h"

int main(int argc, char** argv)
{
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, options, error)) {
        fprintf(stderr, "kelvra-capture: %s\n", error.c_str());
        return 2;
    }
    if (options.describe) {
        printf("%s\n", DescribeCapture(options).c_str());
        return 0;
    }
    if (options.video.empty() || options.audio.empty()) {
        fprintf(stderr, "kelvra-capture: --video and --audio name where the frames and the music go\n");
        return 2;
    }
    int code = 1;
    {
        CaptureApp capture(options);
        capture.Run(GetModuleHandleA(nullptr), SW_HIDE, GetCommandLineA());
        code = capture.Succeeded() ? 0 : 1;
    }
    // NOTE: under load, Wine's ordinary exit path (the GL driver's teardown in it) can outlast the second the
    // Wine server gives an ending process before it sends SIGKILL, and the exit status becomes 137 after a
    // capture that succeeded. Everything is written and closed by now, so the process ends here, at once.
    fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    return code;
}
