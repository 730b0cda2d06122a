#include "qtfonts.h"

#include "controlrow.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

// Metric-compatible narrow faces (in Debian 12's fonts-liberation, in
// fonts-liberation-sans-narrow since), then DejaVu's condensed face, then
// common faces of ordinary width, which the caption rule narrows where a
// caption needs it. No stretch is set, since asking for normal width makes Qt
// widen a narrow face back to the size of a common one.
const QStringList sansFamilies = {"Liberation Sans Narrow",
                                  "DejaVu Sans Condensed",
                                  "Liberation Sans",
                                  "DejaVu Sans",
                                  "Arial",
                                  "Helvetica"};

QFont sansFont(qreal pointSize) {
    QFont font;
    font.setFamilies(sansFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

// The face the font database resolved a font to, named: narrowing and
// lowering a caption then work on that face, where a fallback found anew
// for each size and width might ignore them.
QFont named(const QFont& font) {
    const QString family = QFontInfo(font).family();
    if (font.families().contains(family))
        return font;
    QFont face = font;
    face.setFamilies({family});
    return face;
}

// fontconfig answers a family it lacks with the nearest face it has, and that
// may be fixed-pitch: where Liberation 2 is the only Liberation installed,
// Liberation Mono stands in for Liberation Sans Narrow. A fixed-pitch face
// is kept only where the system has no other.
QFont proportional(const QFont& font) {
    if (!QFontInfo(font).fixedPitch())
        return named(font);
    QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    general.setPointSizeF(font.pointSizeF());
    general.setWeight(font.weight());
    if (!QFontInfo(general).fixedPitch())
        return named(general);
    const QStringList families = QFontDatabase::families(QFontDatabase::Latin);
    // A sans-serif face by its name first, then any proportional one.
    for (const bool sansOnly : {true, false}) {
        for (const QString& family : families) {
            if (QFontDatabase::isFixedPitch(family) ||
                (sansOnly && !family.contains(QStringLiteral("Sans"))))
                continue;
            QFont candidate = font;
            candidate.setFamilies({family});
            if (!QFontInfo(candidate).fixedPitch())
                return named(candidate);
        }
    }
    return named(font);
}

qreal advanceOf(const QFont& font, const QString& text) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

PaintedLine paintedLine(const QFont& font, const QString& line, qreal ratio) {
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(line);
    PaintedLine painted{static_cast<int>(std::ceil(advance * ratio)), 0,
                        static_cast<int>(std::ceil(metrics.height() * ratio))};
    // Room for ink beyond the advances: a line's height on either side, more
    // than any glyph overhangs; whole pixels, as a widget starts its text.
    const qreal margin = std::ceil(metrics.height());
    QImage image(static_cast<int>(std::ceil((advance + 2 * margin) * ratio)),
                 std::max(painted.height, 1), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(margin, metrics.ascent()), line);
    }
    painted.ink =
        inkReach(image.width(), image.height(), static_cast<int>(std::lround(margin * ratio)),
                 [&](int x, int y) {
                     return qAlpha(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]) != 0;
                 });
    return painted;
}

} // namespace

QFont dialogFont() {
    return proportional(sansFont(dialogFontPoints));
}

QFont boldSystemFont() {
    QFont font = QFontDatabase::hasFamily(QStringLiteral("System"))
                     ? QFont(QStringLiteral("System"))
                     : sansFont(boldSystemFontPoints);
    font.setPointSizeF(boldSystemFontPoints);
    font.setWeight(QFont::Weight(boldSystemFontWeight));
    return proportional(font);
}

QFont fittedFont(const QFont& role, const QStringList& lines, CaptionRoom room,
                 qreal devicePixelRatio) {
    const int pixels =
        std::max(1, static_cast<int>(std::lround(QFontInfo(role).pixelSize() * devicePixelRatio)));
    // Qt stretches a face relative to its own width: a narrow face asked for
    // at 90 is drawn at 90/75 of its width. Narrowing starts from the face's.
    const QString sample = QStringLiteral("Sunflower Seeds");
    QFont plain = role;
    plain.setStretch(QFont::Unstretched);
    const qreal faceStretch = 100 * advanceOf(role, sample) / advanceOf(plain, sample);

    const auto fontOf = [&](CaptionFont step) {
        QFont font = role;
        if (step.pixels != pixels)
            font.setPointSizeF(role.pointSizeF() * step.pixels / pixels);
        if (step.widthPercent != 100)
            font.setStretch(static_cast<int>(std::lround(faceStretch * step.widthPercent / 100)));
        return font;
    };
    return fontOf(fitCaption(pixels, [&](CaptionFont step) {
        const QFont font = fontOf(step);
        for (const QString& line : lines) {
            if (!lineFits(paintedLine(font, line, devicePixelRatio), room))
                return false;
        }
        return true;
    }));
}
