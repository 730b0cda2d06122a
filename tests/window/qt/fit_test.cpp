#include "qtwindowfixture.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

// Each test here runs under the system's fonts and again under font sets with
// no narrow face (a wide sans-serif alone, fixed-pitch faces alone) and at
// twice the scale: see CMakeLists.txt.
namespace {

// The room a caption has inside its control, and the room it needs.
struct Fit {
    std::string name;
    QRect room;
    QSizeF needed;
};

Fit fitOf(QWidget* widget) {
    Fit fit{widget->objectName().toStdString(), {}, {}};
    const QFontMetricsF metrics(widget->font());
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        fit.room = label->contentsRect();
        // What runs under a field that stands over the label is hidden.
        for (QWidget* other :
             label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!qobject_cast<QLabel*>(other) && other->isVisible() &&
                other->geometry().intersects(label->geometry()) && other->x() > label->x())
                fit.room.setRight(std::min(fit.room.right(), other->x() - label->x() - 1));
        }
        fit.needed = {metrics.horizontalAdvance(label->text()), metrics.height()};
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        fit.room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        fit.needed = {metrics.horizontalAdvance(button->text()), metrics.height()};
    }
    return fit;
}

// Whether a widget, drawn as it is on the screen, leaves the last pixel
// column of a room blank: text that reaches it looks cut off.
bool lastColumnBlank(QWidget* widget, const QRect& room) {
    const QImage image = widget->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const int x = static_cast<int>(std::floor((room.right() + 1) * ratio)) - 1;
    const QRgb paper = image.pixel(x, static_cast<int>(room.top() * ratio));
    for (int y = static_cast<int>(room.top() * ratio); y < (room.bottom() + 1) * ratio; ++y) {
        if (image.pixel(x, y) != paper)
            return false;
    }
    return true;
}

// Every label and button shows its whole text in the fonts chosen.
TEST_F(QtWindowTest, EveryLabelAndButtonTextFitsItsBox) {
    std::vector<QWidget*> widgets;
    for (QLabel* label : window()->findChildren<QLabel*>())
        widgets.push_back(label);
    for (QPushButton* button : window()->findChildren<QPushButton*>())
        widgets.push_back(button);
    ASSERT_EQ(widgets.size(), 35u);
    if (const char* scale = std::getenv("QT_SCALE_FACTOR")) {
        ASSERT_DOUBLE_EQ(window()->devicePixelRatioF(), std::atof(scale));
    }

    Fit narrowest{"", {0, 0, 1000000, 1000000}, {0, 0}};
    Fit lowest = narrowest;
    for (QWidget* widget : widgets) {
        const Fit fit = fitOf(widget);
        EXPECT_LE(fit.needed.width(), fit.room.width()) << fit.name << " is clipped";
        EXPECT_LE(fit.needed.height(), fit.room.height()) << fit.name << " is clipped";
        // A button's edge is its frame's shading, never blank.
        if (qobject_cast<QLabel*>(widget)) {
            EXPECT_TRUE(lastColumnBlank(widget, fit.room)) << fit.name << " reaches its edge";
        }
        const QSizeF spare = fit.room.size() - fit.needed;
        if (spare.width() < (narrowest.room.size() - narrowest.needed).width())
            narrowest = fit;
        if (spare.height() < (lowest.room.size() - lowest.needed).height())
            lowest = fit;
    }
    std::printf("tightest width: %s, %.1f of %d px; tightest height: %s, %.1f of %d px\n",
                narrowest.name.c_str(), narrowest.needed.width(), narrowest.room.width(),
                lowest.name.c_str(), lowest.needed.height(), lowest.room.height());
}

// Every line that carries words is shown whole, on one line, without
// scrolling: neither cut at the right nor pushed below the bottom edge.
TEST_F(QtWindowTest, InstructionLinesWithWordsAreShownWhole) {
    auto* instructions = find<QPlainTextEdit>("Text27");
    const QRect viewport = instructions->viewport()->rect();
    int wordLines = 0;
    for (QTextBlock block = instructions->document()->begin(); block.isValid();
         block = block.next()) {
        if (block.text().trimmed().isEmpty())
            continue;
        ++wordLines;
        EXPECT_EQ(block.lineCount(), 1) << block.text().toStdString();
        // Where the caret would stand after the line's last character.
        QTextCursor end(block);
        end.movePosition(QTextCursor::EndOfBlock);
        const QRect caret = instructions->cursorRect(end);
        EXPECT_TRUE(viewport.contains(caret)) << block.text().toStdString();
        std::printf("line %d ends at x %d, bottom %d; the box is %d x %d px\n",
                    block.blockNumber() + 1, caret.right(), caret.bottom(), viewport.width(),
                    viewport.height());
    }
    EXPECT_EQ(wordLines, 8);
    EXPECT_TRUE(lastColumnBlank(instructions->viewport(), viewport));
}

// A caption no longer fits when the system's fonts change: it is fitted
// again, whether the desktop's font changed or fonts were installed.
TEST_F(QtWindowTest, CaptionsAreFittedAgainWhenTheSystemsFontsChange) {
    auto* label = find<QLabel>("Label32");
    const std::function<void()> changes[] = {
        [this] {
            QEvent change(QEvent::ApplicationFontChange);
            QCoreApplication::sendEvent(window(), &change);
        },
        [] { emit qGuiApp->fontDatabaseChanged(); },
    };
    for (const auto& change : changes) {
        QFont wide = label->font();
        wide.setPointSizeF(wide.pointSizeF() * 2);
        label->setFont(wide);
        const Fit unfit = fitOf(label);
        ASSERT_GT(unfit.needed.width(), unfit.room.width());
        change();
        QCoreApplication::processEvents();
        const Fit fit = fitOf(label);
        EXPECT_LE(fit.needed.width(), fit.room.width());
    }
}

// A fixed-pitch face is drawn only where the system has no other.
TEST_F(QtWindowTest, FontsAreProportionalWhereTheSystemHasSuch) {
    const QFontInfo dialog(find("Label1")->font());
    const QFontInfo bold(find("Label5")->font());
    std::printf("dialog font: %s %.2f pt; bold font: %s %.2f pt\n",
                dialog.family().toStdString().c_str(), dialog.pointSizeF(),
                bold.family().toStdString().c_str(), bold.pointSizeF());
    const QStringList families = QFontDatabase::families();
    // Qt names generic families too, which may stand for a fixed-pitch face.
    const bool proportional = std::any_of(families.begin(), families.end(), [](const QString& f) {
        return !QFontInfo(QFont(f)).fixedPitch();
    });
    EXPECT_EQ(dialog.fixedPitch(), !proportional);
    EXPECT_EQ(bold.fixedPitch(), !proportional);
    EXPECT_TRUE(bold.bold());
    EXPECT_FALSE(dialog.bold());
}

} // namespace
