#include "qtwindowfixture.h"

#include <QPushButton>
#include <QTimer>

namespace {

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
