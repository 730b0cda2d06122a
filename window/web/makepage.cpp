// Writes the page's HTML and its style sheet from the window's control table,
// so that the whole form is in the first bytes the browser receives and is on
// screen before the program has loaded; the program then takes it over.
//   makepage TEMPLATE INDEX_HTML FORM1_CSS
// The template's @CAPTION@ becomes the window's caption and @MAIN@ the window.
#include "form1layout.h"
#include "pagewriter.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

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
        const PageWriter writer(form1Window, form1Controls());
        page = replaced(std::move(page), "@CAPTION@", htmlEscaped(form1Window.caption));
        page = replaced(std::move(page), "@MAIN@", writer.html());
        write(argv[2], page);
        write(argv[3], writer.styleSheet());
    } catch (const std::exception& e) {
        std::cerr << "makepage: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
