#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

enum class ControlKind { groupBox, label, edit, multiLineEdit, button };

// The window's ordinary dialog font, or the bold "System" face at 9.75 pt.
enum class FontRole { dialog, boldSystem };

// Ordinary control colours, or the desktop's colour with text that reads on
// it: white where it can, as on the classic teal.
enum class ColourRole { standard, desktop };

// What a group box holds. A layout that arranges the window's parts anew (the
// page's, on a phone) and what is read out of the window find them by it.
enum class GroupRole { none, grains, results, total };

inline constexpr int noParent = -1;
inline constexpr int noFocus = -1;

// One control of the window. Positions and sizes are in twips (1/1440 inch;
// 15 twips are one pixel at 96 dots per inch), relative to the client area of
// the parent group box, or of the window when there is none.
struct ControlRow {
    std::string_view name;
    ControlKind kind;
    int parent = noParent; // index of a group box earlier in the table
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string_view text = {};
    FontRole font = FontRole::dialog;
    ColourRole colours = ColourRole::standard;
    bool visible = true;
    int focusOrder = noFocus; // 0 takes the focus when the window opens
    std::string_view accessibleName = {};
    GroupRole group = GroupRole::none; // a group box's alone
};

// A label and the edit field after it in the same group box go together: the
// label is the field's caption, read with it and laid out beside it. The
// caption of a field, if it has one.
inline std::optional<std::size_t> captionOf(std::span<const ControlRow> controls,
                                            std::size_t field) {
    const ControlRow& row = controls[field];
    if (row.kind != ControlKind::edit || row.parent == noParent)
        return std::nullopt;
    for (std::size_t at = field; at-- > 0;)
        if (controls[at].parent == row.parent)
            return controls[at].kind == ControlKind::label ? std::optional(at) : std::nullopt;
    return std::nullopt;
}

struct WindowLayout {
    std::string_view name;
    std::string_view caption;
    int clientWidth = 0; // twips
    int clientHeight = 0;
    std::string_view applicationTitle; // the message box's title
};

inline constexpr int twipsPerInch = 1440;
inline constexpr int twipsPerPixelAt96Dpi = 15;

// Logical pixels (CSS pixels, Qt's device-independent pixels) from twips,
// rounded to the nearest.
constexpr int pixelsAt96Dpi(int twips) {
    return (twips + (twips >= 0 ? 1 : -1) * twipsPerPixelAt96Dpi / 2) / twipsPerPixelAt96Dpi;
}

// The sizes the layout was drawn for, in points (1/72 inch).
inline constexpr double dialogFontPoints = 8.0;
inline constexpr double boldSystemFontPoints = 9.75;
inline constexpr int boldSystemFontWeight = 700;

struct Rgb {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
    bool operator==(const Rgb&) const = default;
};

// The background of an amount that the sums cannot use: pale enough that the
// black text on it stays easy to read, plainly not the white of the others.
// The text colour goes with it: a dark theme's light text on the pink could
// hardly be read.
inline constexpr Rgb invalidAmountColour = {0xff, 0xd6, 0xd6};
inline constexpr Rgb invalidAmountTextColour = {0x00, 0x00, 0x00};
// Where the system has no desktop colour of its own: the classic default
// desktop's teal, with white text on it.
inline constexpr Rgb classicDesktopColour = {0x00, 0x80, 0x80};
