#include "pagewriter.h"

#include "contrast.h"
#include "sha256.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

std::string htmlEscaped(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        switch (text[at]) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            if (at + 1 < text.size() && text[at + 1] == '\n')
                break;
            out += '\n';
            break;
        default:
            out += text[at];
        }
    }
    return out;
}

std::string jsonEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

std::string hexColour(Rgb colour) {
    char out[8];
    std::snprintf(out, sizeof out, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return out;
}

std::string cspHash(std::string_view text) {
    const auto digest = sha256(text);
    return "'sha256-" + base64({reinterpret_cast<const char*>(digest.data()), digest.size()}) + "'";
}

namespace {

// The element that stands for each kind of control, and its class in the
// page's style sheet.
struct Element {
    std::string_view tag;
    std::string_view cssClass;
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

// The word the page's style sheet and script know a group box by.
std::string_view groupWord(GroupRole role) {
    switch (role) {
    case GroupRole::grains:
        return "grains";
    case GroupRole::results:
        return "results";
    case GroupRole::total:
        return "total";
    case GroupRole::none:
        break;
    }
    return {};
}

std::string attribute(std::string_view name, std::string_view value) {
    std::string out(" ");
    out.append(name).append("=\"").append(htmlEscaped(value)).append("\"");
    return out;
}

std::string pixels(int twips) {
    return std::to_string(pixelsAt96Dpi(twips)) + "px";
}

// CSS pixels from points, as a browser at 96 dots per inch draws them.
std::string fontPixels(double points) {
    const double px = std::round(points * 96 / 72 * 10000) / 10000;
    std::ostringstream out;
    out << px << "px";
    return out.str();
}

std::string classes(const ControlRow& row) {
    std::string out(elementFor(row.kind).cssClass);
    if (row.font == FontRole::boldSystem)
        out += " bold";
    if (row.colours == ColourRole::desktop)
        out += " desktop";
    return out;
}

// Behind :where(), so that any rule of the page's own style sheet outweighs
// the places it writes: the phone layout sets them aside.
std::string place(std::string_view name, int left, int top, int width, int height) {
    return ":where(#" + std::string(name) + "){left:" + pixels(left) + ";top:" + pixels(top) +
           ";width:" + pixels(width) + ";height:" + pixels(height) + "}\n";
}

// A style sheet as the browser needs it: without the comments, blank lines
// and indents that are there for its readers.
std::string compact(std::string_view css) {
    std::string out;
    bool lineStart = true;
    for (std::size_t at = 0; at < css.size();) {
        if (css.substr(at, 2) == "/*") {
            const std::size_t end = css.find("*/", at + 2);
            at = end == std::string_view::npos ? css.size() : end + 2;
            continue;
        }
        const char c = css[at++];
        if (lineStart && (c == ' ' || c == '\n'))
            continue;
        out += c;
        lineStart = c == '\n';
    }
    return out;
}

} // namespace

PageWriter::PageWriter(const WindowLayout& window, std::span<const ControlRow> controls)
    : m_window(window), m_controls(controls) {}

std::string PageWriter::html() const {
    std::string out = "<main id=\"window\">\n<h1 class=\"visually-hidden\" id=\"program-name\">" +
                      htmlEscaped(m_window.applicationTitle) + "</h1>\n<div class=\"form\"" +
                      attribute("id", m_window.name) + ">\n";
    writeChildren(out, noParent, 1);
    out += "</div>\n<p class=\"status\" id=\"status\" role=\"status\">" +
           htmlEscaped(std::string(m_window.applicationTitle) + " is starting.") +
           "</p>\n<p class=\"visually-hidden\" id=\"figures\" role=\"status\" "
           "aria-live=\"polite\"></p>\n</main>";
    return out;
}

bool PageWriter::isGrain(std::size_t index) const {
    const ControlRow& row = m_controls[index];
    return row.kind == ControlKind::edit && row.parent != noParent &&
           m_controls[static_cast<std::size_t>(row.parent)].group == GroupRole::grains;
}

// A field and its caption stand together in a "pair": it lays out as nothing
// in the window, and as one cell where the phone layout wants one.
void PageWriter::writeChildren(std::string& out, int parent, int depth) const {
    std::vector<std::size_t> children;
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i].parent == parent)
            children.push_back(i);
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (std::size_t at = 0; at < children.size(); ++at) {
        const bool pair =
            at + 1 < children.size() && captionOf(m_controls, children[at + 1]) == children[at];
        if (!pair) {
            writeControl(out, children[at], depth);
            continue;
        }
        out += indent + "<div class=\"pair\">\n";
        writeControl(out, children[at], depth + 1);
        writeControl(out, children[++at], depth + 1);
        out += indent + "</div>\n";
    }
}

void PageWriter::writeControl(std::string& out, std::size_t index, int depth) const {
    const ControlRow& row = m_controls[index];
    const Element element = elementFor(row.kind);
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    const bool editable = row.kind == ControlKind::edit || row.kind == ControlKind::multiLineEdit;
    out += indent + "<" + std::string(element.tag) + attribute("class", classes(row)) +
           attribute("id", row.name);
    switch (row.kind) {
    case ControlKind::edit:
        out += attribute("type", "text") + attribute("value", row.text);
        break;
    case ControlKind::button:
        out += attribute("type", "button");
        break;
    case ControlKind::multiLineEdit:
        // Lines are centred with blanks; wrapping would break them apart.
        out += attribute("wrap", "off");
        break;
    case ControlKind::groupBox:
        out += attribute("role", "region");
        if (row.group != GroupRole::none)
            out += attribute("data-group", groupWord(row.group));
        break;
    case ControlKind::label:
        break;
    }
    if (editable || row.kind == ControlKind::groupBox)
        out += attribute("aria-label", row.accessibleName);
    out += attribute("data-control", std::to_string(index));
    if (row.focusOrder != noFocus)
        out += attribute("data-focus-order", std::to_string(row.focusOrder));
    if (editable)
        out += attribute("spellcheck", "false") + attribute("autocomplete", "off") +
               attribute("autocapitalize", "off");
    if (row.kind == ControlKind::edit)
        // As long as a classic edit field holds.
        out += attribute("maxlength", "32767");
    // The on-screen keyboard's Enter goes on down the grains, and after the
    // last puts the keyboard away (the page's script). Its keypad is the
    // script's choice too: it depends on the user's language.
    if (isGrain(index)) {
        bool last = true;
        for (std::size_t next = index + 1; next < m_controls.size() && last; ++next)
            last = !isGrain(next);
        out += attribute("enterkeyhint", last ? "done" : "next");
    }
    // The amounts take typing from the first paint, and the program takes
    // what they hold once it has started. The other fields wait for it, and
    // so do the buttons, which mean nothing before it: the status line tells
    // a screen reader why.
    if (editable && !isGrain(index))
        out += " readonly";
    else if (row.kind == ControlKind::button)
        out += attribute("aria-describedby", "status") + " disabled";
    if (!row.visible)
        out += " hidden"; // out of sight and out of the accessibility tree
    out += ">";

    switch (row.kind) {
    case ControlKind::edit:
        out += "\n";
        return;
    case ControlKind::groupBox:
        out += "\n";
        writeChildren(out, static_cast<int>(index), depth + 1);
        out += indent;
        break;
    case ControlKind::multiLineEdit:
        // The parser drops one line break straight after the tag, so a
        // text that starts with one keeps it.
        out += '\n';
        out += htmlEscaped(row.text);
        break;
    case ControlKind::label:
    case ControlKind::button:
        out += htmlEscaped(row.text);
        break;
    }
    out += "</" + std::string(element.tag) + ">\n";
}

std::string PageWriter::styleSheet() const {
    std::string out = "/* Made from the window's control table when the page is built: every\n"
                      "   place and size, the two fonts' sizes and the table's colours. */\n";
    out += ":where(#" + std::string(m_window.name) + "){width:" + pixels(m_window.clientWidth) +
           ";height:" + pixels(m_window.clientHeight) + "}\n";
    out += ".form{font-size:" + fontPixels(dialogFontPoints) + "}\n";
    out += ".bold{font-size:" + fontPixels(boldSystemFontPoints) +
           ";font-weight:" + std::to_string(boldSystemFontWeight) + "}\n";
    out += ".edit.noted{background:" + hexColour(invalidAmountColour) +
           ";color:" + hexColour(invalidAmountTextColour) + "}\n";
    out += ".desktop{background:" + hexColour(classicDesktopColour) +
           ";color:" + hexColour(textOnDesktop(classicDesktopColour)) + "}\n";
    for (const ControlRow& row : m_controls)
        out += place(row.name, row.left, row.top, row.width, row.height);
    return out;
}

// Narrower than the window on any screen; or, on a touch screen, a phone on
// its side, lower than the window. Just under its size rather than a whole
// pixel under, since at some zooms a screen is a fraction of a pixel wide.
std::string PageWriter::phoneMedia() const {
    return "(max-width: " + std::to_string(pixelsAt96Dpi(m_window.clientWidth) - 1) +
           ".98px), (pointer: coarse) and (max-height: " +
           std::to_string(pixelsAt96Dpi(m_window.clientHeight) - 1) + ".98px)";
}

std::string PageWriter::style(std::string_view pageSheet) const {
    constexpr std::string_view phone = "(--phone)";
    const std::string sheet = compact(pageSheet);
    std::string out = styleSheet();
    for (std::size_t at = 0; at < sheet.size();) {
        const std::size_t found = sheet.find(phone, at);
        out.append(sheet, at, found - at);
        if (found == std::string::npos)
            break;
        out += phoneMedia();
        at = found + phone.size();
    }
    return out;
}
