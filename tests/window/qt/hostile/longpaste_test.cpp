#include "hostilewindowtest.h"

#include "graintable.h"

#include <ostream>

namespace {

// A text as long as a field holds, pasted in turn into every amount field.
struct LongCase {
    const char* name;
    QString (*make)();
    const char* amountAfterAll;
    int messagesAfterAll;
};

void PrintTo(const LongCase& c, std::ostream* os) {
    *os << c.name;
}

QString zeros(qsizetype count) {
    return QString(count, u'0');
}

const LongCase longCases[] = {
    {"ZerosThenOne", [] { return zeros(longestText - 1) + u'1'; }, " 27", 0},
    {"OnePointThenZeros", [] { return QStringLiteral("1.") + zeros(longestText - 2); }, " 27", 0},
    {"ExponentUndoesTheZeros",
     [] { return u'2' + zeros(longestText - 8) + QStringLiteral("e-32759"); }, " 54", 0},
    // Beyond any double: the run stops before it writes even the amount.
    {"AllNines", [] { return QString(longestText, u'9'); }, "0", 0},
    // Below the smallest double: every amount is 0, and each paste says so.
    {"PointZerosThenFive", [] { return u'.' + zeros(longestText - 2) + u'5'; }, " 0", 27},
    {"Blanks", [] { return QString(longestText, u' '); }, " 0", 0},
    {"OneThenLetters", [] { return u'1' + QString(longestText - 1, u'x'); }, " 27", 0},
    {"ArabicIndicDigits", [] { return QString(longestText, QChar(0x0663)); }, " 0", 0},
    {"EmojiThenFive", [] { return QStringLiteral("🌾").repeated(longestText / 2) + u'5'; }, " 0", 0},
    {"NoBreakSpacesAroundOne",
     [] {
         const QString half(longestText / 2, QChar(0x00a0));
         return half + u'1' + half;
     },
     " 0", 0},
    // The field keeps the first 32,767 characters: the 1 at the end is cut off.
    {"LongerThanAFieldHolds", [] { return zeros(longestText + 5000) + u'1'; }, " 0", 27},
};

class QtLongPaste : public HostileWindowTest, public ::testing::WithParamInterface<LongCase> {};

TEST_P(QtLongPaste, IntoEveryAmountFieldInTurn) {
    const LongCase& c = GetParam();
    const QString text = c.make();
    const QString held = text.left(longestText);
    ASSERT_GE(text.size(), longestText);
    for (const GrainRow& row : grainTable) {
        const std::string_view name = fieldName(row.field);
        SCOPED_TRACE(std::string(name));
        ASSERT_EQ(field(name)->maxLength(), longestText);
        enter(name, Entry::pasteOverAll, text, held);
        expectWindowMatchesCore();
        if (HasFailure())
            return; // one field's report is enough; 27 would bury it
    }
    EXPECT_EQ(textOf("amount"), c.amountAfterAll);
    EXPECT_EQ(static_cast<int>(m_dismisser.texts().size()), c.messagesAfterAll);
}

INSTANTIATE_TEST_SUITE_P(Texts, QtLongPaste, ::testing::ValuesIn(longCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
