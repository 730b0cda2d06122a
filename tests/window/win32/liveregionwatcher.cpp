// Listens to a running Grain Mix from another process, as a screen reader on
// Windows does, while it types 10 into Barley: the live-region event must not
// come right after a key, must come once after the typing pauses, and the
// control it names must give the figures through WM_GETTEXT.
// Usage: liveregionwatcher PROGRAM. Exits 0 when all of that holds.
#include "form1layout.h"
#include "widetext.h"
#include "win32platform.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD liveRegionChanged = 0x8021; // EVENT_OBJECT_LIVEREGIONCHANGED
constexpr wchar_t barley10Said[] =
    L"Amounts 10. Protein 12.7, Carbohydrate 66.6, Water 10.6, Fibre 5.4, Fat 1.9";

std::vector<HWND> heard;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                      DWORD) {
    if (event == liveRegionChanged && object == OBJID_CLIENT && child == CHILDID_SELF)
        heard.push_back(window);
}

// Out-of-context events come through this thread's message queue.
void pumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

int fail(const char* why) {
    std::fprintf(stderr, "liveregionwatcher: %s\n", why);
    return 1;
}

int watch(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HWINEVENTHOOK hook = SetWinEventHook(liveRegionChanged, liveRegionChanged, nullptr, &onEvent,
                                         process, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook)
        return fail("could not listen to the program's events");
    HWND field = GetDlgItem(window, Win32Platform::firstControlId +
                                        static_cast<int>(*controlNamed("Text1")));
    if (!field)
        return fail("the window has no Barley");
    SendMessageW(field, EM_SETSEL, 0, -1);
    // Well within the pause, as a user types.
    for (wchar_t key : {L'1', L'0'}) {
        PostMessageW(field, WM_CHAR, key, 1);
        pumpFor(250);
        if (!heard.empty())
            return fail("the figures were said right after a key");
    }
    pumpFor(2500);
    UnhookWinEvent(hook);
    if (heard.size() != 1)
        return fail(heard.empty() ? "the figures were never said" : "the figures were said twice");

    wchar_t text[200] = {};
    SendMessageW(heard[0], WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    if (std::wstring(text) != barley10Said) {
        std::fprintf(stderr, "liveregionwatcher: the live region says '%s'\n",
                     narrow(text).c_str());
        return 1;
    }
    std::printf("said once after the pause: %s\n", narrow(text).c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return fail("usage: liveregionwatcher PROGRAM");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    if (!CreateProcessW(argv[1], command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return fail("could not start the program");
    // Shown once every control is in place.
    HWND window = nullptr;
    for (int tenths = 0; tenths < 600; ++tenths) {
        window = FindWindowW(L"GrainMixWindow", nullptr);
        if (window && IsWindowVisible(window))
            break;
        Sleep(100);
    }
    const int status = window ? watch(window) : fail("the program opened no window");
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(started.hProcess, 1);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return status;
}
