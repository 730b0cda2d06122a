#include "pagewriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr WindowLayout window = {"Form9", "A & B", 150, 300, "Mix <1>"};

constexpr std::array<ControlRow, 6> controls = [] {
    std::array<ControlRow, 6> c{};
    c[0] = {.name = "Box",
            .kind = ControlKind::groupBox,
            .left = 15,
            .top = 30,
            .width = 300,
            .height = 150,
            .accessibleName = "Grains & \"seeds\"",
            .group = GroupRole::grains};
    c[1] = {.name = "Lab",
            .kind = ControlKind::label,
            .parent = 0,
            .left = 22,
            .top = 23,
            .width = 7,
            .height = 8,
            .text = "Rice, <unhulled> & more"};
    c[2] = {.name = "Ed", .kind = ControlKind::edit, .parent = 0, .text = "0", .focusOrder = 1};
    c[3] = {.name = "Notes",
            .kind = ControlKind::multiLineEdit,
            .text = "\r\n  first\r\nlast\r\n",
            .colours = ColourRole::desktop};
    c[4] = {.name = "Go",
            .kind = ControlKind::button,
            .text = "Clear",
            .font = FontRole::boldSystem,
            .focusOrder = 0};
    c[5] = {.name = "Hid", .kind = ControlKind::edit, .text = "0", .visible = false};
    return c;
}();

TEST(HtmlEscaped, MarkupCharactersBecomeEntitiesAndLinesKeepLfAlone) {
    const struct {
        const char* text;
        const char* html;
    } cases[] = {
        {"a & b", "a &amp; b"},
        {"<b>", "&lt;b&gt;"},
        {"say \"0\"", "say &quot;0&quot;"},
        {"one\r\ntwo", "one\ntwo"},
        {"  centred  ", "  centred  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(htmlEscaped(c.text), c.html) << c.text;
}

TEST(JsonEscaped, QuotesBackslashesAndControlCharactersAreEscaped) {
    const struct {
        const char* text;
        const char* json;
    } cases[] = {
        {"Grain Mix", "Grain Mix"},
        {"say \"0\"", "say \\\"0\\\""},
        {"a\\b", "a\\\\b"},
        {"one\r\n", "one\\u000d\\u000a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(jsonEscaped(c.text), c.json) << c.text;
}

// The policy's hash of a text the browser checks: one block, a padding that
// spills into a second block, many blocks.
TEST(CspHash, IsTheTextsSha256InBase64) {
    const struct {
        std::string text;
        const char* source;
    } cases[] = {
        {"", "'sha256-47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU='"},
        {"abc", "'sha256-ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0='"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "'sha256-JI1qYdIGOLjlwCaTDD5gOaM85Flk/yFn9uzt1BnbBsE='"},
        {std::string(1000, 'a'), "'sha256-Qe3s5C1j6Nm/UVqbppMuHCDLyfWl0TRkWttdsblzfqM='"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cspHash(c.text), c.source) << c.text.size();
}

TEST(PageWriter, ControlsStandInTableOrderInsideTheirGroupBoxTextsEscaped) {
    const std::string html = PageWriter(window, controls).html();
    const auto at = [&](const std::string& text) { return html.find(text); };
    std::vector<std::size_t> order;
    for (const char* id : {"Box", "Lab", "Ed", "Notes", "Go", "Hid", "status"})
        order.push_back(at(std::string("id=\"") + id + "\""));
    order.insert(order.begin() + 3, html.find("</div>", order[2])); // the box ends
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ(std::count(order.begin(), order.end(), std::string::npos), 0);
    for (const char* text :
         {"aria-label=\"Grains &amp; &quot;seeds&quot;\"",
          ">Rice, &lt;unhulled&gt; &amp; more</div>",
          "<h1 class=\"visually-hidden\" id=\"program-name\">Mix &lt;1&gt;</h1>"})
        EXPECT_NE(at(text), std::string::npos) << text;
}

TEST(PageWriter, ANameAndTheFieldAfterItStandAsOnePairInTheirGroupBox) {
    const std::string html = PageWriter(window, controls).html();
    // The pair, then the group box, end straight after the field.
    EXPECT_TRUE(std::regex_search(
        html, std::regex(R"(<div class="frame" id="Box"[^>]* data-group="grains"[^>]*>\s*)"
                         R"(<div class="pair">\s*<div class="label" id="Lab"[^>]*>[^<]*</div>\s*)"
                         R"(<input class="edit" id="Ed"[^>]*>\s*</div>\s*</div>)")))
        << html;
    EXPECT_EQ(html.find("class=\"pair\"", html.find("class=\"pair\"") + 1), std::string::npos);
}

TEST(PageWriter, EnterGoesOnDownTheGrainsAndIsDoneAfterTheLast) {
    std::array<ControlRow, 4> rows{};
    rows[0] = {.name = "Box", .kind = ControlKind::groupBox, .group = GroupRole::grains};
    rows[1] = {.name = "A", .kind = ControlKind::edit, .parent = 0};
    rows[2] = {.name = "B", .kind = ControlKind::edit, .parent = 0};
    rows[3] = {.name = "Sum", .kind = ControlKind::edit};
    const std::string html = PageWriter(window, rows).html();
    EXPECT_TRUE(std::regex_search(html, std::regex(R"(id="A"[^>]* enterkeyhint="next")"))) << html;
    EXPECT_TRUE(std::regex_search(html, std::regex(R"(id="B"[^>]* enterkeyhint="done")"))) << html;
    EXPECT_FALSE(std::regex_search(html, std::regex(R"(id="Sum"[^>]* enterkeyhint)"))) << html;
}

TEST(PageWriter, ATextareaKeepsTheLineBreakItsTextStartsWith) {
    // The parser drops the first line break after the tag.
    EXPECT_NE(PageWriter(window, controls).html().find(">\n\n  first\nlast\n</textarea>"),
              std::string::npos);
}

TEST(PageWriter, StyleSheetPlacesEveryControlInWholePixelsFontsInCssPixels) {
    const std::string css = PageWriter(window, controls).styleSheet();
    for (const char* rule : {":where(#Form9){width:10px;height:20px}",
                             ":where(#Box){left:1px;top:2px;width:20px;height:10px}",
                             // 22 and 23 twips: either side of a pixel and a half
                             ":where(#Lab){left:1px;top:2px;width:0px;height:1px}",
                             ":where(#Hid){left:0px;top:0px;width:0px;height:0px}",
                             // 8 and 9.75 points at 96 dots per inch
                             ".form{font-size:10.6667px}", ".bold{font-size:13px;"})
        EXPECT_NE(css.find(rule), std::string::npos) << rule;
}

TEST(PageWriter, ThePhoneLayoutTakesOverWhereTheWindowNoLongerFitsCommentsLeftOut) {
    const PageWriter writer(window, controls);
    EXPECT_EQ(writer.style("/* why */\n@media (--phone) {\n\n  a{b: \"/\" 1px}\n}\n"),
              writer.styleSheet() + "@media (max-width: 9.98px), (pointer: coarse) and "
                                    "(max-height: 19.98px) {\na{b: \"/\" 1px}\n}\n");
}

} // namespace
