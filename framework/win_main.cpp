// The program's entry: hands the instance, the show command and the command line to the one application object.
#include "gl_window_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    return g_app->Run(instance, showCommand, commandLine);
}
