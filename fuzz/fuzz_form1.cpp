// The window driven as a user drives it: edits, Clear, the message dismissed
// at any moment, Exit, and the stray reports a toolkit sends. After every
// event, each field must hold what the window's rules give when replayed on
// the fields as they stood before it: a recalculation from the amounts' own
// texts, an untouched field kept, a finished Clear leaving every amount "0",
// the messages those rules raise and no other, and nothing at all after Exit.
//
// The input is a sequence of events, one byte each (the low three bits the
// kind, the rest its argument), some followed by operand bytes:
//   0 focus    the field left is reported once more, as a toolkit does on
//              leaving it; the next byte picks the field that takes the focus;
//              an odd argument is time passing instead: the user pauses
//   1 replace  the focused field's text becomes a piece of the table below
//   2 insert   a piece, at the position in the next byte
//   3 delete   1 to 4 characters, from the position in the next byte
//   4 type     the focused field's text becomes the next n bytes (n is the
//              argument), where the fuzzer's dictionary lands
//   5 report   the change of the edit field the next byte picks reported
//              again, text as it is: a second report, or one arriving late;
//              an odd argument also switches the toolkit to reporting each
//              of the window's own writes twice, or back
//   6 Clear
//   7 Exit     the button or closing the window
// While the message is open only what can reach a window behind a modal box
// gets through: kinds 5 and 7, and time passing. Any other byte, or the end
// of the input, dismisses it. Once the user pauses, the figures are said if
// they changed since they were last said, unless a message is open.

#include "fakeplatform.h"
#include "form1.h"
#include "form1layout.h"
#include "fuzzcheck.h"
#include "graintable.h"
#include "memoryfieldstore.h"
#include "numberreading.h"
#include "recalculate.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Pieces of amounts, from the ordinary to what the numeric rules refuse.
// clang-format off
constexpr std::array<std::string_view, 32> pieces = {
    "0", "1", "10", "5", "-5", "0.0", ".", "-",
    " ", "", "12abc", "3", "0.1", "0.2", "-0", "7",
    " 7 ", "E", "E+", "1e3", "1E+15", "1e999", "1E-05", "999999999999999",
    "1E+308", "1.79769313486232E+308", "4.94065645841247E-324", "9007199254740993",
    "\t", "x", "00", ",5",
};
// clang-format on

enum class Kind { focus, replace, insert, erase, type, report, clear, exit };

struct Event {
    Kind kind = Kind::focus;
    std::size_t control = 0;
    std::string text;   // the field's new text, for the edits
    bool twice = false; // a report: writes reported twice from now on, or no longer
    bool pause = false; // a focus: time passes instead
};

bool isAmount(std::size_t control) {
    const auto field = fieldOf(control);
    return field && grainRowFor(*field);
}

// The fields a user can put the focus in and type into, and every edit
// field, which a toolkit may report.
struct Controls {
    std::vector<std::size_t> typed;
    std::vector<std::size_t> edits;
    std::size_t clear = 0;
    std::size_t exit = 0;
};

const Controls& controls() {
    static const Controls found = [] {
        Controls c;
        const auto& rows = form1Controls();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].kind != ControlKind::edit && rows[i].kind != ControlKind::multiLineEdit)
                continue;
            c.edits.push_back(i);
            if (rows[i].visible)
                c.typed.push_back(i);
        }
        c.clear = *controlNamed("Command1");
        c.exit = *controlNamed("CmdExit");
        return c;
    }();
    return found;
}

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_at == m_size; }
    // Past the end, zeros: a position or a count of 0.
    std::uint8_t next() { return empty() ? 0 : m_data[m_at++]; }
    std::string_view take(std::size_t n) {
        n = std::min(n, m_size - m_at);
        const std::string_view out(reinterpret_cast<const char*>(m_data + m_at), n);
        m_at += n;
        return out;
    }

  private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// What a finished Clear leaves at "0": every amount, the results and the total.
constexpr std::array<FieldId, 33> clearedFields = [] {
    std::array<FieldId, 33> ids{};
    for (std::size_t f = 0; f < ids.size(); ++f)
        ids[f] =
            f <= index(FieldId::amount)
                ? static_cast<FieldId>(f)
                : static_cast<FieldId>(f + index(FieldId::protein) - index(FieldId::amount) - 1);
    return ids;
}();

// The fields as the window's rules leave them: the recalculation itself runs
// on an in-memory copy, which starts as the window opens and, checked after
// every event, holds what the window showed before the next one.
struct Model {
    MemoryFieldStore fields;
    bool ended = false;
    // The messages before this event, and the one of it the window was closed
    // behind, if it was.
    std::size_t messagesBefore = 0;
    std::size_t endAtMessage = 0;

    std::size_t messages() const { return fields.messages().size() - messagesBefore; }

    void recalculateFields() {
        recalculate(fields);
        if (endAtMessage != 0 && messages() >= endAtMessage)
            ended = true;
    }

    void edit(std::size_t control, const std::string& text) {
        const auto field = fieldOf(control);
        if (!field)
            return; // the instructions: nothing to do but show the text
        if (fields.readField(*field) == text)
            return; // no change
        fields.writeField(*field, text);
        if (isAmount(control))
            recalculateFields();
    }

    void clear() {
        for (const GrainRow& row : grainTable) {
            if (ended)
                return;
            if (fields.readField(row.field) != "0") {
                fields.writeField(row.field, "0");
                recalculateFields();
            }
        }
        if (ended)
            return;
        for (FieldId id : {FieldId::protein, FieldId::carbo, FieldId::water, FieldId::Fibre,
                           FieldId::Fat, FieldId::amount})
            fields.writeField(id, "0");
    }
};

// What a screen reader is to hear: each figure's name with its field's text
// without white space around it (a form feed typed into the total is no more
// heard than a blank), the total first. The names are the table's; the white
// space is the C library's.
std::string spokenFigures(const FakePlatform& window) {
    const auto said = [&](FieldId field) {
        const std::string shown = window.text(controlOf(field));
        const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
        const auto first = std::find_if_not(shown.begin(), shown.end(), blank);
        const auto last = std::find_if_not(shown.rbegin(), shown.rend(), blank).base();
        return std::string(form1Controls()[controlOf(field)].accessibleName) + ' ' +
               std::string(first, std::max(first, last));
    };
    std::string out = said(FieldId::amount) + ".";
    for (Nutrient n : allNutrients)
        out += (n == allNutrients.front() ? " " : ", ") + said(resultField(n));
    return out;
}

class Session : public FakePlatform {
  public:
    Session(const std::uint8_t* data, std::size_t size) : m_input(data, size) {}

    void play() {
        Form1 form(*this);
        for (std::size_t f = 0; f < fieldCount; ++f)
            m_model.fields.writeField(static_cast<FieldId>(f),
                                      text(controlOf(static_cast<FieldId>(f))));
        m_model.fields.setRecordWrites(true);
        m_said = spokenFigures(*this);
        for (m_event = 0; !m_input.empty() && !quitCalled(); ++m_event)
            step(nextEvent());
    }

    void setText(std::size_t control, std::string_view text) override {
        if (quitCalled())
            fail("event %zu: %s written after Exit", m_event, name(control).c_str());
        if (!fieldOf(control))
            fail("event %zu: %s written, which holds no figure", m_event, name(control).c_str());
        if (this->text(control) == text)
            fail("event %zu: %s written with the text it already shows, %s", m_event,
                 name(control).c_str(), quoted(text).c_str());
        m_touched.set(index(*fieldOf(control)));
        FakePlatform::setText(control, text);
        if (m_writesReportedTwice)
            report(control);
    }

    void setNote(std::size_t control, std::string_view note) override {
        if (quitCalled())
            fail("event %zu: %s marked after Exit", m_event, name(control).c_str());
        touch(control);
        FakePlatform::setNote(control, note);
    }

    void announce(std::string_view sentence) override {
        if (quitCalled() || m_messageOpen)
            fail("event %zu: figures said %s", m_event,
                 quitCalled() ? "after Exit" : "while a message is open");
        FakePlatform::announce(sentence);
    }

    // The box is modal: behind it the window receives only what a toolkit
    // reports of its own accord, or its closing, until the user dismisses it.
    void showMessage(std::string_view title, std::string_view text) override {
        if (quitCalled())
            fail("event %zu: a message after Exit", m_event);
        if (m_messageOpen)
            fail("event %zu: a second message while one is open", m_event);
        if (title != form1Window.applicationTitle || text != noAmountsMessage)
            fail("event %zu: a message %s titled %s", m_event, quoted(text).c_str(),
                 quoted(title).c_str());
        ++m_messages;
        m_messageOpen = true;
        while (!quitCalled() && !m_input.empty()) {
            const Event e = nextEvent();
            if (e.kind == Kind::report) {
                reportAgain(e);
            } else if (e.pause) {
                pause();
            } else if (e.kind == Kind::exit) {
                close(); // no click reaches the window behind the box
                m_endAtMessage = m_messages;
            } else {
                break; // dismissed
            }
        }
        m_messageOpen = false;
    }

  private:
    static std::string name(std::size_t control) {
        return std::string(form1Controls()[control].name);
    }

    // Only a field written, typed into or marked can change: the rest are
    // known to match the model from the events before.
    void touch(std::size_t control) {
        if (const auto field = fieldOf(control))
            m_touched.set(index(*field));
    }
    void typeInto(std::size_t control, std::string_view text) {
        touch(control);
        type(control, text);
    }

    // What a toolkit sends on its own: a change reported, the text as it is.
    void report(std::size_t control) { typeInto(control, text(control)); }
    void reportAgain(const Event& e) {
        m_writesReportedTwice ^= e.twice;
        report(e.control);
    }

    Event nextEvent() {
        const std::uint8_t byte = m_input.next();
        Event e;
        e.kind = static_cast<Kind>(byte & 7);
        const std::size_t argument = byte >> 3;
        const auto& c = controls();
        std::string now = e.kind == Kind::insert || e.kind == Kind::erase ? text(m_focus) : "";
        switch (e.kind) {
        case Kind::focus:
            e.pause = argument % 2;
            if (!e.pause)
                e.control = c.typed[m_input.next() % c.typed.size()];
            break;
        case Kind::replace:
            e.text = pieces[argument];
            break;
        case Kind::insert:
            e.text = now.insert(m_input.next() % (now.size() + 1), pieces[argument]);
            break;
        case Kind::erase:
            if (!now.empty())
                now.erase(m_input.next() % now.size(), argument % 4 + 1);
            e.text = now;
            break;
        case Kind::type:
            e.text = m_input.take(argument);
            break;
        case Kind::report:
            e.control = c.edits[m_input.next() % c.edits.size()];
            e.twice = argument % 2;
            break;
        case Kind::clear:
            e.control = c.clear;
            break;
        case Kind::exit:
            e.control = argument % 2 ? c.exit : std::size_t(-1);
            break;
        }
        return e;
    }

    void apply(const Event& e) {
        switch (e.kind) {
        case Kind::focus:
            if (e.pause) {
                pause();
                break;
            }
            report(m_focus);
            m_focus = e.control;
            break;
        case Kind::replace:
        case Kind::insert:
        case Kind::erase:
        case Kind::type:
            typeInto(m_focus, e.text);
            break;
        case Kind::report:
            reportAgain(e);
            break;
        case Kind::clear:
            click(e.control);
            break;
        case Kind::exit:
            if (e.control == controls().exit)
                click(e.control);
            else
                close();
            break;
        }
    }

    void step(const Event& e) {
        Model& model = m_model;
        m_touched.reset();
        const std::size_t modelWrites = model.fields.writes().size();
        model.messagesBefore = model.fields.messages().size();
        m_messages = 0;
        m_endAtMessage = 0;
        const std::size_t saidBefore = announced().size();
        apply(e);
        checkSaid(e, saidBefore);

        model.endAtMessage = m_endAtMessage;
        switch (e.kind) {
        case Kind::replace:
        case Kind::insert:
        case Kind::erase:
        case Kind::type:
            model.edit(m_focus, e.text);
            break;
        case Kind::clear:
            model.clear();
            break;
        case Kind::exit:
            model.ended = true;
            break;
        case Kind::focus:
        case Kind::report:
            break;
        }
        for (std::size_t w = modelWrites; w < model.fields.writes().size(); ++w)
            m_touched.set(index(model.fields.writes()[w]));
        check(e, model);
    }

    // Only a pause says anything, once and only what changed since last said.
    void checkSaid(const Event& e, std::size_t saidBefore) {
        const std::size_t said = announced().size() - saidBefore;
        if (!e.pause && said == 0)
            return;
        const std::string now = spokenFigures(*this);
        const bool due = e.pause && !quitCalled() && now != m_said;
        if (said != (due ? 1u : 0u))
            fail("event %zu: the figures said %zu times, expected %d", m_event, said, due);
        if (said == 1 && announced().back() != now)
            fail("event %zu: said %s, the window shows %s", m_event,
                 quoted(announced().back()).c_str(), quoted(now).c_str());
        if (said == 1)
            m_said = now;
    }

    void check(const Event& e, const Model& model) {
        for (std::size_t f = 0; f < fieldCount; ++f) {
            if (!m_touched.test(f))
                continue;
            const auto id = static_cast<FieldId>(f);
            const std::string shown = text(controlOf(id));
            const std::string expected = model.fields.readField(id);
            if (shown != expected)
                fail("event %zu: %s shows %s, expected %s", m_event, name(controlOf(id)).c_str(),
                     quoted(shown).c_str(), quoted(expected).c_str());
        }
        if (m_messages != model.messages())
            fail("event %zu: %zu messages shown, expected %zu", m_event, m_messages,
                 model.messages());
        if (e.kind == Kind::clear && !quitCalled())
            for (const FieldId id : clearedFields)
                if (text(controlOf(id)) != "0")
                    fail("event %zu: %s shows %s after Clear", m_event, name(controlOf(id)).c_str(),
                         quoted(text(controlOf(id))).c_str());
        if (quitCalled() != model.ended)
            fail("event %zu: the program %s", m_event, model.ended ? "did not end" : "ended");
        // An amount the sums cannot use is marked, and only such an amount.
        for (const GrainRow& row : grainTable) {
            if (!m_touched.test(index(row.field)))
                continue;
            const std::size_t control = controlOf(row.field);
            if (note(control).empty() != readStrict(text(control)).ok())
                fail("event %zu: %s holds %s and is %smarked", m_event, name(control).c_str(),
                     quoted(text(control)).c_str(), note(control).empty() ? "not " : "");
        }
    }

    Input m_input;
    Model m_model;
    std::bitset<fieldCount> m_touched; // by the window or the model in this event
    std::size_t m_event = 0;
    std::size_t m_focus = controlOf(FieldId::Text1);
    std::size_t m_messages = 0;
    std::size_t m_endAtMessage = 0;
    bool m_messageOpen = false;
    bool m_writesReportedTwice = false;
    std::string m_said; // the figures a screen reader heard last
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Session(data, size).play();
    return 0;
}
