#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Finds each message box that the window raises, notes what it showed and
// presses its OK button, from a thread timer: a message box runs its own
// modal loop, and the test only gets the thread back through that loop's
// timer messages. One watcher at a time.
class MessageBoxWatcher {
  public:
    struct Seen {
        std::wstring title;
        std::wstring text;
        bool hasOk = false;
        bool hasCancel = false;
        bool showsIcon = false;
    };

    // whenShown runs while the box is up, before it is dismissed.
    explicit MessageBoxWatcher(HWND owner, std::function<void()> whenShown = {});
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    const std::vector<Seen>& seen() const { return m_seen; }

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK visit(HWND window, LPARAM self);
    void dismiss(HWND box);

    HWND m_owner;
    std::function<void()> m_whenShown;
    UINT_PTR m_timer = 0;
    std::vector<Seen> m_seen;
    std::vector<HWND> m_dismissed;
};
