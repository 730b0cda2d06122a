#include "hostilewindowtest.h"

#include "recalculate.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

#include <optional>

namespace {

std::optional<FieldId> fieldNamed(std::string_view name) {
    for (std::size_t i = 0; i < fieldCount; ++i)
        if (fieldName(static_cast<FieldId>(i)) == name)
            return static_cast<FieldId>(i);
    return std::nullopt;
}

bool isAmountField(FieldId id) {
    return index(id) < index(FieldId::amount);
}

qsizetype codePoints(const QString& text) {
    return static_cast<qsizetype>(text.toUcs4().size());
}

// One key per code point: a character outside the basic plane arrives as one
// key event carrying both halves, as an input method delivers it.
void typeKeys(QWidget* widget, const QString& text) {
    for (char32_t c : text.toUcs4()) {
        if (c >= 0x20 && c < 0x7f)
            QTest::keyClick(widget, static_cast<char>(c));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                                Qt::NoModifier);
    }
}

void moveToEnd(QWidget* widget) {
    if (qobject_cast<QPlainTextEdit*>(widget))
        QTest::keyClick(widget, Qt::Key_End, Qt::ControlModifier);
    else
        QTest::keyClick(widget, Qt::Key_End);
}

} // namespace

QString HostileWindowTest::shownText(std::string_view name) const {
    QWidget* widget = find(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        return edit->toPlainText();
    ADD_FAILURE() << std::string(name) << " is not a field";
    return {};
}

void HostileWindowTest::enter(std::string_view name, Entry how, const QString& text,
                              const QString& expected) {
    QWidget* widget = find(name);
    ASSERT_NE(widget, nullptr) << std::string(name);
    const QString before = shownText(name);

    std::vector<QString> changes;
    auto record = [&] { changes.push_back(shownText(name)); };
    QMetaObject::Connection connection;
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        connection = QObject::connect(edit, &QLineEdit::textChanged, record);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        connection = QObject::connect(edit, &QPlainTextEdit::textChanged, record);

    widget->setFocus();
    qsizetype expectedChanges = expected == before ? 0 : 1;
    switch (how) {
    case Entry::pasteOverAll:
    case Entry::pasteAtEnd:
        QGuiApplication::clipboard()->setText(text);
        ASSERT_EQ(QGuiApplication::clipboard()->text(), text) << "the clipboard lost the text";
        if (how == Entry::pasteOverAll)
            QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        else
            moveToEnd(widget);
        QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
        break;
    case Entry::typeOverAll:
    case Entry::typeAtEnd:
        if (how == Entry::typeOverAll)
            QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        else
            moveToEnd(widget);
        typeKeys(widget, text);
        if (expectedChanges != 0)
            expectedChanges = codePoints(text);
        break;
    case Entry::setText: {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        ASSERT_NE(edit, nullptr) << "setText is only for single-line fields";
        edit->setText(text);
        break;
    }
    case Entry::backspaceToEmpty:
        moveToEnd(widget);
        for (qsizetype i = codePoints(before); i > 0; --i)
            QTest::keyClick(widget, Qt::Key_Backspace);
        expectedChanges = codePoints(before);
        break;
    case Entry::selectAllBackspace:
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widget, Qt::Key_Backspace);
        break;
    case Entry::pressReturn:
        moveToEnd(widget);
        QTest::keyClick(widget, Qt::Key_Return);
        break;
    }
    QObject::disconnect(connection);

    const QString left = shownText(name);
    EXPECT_TRUE(left == expected) << std::string(name) << ": "
                                  << describeDifference(left, expected);
    // A multi-line field reports one Return as more than one change; nothing
    // listens to it, so only single-line fields are held to one per key.
    if (qobject_cast<QLineEdit*>(widget)) {
        EXPECT_EQ(static_cast<qsizetype>(changes.size()), expectedChanges) << std::string(name);
    }
    if (!changes.empty()) {
        EXPECT_TRUE(changes.back() == left) << std::string(name);
    }
    m_entered[std::string(name)] = expected;

    // The copy sees each change as the window's handler did; fields without a
    // handler just take the text.
    const std::optional<FieldId> id = fieldNamed(name);
    if (!id)
        return;
    if (isAmountField(*id)) {
        for (const QString& change : changes) {
            m_core.writeField(*id, change.toStdString());
            recalculate(m_core);
        }
    } else {
        m_core.writeField(*id, left.toStdString());
    }
}

void HostileWindowTest::expectWindowMatchesCore() const {
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const FieldId id = static_cast<FieldId>(i);
        const std::string_view name = fieldName(id);
        ASSERT_NE(field(name), nullptr) << std::string(name);
        const std::string shown = textOf(name);
        const std::string computed = m_core.readField(id);
        if (shown.size() < 100 && computed.size() < 100)
            EXPECT_EQ(shown, computed) << std::string(name);
        else
            EXPECT_TRUE(shown == computed) << std::string(name) << ": "
                                           << describeDifference(QString::fromStdString(shown),
                                                                 QString::fromStdString(computed));
    }
    for (const auto& [name, text] : m_entered) {
        const QString shown = shownText(name);
        EXPECT_TRUE(shown == text) << name << ": " << describeDifference(shown, text);
    }
    EXPECT_EQ(m_dismisser.texts(), m_core.messages());
}

std::string describeDifference(const QString& actual, const QString& expected) {
    qsizetype at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    auto unitAt = [at](const QString& s) {
        return at < s.size() ? QString::number(s[at].unicode(), 16).toStdString()
                             : std::string("end");
    };
    return "length " + std::to_string(actual.size()) + " (expected " +
           std::to_string(expected.size()) + "), first difference at " + std::to_string(at) +
           ": U+" + unitAt(actual) + " (expected U+" + unitAt(expected) + ")";
}
