#include "graintable.h"
#include "messageboxwatcher.h"
#include "win32window.h"

#include <commctrl.h>

#include <map>
#include <vector>

namespace {

constexpr std::string_view results[] = {"protein", "carbo", "water", "Fibre", "Fat"};

std::vector<std::string_view> inputFields() {
    std::vector<std::string_view> names;
    for (const GrainRow& row : grainTable)
        names.push_back(fieldName(row.field));
    return names;
}

TEST_F(Win32Window, BarleyRoadRecalculatesOnEachKeystroke) {
    MessageBoxWatcher messages(window());
    select("Text1", 0, -1);

    type("Text1", "1");
    EXPECT_EQ(textOf("Text1"), "1");
    EXPECT_EQ(textOf("amount"), " 1");

    type("Text1", "0");
    EXPECT_EQ(textOf("Text1"), "10");
    EXPECT_EQ(textOf("amount"), " 10");
    const std::map<std::string_view, std::string> expected = {
        {"prototal", "127"}, {"carbtotal", "666"}, {"watertotal", "106"}, {"fibretotal", "54"},
        {"fattotal", "19"},  {"protein", "12.7"},  {"carbo", "66.6"},     {"water", "10.6"},
        {"Fibre", "5.4"},    {"Fat", "1.9"},
    };
    for (const auto& [field, text] : expected)
        EXPECT_EQ(textOf(field), text) << field;
    EXPECT_TRUE(messages.seen().empty());
}

struct Typing {
    const char* field;
    int selectFrom;
    int selectTo;
    const char* keys;
    const char* text;
    const char* amount;
};

// What one edit gives. Only the 27 amounts start a recalculation; typing
// anywhere else, or a key that leaves the text as it was, leaves amount as it
// stands.
const Typing typings[] = {
    {"Text1", 1, 1, "1", "01", " 1"},        {"Text1", 0, -1, "0", "0", "0"},
    {"Text28", 0, -1, "2.5", "2.5", " 2.5"}, {"Text26", 0, -1, "7", "7", " 7"},
    {"amount", 0, -1, "5", "5", "5"},        {"protein", 0, -1, "5", "5", "0"},
    {"Text27", 0, -1, "5", "5", "0"},
};

TEST_F(Win32Window, TypingRecalculatesOnlyForAmounts) {
    for (const Typing& t : typings) {
        Win32Platform platform;
        Form1 form(platform);
        const auto field = [&](std::string_view name) { return platform.handle(indexOf(name)); };
        SendMessageW(field(t.field), EM_SETSEL, static_cast<WPARAM>(t.selectFrom), t.selectTo);
        for (const char* key = t.keys; *key; ++key)
            SendMessageW(field(t.field), WM_CHAR, static_cast<WPARAM>(*key), 1);
        EXPECT_EQ(textOf(field(t.field)), t.text) << t.field;
        EXPECT_EQ(textOf(field("amount")), t.amount) << t.field;
    }
}

struct ClearCase {
    const char* what;
    std::vector<std::pair<const char*, const char*>> mix;
    std::size_t messages;
};

const ClearCase clearCases[] = {
    {"one grain", {{"Text1", "10"}}, 1},
    {"two grains", {{"Text1", "10"}, {"Text2", "5"}}, 1},
    {"the last row only", {{"Text28", "3"}}, 1},
    {"a zero written differently", {{"Text5", "0.0"}}, 1},
    {"an amount that is no number", {{"Text3", "x"}}, 1},
    {"nothing", {}, 0},
};

TEST_F(Win32Window, ClearShowsTheMessageOnceAtTheLastAmountItZeroes) {
    for (const ClearCase& c : clearCases) {
        Win32Platform platform;
        Form1 form(platform);
        const auto field = [&](std::string_view name) { return platform.handle(indexOf(name)); };
        std::vector<std::string> inputsWhenShown;
        std::string amountWhenShown;
        MessageBoxWatcher messages(platform.window(), [&] {
            inputsWhenShown.clear();
            for (std::string_view name : inputFields())
                inputsWhenShown.push_back(textOf(field(name)));
            amountWhenShown = textOf(field("amount"));
        });
        for (const auto& [name, text] : c.mix)
            SetWindowTextW(field(name), widen(text).c_str());
        messages.forget();

        SendMessageW(field("Command1"), BM_CLICK, 0, 0);

        ASSERT_EQ(messages.seen().size(), c.messages) << c.what;
        if (c.messages > 0) {
            const MessageBoxWatcher::Seen& box = messages.seen().front();
            EXPECT_EQ(box.text, L"You need to enter some amounts") << c.what;
            EXPECT_EQ(box.title, widen(form1Window.applicationTitle)) << c.what;
            EXPECT_TRUE(box.hasOk && !box.hasCancel && !box.showsIcon) << c.what;
            EXPECT_EQ(inputsWhenShown, std::vector<std::string>(grainCount, "0")) << c.what;
            // Written by the recalculation that raised it, before Clear's own
            // writes: those give amount no leading blank.
            EXPECT_EQ(amountWhenShown, " 0") << c.what;
        }
        for (std::string_view name : inputFields())
            EXPECT_EQ(textOf(field(name)), "0") << c.what << ' ' << name;
        for (std::string_view name : results)
            EXPECT_EQ(textOf(field(name)), "0") << c.what << ' ' << name;
        EXPECT_EQ(textOf(field("amount")), "0") << c.what << ": no leading blank";
    }
}

// Both writes that zero an amount find every amount zero: each shows the
// message, the second only once the first is dismissed.
TEST_F(Win32Window, ClearShowsTheMessageAgainForASecondAmountItZeroes) {
    select("Text1", 0, -1);
    type("Text1", "5");
    select("Text2", 0, -1);
    type("Text2", "0.0");
    std::vector<std::string> maizeWhenShown;
    MessageBoxWatcher messages(window(), [&] { maizeWhenShown.push_back(textOf("Text2")); });

    click("Command1");

    ASSERT_EQ(messages.seen().size(), 2u);
    for (const MessageBoxWatcher::Seen& box : messages.seen())
        EXPECT_EQ(box.text, L"You need to enter some amounts");
    EXPECT_EQ(maizeWhenShown, (std::vector<std::string>{"0.0", "0"}));
    for (std::string_view name : inputFields())
        EXPECT_EQ(textOf(name), "0") << name;
    for (std::string_view name : results)
        EXPECT_EQ(textOf(name), "0") << name;
    EXPECT_EQ(textOf("amount"), "0");
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
