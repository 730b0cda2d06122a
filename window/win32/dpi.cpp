#include "dpi.h"

namespace {

template <class Function> Function lookUp(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which the Windows 7 headers lack.
const HANDLE perMonitorAwareV2 = reinterpret_cast<HANDLE>(-4);

} // namespace

void becomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAware = BOOL(WINAPI*)();
    // Fails harmlessly when the manifest has already made the process aware.
    if (const auto setContext = lookUp<SetContext>("SetProcessDpiAwarenessContext")) {
        setContext(perMonitorAwareV2);
        return;
    }
    if (const auto setAware = lookUp<SetAware>("SetProcessDPIAware"))
        setAware();
}

int dpiOf(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = lookUp<GetDpi>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

RECT frameFor(RECT client, DWORD style, DWORD exStyle, int dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = lookUp<Adjust>("AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}
