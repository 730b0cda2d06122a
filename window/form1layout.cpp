#include "form1layout.h"

#include "graintable.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::string_view contactAddress = "grainmix@example.org";

// Twelve lines: leading blanks, text, trailing blanks. The blanks centre the
// lines in a classic dialog font, so they are part of the text.
struct InstructionLine {
    int leading;
    std::string_view text;
    int trailing;
};
constexpr InstructionLine instructionLines[] = {
    {34, "", 0},
    {28, "To Mix your own feed:", 9},
    {13, "Enter the amounts for each Grain required.", 1},
    {13, "These amounts are only figures they could", 1},
    {24, "be ounces,  pounds, kilos etc.", 0},
    {9, "The resulting amounts will give you an accurate", 1},
    {6, "Composition of the Grains you are feeding your birds.", 0},
    {8, "Any additions you may require please contact me.", 0},
    {0, "", 0},
    {22, "Email: ", 0}, // followed by the contact address
    {5, "", 0},
    {0, "", 0},
};
constexpr std::size_t contactLine = 9;

constexpr std::size_t instructionLength() {
    std::size_t length = contactAddress.size() + 2 * (std::size(instructionLines) - 1);
    for (const InstructionLine& line : instructionLines)
        length += static_cast<std::size_t>(line.leading + line.trailing) + line.text.size();
    return length;
}

constexpr auto instructionChars = [] {
    std::array<char, instructionLength()> t{};
    auto out = t.begin();
    const auto append = [&](std::string_view text) {
        out = std::copy(text.begin(), text.end(), out);
    };
    const auto blanks = [&](int count) { out = std::fill_n(out, count, ' '); };
    for (std::size_t i = 0; i < std::size(instructionLines); ++i) {
        const InstructionLine& line = instructionLines[i];
        if (i > 0)
            append("\r\n");
        blanks(line.leading);
        append(line.text);
        if (i == contactLine)
            append(contactAddress);
        blanks(line.trailing);
    }
    return t;
}();

// Where each grain stands: two alphabetical columns, not the order in which a
// mix adds up its rows.
struct GrainPlace {
    int column;
    int row;
    std::string_view label;
    FieldId field;
};
constexpr GrainPlace grainPlaces[] = {
    {0, 1, "Label10", FieldId::Text4},   {0, 2, "Label1", FieldId::Text1},
    {0, 3, "Label9", FieldId::Text5},    {0, 4, "Label11", FieldId::Text6},
    {0, 5, "Label12", FieldId::Text7},   {0, 6, "Label13", FieldId::Text8},
    {0, 7, "Label15", FieldId::Text10},  {0, 8, "Label16", FieldId::Text11},
    {0, 9, "Label17", FieldId::Text12},  {0, 10, "Label18", FieldId::Text13},
    {0, 11, "Label14", FieldId::Text9},  {0, 12, "Label2", FieldId::Text2},
    {0, 13, "Label3", FieldId::Text3},   {1, 1, "Label19", FieldId::Text14},
    {1, 2, "Label20", FieldId::Text15},  {1, 3, "Label21", FieldId::Text16},
    {1, 4, "Label22", FieldId::Text17},  {1, 5, "Label31", FieldId::Text26},
    {1, 6, "Label23", FieldId::Text18},  {1, 7, "Label24", FieldId::Text19},
    {1, 8, "Label25", FieldId::Text20},  {1, 9, "Label26", FieldId::Text21},
    {1, 10, "Label32", FieldId::Text28}, {1, 11, "Label27", FieldId::Text22},
    {1, 12, "Label28", FieldId::Text23}, {1, 13, "Label29", FieldId::Text24},
    {1, 14, "Label30", FieldId::Text25},
};
constexpr int labelLeft[] = {240, 2640};
constexpr int fieldLeft[] = {1560, 3960};

struct ResultPlace {
    std::string_view label;
    std::string_view caption;
    int top;
    int width;
    FieldId field;
    int fieldTop;
};
constexpr ResultPlace resultPlaces[] = {
    {"Label4", "Protein", 360, 975, FieldId::protein, 240},
    {"Label5", "Carbohydrate", 840, 1335, FieldId::carbo, 840},
    {"Label6", "Water", 1440, 735, FieldId::water, 1440},
    {"Label7", "Fibre", 2040, 735, FieldId::Fibre, 2040},
    {"Label8", "Fat", 2640, 735, FieldId::Fat, 2640},
};

// The order in which Tab walks the controls; the first has the focus at start.
constexpr std::string_view focusOrder[] = {
    "CmdExit", "Command1", "Fat",    "Fibre",  "water",  "carbo",  "protein", "Text26", "Text25",
    "Text24",  "Text23",   "Text22", "Text21", "Text20", "Text19", "Text18",  "Text17", "Text16",
    "Text15",  "Text14",   "Text13", "Text12", "Text11", "Text10", "Text9",   "Text8",  "Text7",
    "Text6",   "Text5",    "Text4",  "Text3",  "Text2",  "Text1",  "Text27",  "Text28", "amount",
};

constexpr int frame2 = 0;
constexpr int frame1 = 1;
constexpr int frame3 = 2;

constexpr ControlRow place(std::string_view name, ControlKind kind, int parent, int left, int top,
                           int width, int height, std::string_view text = {},
                           FontRole font = FontRole::dialog) {
    ControlRow c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.text = text;
    c.font = font;
    return c;
}

// Reached only when a name is not a grain's field; being no constexpr
// function, it stops the table below from compiling.
void notAGrainField() {}

constexpr std::string_view grainName(FieldId field) {
    for (const GrainRow& row : grainTable)
        if (row.field == field)
            return row.name;
    notAGrainField();
    return {};
}

// Being no constexpr functions, these stop the table below from compiling
// when its rows do not fill form1ControlCount exactly: one row too many would
// otherwise write past the array.
void moreRowsThanForm1ControlCount() {}
void fewerRowsThanForm1ControlCount() {}

// The rows in the order they are added, counted as they come.
class Rows {
  public:
    constexpr ControlRow& operator[](std::size_t i) { return m_rows[i]; }
    constexpr ControlRow& add(const ControlRow& row) {
        if (m_count == m_rows.size())
            moreRowsThanForm1ControlCount();
        m_rows[m_count] = row;
        return m_rows[m_count++];
    }
    constexpr std::array<ControlRow, form1ControlCount> filled() const {
        if (m_count != m_rows.size())
            fewerRowsThanForm1ControlCount();
        return m_rows;
    }

  private:
    std::array<ControlRow, form1ControlCount> m_rows{};
    std::size_t m_count = 0;
};

constexpr std::array<ControlRow, form1ControlCount> makeControls() {
    using K = ControlKind;
    using F = FontRole;
    Rows c;

    c.add(place("Frame2", K::groupBox, noParent, 120, 120, 4815, 5535));
    c.add(place("Frame1", K::groupBox, noParent, 5160, 120, 4215, 3255));
    c.add(place("Frame3", K::groupBox, noParent, 120, 5670, 3015, 830));
    c[frame2].accessibleName = "Amounts of grains";
    c[frame1].accessibleName = "Composition of the mix";
    c[frame3].accessibleName = "Total amount";
    c[frame2].group = GroupRole::grains;
    c[frame1].group = GroupRole::results;
    c[frame3].group = GroupRole::total;

    for (const GrainPlace& g : grainPlaces) {
        const std::string_view grain = grainName(g.field);
        const int top = 360 * g.row;
        c.add(place(g.label, K::label, frame2, labelLeft[g.column], top + 120, 1215, 255, grain));
        c.add(place(fieldName(g.field), K::edit, frame2, fieldLeft[g.column], top, 375, 285, "0"))
            .accessibleName = grain;
    }

    for (const ResultPlace& r : resultPlaces) {
        c.add(place(r.label, K::label, frame1, 600, r.top, r.width, 255, r.caption, F::boldSystem));
        c.add(place(fieldName(r.field), K::edit, frame1, 3000, r.fieldTop, 615, 285, "0",
                    F::boldSystem))
            .accessibleName = r.caption;
    }

    c.add(place("Label33", K::label, frame3, 600, 360, 1215, 255, "Amounts", F::boldSystem));
    c.add(place("amount", K::edit, frame3, 1800, 330, 615, 300, "0", F::boldSystem))
        .accessibleName = "Amounts";

    ControlRow& instructions =
        c.add(place("Text27", K::multiLineEdit, noParent, 5160, 3480, 4215, 2175,
                    {instructionChars.data(), instructionChars.size()}));
    instructions.colours = ColourRole::desktop;
    instructions.accessibleName = "Instructions";

    c.add(place("Command1", K::button, noParent, 3240, 5760, 3000, 735, "Clear", F::boldSystem));
    c.add(place("CmdExit", K::button, noParent, 6360, 5760, 3000, 735, "Exit", F::boldSystem));

    // Never shown and never in the focus chain: the recalculation writes its
    // weighted totals here and reads them back.
    // Screen readers list hidden fields too, so they are named.
    constexpr std::string_view totalNames[] = {"Protein total", "Carbohydrate total", "Water total",
                                               "Fibre total", "Fat total"};
    for (Nutrient nutrient : allNutrients) {
        ControlRow& total =
            c.add(place(fieldName(totalField(nutrient)), K::edit, noParent, 0, 0, 615, 285, "0"));
        total.accessibleName = totalNames[index(nutrient)];
        total.visible = false;
    }

    std::array<ControlRow, form1ControlCount> rows = c.filled();
    for (ControlRow& control : rows) {
        if (control.accessibleName.empty() && control.kind != K::edit)
            control.accessibleName = control.text;
        const auto* at = std::find(std::begin(focusOrder), std::end(focusOrder), control.name);
        if (at != std::end(focusOrder))
            control.focusOrder = static_cast<int>(at - std::begin(focusOrder));
    }
    return rows;
}

// A constant, so that a table whose rows do not fill it does not compile.
constexpr std::array<ControlRow, form1ControlCount> controlTable = makeControls();

} // namespace

std::string_view instructionText() {
    return {instructionChars.data(), instructionChars.size()};
}

const std::array<ControlRow, form1ControlCount>& form1Controls() {
    return controlTable;
}

std::optional<std::size_t> controlNamed(std::string_view name) {
    const auto& controls = form1Controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].name == name)
            return i;
    return std::nullopt;
}

std::size_t controlOf(FieldId id) {
    static const std::array<std::size_t, fieldCount> controls = [] {
        std::array<std::size_t, fieldCount> found{};
        for (std::size_t f = 0; f < fieldCount; ++f)
            found[f] = *controlNamed(fieldName(static_cast<FieldId>(f)));
        return found;
    }();
    return controls[index(id)];
}

std::optional<FieldId> fieldOf(std::size_t control) {
    // Asked on every change a toolkit reports: the inverse looked up, not searched.
    static const std::array<std::optional<FieldId>, form1ControlCount> fields = [] {
        std::array<std::optional<FieldId>, form1ControlCount> found{};
        for (std::size_t f = 0; f < fieldCount; ++f)
            found[controlOf(static_cast<FieldId>(f))] = static_cast<FieldId>(f);
        return found;
    }();
    return control < fields.size() ? fields[control] : std::nullopt;
}
