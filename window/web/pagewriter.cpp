#include "pagewriter.h"

#include <cmath>
#include <cstdio>
#include <sstream>

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

std::string attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + htmlEscaped(value) + "\"";
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

std::string hex(Rgb colour) {
    char out[8];
    std::snprintf(out, sizeof out, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return out;
}

std::string classes(const ControlRow& row) {
    std::string out(elementFor(row.kind).cssClass);
    if (row.font == FontRole::boldSystem)
        out += " bold";
    if (row.colours == ColourRole::desktop)
        out += " desktop";
    return out;
}

std::string place(int left, int top, int width, int height) {
    return "{left:" + pixels(left) + ";top:" + pixels(top) + ";width:" + pixels(width) +
           ";height:" + pixels(height) + "}\n";
}

} // namespace

PageWriter::PageWriter(const WindowLayout& window, std::span<const ControlRow> controls)
    : m_window(window), m_controls(controls) {}

std::string PageWriter::html() const {
    std::string out = "<main id=\"window\">\n<h1 class=\"visually-hidden\">" +
                      htmlEscaped(m_window.applicationTitle) + "</h1>\n<div class=\"form\"" +
                      attribute("id", m_window.name) + ">\n";
    writeChildren(out, noParent, 1);
    out += "</div>\n<p class=\"status\" id=\"status\" role=\"status\">" +
           htmlEscaped(std::string(m_window.applicationTitle) + " is starting.") + "</p>\n</main>";
    return out;
}

void PageWriter::writeChildren(std::string& out, int parent, int depth) const {
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i].parent == parent)
            writeControl(out, i, depth);
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
        out += attribute("maxlength", "32767") + attribute("inputmode", "decimal") +
               attribute("enterkeyhint", "next");
    // Nothing takes typing or clicks until the program has taken it over.
    if (editable)
        out += " readonly";
    else if (row.kind == ControlKind::button)
        out += " disabled";
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
        out += "\n" + htmlEscaped(row.text);
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
    out += "#" + std::string(m_window.name) + "{width:" + pixels(m_window.clientWidth) +
           ";height:" + pixels(m_window.clientHeight) + "}\n";
    out += ".form{font-size:" + fontPixels(dialogFontPoints) + "}\n";
    out += ".bold{font-size:" + fontPixels(boldSystemFontPoints) +
           ";font-weight:" + std::to_string(boldSystemFontWeight) + "}\n";
    out += ".edit.noted{background:" + hex(invalidAmountColour) + "}\n";
    out += ".desktop{background:" + hex(classicDesktopColour) + ";color:#fff}\n";
    for (const ControlRow& row : m_controls)
        out += "#" + std::string(row.name) + place(row.left, row.top, row.width, row.height);
    return out;
}
