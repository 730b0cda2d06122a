#pragma once

#include "controlrow.h"

#include <windows.h>

// A Win32 colour as the window's shared colour rules take it.
Rgb rgbOf(COLORREF colour);

// The colours of the two controls that do not take the system's own: the
// instructions on the desktop's colour and the mark of an amount the sums
// cannot use. With high contrast on, both take the theme's colours instead.
// Read again with read() whenever the user changes colours or the theme.
class SystemColours {
  public:
    struct Look {
        COLORREF text;
        COLORREF background;
        HBRUSH brush; // owned by the system or by this object
    };

    SystemColours();
    ~SystemColours();
    SystemColours(const SystemColours&) = delete;
    SystemColours& operator=(const SystemColours&) = delete;

    void read();
    const Look& instructions() const { return m_instructions; }
    const Look& mark() const { return m_mark; }

  private:
    HBRUSH m_markBrush;
    Look m_instructions{};
    Look m_mark{};
};
