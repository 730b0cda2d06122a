#include "win32window.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

std::wstring windowText(HWND child) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> linesOf(const std::wstring& text) {
    std::vector<std::wstring> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The room a control's text really has: inside a button's or a group box's
// edges, inside an edit's margins, or its whole client area.
RECT roomOf(HWND child) {
    RECT room{};
    GetClientRect(child, &room);
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (_wcsicmp(name, L"Button") == 0)
        InflateRect(&room, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    else if (_wcsicmp(name, L"Edit") == 0)
        SendMessageW(child, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    return room;
}

BOOL CALLBACK collect(HWND child, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

// Every text shown on the window, measured in the font its control reports
// and against the room that control has: each line whole on one line.
void expectEveryTextFits(HWND window, int dpi) {
    std::vector<HWND> children;
    EnumChildWindows(window, &collect, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        const std::wstring text = windowText(child);
        if (!IsWindowVisible(child) || text.empty())
            continue;
        const RECT room = roomOf(child);
        auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (!font)
            font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        HDC dc = GetDC(child);
        const HGDIOBJ old = SelectObject(dc, font);
        const std::vector<std::wstring> lines = linesOf(text);
        for (const std::wstring& line : lines) {
            SIZE size{};
            GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
            EXPECT_LE(size.cx, room.right - room.left)
                << narrow(line) << " (" << GetDlgCtrlID(child) << ") at " << dpi << " DPI";
            if (lines.size() == 1) {
                EXPECT_LE(size.cy, room.bottom - room.top)
                    << narrow(line) << " (" << GetDlgCtrlID(child) << ") at " << dpi << " DPI";
            }
        }
        SelectObject(dc, old);
        ReleaseDC(child, dc);
    }
}

TEST_F(Win32AtScreenDpi, EveryTextFitsItsControlAtTheScreensDpi) {
    // The session names the DPI it gave the screen: a run meant for another
    // scale must not pass at 96 DPI unseen.
    if (const char* given = std::getenv("GRAINMIX_SCREEN_DPI")) {
        EXPECT_EQ(screenDpi(), std::atoi(given));
    }
    EXPECT_EQ(m_platform.dpi(), screenDpi());
    expectEveryTextFits(window(), screenDpi());
}

// A label's ink may reach past its text's advance: its last pixel column stays
// blank, or the caption looks cut off. A label that paints nothing at all
// would pass that, so each must first show some ink.
TEST_F(Win32AtScreenDpi, NoLabelsInkReachesItsLastColumn) {
    for (std::size_t i = 0; i < form1ControlCount; ++i) {
        const ControlRow& c = form1Controls()[i];
        if (c.kind != ControlKind::label || !c.visible)
            continue;
        const Painting label(m_platform.handle(i), true);
        const COLORREF background = label.background();
        ASSERT_GT(std::ranges::count_if(label.pixels, [&](COLORREF p) { return p != background; }),
                  0)
            << c.text << " paints nothing at " << screenDpi() << " DPI";
        for (int y = 0; y < label.height; ++y) {
            EXPECT_EQ(label.at(label.width - 1, y), background)
                << c.text << " at row " << y << " at " << screenDpi() << " DPI";
        }
    }
}

TEST_F(Win32AtScreenDpi, MovingToAScreenOfAnotherScaleTakesTheSuggestedFrameAndLaysOutAgain) {
    const int dpi = screenDpi() * 3 / 2;
    // What Windows would suggest: the frame around the layout's client area
    // at the new DPI, somewhere on the new screen.
    RECT suggested{0, 0, MulDiv(form1Window.clientWidth, dpi, 1440),
                   MulDiv(form1Window.clientHeight, dpi, 1440)};
    AdjustWindowRectEx(&suggested, static_cast<DWORD>(GetWindowLongW(window(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window(), GWL_EXSTYLE)));
    OffsetRect(&suggested, 40 - suggested.left, 30 - suggested.top);
    SendMessageW(window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(m_platform.dpi(), dpi);

    RECT frame{};
    GetWindowRect(window(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested))
        << frame.left << ',' << frame.top << ' ' << frame.right << ',' << frame.bottom;
    expectEachControlWhereTheLayoutPutsIt(dpi);
    expectEveryTextFits(window(), dpi);
    EXPECT_EQ(textOf("Text27"), instructionText());
}

} // namespace
