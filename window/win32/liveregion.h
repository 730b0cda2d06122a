#pragma once

#include <windows.h>

#include <string_view>

// A control whose own text a screen reader says, politely, each time it
// changes, wherever the focus is: the live region of Microsoft's UI
// Automation, made of a plain static control. A window without WS_VISIBLE is
// left out of the accessibility tree, so this one is visible, but it has no
// size: it draws nothing and takes no click. It takes no focus either.
class LiveRegion {
  public:
    explicit LiveRegion(HWND parent);
    ~LiveRegion();
    LiveRegion(const LiveRegion&) = delete;
    LiveRegion& operator=(const LiveRegion&) = delete;

    void say(std::wstring_view text);
    HWND handle() const { return m_handle; }

  private:
    HWND m_handle = nullptr;
    bool m_comStarted = false;
};
