#include "fittedfonts.h"

#include <algorithm>
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

int FittedFonts::pixels(FontRole role) const {
    return static_cast<int>(-ownFont(role).lfHeight);
}

LOGFONTW FittedFonts::ownFont(FontRole role) const {
    const RoleFont r = roleFont(role);
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(r.points * m_dpi / 72.0));
    lf.lfWeight = r.weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    wcsncpy(lf.lfFaceName, r.face, LF_FACESIZE - 1);
    return lf;
}

HFONT FittedFonts::font(FontRole role, CaptionFont step) {
    for (const Made& m : m_made) {
        if (m.role == role && m.step == step)
            return m.font;
    }
    LOGFONTW lf = ownFont(role);
    if (step != CaptionFont{static_cast<int>(-lf.lfHeight), 100}) {
        if (!(metricsOf(fontFor(lf)).tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)))
            wcsncpy(lf.lfFaceName, scalableFace, LF_FACESIZE - 1);
        lf.lfHeight = -step.pixels;
        const int natural = metricsOf(fontFor(lf)).tmAveCharWidth;
        const int width = std::max(1, (natural * step.widthPercent + 50) / 100);
        if (width != natural)
            lf.lfWidth = width;
    }
    const HFONT font = fontFor(lf);
    m_made.push_back({role, step, font});
    return font;
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
