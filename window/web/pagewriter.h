#pragma once

#include "controlrow.h"

#include <span>
#include <string>
#include <string_view>

// The window as the page's HTML, every control in table order inside its
// group box with its starting text, none usable until the program takes it
// over; and its places, sizes, font sizes and colours as a style sheet, since
// the page's policy allows no style attribute in the HTML. The page's own
// style sheet and script find the window's parts by what this writes: a
// group box's data-group word, each name with its field in a "pair", and the
// kind of each control as its class.
class PageWriter {
  public:
    // The table outlives the writer.
    PageWriter(const WindowLayout& window, std::span<const ControlRow> controls);

    // The <main> element: a heading for screen readers, which names the
    // program also for the page's scripts, the form, the status line that
    // says the program is starting and, out of sight, the line that the
    // page's script says the figures in.
    std::string html() const;
    std::string styleSheet() const;
    // The page's own style sheet after the generated one, without its
    // comments and indents, its phone layout's condition "@media (--phone)"
    // made from the window's size: the phone layout takes over where the
    // window no longer fits.
    std::string style(std::string_view pageSheet) const;

  private:
    bool isGrain(std::size_t index) const;
    void writeChildren(std::string& out, int parent, int depth) const;
    void writeControl(std::string& out, std::size_t index, int depth) const;
    std::string phoneMedia() const;

    const WindowLayout& m_window;
    std::span<const ControlRow> m_controls;
};

// Text for an element's content or a quoted attribute value. Lines are kept
// apart with LF alone, as a textarea does.
std::string htmlEscaped(std::string_view text);
// Text for a quoted JSON string (the web app manifest's).
std::string jsonEscaped(std::string_view text);
// A colour as CSS, HTML and the manifest write it: #rrggbb.
std::string hexColour(Rgb colour);
// A Content-Security-Policy source that allows one inline <style> or
// <script> element's text: 'sha256-' and its digest in base64.
std::string cspHash(std::string_view text);
