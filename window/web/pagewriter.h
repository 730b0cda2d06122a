#pragma once

#include "controlrow.h"

#include <span>
#include <string>
#include <string_view>

// The window as the page's HTML, every control in table order inside its
// group box with its starting text, none usable until the program takes it
// over; and its places, sizes, font sizes and colours as a style sheet, since
// the page's policy allows no style in the HTML.
class PageWriter {
  public:
    // The table outlives the writer.
    PageWriter(const WindowLayout& window, std::span<const ControlRow> controls);

    // The <main> element: a heading for screen readers, the form and the
    // status line that says the program is starting.
    std::string html() const;
    std::string styleSheet() const;

  private:
    void writeChildren(std::string& out, int parent, int depth) const;
    void writeControl(std::string& out, std::size_t index, int depth) const;

    const WindowLayout& m_window;
    std::span<const ControlRow> m_controls;
};

// Text for an element's content or a quoted attribute value. Lines are kept
// apart with LF alone, as a textarea does.
std::string htmlEscaped(std::string_view text);
