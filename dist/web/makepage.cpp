// Writes the page's HTML and its style sheet from the window's control table,
// so that the whole form is in the first bytes the browser receives and is on
// screen before the program has loaded; the program then takes it over.
//   makepage TEMPLATE INDEX_HTML FORM1_CSS
// The template's @CAPTION@ becomes the window's caption and @MAIN@ the window.
#include "form1layout.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

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

// Text for an element's content or a quoted attribute value. A textarea keeps
// its lines apart with LF alone; the window's texts use CR LF.
std::string escaped(std::string_view text) {
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

std::string attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + escaped(value) + "\"";
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

class PageWriter {
  public:
    explicit PageWriter(std::span<const ControlRow> rows) : m_rows(rows) {}

    std::string window(const WindowLayout& layout) {
        m_out = "<main id=\"window\">\n<h1 class=\"visually-hidden\">" +
                escaped(layout.applicationTitle) + "</h1>\n<div class=\"form\"" +
                attribute("id", layout.name) + ">\n";
        children(noParent, 1);
        m_out += "</div>\n<p class=\"status\" id=\"status\" role=\"status\">" +
                 escaped(std::string(layout.applicationTitle) + " is starting.") + "</p>\n</main>";
        return m_out;
    }

  private:
    void children(int parent, int depth) {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].parent == parent)
                control(i, depth);
    }

    void control(std::size_t index, int depth) {
        const ControlRow& row = m_rows[index];
        const Element element = elementFor(row.kind);
        const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
        m_out += indent + "<" + std::string(element.tag) + attribute("class", classes(row)) +
                 attribute("id", row.name);
        if (row.kind == ControlKind::edit)
            m_out += attribute("type", "text") + attribute("value", row.text);
        else if (row.kind == ControlKind::button)
            m_out += attribute("type", "button");
        else if (row.kind == ControlKind::multiLineEdit)
            // Lines are centred with blanks; wrapping would break them apart.
            m_out += attribute("wrap", "off");
        if (row.kind == ControlKind::groupBox)
            m_out += attribute("role", "region");
        if (row.kind == ControlKind::groupBox || row.kind == ControlKind::edit ||
            row.kind == ControlKind::multiLineEdit)
            m_out += attribute("aria-label", row.accessibleName);
        m_out += attribute("data-control", std::to_string(index));
        if (row.focusOrder != noFocus)
            m_out += attribute("data-focus-order", std::to_string(row.focusOrder));
        if (row.kind == ControlKind::edit || row.kind == ControlKind::multiLineEdit)
            m_out += attribute("spellcheck", "false") + attribute("autocomplete", "off") +
                     attribute("autocapitalize", "off");
        if (row.kind == ControlKind::edit)
            // As long as a classic edit field holds.
            m_out += attribute("maxlength", "32767") + attribute("inputmode", "decimal") +
                     attribute("enterkeyhint", "next");
        // Nothing takes typing or clicks until the program has taken it over.
        if (row.kind == ControlKind::edit || row.kind == ControlKind::multiLineEdit)
            m_out += " readonly";
        else if (row.kind == ControlKind::button)
            m_out += " disabled";
        if (!row.visible)
            m_out += " hidden"; // out of sight and out of the accessibility tree
        m_out += ">";

        switch (row.kind) {
        case ControlKind::edit:
            m_out += "\n";
            return;
        case ControlKind::groupBox:
            m_out += "\n";
            children(static_cast<int>(index), depth + 1);
            m_out += indent;
            break;
        case ControlKind::multiLineEdit:
            // The parser drops one line break straight after the tag, so a
            // text that starts with one keeps it.
            m_out += "\n" + escaped(row.text);
            break;
        case ControlKind::label:
        case ControlKind::button:
            m_out += escaped(row.text);
            break;
        }
        m_out += "</" + std::string(element.tag) + ">\n";
    }

    std::span<const ControlRow> m_rows;
    std::string m_out;
};

std::string place(int left, int top, int width, int height) {
    return "{left:" + pixels(left) + ";top:" + pixels(top) + ";width:" + pixels(width) +
           ";height:" + pixels(height) + "}\n";
}

std::string styleSheet(const WindowLayout& layout, std::span<const ControlRow> rows) {
    std::string out = "/* Made from the window's control table when the page is built: every\n"
                      "   place and size, the two fonts' sizes and the table's colours. */\n";
    out += "#" + std::string(layout.name) + "{width:" + pixels(layout.clientWidth) +
           ";height:" + pixels(layout.clientHeight) + "}\n";
    out += ".form{font-size:" + fontPixels(dialogFontPoints) + "}\n";
    out += ".bold{font-size:" + fontPixels(boldSystemFontPoints) +
           ";font-weight:" + std::to_string(boldSystemFontWeight) + "}\n";
    out += ".edit.noted{background:" + hex(invalidAmountColour) + "}\n";
    out += ".desktop{background:" + hex(classicDesktopColour) + ";color:#fff}\n";
    for (const ControlRow& row : rows)
        out += "#" + std::string(row.name) + place(row.left, row.top, row.width, row.height);
    return out;
}

std::string replaced(std::string text, std::string_view marker, std::string_view by) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos)
        throw std::runtime_error("the template has no " + std::string(marker));
    return text.replace(at, marker.size(), by);
}

void write(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush())
        throw std::runtime_error(std::string("cannot write ") + path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: makepage TEMPLATE INDEX_HTML FORM1_CSS\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in.is_open())
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::span<const ControlRow> rows = form1Controls();
        page = replaced(std::move(page), "@CAPTION@", escaped(form1Window.caption));
        page = replaced(std::move(page), "@MAIN@", PageWriter(rows).window(form1Window));
        write(argv[2], page);
        write(argv[3], styleSheet(form1Window, rows));
    } catch (const std::exception& e) {
        std::cerr << "makepage: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
