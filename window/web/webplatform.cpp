#include "webplatform.h"

#include <emscripten/emscripten.h>

#include <cmath>

using emscripten::val;

namespace {

// The page's events reach the one window through here.
WebPlatform* activePlatform = nullptr;

val document() {
    return val::global("document");
}

val element(const char* tag) {
    return document().call<val>("createElement", std::string(tag));
}

std::string pixels(int twips) {
    return std::to_string(std::lround(twips / static_cast<double>(twipsPerPixelAt96Dpi))) + "px";
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

// The element that stands for each kind of control, and its class in the
// page's style sheet.
struct Element {
    const char* tag;
    const char* cssClass;
};

Element elementFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::groupBox:
        return {"div", "frame"};
    case ControlKind::label:
        return {"div", "label"};
    case ControlKind::edit:
        return {"input", "edit"};
    case ControlKind::multiLineEdit:
        return {"textarea", "instructions"};
    case ControlKind::button:
        return {"button", "button"};
    }
    return {"div", ""};
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

} // extern "C"

WebPlatform::WebPlatform() : m_page(val::module_property("grainmixPage")) {
    activePlatform = this;
}

WebPlatform::~WebPlatform() {
    if (activePlatform == this)
        activePlatform = nullptr;
}

void WebPlatform::createWindow(const WindowLayout& window, std::span<const ControlRow> controls,
                               PlatformEvents& events) {
    m_events = &events;
    document().set("title", std::string(window.caption));
    m_form = element("div");
    m_form.set("id", std::string(window.name));
    m_form["classList"].call<void>("add", std::string("form"));
    m_form["style"].set("width", pixels(window.clientWidth));
    m_form["style"].set("height", pixels(window.clientHeight));

    m_controls.assign(controls.size(), val::undefined());
    m_kinds.assign(controls.size(), ControlKind::label);
    m_reportedTexts.assign(controls.size(), std::string());
    for (std::size_t i = 0; i < controls.size(); ++i)
        createControl(controls[i], i);

    m_page.call<void>("show", m_form);
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].focusOrder == 0)
            m_controls[i].call<void>("focus");
}

void WebPlatform::createControl(const ControlRow& row, std::size_t index) {
    const Element kind = elementFor(row.kind);
    val control = element(kind.tag);
    control.set("id", std::string(row.name));
    control["classList"].call<void>("add", std::string(kind.cssClass));
    if (row.font == FontRole::boldSystem)
        control["classList"].call<void>("add", std::string("bold"));
    if (row.colours == ColourRole::desktop)
        control["classList"].call<void>("add", std::string("desktop"));
    val style = control["style"];
    style.set("left", pixels(row.left));
    style.set("top", pixels(row.top));
    style.set("width", pixels(row.width));
    style.set("height", pixels(row.height));
    control["dataset"].set("control", static_cast<int>(index));
    if (row.focusOrder != noFocus)
        control["dataset"].set("focusOrder", row.focusOrder);
    if (!row.visible)
        control.set("hidden", true); // out of sight and out of the accessibility tree

    const std::string name(row.accessibleName);
    switch (row.kind) {
    case ControlKind::groupBox:
        control.call<void>("setAttribute", std::string("role"), std::string("group"));
        control.call<void>("setAttribute", std::string("aria-label"), name);
        break;
    case ControlKind::label:
    case ControlKind::button:
        control.set("textContent", std::string(row.text));
        if (row.kind == ControlKind::button)
            control.set("type", std::string("button"));
        break;
    case ControlKind::edit:
    case ControlKind::multiLineEdit: {
        const bool multiLine = row.kind == ControlKind::multiLineEdit;
        control.call<void>("setAttribute", std::string("aria-label"), name);
        control.set("spellcheck", false);
        control.call<void>("setAttribute", std::string("autocomplete"), std::string("off"));
        control.call<void>("setAttribute", std::string("autocapitalize"), std::string("off"));
        if (multiLine) {
            // Lines are centred with blanks; wrapping would break them apart.
            control.call<void>("setAttribute", std::string("wrap"), std::string("off"));
        } else {
            control.set("type", std::string("text"));
            // As long as a classic edit field holds.
            control.set("maxLength", 32767);
        }
        control.set("value", pageText(row.kind, row.text));
        m_reportedTexts[index] = std::string(row.text);
        break;
    }
    }

    const val parent =
        row.parent == noParent ? m_form : m_controls[static_cast<std::size_t>(row.parent)];
    parent.call<void>("appendChild", control);
    m_controls[index] = control;
    m_kinds[index] = row.kind;
}

std::string WebPlatform::text(std::size_t control) const {
    const ControlKind kind = m_kinds.at(control);
    if (kind != ControlKind::edit && kind != ControlKind::multiLineEdit)
        return {}; // only edit fields have a text of their own
    const std::string value = m_controls[control][m_value].as<std::string>();
    return kind == ControlKind::multiLineEdit ? replaced(value, "\n", "\r\n") : value;
}

void WebPlatform::setText(std::size_t control, std::string_view text) {
    m_controls.at(control).set(m_value, pageText(m_kinds.at(control), text));
    // The page reports only typing; a text the program writes reports itself.
    reportIfChanged(control);
}

void WebPlatform::inputHappened(std::size_t control) {
    if (!m_ended && control < m_controls.size())
        reportIfChanged(control);
}

void WebPlatform::reportIfChanged(std::size_t control) {
    // An edit that leaves the text as it was (a "0" typed over a selected "0")
    // is no change.
    std::string now = text(control);
    if (now == m_reportedTexts[control])
        return;
    m_reportedTexts[control] = std::move(now);
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
    waitForMessage(std::string(title).c_str(), std::string(text).c_str());
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
    m_page.call<void>("end", m_form);
}
