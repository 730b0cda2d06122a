#pragma once

#include <windows.h>

// What Windows 8.1 and 10 added for screens of different scales, looked up at
// run time so that the program still starts on Windows 7, where each falls
// back to what Windows 7 has.

// Per-monitor awareness (v2) when the manifest has not set it already, else
// the whole-system awareness of Windows 7.
void becomeDpiAware();

// The DPI the window is drawn at: its monitor's, or the system's.
int dpiOf(HWND window);

// The outer size of a window whose client area is `client` at `dpi`.
RECT frameFor(RECT client, DWORD style, DWORD exStyle, int dpi);
