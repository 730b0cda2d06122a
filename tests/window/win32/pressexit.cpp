// Ends a running Grain Mix with its Exit button, as a user would: waits for
// its window, clicks Exit and waits for the window to go. Exits with 0 when it
// went, 1 when there was no window or it stayed.
#include <windows.h>

namespace {

constexpr wchar_t windowClass[] = L"GrainMixWindow";

HWND waitFor(bool present, int seconds) {
    for (int tenths = 0; tenths < seconds * 10; ++tenths) {
        HWND window = FindWindowW(windowClass, nullptr);
        if ((window != nullptr) == present)
            return window;
        Sleep(100);
    }
    return present ? nullptr : FindWindowW(windowClass, nullptr);
}

// The window exists a moment before its controls do, the longer the more
// its captions take to fit: wait for the button itself.
HWND waitForExit(HWND window, int seconds) {
    for (int tenths = 0; window && tenths < seconds * 10; ++tenths) {
        if (HWND button = FindWindowExW(window, nullptr, L"Button", L"Exit"))
            return button;
        Sleep(100);
    }
    return nullptr;
}

} // namespace

int main() {
    HWND window = waitFor(true, 60);
    HWND exitButton = waitForExit(window, 30);
    if (!exitButton)
        return 1;
    // What the button sends its window when it is clicked.
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(exitButton), BN_CLICKED),
                 reinterpret_cast<LPARAM>(exitButton));
    return waitFor(false, 30) ? 1 : 0;
}
