#include "contrast.h"
#include "qtwindowfixture.h"

#include <QImage>
#include <QPalette>
#include <QPlainTextEdit>

#include <map>

namespace {

Rgb rgbOf(QRgb pixel) {
    return {static_cast<unsigned char>(qRed(pixel)), static_cast<unsigned char>(qGreen(pixel)),
            static_cast<unsigned char>(qBlue(pixel))};
}

// The contrast of a widget's text as painted: its commonest colour inside the
// frame is the background, the pixel that stands out most from it the ink.
double paintedContrast(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    const int edge = 3;
    std::map<QRgb, int> counts;
    for (int y = edge; y < image.height() - edge; ++y)
        for (int x = edge; x < image.width() - edge; ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    double most = 1;
    for (const auto& [pixel, count] : counts)
        most = std::max(most, contrastRatio(rgbOf(pixel), rgbOf(background)));
    return most;
}

QPalette darkPalette() {
    QPalette dark(QColor(0x24, 0x24, 0x24), QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    return dark;
}

// The user's palette may be dark from the start, and may change while the
// program runs: a marked amount and the instructions must be read in each,
// and everything else follows the palette.
TEST(QtColours, MarkAndInstructionsReadInTheUsersPalette) {
    const QPalette light = QApplication::palette();
    QApplication::setPalette(darkPalette());
    QtPlatform platform;
    Form1 form(platform);
    const auto widget = [&](const char* name) {
        return platform.window()->findChild<QWidget*>(QString::fromLatin1(name));
    };
    auto* marked = qobject_cast<QLineEdit*>(widget("Text5"));
    marked->selectAll();
    QTest::keyClicks(marked, "12abc");

    for (const QPalette& palette : {darkPalette(), light}) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents(); // the change arrives as an event
        EXPECT_GE(paintedContrast(marked), readableContrast);
        EXPECT_GE(paintedContrast(qobject_cast<QPlainTextEdit*>(widget("Text27"))->viewport()),
                  readableContrast);
        EXPECT_EQ(widget("Text6")->palette().color(QPalette::Base), palette.color(QPalette::Base));
    }
}

} // namespace
