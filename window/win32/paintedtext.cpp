#include "paintedtext.h"

namespace {

constexpr UINT lineFormat = DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT | DT_TOP;
constexpr DWORD paper = 0x00ffffff;

} // namespace

PaintedText paintedText(HFONT font, std::wstring_view line) {
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    RECT laid{};
    DrawTextW(dc, line.data(), static_cast<int>(line.size()), &laid, DT_CALCRECT | lineFormat);
    PaintedText painted{laid.right, laid.right, laid.bottom};

    // Room for ink beyond the advances: before the line a line's height,
    // more than any glyph overhangs; after it as much again as the line,
    // more than any font is painted wider than it says.
    const int margin = painted.height;
    const int width = 2 * painted.advance + 2 * margin;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -painted.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && width > 0 && painted.height > 0) {
        const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, width, painted.height, WHITENESS);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        RECT at{margin, 0, margin + painted.advance, painted.height};
        DrawTextW(dc, line.data(), static_cast<int>(line.size()), &at, lineFormat | DT_NOCLIP);
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        painted.ink = inkReach(width, painted.height, margin, [&](int x, int y) {
            return (pixels[y * width + x] & paper) != paper;
        });
        SelectObject(dc, oldBitmap);
    }
    if (bitmap)
        DeleteObject(bitmap);
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    return painted;
}
