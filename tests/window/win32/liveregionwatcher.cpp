// Listens to a running Grain Mix from another process, as a screen reader on
// Windows does, while it types 10 into Barley: the live-region event must not
// come with a key, must come once after the typing pauses, and the control it
// names must give the figures through WM_GETTEXT.
// Usage: liveregionwatcher PROGRAM. Exits 0 when all of that holds.
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

std::wstring textOf(HWND control) {
    wchar_t text[200] = {};
    SendMessageW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// Out-of-context events come through this thread's message queue: whatever
// came before `done` held has been taken in when this returns true.
template <typename Done> bool pumpUntil(Done&& done, ULONGLONG milliseconds = 10000) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds;;) {
        const bool reached = done();
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (reached || GetTickCount64() > end)
            return reached;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

const char* watch(HWND window, HANDLE program) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                    &onEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    HWND field = GetDlgItem(window, Win32Platform::firstControlId +
                                        static_cast<int>(*controlNamed("Text1")));
    SendMessageW(field, EM_SETSEL, 0, -1);
    std::wstring typed;
    for (wchar_t key : {L'1', L'0'}) {
        PostMessageW(field, WM_CHAR, key, 1);
        typed += key;
        // What the key set off has happened by the time the field shows it.
        if (!pumpUntil([&] { return textOf(field) == typed; }))
            return "the field never showed what was typed";
        if (!heard.empty())
            return "the figures were said right after a key";
    }
    if (!pumpUntil([] { return !heard.empty(); }))
        return "the figures were never said";
    const std::wstring said = textOf(heard[0]);
    // Everything the program raised has come once it has ended.
    PostMessageW(window, WM_CLOSE, 0, 0);
    pumpUntil([&] { return WaitForSingleObject(program, 0) == WAIT_OBJECT_0; });
    if (heard.size() != 1)
        return "the figures were said more than once";
    const std::string expected = barleyTenSaid; // ASCII, so each char widens as it is
    return said == std::wstring(expected.begin(), expected.end())
               ? nullptr
               : "the live region does not say the figures";
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
    pumpUntil(
        [&] {
            return (window = FindWindowW(L"GrainMixWindow", nullptr)) && IsWindowVisible(window);
        },
        60000);
    const char* fault = window ? watch(window, started.hProcess) : "the program opened no window";
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(started.hProcess, 1);
    std::puts(fault ? fault : "the figures were said once, after the typing paused");
    return fault ? 1 : 0;
}
