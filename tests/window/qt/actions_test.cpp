#include "qtwindowfixture.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <clocale>
#include <cstdlib>
#include <map>
#include <ostream>

namespace {

// One typing case: fields typed into in turn (each "0" selected and replaced),
// then what the window shows.
struct TypingCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> typed;
    const char* amount;
    Texts totals;
    Texts results;
    int messages = 0; // a number typed as "0." passes through an all-zero mix
};

void PrintTo(const TypingCase& c, std::ostream* os) {
    *os << c.name;
}

class QtTyping : public QtWindowTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(QtTyping, ShowsTheMixOfWhatWasTyped) {
    MessageWatcher watcher([this](std::string_view name) { return textOf(name); });
    for (const auto& [name, keys] : GetParam().typed)
        selectAndType(name, keys);
    EXPECT_EQ(textOf("amount"), GetParam().amount);
    for (std::size_t n = 0; n < 5; ++n) {
        EXPECT_EQ(textOf(totalNames[n]), GetParam().totals[n]) << totalNames[n];
        EXPECT_EQ(textOf(resultNames[n]), GetParam().results[n]) << resultNames[n];
    }
    EXPECT_EQ(static_cast<int>(watcher.seen().size()), GetParam().messages);
}

const TypingCase typingCases[] = {
    {"BarleyTen",
     {{"Text1", "10"}},
     " 10",
     {"127", "666", "106", "54", "19"},
     {"12.7", "66.6", "10.6", "5.4", "1.9"}},
    {"BarleyAndMaize",
     {{"Text1", "1"}, {"Text2", "2"}},
     " 3",
     {"30.5", "204.4", "40.6", "9.4", "9.7"},
     {"10.1666666666667", "68.1333333333333", "13.5333333333333", "3.13333333333333",
      "3.23333333333333"}},
    {"FractionsWithAPoint",
     {{"Text1", "0.1"}, {"Text2", "0.2"}},
     " .3",
     {"3.05", "20.44", "4.06", "0.94", "0.97"},
     {"10.1666666666667", "68.1333333333333", "13.5333333333333", "3.13333333333333",
      "3.23333333333333"},
     1},
    {"PeanutsAndSoyBeans",
     {{"Text17", "3"}, {"Text21", "1"}},
     " 4",
     {"123.8", "69.4", "26.5", "12.5", "160.3"},
     {"30.95", "17.35", "6.625", "3.125", "40.075"}},
    {"SafflowerInTheLastRow",
     {{"Text28", "2"}},
     " 2",
     {"31.2", "32", "11.6", "62", "63.2"},
     {"15.6", "16", "5.8", "31", "31.6"}},
};

INSTANTIATE_TEST_SUITE_P(Mixes, QtTyping, ::testing::ValuesIn(typingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Under a decimal-comma locale (a CTest run sets LANG and LC_ALL), the
// application adopts it at start-up; the figures must not follow it.
TEST(QtLocale, RunsUnderTheLocaleItWasStartedWith) {
    const char* all = std::getenv("LC_ALL");
    if (all && std::string_view(all).starts_with("de_DE"))
        EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    else
        EXPECT_STREQ(std::localeconv()->decimal_point, ".");
}

TEST_F(QtWindowTest, TypingTenIntoBarleyChangesItsTextTwice) {
    Texts seen;
    QObject::connect(field("Text1"), &QLineEdit::textChanged,
                     [&](const QString& text) { seen.push_back(text.toStdString()); });
    selectAndType("Text1", "10");
    EXPECT_EQ(seen, (Texts{"1", "10"}));
    EXPECT_EQ(textOf("amount"), " 10");
}

// Typing "0" over the selected "0" leaves the text as it was: no change, so
// no recalculation and no message about an all-zero mix.
TEST_F(QtWindowTest, TypingZeroOverTheZeroIsNoChange) {
    MessageWatcher watcher([this](std::string_view name) { return textOf(name); });
    selectAndType("Text1", "0");
    EXPECT_EQ(textOf("Text1"), "0");
    EXPECT_EQ(textOf("amount"), "0"); // a recalculation would have written " 0"
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(QtWindowTest, TypingOneAfterTheZeroCountsAsOne) {
    QLineEdit* barley = field("Text1");
    barley->setFocus();
    QTest::keyClick(barley, Qt::Key_End);
    QTest::keyClick(barley, Qt::Key_1);
    EXPECT_EQ(textOf("Text1"), "01");
    EXPECT_EQ(textOf("amount"), " 1");
    EXPECT_EQ(textOf("protein"), "12.7");
    EXPECT_EQ(textOf("Fat"), "1.9");
}

// Fields without a handler: typing there recalculates nothing.
class QtTypingWithoutHandler : public QtWindowTest,
                               public ::testing::WithParamInterface<const char*> {};

TEST_P(QtTypingWithoutHandler, StartsNothing) {
    const std::string typedInto = GetParam();
    QWidget* widget = find(typedInto);
    ASSERT_NE(widget, nullptr);
    widget->setFocus();
    QTest::keyClicks(widget, "5");
    for (QLineEdit* edit : window()->findChildren<QLineEdit*>()) {
        if (edit->objectName().toStdString() == typedInto)
            EXPECT_EQ(edit->text(), "05");
        else
            EXPECT_EQ(edit->text(), "0") << edit->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, QtTypingWithoutHandler,
                         ::testing::Values("amount", "protein", "carbo", "water", "Fibre", "Fat",
                                           "Text27"));

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
