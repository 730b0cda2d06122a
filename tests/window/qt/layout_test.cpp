#include "qtwindowfixture.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace {

const char* widgetClassFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::groupBox:
        return "QGroupBox";
    case ControlKind::label:
        return "QLabel";
    case ControlKind::edit:
        return "QLineEdit";
    case ControlKind::multiLineEdit:
        return "QPlainTextEdit";
    case ControlKind::button:
        return "QPushButton";
    }
    return "";
}

QString shownText(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* button = qobject_cast<const QPushButton*>(widget))
        return button->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(widget))
        return edit->toPlainText();
    return {};
}

class QtControlLayout : public QtWindowTest, public ::testing::WithParamInterface<std::size_t> {
  protected:
    const ControlRow& row() const { return form1Controls()[GetParam()]; }
};

TEST_P(QtControlLayout, MatchesTheLayoutTable) {
    const ControlRow& c = row();
    QWidget* widget = find(c.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), widgetClassFor(c.kind));

    const std::string_view parentName =
        c.parent == noParent ? std::string_view("Form1") : form1Controls()[c.parent].name;
    EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), parentName);

    // 830 twips is 55.3 pixels: the only size that is not whole is rounded.
    const auto px = [](int twips) { return (twips * 2 + 15) / 30; };
    EXPECT_EQ(widget->geometry(), QRect(px(c.left), px(c.top), px(c.width), px(c.height)));

    if (c.kind == ControlKind::multiLineEdit) {
        EXPECT_EQ(shownText(widget).toStdString() + '\n',
                  QString::fromStdString(std::string(c.text)).replace("\r\n", "\n").toStdString() +
                      '\n');
    } else if (c.kind != ControlKind::groupBox) {
        EXPECT_EQ(shownText(widget).toStdString(), c.text);
    }

    EXPECT_EQ(widget->isVisibleTo(window()), c.visible);
    EXPECT_EQ(widget->isVisible(), c.visible);
    EXPECT_EQ(widget->font().bold(), c.font == FontRole::boldSystem);
    EXPECT_EQ(widget->focusPolicy() == Qt::NoFocus, c.focusOrder == noFocus);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), c.accessibleName);
}

std::vector<std::size_t> everyControl() {
    std::vector<std::size_t> indices(form1ControlCount);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = i;
    return indices;
}

INSTANTIATE_TEST_SUITE_P(EveryControl, QtControlLayout, ::testing::ValuesIn(everyControl()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return std::string(form1Controls()[info.param].name);
                         });

TEST_F(QtWindowTest, WindowHasItsCaptionAndAFixedClientArea) {
    EXPECT_EQ(window()->objectName(), "Form1");
    EXPECT_EQ(window()->windowTitle(), "The Composition of Grains ");
    EXPECT_EQ(window()->size(), QSize(634, 440));
    EXPECT_EQ(window()->minimumSize(), QSize(634, 440));
    EXPECT_EQ(window()->maximumSize(), QSize(634, 440));
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(QtWindowTest, HasExactlyTheDocumentedControls) {
    const auto visibleEdits = [&](bool bold) {
        const auto edits = window()->findChildren<QLineEdit*>();
        return std::count_if(edits.begin(), edits.end(), [&](QLineEdit* e) {
            return !e->isHidden() && e->font().bold() == bold;
        });
    };
    const auto edits = window()->findChildren<QLineEdit*>();
    EXPECT_EQ(visibleEdits(false), 27); // the amounts of the grains
    EXPECT_EQ(visibleEdits(true), 6);   // five results and the total amount
    EXPECT_EQ(std::count_if(edits.begin(), edits.end(), [](QLineEdit* e) { return e->isHidden(); }),
              5);
    EXPECT_EQ(window()->findChildren<QPlainTextEdit*>().size(), 1);
    EXPECT_EQ(window()->findChildren<QPushButton*>().size(), 2);
    EXPECT_EQ(window()->findChildren<QGroupBox*>().size(), 3);
    EXPECT_EQ(window()->findChildren<QLabel*>().size(), 33);
    for (const std::string& name : inputNames())
        EXPECT_NE(field(name), nullptr) << name;
}

TEST_F(QtWindowTest, InstructionsShowEveryLineWithItsBlanks) {
    struct Line {
        int leading;
        const char* text;
        int trailing;
    };
    const Line lines[] = {
        {34, "", 0},
        {28, "To Mix your own feed:", 9},
        {13, "Enter the amounts for each Grain required.", 1},
        {13, "These amounts are only figures they could", 1},
        {24, "be ounces,  pounds, kilos etc.", 0},
        {9, "The resulting amounts will give you an accurate", 1},
        {6, "Composition of the Grains you are feeding your birds.", 0},
        {8, "Any additions you may require please contact me.", 0},
        {0, "", 0},
        {22, "Email: grainmix@example.org", 0},
        {5, "", 0},
        {0, "", 0},
    };
    QStringList expected;
    for (const Line& line : lines)
        expected << QString(line.leading, ' ') + line.text + QString(line.trailing, ' ');

    auto* instructions = find<QPlainTextEdit>("Text27");
    ASSERT_NE(instructions, nullptr);
    EXPECT_EQ(instructions->toPlainText(), expected.join('\n'));
    EXPECT_EQ(instructions->document()->blockCount(), 12);
    EXPECT_EQ(instructions->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(instructions->tabChangesFocus());
    // Through the platform the lines are joined by CR LF, as the window wrote them.
    EXPECT_EQ(m_platform.text(*controlNamed("Text27")), instructionText());
    EXPECT_EQ(
        instructions->palette().color(QPalette::Base),
        QColor(classicDesktopColour.red, classicDesktopColour.green, classicDesktopColour.blue));
    EXPECT_EQ(instructions->palette().color(QPalette::Text), QColor(Qt::white));
}

TEST_F(QtWindowTest, StartsWithZeroInEveryFieldAndTheFocusOnExit) {
    for (QLineEdit* edit : window()->findChildren<QLineEdit*>())
        EXPECT_EQ(edit->text(), "0") << edit->objectName().toStdString();
    EXPECT_EQ(window()->focusWidget(), find("CmdExit"));
    makeActive();
    EXPECT_EQ(QApplication::focusWidget(), find("CmdExit"));
}

} // namespace
