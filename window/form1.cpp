#include "form1.h"

#include "form1layout.h"
#include "graintable.h"
#include "numberreading.h"
#include "recalculate.h"

namespace {

constexpr std::string_view notANumberNote =
    "This amount is not a number, so the figures shown are from before it was typed";
constexpr std::string_view tooLargeNote =
    "This amount is too large, so the figures shown are from before it was typed";

} // namespace

Form1::Form1(Platform& platform)
    : m_platform(platform), m_reported(form1Controls()), m_figures(platform, form1Controls()) {
    m_platform.createWindow(form1Window, form1Controls(), *this);
}

std::string Form1::readField(FieldId id) const {
    return m_platform.text(controlOf(id));
}

void Form1::writeField(FieldId id, std::string_view text) {
    // Every change of a field's text is reported, so the text it last
    // reported is the one it shows: no need to ask the toolkit.
    const std::size_t control = controlOf(id);
    if (!m_ended && m_reported.last(control) != text)
        m_platform.setText(control, text);
}

void Form1::showMessage(std::string_view text) {
    m_figures.messageOpened();
    m_platform.showMessage(form1Window.applicationTitle, text);
    m_figures.messageClosed();
}

void Form1::clear() {
    // Each write that changes an amount runs a whole recalculation before the
    // next one; the one that zeroes the last amount shows the message.
    for (const GrainRow& row : grainTable)
        writeField(row.field, "0");
    for (FieldId id : {FieldId::protein, FieldId::carbo, FieldId::water, FieldId::Fibre,
                       FieldId::Fat, FieldId::amount})
        writeField(id, "0");
}

void Form1::exit() {
    m_ended = true;
    m_platform.quit();
}

void Form1::textChanged(std::size_t control) {
    m_figures.restartPause();
    if (!m_reported.changed(control, m_platform.text(control)))
        return;
    const auto field = fieldOf(control);
    if (!field || !grainRowFor(*field))
        return; // only the amounts have a handler

    // A text the sums cannot use stops the recalculation early and leaves the
    // old figures on screen; say so beside the field instead of nowhere.
    const Reading reading = readStrict(m_reported.last(control));
    m_platform.setNote(control, reading.ok()                             ? std::string_view{}
                                : reading.status == ReadStatus::overflow ? tooLargeNote
                                                                         : notANumberNote);
    recalculate(*this);
}

void Form1::clicked(std::size_t control) {
    m_figures.restartPause();
    const std::string_view name = form1Controls()[control].name;
    if (name == "Command1")
        clear();
    else if (name == "CmdExit")
        exit();
}

void Form1::closeRequested() {
    exit();
}

void Form1::pauseEnded() {
    // A toolkit's timer may still run out after Exit; nothing is said then.
    if (!m_ended)
        m_figures.pauseEnded();
}
