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

} // namespace

int main() {
    HWND window = waitFor(true, 60);
    HWND exitButton = window ? FindWindowExW(window, nullptr, L"Button", L"Exit") : nullptr;
    if (!exitButton)
        return 1;
    // What the button sends its window when it is clicked.
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(exitButton), BN_CLICKED),
                 reinterpret_cast<LPARAM>(exitButton));
    return waitFor(false, 30) ? 1 : 0;
}
