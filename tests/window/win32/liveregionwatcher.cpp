// Usage: liveregionwatcher PROGRAM. Listens to a running Grain Mix from
// another process, as a screen reader on Windows does, while it types 10 into
// Barley, and exits 0 when the live-region event comes once after the typing
// pauses, not with a key, from a control whose text is the figures.
#include "barleyten.h"
#include "form1layout.h"
#include "win32platform.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<HWND> heard;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT)
        heard.push_back(window);
}

std::string textOf(HWND control) {
    wchar_t text[200] = {};
    SendMessageW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return {text, text + wcslen(text)}; // ASCII, as every text of the window
}

// Out-of-context events come through this thread's queue: all that came before `done` held are in.
template <typename Done> bool pumpUntil(Done&& done) {
    bool reached = false;
    for (const ULONGLONG end = GetTickCount64() + 60000; !reached && GetTickCount64() < end;) {
        reached = done();
        for (MSG message{}; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return reached;
}

const char* watch(HWND window, HANDLE program) {
    SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                    &onEvent, GetProcessId(program), 0, WINEVENT_OUTOFCONTEXT);
    HWND field = GetDlgItem(window, Win32Platform::firstControlId +
                                        static_cast<int>(*controlNamed("Text1")));
    SendMessageW(field, EM_SETSEL, 0, -1);
    for (const std::string typed : {"1", "10"}) {
        PostMessageW(field, WM_CHAR, static_cast<WPARAM>(typed.back()), 1);
        // What the key set off has happened by the time the field shows it.
        pumpUntil([&] { return textOf(field) == typed; });
        if (!heard.empty())
            return "the figures were said right after a key";
    }
    if (!pumpUntil([] { return !heard.empty(); }))
        return "the figures were never said";
    return textOf(heard[0]) == barleyTenSaid ? nullptr : "the live region does not say the figures";
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
    pumpUntil([&] { return IsWindowVisible(window = FindWindowW(L"GrainMixWindow", nullptr)); });
    const char* fault = window ? watch(window, started.hProcess) : "the program opened no window";
    // Everything the program raised has come once it has ended.
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!pumpUntil([&] { return WaitForSingleObject(started.hProcess, 0) == WAIT_OBJECT_0; }))
        TerminateProcess(started.hProcess, 1);
    fault = fault || heard.size() == 1 ? fault : "the figures were said more than once";
    std::puts(fault ? fault : "the figures were said once, after the typing paused");
    return fault ? 1 : 0;
}
