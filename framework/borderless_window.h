// A borderless window whose drawing area is exactly the given size, at the screen's origin and without a menu:
// the window set-up of the capture and of programs that read frames back at a known size.
#pragma once

#include <windows.h>

// Fills what the framework's SetupWindow hook fills, after the base hook has set the class record.
void SetupBorderlessWindow(WNDCLASSEXA& windowClass, DWORD& style, DWORD& exStyle, int& x, int& y, int& width,
                           int& height, int clientWidth, int clientHeight);
