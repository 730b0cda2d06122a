#include "barleyten.h"
#include "fakeplatform.h"
#include "form1.h"
#include "form1layout.h"
#include "graintable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

std::size_t at(std::string_view name) {
    const auto control = controlNamed(name);
    EXPECT_TRUE(control) << name;
    return control.value_or(0);
}

const ControlRow& row(std::string_view name) {
    return form1Controls()[at(name)];
}

TEST(Form1Layout, HasExactlyTheDocumentedControls) {
    std::map<ControlKind, int> kinds;
    int hidden = 0;
    for (const ControlRow& c : form1Controls()) {
        ++kinds[c.kind];
        hidden += c.visible ? 0 : 1;
    }
    EXPECT_EQ(kinds[ControlKind::groupBox], 3);
    EXPECT_EQ(kinds[ControlKind::label], 33);
    EXPECT_EQ(kinds[ControlKind::edit], 27 + 5 + 5 + 1);
    EXPECT_EQ(kinds[ControlKind::multiLineEdit], 1);
    EXPECT_EQ(kinds[ControlKind::button], 2);
    EXPECT_EQ(hidden, 5);

    std::vector<std::string_view> names;
    for (const ControlRow& c : form1Controls())
        names.push_back(c.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << "names are unique";
}

struct GrainRowPlace {
    int column;
    int row;
    const char* grain;
    const char* label;
    const char* field;
};

// Two alphabetical columns, each grain beside the field its composition is
// weighted by.
const GrainRowPlace grainRows[] = {
    {0, 1, "Acorns", "Label10", "Text4"},
    {0, 2, "Barley", "Label1", "Text1"},
    {0, 3, "Buckwheat", "Label9", "Text5"},
    {0, 4, "Canary", "Label11", "Text6"},
    {0, 5, "Cow Peas", "Label12", "Text7"},
    {0, 6, "Field Peas", "Label13", "Text8"},
    {0, 7, "Hemp", "Label15", "Text10"},
    {0, 8, "Horse Beans", "Label16", "Text11"},
    {0, 9, "Kafir Corn", "Label17", "Text12"},
    {0, 10, "Lentils", "Label18", "Text13"},
    {0, 11, "Linseed (Flax)", "Label14", "Text9"},
    {0, 12, "Maize", "Label2", "Text2"},
    {0, 13, "Maple Peas", "Label3", "Text3"},
    {1, 1, "Milo", "Label19", "Text14"},
    {1, 2, "Millet Seed", "Label20", "Text15"},
    {1, 3, "Oats", "Label21", "Text16"},
    {1, 4, "Peanuts", "Label22", "Text17"},
    {1, 5, "Popcorn", "Label31", "Text26"},
    {1, 6, "Rice, unhulled", "Label23", "Text18"},
    {1, 7, "Rice, polished", "Label24", "Text19"},
    {1, 8, "Rapeseed", "Label25", "Text20"},
    {1, 9, "Soy Beans", "Label26", "Text21"},
    {1, 10, "Safflower Seeds", "Label32", "Text28"},
    {1, 11, "Sunflower Seeds", "Label27", "Text22"},
    {1, 12, "Tic Beans", "Label28", "Text23"},
    {1, 13, "Vetch", "Label29", "Text24"},
    {1, 14, "Wheat", "Label30", "Text25"},
};

TEST(Form1Layout, EachGrainStandsBesideItsField) {
    for (const GrainRowPlace& g : grainRows) {
        SCOPED_TRACE(g.grain);
        const ControlRow& label = row(g.label);
        const ControlRow& field = row(g.field);
        EXPECT_EQ(label.text, g.grain);
        EXPECT_EQ(field.accessibleName, g.grain);
        EXPECT_EQ(form1Controls()[label.parent].name, "Frame2");
        EXPECT_EQ(field.parent, label.parent);
        EXPECT_EQ(label.left, g.column == 0 ? 240 : 2640);
        EXPECT_EQ(field.left, g.column == 0 ? 1560 : 3960);
        EXPECT_EQ(field.top, 360 * g.row);
        EXPECT_EQ(label.top, 360 * g.row + 120);
        EXPECT_EQ(std::pair(label.width, label.height), std::pair(1215, 255));
        EXPECT_EQ(std::pair(field.width, field.height), std::pair(375, 285));
        EXPECT_EQ(field.text, "0");
        EXPECT_EQ(label.font, FontRole::dialog);
        const auto id = fieldOf(at(g.field));
        ASSERT_TRUE(id);
        EXPECT_EQ(grainRowFor(*id)->name, g.grain);
    }
}

struct Placed {
    const char* name;
    const char* parent;
    int left, top, width, height;
    const char* text;
    FontRole font;
};

const Placed placedControls[] = {
    {"Frame2", "", 120, 120, 4815, 5535, "", FontRole::dialog},
    {"Frame1", "", 5160, 120, 4215, 3255, "", FontRole::dialog},
    {"Frame3", "", 120, 5670, 3015, 830, "", FontRole::dialog},
    {"Label4", "Frame1", 600, 360, 975, 255, "Protein", FontRole::boldSystem},
    {"Label5", "Frame1", 600, 840, 1335, 255, "Carbohydrate", FontRole::boldSystem},
    {"Label6", "Frame1", 600, 1440, 735, 255, "Water", FontRole::boldSystem},
    {"Label7", "Frame1", 600, 2040, 735, 255, "Fibre", FontRole::boldSystem},
    {"Label8", "Frame1", 600, 2640, 735, 255, "Fat", FontRole::boldSystem},
    {"protein", "Frame1", 3000, 240, 615, 285, "0", FontRole::boldSystem},
    {"carbo", "Frame1", 3000, 840, 615, 285, "0", FontRole::boldSystem},
    {"water", "Frame1", 3000, 1440, 615, 285, "0", FontRole::boldSystem},
    {"Fibre", "Frame1", 3000, 2040, 615, 285, "0", FontRole::boldSystem},
    {"Fat", "Frame1", 3000, 2640, 615, 285, "0", FontRole::boldSystem},
    {"Label33", "Frame3", 600, 360, 1215, 255, "Amounts", FontRole::boldSystem},
    {"amount", "Frame3", 1800, 330, 615, 300, "0", FontRole::boldSystem},
    {"Text27", "", 5160, 3480, 4215, 2175, nullptr, FontRole::dialog},
    {"Command1", "", 3240, 5760, 3000, 735, "Clear", FontRole::boldSystem},
    {"CmdExit", "", 6360, 5760, 3000, 735, "Exit", FontRole::boldSystem},
};

TEST(Form1Layout, PlacesResultsTotalsAndButtons) {
    for (const Placed& p : placedControls) {
        SCOPED_TRACE(p.name);
        const ControlRow& c = row(p.name);
        const std::string_view parent = c.parent == noParent ? "" : form1Controls()[c.parent].name;
        EXPECT_EQ(parent, p.parent);
        EXPECT_EQ(c.left, p.left);
        EXPECT_EQ(c.top, p.top);
        EXPECT_EQ(c.width, p.width);
        EXPECT_EQ(c.height, p.height);
        if (p.text) {
            EXPECT_EQ(c.text, p.text);
        }
        EXPECT_EQ(c.font, p.font);
        EXPECT_TRUE(c.visible);
    }
    EXPECT_EQ(row("Text27").kind, ControlKind::multiLineEdit);
    EXPECT_EQ(row("Text27").colours, ColourRole::desktop);
    EXPECT_EQ(form1Window.caption, "The Composition of Grains ");
    EXPECT_EQ(std::pair(form1Window.clientWidth, form1Window.clientHeight), std::pair(9510, 6600));
}

TEST(Form1Layout, HiddenTotalsAreNeverShownNorFocused) {
    for (const char* name : {"prototal", "carbtotal", "watertotal", "fibretotal", "fattotal"}) {
        const ControlRow& c = row(name);
        EXPECT_EQ(c.kind, ControlKind::edit) << name;
        EXPECT_FALSE(c.visible) << name;
        EXPECT_EQ(c.focusOrder, noFocus) << name;
        EXPECT_EQ(c.text, "0") << name;
    }
}

TEST(Form1Layout, FocusWalksTheDocumentedOrder) {
    const std::vector<std::string_view> expected = {
        "CmdExit", "Command1", "Fat",    "Fibre",  "water",  "carbo",  "protein", "Text26",
        "Text25",  "Text24",   "Text23", "Text22", "Text21", "Text20", "Text19",  "Text18",
        "Text17",  "Text16",   "Text15", "Text14", "Text13", "Text12", "Text11",  "Text10",
        "Text9",   "Text8",    "Text7",  "Text6",  "Text5",  "Text4",  "Text3",   "Text2",
        "Text1",   "Text27",   "Text28", "amount",
    };
    std::vector<std::string_view> walked(expected.size());
    std::size_t focusable = 0;
    for (const ControlRow& c : form1Controls()) {
        if (c.focusOrder == noFocus)
            continue;
        ++focusable;
        ASSERT_LT(static_cast<std::size_t>(c.focusOrder), walked.size()) << c.name;
        walked[c.focusOrder] = c.name;
    }
    EXPECT_EQ(focusable, expected.size());
    EXPECT_EQ(walked, expected);
}

TEST(Form1Layout, InstructionsKeepEveryBlank) {
    const std::string expected =
        std::string(34, ' ') + "\r\n" + std::string(28, ' ') +
        "To Mix your own feed:" + std::string(9, ' ') + "\r\n" + std::string(13, ' ') +
        "Enter the amounts for each Grain required. \r\n" + std::string(13, ' ') +
        "These amounts are only figures they could \r\n" + std::string(24, ' ') +
        "be ounces,  pounds, kilos etc.\r\n" + std::string(9, ' ') +
        "The resulting amounts will give you an accurate \r\n" + std::string(6, ' ') +
        "Composition of the Grains you are feeding your birds.\r\n" + std::string(8, ' ') +
        "Any additions you may require please contact me.\r\n\r\n" + std::string(22, ' ') +
        "Email: grainmix@example.org\r\n" + std::string(5, ' ') + "\r\n";
    EXPECT_EQ(instructionText(), expected);
    EXPECT_EQ(row("Text27").text, expected);
}

TEST(Form1Layout, AccessibleNamesSayWhatEachControlIs) {
    const std::pair<const char*, const char*> names[] = {
        {"Text1", "Barley"},
        {"Text28", "Safflower Seeds"},
        {"protein", "Protein"},
        {"carbo", "Carbohydrate"},
        {"water", "Water"},
        {"Fibre", "Fibre"},
        {"Fat", "Fat"},
        {"amount", "Amounts"},
        {"Text27", "Instructions"},
        {"prototal", "Protein total"},
        {"fattotal", "Fat total"},
        {"Command1", "Clear"},
        {"CmdExit", "Exit"},
        {"Label1", "Barley"},
    };
    for (const auto& [control, name] : names)
        EXPECT_EQ(row(control).accessibleName, name) << control;
}

class Form1Test : public ::testing::Test {
  protected:
    std::string text(std::string_view name) const { return platform.text(at(name)); }
    void type(std::string_view name, std::string_view t) { platform.type(at(name), t); }
    std::vector<std::string> results() const {
        return {text("protein"), text("carbo"), text("water"), text("Fibre"), text("Fat")};
    }

    FakePlatform platform;
    Form1 form{platform};
};

TEST_F(Form1Test, StartsWithZeroEverywhereAndComputesNothing) {
    for (const ControlRow& c : form1Controls()) {
        if (c.kind == ControlKind::edit) {
            EXPECT_EQ(text(c.name), "0") << c.name;
        }
    }
    EXPECT_EQ(platform.setTextCalls(), 0);
    EXPECT_TRUE(platform.messages().empty());
}

TEST_F(Form1Test, TypingTenIntoBarleyShowsBarleysOwnComposition) {
    type("Text1", "1");
    EXPECT_EQ(text("amount"), " 1");
    type("Text1", "10");
    EXPECT_EQ(text("amount"), " 10");
    EXPECT_EQ(text("prototal"), "127");
    EXPECT_EQ(text("fattotal"), "19");
    EXPECT_EQ(results(), (std::vector<std::string>{"12.7", "66.6", "10.6", "5.4", "1.9"}));
    EXPECT_TRUE(platform.messages().empty());
}

// What a user does: a field's whole text replaced (a key typed over the
// selection gives one step per key), or a click on Clear.
struct Act {
    const char* field; // nullptr: Clear
    const char* text = nullptr;
};
constexpr Act clickClear{nullptr};

// What the window shows of a mix: the total amount, then the five results.
using Figures = std::vector<std::string>;

Figures figuresIn(const std::vector<std::string>& texts) {
    Figures shown;
    for (const char* name : {"amount", "protein", "carbo", "water", "Fibre", "Fat"})
        shown.push_back(texts[at(name)]);
    return shown;
}

// A total beside Barley's own row of the grain table: the results of Barley
// alone in any amount, or kept from such a mix.
Figures barleyRow(const char* amount) {
    return {amount, "12.7", "66.6", "10.6", "5.4", "1.9"};
}
const Figures cleared = {"0", "0", "0", "0", "0", "0"};

struct Scenario {
    const char* name;
    std::vector<Act> acts;
    Figures after;
    std::vector<Figures> atEachMessage; // what the window showed behind each one
};

// Worked out by hand. Each total is an amount times a percentage of the grain
// table, written to 15 digits, which hides the binary noise of the product,
// so one grain alone gives back its own row. A run that finds every amount
// reading 0 divides 0 by 0: the one case with a message.
const Scenario scenarios[] = {
    // A run here would find every amount 0, and show the message.
    {"0 typed over 0 starts nothing, and 1 typed after it counts as 1",
     {{"Text1", "0"}, {"Text1", "01"}},
     barleyRow(" 1"),
     {}},
    {"a report that leaves the text as it was starts nothing",
     {{"Text1", "10"}, {"amount", "rubbish"}, {"Text1", "10"}},
     barleyRow("rubbish"),
     {}},
    // Maize's "0.0" changes no figure, but its run writes protein's again.
    {"fields without a handler start nothing, until a run overwrites them",
     {{"Text1", "10"},
      {"protein", "05"},
      {"Text2", "0.0"},
      {"amount", "05"},
      {"Fibre", "05"},
      {"Text27", "5"}},
     {"05", "12.7", "66.6", "10.6", "05", "1.9"},
     {}},
    // The total amount reads "5x" as 5; the weighted totals refuse it and stop.
    {"a stopped recalculation keeps the last figures",
     {{"Text1", "10"}, {"Text2", "5x"}},
     barleyRow(" 15"),
     {}},
    // The one message is the typed 0's: Clear changes no amount, so runs nothing.
    {"Clear with every amount already 0",
     {{"Text1", "10"}, {"Text1", "0"}, clickClear},
     cleared,
     {barleyRow(" 0")}},
    // Clear zeroes the amounts in the table's order: Acorns, the 4th row,
    // leaves 3 of Safflower alone (its own row: 46.8 / 3 is 15.6, 48 / 3 is
    // 16, ...); Safflower, the last, leaves every amount 0.
    {"Clear with one message",
     {{"Text4", "1"}, {"Text28", "3"}, clickClear},
     cleared,
     {{" 0", "15.6", "16", "5.8", "31", "31.6"}}},
    // Zeroing Barley leaves Maize's "0.0", which reads 0; Maize's "0" is a
    // change of text all the same, and its run finds every amount 0 again.
    {"Clear with two messages",
     {{"Text1", "5"}, {"Text2", "0.0"}, clickClear},
     cleared,
     {barleyRow(" 0"), barleyRow(" 0")}},
    // "x" counts as 0 in the total and stops the weighted totals at once.
    {"Clear after an amount that is no number",
     {{"Text3", "x"}, clickClear},
     cleared,
     {{" 0", "0", "0", "0", "0", "0"}}},
};

TEST(Form1Scenario, ShowsTheFiguresAndMessagesWorkedOutByHand) {
    for (const Scenario& c : scenarios) {
        SCOPED_TRACE(c.name);
        FakePlatform platform;
        Form1 form(platform);
        for (const Act& act : c.acts) {
            if (act.field)
                platform.type(at(act.field), act.text);
            else
                platform.click(at("Command1"));
        }
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < form1ControlCount; ++i)
            texts.push_back(platform.text(i));
        EXPECT_EQ(figuresIn(texts), c.after);

        std::vector<Figures> atEachMessage;
        for (const FakePlatform::Message& shown : platform.messages()) {
            EXPECT_EQ(shown.title, form1Window.applicationTitle);
            EXPECT_EQ(shown.text, "You need to enter some amounts");
            atEachMessage.push_back(figuresIn(shown.fieldsAtThatMoment));
        }
        EXPECT_EQ(atEachMessage, c.atEachMessage);
        if (!c.acts.back().field) {
            for (const GrainRow& row : grainTable)
                EXPECT_EQ(platform.text(controlOf(row.field)), "0") << row.name;
        }
    }
}

TEST_F(Form1Test, WritingTheSameTextAgainIsNoChange) {
    form.writeField(FieldId::Text5, "0");
    form.writeField(FieldId::amount, "0");
    EXPECT_EQ(platform.setTextCalls(), 0);
    EXPECT_TRUE(platform.messages().empty());
}

struct NoteCase {
    const char* typed;
    bool marked;
};

TEST_F(Form1Test, AmountsThatAreNotNumbersAreMarkedUntilMended) {
    const NoteCase cases[] = {
        {"12abc", true}, {"12", false}, {"", true},      {"-", true},    {"1,5", true},
        {" 7 ", false},  {".5", false}, {"1e999", true}, {"1e3", false},
    };
    const std::size_t barley = at("Text1");
    for (const NoteCase& c : cases) {
        type("Text1", c.typed);
        EXPECT_EQ(!platform.note(barley).empty(), c.marked) << '\'' << c.typed << '\'';
        EXPECT_EQ(text("Text1"), c.typed) << "the note never changes the text";
    }
    EXPECT_TRUE(platform.note(at("Text2")).empty());
}

const std::string barley10Said = barleyTenSaid;

TEST_F(Form1Test, TheFiguresAreSaidOnceTheTypingPauses) {
    type("Text1", "1");
    type("Text1", "10");
    EXPECT_TRUE(platform.announced().empty()) << "nothing while the user types";
    platform.pause();
    EXPECT_EQ(platform.announced(), std::vector{barley10Said});

    type("Text1", "010");
    type("amount", " 10 ");
    platform.pause();
    EXPECT_EQ(platform.announced().size(), 1u) << "the same figures are not said again";
}

TEST_F(Form1Test, NoFiguresAreSaidWhileAMessageIsOpen) {
    type("Text1", "10");
    platform.pause();
    platform.click(at("Command1")); // the pause runs out while the message is open
    EXPECT_EQ(platform.announced(), std::vector{barley10Said});
    platform.pause();
    EXPECT_EQ(platform.announced().back(),
              "Amounts 0. Protein 0, Carbohydrate 0, Water 0, Fibre 0, Fat 0");
}

TEST_F(Form1Test, TheFiguresTheWindowOpensWithAreNotSaid) {
    platform.click(at("Command1"));
    platform.pause();
    EXPECT_TRUE(platform.announced().empty());
}

// A close can reach the window behind the message box: another program's
// WM_CLOSE, the session ending. The program ends there: the Clear that raised
// the message must not write on into the closed window.
TEST(Form1Closing, ClosingBehindTheMessageEndsTheClearThere) {
    struct ClosedBehindMessage : FakePlatform {
        void showMessage(std::string_view title, std::string_view text) override {
            FakePlatform::showMessage(title, text);
            close();
        }
    } platform;
    Form1 form(platform);
    platform.type(at("Text1"), "5");
    platform.type(at("Text2"), "0.0"); // still zero after Barley's "0": a message

    platform.click(at("Command1"));

    EXPECT_TRUE(platform.quitCalled());
    EXPECT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.text(at("Text2")), "0.0") << "no amount after Barley written";
    EXPECT_EQ(platform.text(at("protein")), "12.7") << "nor the results";
}

TEST_F(Form1Test, ExitAndClosingEndTheProgram) {
    platform.click(at("CmdExit"));
    EXPECT_TRUE(platform.quitCalled());
    EXPECT_EQ(platform.run(), 0);

    FakePlatform other;
    Form1 second(other);
    other.close();
    EXPECT_TRUE(other.quitCalled());
}

} // namespace
