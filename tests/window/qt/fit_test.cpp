#include "qtwindowfixture.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

namespace {

// The room a text has inside its control, and the room it needs.
struct Fit {
    std::string name;
    QSizeF room;
    QSizeF needed;
};

Fit fitOf(QWidget* widget) {
    Fit fit{widget->objectName().toStdString(), {}, {}};
    const QFontMetricsF metrics(widget->font());
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        fit.room = label->contentsRect().size();
        fit.needed = {metrics.horizontalAdvance(label->text()), metrics.height()};
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        fit.room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
        fit.needed = {metrics.horizontalAdvance(button->text()), metrics.height()};
    }
    return fit;
}

// Every label and button shows its whole text in the fonts chosen, at any
// scale factor Qt is started with (a CTest run repeats this at 2).
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

    Fit narrowest{"", {1e9, 1e9}, {0, 0}};
    Fit lowest = narrowest;
    for (QWidget* widget : widgets) {
        const Fit fit = fitOf(widget);
        EXPECT_LE(fit.needed.width(), fit.room.width()) << fit.name << " is clipped";
        EXPECT_LE(fit.needed.height(), fit.room.height()) << fit.name << " is clipped";
        const QSizeF spare = fit.room - fit.needed;
        if (spare.width() < (narrowest.room - narrowest.needed).width())
            narrowest = fit;
        if (spare.height() < (lowest.room - lowest.needed).height())
            lowest = fit;
    }
    std::printf("tightest width: %s, %.1f of %.0f px; tightest height: %s, %.1f of %.0f px\n",
                narrowest.name.c_str(), narrowest.needed.width(), narrowest.room.width(),
                lowest.name.c_str(), lowest.needed.height(), lowest.room.height());
}

// Every line that carries words is shown whole, without scrolling: neither
// cut at the right nor pushed below the bottom edge.
TEST_F(QtWindowTest, InstructionLinesWithWordsAreShownWhole) {
    auto* instructions = find<QPlainTextEdit>("Text27");
    const QRect viewport = instructions->viewport()->rect();
    int wordLines = 0;
    for (QTextBlock block = instructions->document()->begin(); block.isValid();
         block = block.next()) {
        if (block.text().trimmed().isEmpty())
            continue;
        ++wordLines;
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
}

TEST_F(QtWindowTest, FontsAreTheNarrowFacesThatFit) {
    const QFontInfo dialog(find("Label1")->font());
    const QFontInfo bold(find("Label5")->font());
    std::printf("dialog font: %s %.2f pt; bold font: %s %.2f pt\n",
                dialog.family().toStdString().c_str(), dialog.pointSizeF(),
                bold.family().toStdString().c_str(), bold.pointSizeF());
    EXPECT_DOUBLE_EQ(find("Label5")->font().pointSizeF(), 9.75);
    EXPECT_TRUE(bold.bold());
    EXPECT_FALSE(dialog.bold());
}

} // namespace
