#include "qtfonts.h"

#include "controlrow.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// Metric-compatible narrow faces from Debian's fonts-liberation, then DejaVu's
// condensed face: a common sans-serif at the dialog's size clips the longest
// grain names and "Carbohydrate". No stretch is set, since asking for normal
// width makes Qt widen a narrow face back to the size of a common one.
const QStringList narrowFamilies = {"Liberation Sans Narrow", "DejaVu Sans Condensed"};

QFont narrowFont(qreal pointSize) {
    QFont font;
    font.setFamilies(narrowFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace

QFont dialogFont() {
    return narrowFont(dialogFontPoints);
}

QFont boldSystemFont() {
    QFont font = QFontDatabase::hasFamily(QStringLiteral("System"))
                     ? QFont(QStringLiteral("System"))
                     : narrowFont(boldSystemFontPoints);
    font.setPointSizeF(boldSystemFontPoints);
    font.setWeight(QFont::Weight(boldSystemFontWeight));
    return font;
}
