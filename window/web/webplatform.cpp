#include "webplatform.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include <cstdlib>
#include <utility>

using emscripten::val;

namespace {

// The page's events reach the one window through here.
WebPlatform* activePlatform = nullptr;

val document() {
    return val::global("document");
}

// The page's element for a control, which its HTML brings. Without it the
// program cannot run, so it stops, and the page says it could not start.
val element(std::string_view id) {
    val found = document().call<val>("getElementById", std::string(id));
    if (found.isNull()) {
        val::global("console").call<void>("error",
                                          "The page has no element " + std::string(id) + ".");
        std::abort();
    }
    return found;
}

std::string replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (text.substr(at, from.size()) == from) {
            out += to;
            at += from.size();
        } else {
            out += text[at++];
        }
    }
    return out;
}

// A textarea keeps its lines apart with LF alone; the window's texts use CR LF.
std::string pageText(ControlKind kind, std::string_view text) {
    return kind == ControlKind::multiLineEdit ? replaced(text, "\r\n", "\n") : std::string(text);
}

// Waits, without blocking the browser, until the user has dismissed the
// message; the C++ that called it resumes where it was.
EM_ASYNC_JS(void, waitForMessage, (const char* title, const char* text),
            { await Module['grainmixPage'].message(UTF8ToString(title), UTF8ToString(text)); });

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void grainmix_input(int control) {
    if (activePlatform && control >= 0)
        activePlatform->inputHappened(static_cast<std::size_t>(control));
}

EMSCRIPTEN_KEEPALIVE void grainmix_click(int control) {
    if (activePlatform && control >= 0)
        activePlatform->buttonPressed(static_cast<std::size_t>(control));
}

EMSCRIPTEN_KEEPALIVE void grainmix_started() {
    if (activePlatform)
        activePlatform->started();
}

} // extern "C"

WebPlatform::WebPlatform() : m_page(val::module_property("grainmixPage")) {
    activePlatform = this;
}

WebPlatform::~WebPlatform() {
    stopPause();
    if (activePlatform == this)
        activePlatform = nullptr;
}

void WebPlatform::createWindow(const WindowLayout& window, std::span<const ControlRow> controls,
                               PlatformEvents& events) {
    m_events = &events;
    m_rows = controls;
    // The page's title is the caption already: the page writer put it there.
    m_form = element(window.name);
    m_figures = element("figures");
    // Every element first, so that a page without one stops before any
    // control has become usable.
    m_controls.clear();
    m_controls.reserve(controls.size());
    for (const ControlRow& row : controls)
        m_controls.push_back(element(row.name));
    m_typedBeforeStart.clear();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlRow& row = controls[i];
        val& control = m_controls[i];
        const bool tookTyping = !control.call<bool>("hasAttribute", std::string("readonly"));
        // Until now the other fields took no typing and the buttons no clicks.
        control.call<void>("removeAttribute", std::string("readonly"));
        control.call<void>("removeAttribute", std::string("disabled"));
        // The HTML brought the starting text. What the user typed since, or
        // the browser filled in on its own, stays where the user could type;
        // elsewhere the starting text comes back. Writing a text that is
        // already there would paint the field anew, late, as if its text had
        // only now come.
        if (row.kind == ControlKind::edit || row.kind == ControlKind::multiLineEdit) {
            const std::string start = pageText(row.kind, row.text);
            if (control[m_value].as<std::string>() == start)
                continue;
            if (tookTyping)
                m_typedBeforeStart.push_back(i);
            else
                control.set(m_value, start);
        }
    }

    m_page.call<void>("show", m_form);
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].focusOrder == 0)
            m_page.call<void>("focusAtStart", m_controls[i]);
}

void WebPlatform::started() {
    // As if typed just after the start: the window answers each field as it
    // answers typing, and the figures show at once.
    for (const std::size_t control : std::exchange(m_typedBeforeStart, {}))
        inputHappened(control);
}

std::string WebPlatform::text(std::size_t control) const {
    const ControlKind kind = m_rows[control].kind;
    if (kind != ControlKind::edit && kind != ControlKind::multiLineEdit)
        return {}; // only edit fields have a text of their own
    const std::string value = m_controls.at(control)[m_value].as<std::string>();
    return kind == ControlKind::multiLineEdit ? replaced(value, "\n", "\r\n") : value;
}

void WebPlatform::setText(std::size_t control, std::string_view text) {
    m_controls.at(control).set(m_value, pageText(m_rows[control].kind, text));
    // The page reports only typing; a text the program writes reports itself.
    m_events->textChanged(control);
}

void WebPlatform::inputHappened(std::size_t control) {
    if (!m_ended && control < m_controls.size())
        m_events->textChanged(control);
}

void WebPlatform::buttonPressed(std::size_t control) {
    if (!m_ended && control < m_controls.size())
        m_events->clicked(control);
}

void WebPlatform::setNote(std::size_t control, std::string_view note) {
    m_page.call<void>("setNote", m_controls.at(control), std::string(note));
}

void WebPlatform::showMessage(std::string_view title, std::string_view text) {
    // While the program waits for the user its stack is put aside, and
    // nothing may enter it: a pause that ran out now would. The window starts
    // another once the message is gone.
    stopPause();
    waitForMessage(std::string(title).c_str(), std::string(text).c_str());
}

void WebPlatform::startPause(std::chrono::milliseconds length) {
    stopPause();
    if (!m_ended)
        m_pause = emscripten_set_timeout(&WebPlatform::pauseRanOut,
                                         static_cast<double>(length.count()), this);
}

void WebPlatform::pauseRanOut(void* platform) {
    auto* self = static_cast<WebPlatform*>(platform);
    self->m_pause = 0;
    if (!self->m_ended)
        self->m_events->pauseEnded();
}

void WebPlatform::stopPause() {
    if (m_pause != 0)
        emscripten_clear_timeout(m_pause);
    m_pause = 0;
}

void WebPlatform::announce(std::string_view sentence) {
    m_figures.set("textContent", std::string(sentence));
}

int WebPlatform::run() {
    // Keeps main's frame, and with it the window, alive after main has
    // given the thread back.
    emscripten_exit_with_live_runtime();
}

void WebPlatform::quit() {
    if (m_ended)
        return;
    m_ended = true;
    stopPause();
    m_page.call<void>("end", m_form);
}
