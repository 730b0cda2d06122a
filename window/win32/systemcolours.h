#pragma once

#include "chosencolours.h"

#include <windows.h>

// A Win32 colour as the window's shared colour rules take it.
Rgb rgbOf(COLORREF colour);

// The colours of the instructions and of a marked amount, as chooseColours
// picks them from the system's. Read again with read() whenever the user
// changes colours or the theme.
class SystemColours {
  public:
    struct Look {
        COLORREF text;
        COLORREF background;
        HBRUSH brush; // owned by this object
    };

    SystemColours();
    ~SystemColours();
    SystemColours(const SystemColours&) = delete;
    SystemColours& operator=(const SystemColours&) = delete;

    void read();
    const Look& instructions() const { return m_instructions; }
    const Look& mark() const { return m_mark; }

  private:
    Look m_instructions{};
    Look m_mark{};
};
