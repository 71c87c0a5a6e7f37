// window_text.exe CAPTION: prints the texts of a dialog's controls, one line each (a line break inside a text
// as \n), so that a script can read what a message box of another program says. Exit 1: no such dialog.
#include <stdio.h>
#include <windows.h>

static BOOL CALLBACK PrintControlText(HWND control, LPARAM)
{
    char text[512] = {};
    GetWindowTextA(control, text, sizeof(text));
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\n') {
            fputs("\\n", stdout);
        } else if (*c != '\r') {
            fputc(*c, stdout);
        }
    }
    if (text[0] != '\0') {
        fputc('\n', stdout);
    }
    return TRUE;
}

int main(int argc, char** argv)
{
    // "#32770" is the window class of dialogs, message boxes included.
    HWND dialog = argc == 2 ? FindWindowA("#32770", argv[1]) : nullptr;
    if (dialog == nullptr) {
        return 1;
    }
    EnumChildWindows(dialog, PrintControlText, 0);
    return 0;
}
