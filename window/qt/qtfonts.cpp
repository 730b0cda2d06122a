#include "qtfonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// Metric-compatible narrow faces from Debian's fonts-liberation, then DejaVu's
// condensed face; a common sans-serif at the same width fits the labels only
// with every letter clipped at the end.
const QStringList narrowFamilies = {"Liberation Sans Narrow", "DejaVu Sans Condensed"};

QFont narrowFont(qreal pointSize) {
    QFont font;
    font.setFamilies(narrowFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setStretch(QFont::Unstretched);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace

QFont dialogFont() {
    return narrowFont(8);
}

QFont boldSystemFont() {
    QFont font = QFontDatabase::hasFamily(QStringLiteral("System"))
                     ? QFont(QStringLiteral("System"))
                     : narrowFont(9.75);
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}
