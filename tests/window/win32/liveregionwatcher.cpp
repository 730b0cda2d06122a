// Listens to a running Grain Mix from another process, as a screen reader on
// Windows does, while it types 10 into Barley: the live-region event must not
// come right after a key, must come once after the typing pauses, and the
// control it names must give the figures through WM_GETTEXT.
// Usage: liveregionwatcher PROGRAM. Exits 0 when all of that holds.
#include "form1layout.h"
#include "win32platform.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD liveRegionChanged = 0x8021; // EVENT_OBJECT_LIVEREGIONCHANGED
std::vector<HWND> heard;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT)
        heard.push_back(window);
}

// Out-of-context events come through this thread's message queue.
void pumpFor(DWORD milliseconds) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

const char* watch(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    SetWinEventHook(liveRegionChanged, liveRegionChanged, nullptr, &onEvent, process, 0,
                    WINEVENT_OUTOFCONTEXT);
    HWND field = GetDlgItem(window, Win32Platform::firstControlId +
                                        static_cast<int>(*controlNamed("Text1")));
    SendMessageW(field, EM_SETSEL, 0, -1);
    for (wchar_t key : {L'1', L'0'}) { // well within the pause, as a user types
        PostMessageW(field, WM_CHAR, key, 1);
        pumpFor(250);
        if (!heard.empty())
            return "the figures were said right after a key";
    }
    pumpFor(2500);
    if (heard.size() != 1)
        return heard.empty() ? "the figures were never said" : "the figures were said twice";
    wchar_t text[200] = {};
    SendMessageW(heard[0], WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    if (std::wstring(text) !=
        L"Amounts 10. Protein 12.7, Carbohydrate 66.6, Water 10.6, Fibre 5.4, Fat 1.9")
        return "the live region does not say the figures";
    return nullptr;
}

} // namespace

int wmain(int, wchar_t** argv) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return std::puts("could not start the program"), 1;
    // Shown once every control is in place.
    HWND window = nullptr;
    for (int tenths = 0; tenths < 600 && !(window && IsWindowVisible(window)); ++tenths) {
        Sleep(100);
        window = FindWindowW(L"GrainMixWindow", nullptr);
    }
    const char* fault = window ? watch(window) : "the program opened no window";
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(started.hProcess, 1);
    std::puts(fault ? fault : "the figures were said once, after the typing paused");
    return fault ? 1 : 0;
}
