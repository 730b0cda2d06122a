#pragma once

#include "controlrow.h"

#include <windows.h>

#include <string_view>
#include <utility>
#include <vector>

// The window's fonts at one DPI. A caption gets its role's font if it fits
// the room it has there, measured in the font the system really gives for
// that face on this computer; if not, the same face narrowed, then a smaller
// one, until it fits. Fonts are shared between the captions that use them and
// live as long as this object.
class FittedFonts {
  public:
    explicit FittedFonts(int dpi);
    ~FittedFonts();
    FittedFonts(const FittedFonts&) = delete;
    FittedFonts& operator=(const FittedFonts&) = delete;

    HFONT font(FontRole role);
    // Every line of `text` (CR LF between lines) on one line within `room`;
    // a height of 0 leaves the height free.
    HFONT fitting(FontRole role, std::wstring_view text, SIZE room);

  private:
    HFONT fontFor(const LOGFONTW& wanted);
    bool fits(HFONT font, std::wstring_view text, SIZE room) const;
    int averageWidth(HFONT font) const;

    int m_dpi;
    HDC m_dc;
    std::vector<std::pair<LOGFONTW, HFONT>> m_fonts;
};
