#include "qtwindowfixture.h"

#include "fieldsascomputed.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <clocale>
#include <cstdlib>
#include <ostream>

namespace {

// The one case driven by Qt's own keys and mouse: each key is reported as it
// is typed, the figures come back as the core computes them, and Clear's
// message is a Qt message box that holds Clear until it is dismissed. What
// the window decides is Form1's test; a decimal-comma desktop reruns this
// suite, where " 1.5" must not read as 1 nor come back as " 1,5".
class QtKeys : public QtWindowTest {};

TEST_F(QtKeys, ReachTheWindowAndItsFiguresAndMessageComeBack) {
    Texts seen;
    QObject::connect(field("Text1"), &QLineEdit::textChanged,
                     [&](const QString& text) { seen.push_back(text.toStdString()); });
    selectAndType("Text1", "1.5");
    EXPECT_EQ(seen, (Texts{"1", "1.", "1.5"}));
    expectFieldsAsComputed([this](std::string_view name) { return textOf(name); }, FieldId::Text1,
                           "1.5");
    EXPECT_EQ(textOf("amount"), " 1.5");

    MessageWatcher watcher([this](std::string_view name) { return textOf(name); });
    QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
    ASSERT_EQ(watcher.seen().size(), 1u);
    const SeenMessage& m = watcher.seen().front();
    EXPECT_EQ(m.text, noAmountsMessage);
    EXPECT_EQ(m.title, form1Window.applicationTitle);
    EXPECT_EQ(m.buttons, 1);
    EXPECT_TRUE(m.okButton);
    EXPECT_EQ(m.icon, QMessageBox::NoIcon);
    EXPECT_TRUE(m.windowModal);
    EXPECT_EQ(m.amount, " 0") << "a box that did not wait would let Clear write amount's \"0\"";
    for (const ControlRow& c : form1Controls()) {
        if (c.kind == ControlKind::edit && c.visible) {
            EXPECT_EQ(textOf(c.name), c.text) << c.name;
        }
    }
}

// Under a decimal-comma locale (a CTest run sets LANG and LC_ALL), the
// application adopts it at start-up; the figures must not follow it.
TEST(QtLocale, RunsUnderTheLocaleItWasStartedWith) {
    const char* all = std::getenv("LC_ALL");
    if (all && std::string_view(all).starts_with("de_DE"))
        EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    else
        EXPECT_STREQ(std::localeconv()->decimal_point, ".");
}

// A text the sums cannot use marks its field until it is mended; the mark
// never alters what the user typed.
struct NoteCase {
    const char* name;
    const char* bad;    // keys typed over the selected "0"
    int mendBackspaces; // then this many Backspaces
    const char* mend;   // and these keys
    const char* mended;
};

void PrintTo(const NoteCase& c, std::ostream* os) {
    *os << c.name;
}

class QtNotes : public QtWindowTest, public ::testing::WithParamInterface<NoteCase> {};

TEST_P(QtNotes, MarkTheFieldUntilItIsMended) {
    const NoteCase& c = GetParam();
    QLineEdit* edit = field("Text5");
    const QColor plain = edit->palette().color(QPalette::Base);
    Texts seen;
    QObject::connect(edit, &QLineEdit::textChanged,
                     [&](const QString& text) { seen.push_back(text.toStdString()); });

    selectAndType("Text5", c.bad);
    if (std::string_view(c.bad).empty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    const std::string badText = edit->text().toStdString();
    EXPECT_FALSE(edit->toolTip().isEmpty());
    EXPECT_NE(edit->palette().color(QPalette::Base), plain);

    for (int i = 0; i < c.mendBackspaces; ++i)
        QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, c.mend);
    EXPECT_EQ(textOf("Text5"), c.mended);
    EXPECT_TRUE(edit->toolTip().isEmpty());
    EXPECT_EQ(edit->palette().color(QPalette::Base), plain);

    // Every text seen came from a key, none from the mark.
    EXPECT_EQ(seen.back(), c.mended);
    EXPECT_NE(std::find(seen.begin(), seen.end(), badText), seen.end());
}

const NoteCase noteCases[] = {
    {"TrailingLetters", "12abc", 3, "", "12"},
    {"Emptied", "", 0, "5", "5"},
    {"LoneMinus", "-", 0, "3", "-3"},
    {"LonePoint", ".", 0, "5", ".5"},
};

INSTANTIATE_TEST_SUITE_P(Texts, QtNotes, ::testing::ValuesIn(noteCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
