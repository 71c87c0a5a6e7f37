// The borderless window set-up: a popup has no frame, so its window size is its drawing area.
#include "framework/borderless_window.h"

void SetupBorderlessWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                           int& height, int clientWidth, int clientHeight)
{
    windowClass.lpszMenuName = nullptr;
    style = WS_POPUP;
    exStyle = 0;
    x = 0;
    y = 0;
    width = clientWidth;
    height = clientHeight;
}
