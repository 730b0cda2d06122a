// Keeps one hidden window open in the Wine session until the session ends.
// When no program has had a window for a few seconds, Wine makes the next
// one wait ten seconds and more, as it starts and again as it ends; with this
// running, no test program waits.
#include <windows.h>

int main() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"GrainMixTestDesktopHolder";
    RegisterClassW(&wc);
    if (!CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, instance,
                       nullptr))
        return 1;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
