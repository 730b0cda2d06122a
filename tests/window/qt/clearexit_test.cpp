#include "qtwindowfixture.h"

#include <QPushButton>
#include <QTimer>
#include <ostream>

namespace {

struct ClearCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> typed;
    int messages;
    const char* proteinDuringMessage; // the figures of the run before the last zero
};

void PrintTo(const ClearCase& c, std::ostream* os) {
    *os << c.name;
}

class QtClear : public QtWindowTest, public ::testing::WithParamInterface<ClearCase> {};

TEST_P(QtClear, ZeroesEverythingShowingEachMessageOnce) {
    const ClearCase& c = GetParam();
    for (const auto& [name, keys] : c.typed)
        selectAndType(name, keys);

    MessageWatcher watcher([this](std::string_view name) { return textOf(name); });
    QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);

    ASSERT_EQ(static_cast<int>(watcher.seen().size()), c.messages);
    if (c.messages == 1) {
        const SeenMessage& m = watcher.seen().front();
        EXPECT_EQ(m.text, "You need to enter some amounts");
        EXPECT_EQ(m.title, "Grain Mix");
        EXPECT_EQ(m.buttons, 1);
        EXPECT_TRUE(m.okButton);
        EXPECT_EQ(m.icon, QMessageBox::NoIcon);
        EXPECT_TRUE(m.windowModal);
        // The last amount has just been zeroed: every input shows "0", but the
        // results and the total are not yet reset.
        EXPECT_EQ(m.zeroInputs, inputNames());
        EXPECT_EQ(m.amount, " 0");
        EXPECT_EQ(m.protein, c.proteinDuringMessage);
    }
    for (const std::string& name : inputNames())
        EXPECT_EQ(textOf(name), "0") << name;
    for (std::string_view name : resultNames)
        EXPECT_EQ(textOf(name), "0") << name;
    EXPECT_EQ(textOf("amount"), "0");
}

const ClearCase clearCases[] = {
    {"AllZero", {}, 0, ""},
    {"BarleyOnly", {{"Text1", "10"}}, 1, "12.7"},
    // Barley is zeroed first; the run that follows still has Maize's figures.
    {"BarleyAndMaize", {{"Text1", "10"}, {"Text2", "5"}}, 1, "8.9"},
    {"SafflowerLast", {{"Text4", "1"}, {"Text28", "3"}}, 1, "15.6"},
    // Maize's "0.0" is zero already: zeroing Barley fails, and so does the
    // write of Maize's "0"; each message is dismissed in turn.
    {"TwoMessages", {{"Text1", "5"}, {"Text2", "0.0"}}, 2, ""},
};

INSTANTIATE_TEST_SUITE_P(Mixes, QtClear, ::testing::ValuesIn(clearCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Exit and closing the window both end the event loop, with status 0.
class QtEnding : public QtWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(QtEnding, EndsTheEventLoopWithStatusZero) {
    const bool closeTheWindow = GetParam();
    selectAndType("Text1", "7");
    QTimer::singleShot(0, [&] {
        if (closeTheWindow)
            window()->close();
        else
            QTest::mouseClick(find<QPushButton>("CmdExit"), Qt::LeftButton);
    });
    EXPECT_EQ(m_platform.run(), 0);
    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(textOf("Text1"), "7"); // ended with no further recalculation or clearing
}

INSTANTIATE_TEST_SUITE_P(ExitAndClose, QtEnding, ::testing::Values(false, true),
                         [](const auto& info) {
                             return std::string(info.param ? "CloseWindow" : "ExitButton");
                         });

const char* const focusOrder[] = {
    "CmdExit", "Command1", "Fat",    "Fibre",  "water",  "carbo",  "protein", "Text26", "Text25",
    "Text24",  "Text23",   "Text22", "Text21", "Text20", "Text19", "Text18",  "Text17", "Text16",
    "Text15",  "Text14",   "Text13", "Text12", "Text11", "Text10", "Text9",   "Text8",  "Text7",
    "Text6",   "Text5",    "Text4",  "Text3",  "Text2",  "Text1",  "Text27",  "Text28", "amount",
};

std::string focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : std::string("(none)");
}

TEST_F(QtWindowTest, TabWalksTheWholeFocusOrderAndWraps) {
    makeActive();
    ASSERT_EQ(focusName(), "CmdExit");
    Texts walked{focusName()};
    for (std::size_t i = 0; i < std::size(focusOrder); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked.push_back(focusName());
    }
    Texts expected(std::begin(focusOrder), std::end(focusOrder));
    expected.push_back("CmdExit");
    EXPECT_EQ(walked, expected);
}

TEST_F(QtWindowTest, ShiftTabWalksTheFocusOrderBackwards) {
    makeActive();
    ASSERT_EQ(focusName(), "CmdExit");
    Texts walked{focusName()};
    for (std::size_t i = 0; i < std::size(focusOrder); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        walked.push_back(focusName());
    }
    Texts expected{"CmdExit"};
    for (auto it = std::rbegin(focusOrder); it != std::rend(focusOrder); ++it)
        expected.push_back(*it);
    EXPECT_EQ(walked, expected);
}

} // namespace
