#include "captionfit.h"

namespace {

// How far a caption is squeezed before it is made lower instead, in steps of
// a twentieth, and how low it may get: past these it stops being easy to read.
constexpr int narrowestPercent = 80;
constexpr int narrowingStep = 5;
constexpr int smallestPercent = 70;

} // namespace

std::vector<CaptionFont> captionFonts(int pixels) {
    std::vector<CaptionFont> fonts;
    for (int height = pixels; height == pixels || height * 100 >= pixels * smallestPercent;
         --height) {
        for (int width = 100; width >= narrowestPercent; width -= narrowingStep)
            fonts.push_back({height, width});
    }
    return fonts;
}

bool lineFits(const PaintedLine& line, CaptionRoom room) {
    return line.advance <= room.width && line.ink < room.width &&
           (room.height == anyHeight || line.height <= room.height);
}

bool captionFitted(ControlKind kind) {
    return kind != ControlKind::edit && kind != ControlKind::groupBox;
}
