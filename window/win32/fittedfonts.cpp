#include "fittedfonts.h"

#include <algorithm>
#include <cstring>

namespace {

struct RoleFont {
    int hundredthsOfAPoint;
    int weight;
    const wchar_t* face;
};

// The classic dialog font, 8 points, in which the layout's widths and the
// blanks that centre the instructions were measured; and the bold "System"
// face at 9.75 points.
RoleFont roleFont(FontRole role) {
    return role == FontRole::boldSystem ? RoleFont{975, FW_BOLD, L"System"}
                                        : RoleFont{800, FW_NORMAL, L"MS Sans Serif"};
}

// The TrueType drawing of the dialog font, which scales to any width; bitmap
// faces come in a few fixed sizes, so narrowing them does nothing.
constexpr wchar_t scalableFace[] = L"Microsoft Sans Serif";

// How far a caption is squeezed before it is made smaller instead, and how
// small it may get: past these it stops being easy to read.
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
    // Hundredths of a point, so that nothing is rounded before the pixels.
    lf.lfHeight = -MulDiv(r.hundredthsOfAPoint, m_dpi, 7200);
    lf.lfWeight = r.weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    wcsncpy(lf.lfFaceName, r.face, LF_FACESIZE - 1);
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

HFONT FittedFonts::fitting(FontRole role, std::wstring_view text, SIZE room) {
    HFONT font = this->font(role);
    if (fits(font, text, room))
        return font;

    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    TEXTMETRICW metrics{};
    const HGDIOBJ old = SelectObject(m_dc, font);
    GetTextMetricsW(m_dc, &metrics);
    SelectObject(m_dc, old);
    if (!(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)))
        wcsncpy(lf.lfFaceName, scalableFace, LF_FACESIZE - 1);

    const int fullHeight = -lf.lfHeight;
    for (int height = fullHeight; height * 100 >= fullHeight * smallestPercent; --height) {
        lf.lfHeight = -height;
        lf.lfWidth = 0;
        font = fontFor(lf);
        const int fullWidth = averageWidth(font);
        for (int width = fullWidth; width * 100 >= fullWidth * narrowestPercent; --width) {
            lf.lfWidth = width == fullWidth ? 0 : width;
            font = fontFor(lf);
            if (fits(font, text, room))
                return font;
        }
    }
    return font; // as small as it may get: clipped rather than unreadable
}

bool FittedFonts::fits(HFONT font, std::wstring_view text, SIZE room) const {
    const HGDIOBJ old = SelectObject(m_dc, font);
    bool fit = true;
    for (std::size_t start = 0; fit && start <= text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        const std::wstring_view line = text.substr(start, end - start);
        RECT r{};
        DrawTextW(m_dc, line.data(), static_cast<int>(line.size()), &r,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        fit = r.right <= room.cx && (room.cy == 0 || r.bottom <= room.cy);
        start = end + 2;
    }
    SelectObject(m_dc, old);
    return fit;
}

int FittedFonts::averageWidth(HFONT font) const {
    TEXTMETRICW metrics{};
    const HGDIOBJ old = SelectObject(m_dc, font);
    GetTextMetricsW(m_dc, &metrics);
    SelectObject(m_dc, old);
    return metrics.tmAveCharWidth;
}
