#pragma once

#include <windows.h>

#include <string_view>

// How much room one line of text takes when it is painted in a font: the
// width DrawText lays it out in, and how far its ink reaches, found by
// painting it. The font's metrics alone do not say the second: a glyph may
// reach past its advance, and under Wine glyphs are painted wider than the
// advances the font reports.
struct PaintedText {
    int advance = 0; // what DrawText lays out
    int ink = 0;     // from where the line starts to its last inked column, inclusive
    int height = 0;
};

PaintedText paintedText(HFONT font, std::wstring_view line);
