#include "win32window.h"

#include <algorithm>
#include <vector>

namespace {

int pixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

std::wstring classOf(HWND child) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    return name;
}

std::vector<std::string_view> focusOrderFromTable() {
    std::vector<const ControlRow*> focusable;
    for (const ControlRow& c : form1Controls()) {
        if (c.focusOrder != noFocus)
            focusable.push_back(&c);
    }
    std::ranges::sort(focusable, {}, &ControlRow::focusOrder);
    std::vector<std::string_view> names;
    for (const ControlRow* c : focusable)
        names.push_back(c->name);
    return names;
}

TEST_F(Win32AtScreenDpi, ClientAreaIsTheLayoutsSizeAtTheWindowsDpi) {
    const int dpi = screenDpi();
    RECT client{};
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, pixels(form1Window.clientWidth, dpi));
    EXPECT_EQ(client.bottom, pixels(form1Window.clientHeight, dpi));
    EXPECT_EQ(textOf(window()), "The Composition of Grains ");
    EXPECT_FALSE(GetWindowLongW(window(), GWL_STYLE) & WS_THICKFRAME) << "fixed size";
}

TEST_F(Win32AtScreenDpi, EveryControlStandsWhereTheLayoutPutsIt) {
    expectEachControlWhereTheLayoutPutsIt(screenDpi());
}

struct KindOnWin32 {
    ControlKind kind;
    const wchar_t* className;
    LONG style;
    LONG styleMask;
};

const KindOnWin32 kindsOnWin32[] = {
    {ControlKind::groupBox, L"Button", BS_GROUPBOX, BS_TYPEMASK},
    {ControlKind::label, L"Static", 0, WS_TABSTOP},
    {ControlKind::edit, L"Edit", 0, ES_MULTILINE},
    {ControlKind::multiLineEdit, L"Edit", ES_MULTILINE, ES_MULTILINE},
    // The dialog manager makes the focused push button the default one.
    {ControlKind::button, L"Button", BS_PUSHBUTTON, BS_TYPEMASK & ~BS_DEFPUSHBUTTON},
};

TEST_F(Win32Window, EachKindIsItsWin32ControlShowingItsStartingText) {
    for (std::size_t i = 0; i < form1ControlCount; ++i) {
        const ControlRow& c = form1Controls()[i];
        const auto kind = std::ranges::find(kindsOnWin32, c.kind, &KindOnWin32::kind);
        HWND child = m_platform.handle(i);
        EXPECT_EQ(_wcsicmp(classOf(child).c_str(), kind->className), 0) << c.name;
        EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & kind->styleMask, kind->style) << c.name;
        EXPECT_EQ(textOf(child), c.text) << c.name;
    }
    EXPECT_EQ(textOf("Text27"), instructionText()) << "CR LF line breaks kept";
}

// A caption too wide for its control in its role's font gets a narrower or
// lower one, never below 70 % of its height; what is typed keeps the role's.
TEST_F(Win32AtScreenDpi, FontsAreTheBoldSystemFaceOrTheDialogFont) {
    const int dpi = screenDpi();
    for (std::size_t i = 0; i < form1ControlCount; ++i) {
        const ControlRow& c = form1Controls()[i];
        const auto font =
            reinterpret_cast<HFONT>(SendMessageW(m_platform.handle(i), WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        ASSERT_TRUE(font && GetObjectW(font, sizeof lf, &lf)) << c.name;
        const bool bold = c.font == FontRole::boldSystem;
        EXPECT_EQ(lf.lfWeight >= FW_BOLD, bold) << c.name;
        const int full = MulDiv(bold ? 975 : 800, dpi, 7200);
        if (c.kind == ControlKind::edit) {
            EXPECT_EQ(-lf.lfHeight, full) << c.name;
            if (bold) {
                EXPECT_STREQ(lf.lfFaceName, L"System") << c.name;
            }
        } else {
            EXPECT_LE(-lf.lfHeight, full) << c.name;
            EXPECT_GE(-lf.lfHeight * 10, full * 7) << c.name;
        }
    }
}

TEST_F(Win32Window, FocusStartsOnExit) {
    EXPECT_EQ(nameOf(GetFocus()), "CmdExit");
}

TEST_F(Win32Window, TabWalksTheFocusOrderRoundAndShiftTabWalksItBack) {
    const std::vector<std::string_view> order = focusOrderFromTable();
    ASSERT_EQ(order.size(), 36u);
    HWND start = control("CmdExit");

    std::vector<std::string_view> forward;
    HWND at = start;
    for (std::size_t i = 0; i < order.size(); ++i) {
        forward.push_back(nameOf(at));
        at = GetNextDlgTabItem(window(), at, FALSE);
    }
    EXPECT_EQ(forward, order);
    EXPECT_EQ(at, start) << "round the whole order back to Exit";

    std::vector<std::string_view> backward;
    at = start;
    for (std::size_t i = 0; i < order.size(); ++i) {
        at = GetNextDlgTabItem(window(), at, TRUE);
        backward.push_back(nameOf(at));
    }
    EXPECT_EQ(backward, std::vector<std::string_view>(order.rbegin(), order.rend()));
}

TEST_F(Win32Window, OnlyTheFocusOrderTakesTabStops) {
    for (std::size_t i = 0; i < form1ControlCount; ++i) {
        const ControlRow& c = form1Controls()[i];
        const bool tabStop = GetWindowLongW(m_platform.handle(i), GWL_STYLE) & WS_TABSTOP;
        EXPECT_EQ(tabStop, c.focusOrder != noFocus) << c.name;
    }
}

// Screen readers name an edit after the static just before it in z-order; a
// button by its own text.
TEST_F(Win32Window, EveryNamedFieldHasItsNameInTheStaticBeforeIt) {
    int named = 0;
    for (std::size_t i = 0; i < form1ControlCount; ++i) {
        const ControlRow& c = form1Controls()[i];
        if (c.accessibleName.empty() || c.focusOrder == noFocus || c.kind == ControlKind::button)
            continue;
        ++named;
        HWND label = GetWindow(m_platform.handle(i), GW_HWNDPREV);
        ASSERT_TRUE(label) << c.name;
        EXPECT_EQ(_wcsicmp(classOf(label).c_str(), L"Static"), 0) << c.name;
        EXPECT_EQ(textOf(label), c.accessibleName) << c.name;
    }
    EXPECT_EQ(named, 27 + 5 + 1 + 1);
    HWND instructionsName = GetWindow(control("Text27"), GW_HWNDPREV);
    EXPECT_EQ(textOf(instructionsName), "Instructions");
    EXPECT_FALSE(IsWindowVisible(instructionsName)) << "the instructions have no visible label";
}

} // namespace
