#include "fittedfonts.h"

#include <cmath>
#include <cstring>

namespace {

struct RoleFont {
    double points;
    int weight;
    const wchar_t* face;
};

// The classic dialog font, in which the layout's widths and the blanks that
// centre the instructions were measured; and the bold "System" face.
RoleFont roleFont(FontRole role) {
    return role == FontRole::boldSystem
               ? RoleFont{boldSystemFontPoints, boldSystemFontWeight, L"System"}
               : RoleFont{dialogFontPoints, FW_NORMAL, L"MS Sans Serif"};
}

// The TrueType drawing of the dialog font, which scales to any width; bitmap
// faces come in a few fixed sizes, so narrowing them does nothing.
constexpr wchar_t scalableFace[] = L"Microsoft Sans Serif";

// How far a caption is squeezed before it is made lower instead, and how low
// it may get: past these it stops being easy to read.
constexpr int narrowestPercent = 80;
constexpr int smallestPercent = 70;

bool sameFont(const LOGFONTW& a, const LOGFONTW& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

FittedFonts::FittedFonts(int dpi) : m_dpi(dpi), m_dc(CreateCompatibleDC(nullptr)) {}

FittedFonts::~FittedFonts() {
    for (const auto& [logFont, font] : m_fonts)
        DeleteObject(font);
    DeleteDC(m_dc);
}

HFONT FittedFonts::font(FontRole role) {
    const RoleFont r = roleFont(role);
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(r.points * m_dpi / 72.0));
    lf.lfWeight = r.weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    wcsncpy(lf.lfFaceName, r.face, LF_FACESIZE - 1);
    return fontFor(lf);
}

HFONT FittedFonts::smaller(FontRole role, HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    if (!(metricsOf(font).tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) &&
        std::wcscmp(lf.lfFaceName, scalableFace) != 0) {
        wcsncpy(lf.lfFaceName, scalableFace, LF_FACESIZE - 1);
        lf.lfWidth = 0;
        return fontFor(lf);
    }

    LOGFONTW natural = lf;
    natural.lfWidth = 0;
    const int naturalWidth = metricsOf(fontFor(natural)).tmAveCharWidth;
    const int narrower = (lf.lfWidth != 0 ? lf.lfWidth : naturalWidth) - 1;
    if (narrower * 100 >= naturalWidth * narrowestPercent) {
        lf.lfWidth = narrower;
        return fontFor(lf);
    }

    LOGFONTW full{};
    GetObjectW(this->font(role), sizeof full, &full);
    const int lower = -lf.lfHeight - 1;
    if (lower * 100 < -full.lfHeight * smallestPercent)
        return nullptr;
    lf.lfHeight = -lower;
    lf.lfWidth = 0;
    return fontFor(lf);
}

HFONT FittedFonts::fontFor(const LOGFONTW& wanted) {
    for (const auto& [logFont, font] : m_fonts) {
        if (sameFont(logFont, wanted))
            return font;
    }
    const HFONT font = CreateFontIndirectW(&wanted);
    m_fonts.emplace_back(wanted, font);
    return font;
}

TEXTMETRICW FittedFonts::metricsOf(HFONT font) const {
    TEXTMETRICW metrics{};
    const HGDIOBJ old = SelectObject(m_dc, font);
    GetTextMetricsW(m_dc, &metrics);
    SelectObject(m_dc, old);
    return metrics;
}
