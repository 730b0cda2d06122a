#pragma once

#include "memoryfieldstore.h"
#include "messagedismisser.h"
#include "qtwindowfixture.h"

#include <QString>

#include <map>
#include <string>
#include <string_view>

// How a user puts a text into a field.
enum class Entry {
    pasteOverAll,       // Ctrl+A, then Ctrl+V from the clipboard
    pasteAtEnd,         // End, then Ctrl+V
    typeOverAll,        // Ctrl+A, then one key per character
    typeAtEnd,          // End, then one key per character
    setText,            // the program's way in, for texts no keyboard gives
    backspaceToEmpty,   // End, then Backspace until nothing is left
    selectAllBackspace, // Ctrl+A, then one Backspace
    pressReturn,        // End, then Return
};

// The most a QLineEdit holds unless told otherwise.
inline constexpr qsizetype longestText = 32767;

// The real window beside the core running on an in-memory copy of its
// fields. Each change of an amount that the window reports is replayed on the
// copy, so the copy shows what the last recalculation that completed should
// have left on screen, messages included.
class HostileWindowTest : public QtWindowTest {
  protected:
    // Enters `text` into the named field, checks that the field then holds
    // `expected` after the number of changes a user would cause, and replays
    // the changes on the copy.
    void enter(std::string_view name, Entry how, const QString& text, const QString& expected);

    // Every field, hidden totals included, shows what the copy holds; every
    // field entered into holds exactly what was left there; the same messages
    // were shown in the same order.
    void expectWindowMatchesCore() const;

    QString shownText(std::string_view name) const;

    MessageDismisser m_dismisser;
    MemoryFieldStore m_core;
    std::map<std::string, QString, std::less<>> m_entered;
};

// UTF-16 exactly as written, NULs and unpaired surrogates included.
inline QString utf16(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

// Where two texts first differ, so that a failure on a 32,767-character text
// says something readable.
std::string describeDifference(const QString& actual, const QString& expected);
