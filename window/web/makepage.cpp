// Writes the page's HTML from the window's control table, so that the whole
// form, the style it is drawn with and the script that starts the program are
// in the first bytes the browser receives: it is on screen before anything
// else has loaded, and the program then takes it over. Writes the web app
// manifest with the same name and colour.
//   makepage TEMPLATE PAGE_CSS START_JS INDEX_HTML MANIFEST_TEMPLATE MANIFEST
// The templates' @NAME@ becomes the program's name and @THEME_COLOUR@ the
// desktop colour of the instructions. In the page's, @CAPTION@ becomes the
// window's caption, @MAIN@ the window, @STYLE@ the generated style with the
// page's own style sheet after it, @START@ the start-up script, and
// @STYLE_HASH@ and @START_HASH@ their hashes, which the page's policy names
// as the one style and the one inline script it allows.
#include "form1layout.h"
#include "pagewriter.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

// Every occurrence, at least one; what is put in is not looked through again.
std::string replaced(std::string text, std::string_view marker, std::string_view by) {
    std::size_t at = text.find(marker);
    if (at == std::string::npos)
        throw std::runtime_error("a template has no " + std::string(marker));
    for (; at != std::string::npos; at = text.find(marker, at + by.size()))
        text.replace(at, marker.size(), by);
    return text;
}

std::string read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        throw std::runtime_error(std::string("cannot read ") + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush())
        throw std::runtime_error(std::string("cannot write ") + path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::cerr << "usage: makepage TEMPLATE PAGE_CSS START_JS INDEX_HTML MANIFEST_TEMPLATE "
                     "MANIFEST\n";
        return 2;
    }
    try {
        const std::string name(form1Window.applicationTitle);
        const std::string themeColour = hexColour(classicDesktopColour);

        std::string page = read(argv[1]);
        const PageWriter writer(form1Window, form1Controls());
        const std::string style = writer.style(read(argv[2]));
        const std::string start = read(argv[3]);
        page = replaced(std::move(page), "@STYLE_HASH@", cspHash(style));
        page = replaced(std::move(page), "@START_HASH@", cspHash(start));
        page = replaced(std::move(page), "@CAPTION@", htmlEscaped(form1Window.caption));
        page = replaced(std::move(page), "@NAME@", htmlEscaped(name));
        page = replaced(std::move(page), "@THEME_COLOUR@", themeColour);
        page = replaced(std::move(page), "@STYLE@", style);
        page = replaced(std::move(page), "@MAIN@", writer.html());
        page = replaced(std::move(page), "@START@", start);
        write(argv[4], page);

        std::string manifest = read(argv[5]);
        manifest = replaced(std::move(manifest), "@NAME@", jsonEscaped(name));
        manifest = replaced(std::move(manifest), "@THEME_COLOUR@", themeColour);
        write(argv[6], manifest);
    } catch (const std::exception& e) {
        std::cerr << "makepage: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
