#pragma once

#include "captionfit.h"

#include <windows.h>

#include <string_view>

// How much room one line of text takes when it is painted in a font: the
// width DrawText lays it out in, and how far its ink reaches, found by
// painting it. The font's metrics alone do not say the second: a glyph may
// reach past its advance, and under Wine glyphs are painted wider than the
// advances the font reports.
using PaintedText = PaintedLine;

PaintedText paintedText(HFONT font, std::wstring_view line);
