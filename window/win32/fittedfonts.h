#pragma once

#include "captionfit.h"
#include "controlrow.h"

#include <windows.h>

#include <utility>
#include <vector>

// The window's fonts at one DPI: each role's own, and for a caption that is
// too wide for its control in it, the smaller ones the caption rule gives to
// try instead. Fonts are shared between the controls that use them and live
// as long as this object.
class FittedFonts {
  public:
    explicit FittedFonts(int dpi);
    ~FittedFonts();
    FittedFonts(const FittedFonts&) = delete;
    FittedFonts& operator=(const FittedFonts&) = delete;

    // The height of a role's own font, in pixels, and a font to try for it.
    int pixels(FontRole role) const;
    HFONT font(FontRole role, CaptionFont step);

  private:
    struct Made {
        FontRole role;
        CaptionFont step;
        HFONT font;
    };

    LOGFONTW ownFont(FontRole role) const;
    HFONT fontFor(const LOGFONTW& wanted);
    TEXTMETRICW metricsOf(HFONT font) const;

    int m_dpi;
    HDC m_dc;
    std::vector<std::pair<LOGFONTW, HFONT>> m_fonts;
    std::vector<Made> m_made;
};
