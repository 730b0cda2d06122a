#include "fieldsascomputed.h"
#include "messageboxwatcher.h"
#include "win32window.h"

#include <commctrl.h>

#include <map>
#include <vector>

namespace {

// The one case driven the way Windows drives the controls: keystrokes as
// WM_CHAR, Clear as BM_CLICK. Each key is reported, the figures come back as
// the core computes them, and Clear's message is a Win32 message box that
// holds Clear until it is dismissed. What the window decides is Form1's test.
TEST_F(Win32Window, KeysReachTheWindowAndItsFiguresAndMessageComeBack) {
    select("Text1", 0, -1);
    type("Text1", "1");
    EXPECT_EQ(textOf("amount"), " 1");
    type("Text1", ".5");
    EXPECT_EQ(textOf("Text1"), "1.5");
    expectFieldsAsComputed([this](std::string_view name) { return textOf(name); }, FieldId::Text1,
                           "1.5");

    std::string amountWhenShown;
    MessageBoxWatcher messages(window(), [&] { amountWhenShown = textOf("amount"); });
    click("Command1");
    ASSERT_EQ(messages.seen().size(), 1u);
    const MessageBoxWatcher::Seen& box = messages.seen().front();
    EXPECT_EQ(box.text, widen(noAmountsMessage));
    EXPECT_EQ(box.title, widen(form1Window.applicationTitle));
    EXPECT_TRUE(box.hasOk && !box.hasCancel && !box.showsIcon);
    EXPECT_EQ(amountWhenShown, " 0") << "a box that did not wait would let Clear write \"0\"";
    for (const ControlRow& c : form1Controls()) {
        if (c.kind == ControlKind::edit && c.visible) {
            EXPECT_EQ(textOf(c.name), c.text) << c.name;
        }
    }
}

class ChangeRecorder : public PlatformEvents {
  public:
    std::vector<std::size_t> changes;

  private:
    void textChanged(std::size_t control) override { changes.push_back(control); }
    void clicked(std::size_t) override {}
    void closeRequested() override {}
    void pauseEnded() override {}
};

struct Report {
    const char* what;
    const char* field;
    void (*act)(Win32Platform&, std::size_t);
};

// The window tells changes from texts left as they were; the backend passes
// on everything, each write exactly once whatever the edit itself sends.
const Report reports[] = {
    {"a write", "Text1", [](Win32Platform& p, std::size_t c) { p.setText(c, "5"); }},
    {"a write of the text shown", "Text1",
     [](Win32Platform& p, std::size_t c) { p.setText(c, "0"); }},
    {"a write to the multi-line edit", "Text27",
     [](Win32Platform& p, std::size_t c) { p.setText(c, "5"); }},
    {"a key that leaves the text as it was", "Text1",
     [](Win32Platform& p, std::size_t c) {
         SendMessageW(p.handle(c), EM_SETSEL, 0, -1);
         SendMessageW(p.handle(c), WM_CHAR, L'0', 1);
     }},
};

TEST(Win32Reports, EveryWriteAndKeyIsReportedOnceUnfiltered) {
    for (const Report& r : reports) {
        Win32Platform platform;
        ChangeRecorder events;
        platform.createWindow(form1Window, form1Controls(), events);
        const std::size_t control = controlNamed(r.field).value();
        r.act(platform, control);
        EXPECT_EQ(events.changes, std::vector<std::size_t>{control}) << r.what;
    }
}

struct TooltipSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK visitForTooltip(HWND w, LPARAM p) {
    auto* search = reinterpret_cast<TooltipSearch*>(p);
    wchar_t name[32] = {};
    GetClassNameW(w, name, 32);
    if (GetWindow(w, GW_OWNER) == search->owner && _wcsicmp(name, TOOLTIPS_CLASSW) == 0)
        search->found = w;
    return TRUE;
}

HWND tooltipOf(HWND owner) {
    TooltipSearch search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &visitForTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring tipFor(HWND tooltip, HWND owner, HWND tool) {
    wchar_t text[256] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    return text;
}

COLORREF backgroundOf(HWND owner, HWND child) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(owner, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(child));
    const COLORREF colour = GetBkColor(dc);
    DeleteDC(dc);
    return colour;
}

TEST_F(Win32Window, AnAmountThatIsNoNumberIsMarkedUntilMended) {
    HWND tooltip = tooltipOf(window());
    ASSERT_TRUE(tooltip);
    type("Text4", "x");
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_NE(tipFor(tooltip, window(), control("Text4")), L"");
    EXPECT_NE(backgroundOf(window(), control("Text4")), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(backgroundOf(window(), control("Text5")), GetSysColor(COLOR_WINDOW));

    select("Text4", 0, -1);
    type("Text4", "4");
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_EQ(backgroundOf(window(), control("Text4")), GetSysColor(COLOR_WINDOW));
}

// The instructions are a multi-line edit, which wants every key for itself;
// in the running window Tab still leaves it, and Escape ends nothing.
TEST_F(Win32Window, KeysInTheInstructionsNeitherTrapTheFocusNorEndTheProgram) {
    HWND instructions = control("Text27");
    SetFocus(instructions);
    PostMessageW(instructions, WM_KEYDOWN, VK_TAB, 1);
    PostQuitMessage(0);
    m_platform.run();
    EXPECT_EQ(nameOf(GetFocus()), "Text28");

    SetFocus(instructions);
    PostMessageW(instructions, WM_KEYDOWN, VK_ESCAPE, 1);
    PostQuitMessage(0);
    m_platform.run();
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_EQ(textOf(instructions), instructionText());
}

struct Ending {
    const char* what;
    const char* target;
    UINT message;
};

const Ending endings[] = {
    {"Exit", "CmdExit", BM_CLICK},
    {"closing the window", nullptr, WM_CLOSE},
};

TEST_F(Win32Window, ExitAndClosingEndTheLoopWithStatusZero) {
    for (const Ending& e : endings) {
        Win32Platform platform;
        Form1 form(platform);
        HWND main = platform.window();
        SendMessageW(platform.handle(indexOf("Text1")), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(L"10"));
        PostMessageW(e.target ? platform.handle(indexOf(e.target)) : main, e.message, 0, 0);
        EXPECT_EQ(platform.run(), 0) << e.what;
        EXPECT_FALSE(IsWindow(main)) << e.what;
    }
}

void CALLBACK giveUp(HWND, UINT, UINT_PTR, DWORD) {
    PostQuitMessage(1);
}

TEST_F(Win32Window, TheLoopEndsWithTheWindowHoweverItIsDestroyed) {
    Win32Platform platform;
    Form1 form(platform);
    const UINT_PTR timer = SetTimer(nullptr, 0, 5000, &giveUp);
    DestroyWindow(platform.window());
    EXPECT_EQ(platform.run(), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(platform.window(), nullptr);
}

} // namespace
