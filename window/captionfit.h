#pragma once

#include "controlrow.h"

#include <vector>

// How every backend keeps a caption whole. The layout's widths were measured
// in the classic dialog font; a desktop whose face is wider, or that has no
// face of that shape at all, draws some captions wider than their controls.
// Rather than cut one, the caption is drawn in the first of a short list of
// fonts that it fits in: its role's own font, then the same face narrowed,
// then a pixel lower at a time (each height narrowed in turn), down to the
// smallest that is still easy to read. Each toolkit makes the fonts and
// measures the painted text with its own means; what fits is decided here.

// One font to try, relative to its role's own: its height in device pixels,
// and how wide its letters are drawn, in per cent of the face's own width.
struct CaptionFont {
    int pixels = 0;
    int widthPercent = 100;
    bool operator==(const CaptionFont&) const = default;
};

// The fonts to try, in order, for a role whose own font is `pixels` high.
std::vector<CaptionFont> captionFonts(int pixels);

// One line of a caption painted in a font, in device pixels: the width the
// toolkit lays it out in, and how far its ink reaches from where the line
// starts to its last inked column, inclusive. A glyph may reach past its
// advance, so the layout alone does not tell.
struct PaintedLine {
    int advance = 0;
    int ink = 0;
    int height = 0;
};

// Whether a control of this kind has a caption to keep whole: what is typed
// in a field scrolls sideways, and the window's group boxes frame their
// controls without a caption (their names are for screen readers alone).
bool captionFitted(ControlKind kind);

// How far a line's ink reaches in an image of it, `width` pixels wide and
// `height` high, from column `start`, where the line starts, to its last
// column in which `inked(x, y)` says any pixel has ink, inclusive: 0 for a
// line with no ink.
template <typename Inked> int inkReach(int width, int height, int start, Inked&& inked) {
    int reach = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = width - 1; x >= start + reach; --x) {
            if (inked(x, y)) {
                reach = x - start + 1;
                break;
            }
        }
    }
    return reach;
}

// The room a control gives its text, in device pixels. A height of
// `anyHeight` lets the lines run below, where they scroll.
struct CaptionRoom {
    int width = 0;
    int height = 0;
};
inline constexpr int anyHeight = 0;

// Whether a line fits its room with the room's last pixel column left blank:
// ink that reaches it looks cut off.
bool lineFits(const PaintedLine& line, CaptionRoom room);

// The first of the fonts to try in which `fits` says the caption fits, or the
// smallest of them when it fits in none.
template <typename Fits> CaptionFont fitCaption(int pixels, Fits&& fits) {
    const std::vector<CaptionFont> fonts = captionFonts(pixels);
    for (const CaptionFont& font : fonts) {
        if (fits(font))
            return font;
    }
    return fonts.back();
}
