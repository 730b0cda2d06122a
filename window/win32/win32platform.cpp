#include "win32platform.h"

#include "creationorder.h"
#include "dpi.h"
#include "paintedtext.h"
#include "widetext.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

namespace {

constexpr wchar_t windowClass[] = L"GrainMixWindow";
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD windowExStyle = 0;
constexpr int noteWidthTwips = 4320;
// What a push button's edge and focus rectangle take from its caption's room
// on each side, in pixels at 96 DPI.
constexpr int buttonInset = 3;
constexpr UINT_PTR pauseTimer = 1;

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

struct WindowClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

WindowClass classOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::groupBox:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::label:
        // A label too long for its box loses a pixel at the end instead of
        // wrapping to a second line that its height cuts off.
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::edit:
        return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::multiLineEdit:
        // Scrolls sideways rather than wrap: each line is centred by its own
        // blanks, and a wrapped word would stand alone on a line.
        return {L"EDIT", ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN,
                WS_EX_CLIENTEDGE};
    case ControlKind::button:
        return {L"BUTTON", BS_PUSHBUTTON, 0};
    }
    return {L"STATIC", 0, 0};
}

// Where a control stands on the window: group boxes hold nothing in Win32,
// so each parent's position is added in.
POINT windowPosition(std::span<const ControlRow> controls, std::size_t index) {
    POINT p{controls[index].left, controls[index].top};
    for (int parent = controls[index].parent; parent != noParent;
         parent = controls[static_cast<std::size_t>(parent)].parent) {
        p.x += controls[static_cast<std::size_t>(parent)].left;
        p.y += controls[static_cast<std::size_t>(parent)].top;
    }
    return p;
}

void registerWindowClass(WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance(), windowClass, &existing))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance();
    // The program's own icon is resource 1; test programs have none.
    wc.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(1));
    if (!wc.hIcon)
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = windowClass;
    RegisterClassExW(&wc);
}

} // namespace

Win32Platform::Win32Platform() {
    // Without this Windows would scale the window up as a bitmap on a high-DPI
    // screen and blur every letter; the twips are converted at the real DPI.
    // The program's manifest asks for the same; test programs have none.
    becomeDpiAware();
    INITCOMMONCONTROLSEX common{sizeof common, ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    registerWindowClass(&Win32Platform::windowProc);
}

Win32Platform::~Win32Platform() {
    m_reporting = false;
    m_destroying = true;
    if (m_window)
        DestroyWindow(m_window);
}

void Win32Platform::createWindow(const WindowLayout& window, std::span<const ControlRow> controls,
                                 PlatformEvents& events) {
    m_events = &events;
    m_table = controls;
    m_controls.assign(controls.size(), {});

    m_window = CreateWindowExW(windowExStyle, windowClass, widen(window.caption).c_str(),
                               windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, nullptr, nullptr, instance(), this);
    m_dpi = dpiOf(m_window);
    m_clientTwips = {window.clientWidth, window.clientHeight};
    RECT at{};
    GetWindowRect(m_window, &at);
    resizeWindow(at.left, at.top);

    m_fonts = std::make_unique<FittedFonts>(m_dpi);
    for (const Creation& c : creationOrder(controls)) {
        HWND child = createChild(c.control, c.nameLabel);
        if (!c.nameLabel)
            m_controls[c.control].handle = child;
    }
    createTooltip();
    m_figures = std::make_unique<LiveRegion>(m_window);

    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].focusOrder == 0)
            SetFocus(m_controls[i].handle);
    }
    m_reporting = true;
}

HWND Win32Platform::createChild(std::size_t control, bool nameLabel) {
    const ControlRow& row = m_table[control];
    const WindowClass wc = classOf(nameLabel ? ControlKind::label : row.kind);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | wc.style;
    if (row.visible && !nameLabel)
        style |= WS_VISIBLE;
    if (row.visible && row.focusOrder != noFocus && !nameLabel)
        style |= WS_TABSTOP;

    const std::wstring text = widen(nameLabel ? row.accessibleName : row.text);
    // Invisible name labels need no id: nothing but a screen reader reads them.
    const auto id = nameLabel ? 0 : firstControlId + static_cast<int>(control);
    HWND child =
        CreateWindowExW(wc.exStyle, wc.name, text.c_str(), style, 0, 0, 0, 0, m_window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    m_placements.push_back({child, control, nameLabel});
    place(m_placements.back());
    return child;
}

// Puts a child at its place at the window's DPI, in the font that fits its
// caption there.
void Win32Platform::place(const Placement& placement) {
    const ControlRow& row = m_table[placement.control];
    const POINT at = windowPosition(m_table, placement.control);
    HWND child = placement.handle;
    const SIZE size{pixels(row.width), pixels(row.height)};
    SetWindowPos(child, nullptr, pixels(at.x), pixels(at.y), size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A name label is never shown.
    const int own = m_fonts->pixels(row.font);
    CaptionFont step{own};
    if (!placement.nameLabel && captionFitted(row.kind)) {
        // Steps a pixel apart can give the same font at a small size: each
        // font is measured once.
        HFONT tried = nullptr;
        bool fits = false;
        step = fitCaption(own, [&](CaptionFont next) {
            const HFONT font = m_fonts->font(row.font, next);
            if (font != tried) {
                SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
                tried = font;
                fits = captionFits(child, row.kind);
            }
            return fits;
        });
    }
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts->font(row.font, step)), FALSE);
    InvalidateRect(child, nullptr, TRUE);
}

// Whether every line of a control's text fits the room the control gives it,
// painted in the font the control has now, with the room's last pixel column
// left blank: ink that reaches it looks cut off.
bool Win32Platform::captionFits(HWND child, ControlKind kind) const {
    RECT rect{};
    GetClientRect(child, &rect);
    if (kind == ControlKind::button) {
        const int inset = MulDiv(buttonInset, m_dpi, USER_DEFAULT_SCREEN_DPI);
        InflateRect(&rect, -inset, -inset);
    } else if (kind == ControlKind::multiLineEdit) {
        // Its margins follow its font.
        SendMessageW(child, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    }
    // A multi-line field's lines scroll downwards.
    const CaptionRoom room{
        static_cast<int>(rect.right - rect.left),
        kind == ControlKind::multiLineEdit ? anyHeight : static_cast<int>(rect.bottom - rect.top)};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));

    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    bool fits = true;
    for (std::size_t start = 0; fits && start <= text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        const PaintedText line =
            paintedText(font, std::wstring_view(text).substr(start, end - start));
        fits = lineFits(line, room);
        start = end + 2;
    }
    return fits;
}

void Win32Platform::resizeWindow(int left, int top) {
    const SIZE wanted{pixels(m_clientTwips.cx), pixels(m_clientTwips.cy)};
    const RECT frame = frameFor({0, 0, wanted.cx, wanted.cy}, windowStyle, windowExStyle, m_dpi);
    SIZE outer{frame.right - frame.left, frame.bottom - frame.top};
    SetWindowPos(m_window, nullptr, left, top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the frame is drawn at another DPI than the one asked for (a
    // system-aware window, or Wine), the client area comes out by what
    // that frame differs: make up for it.
    RECT client{};
    GetClientRect(m_window, &client);
    if (client.right != wanted.cx || client.bottom != wanted.cy) {
        outer.cx += wanted.cx - client.right;
        outer.cy += wanted.cy - client.bottom;
        SetWindowPos(m_window, nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Platform::onDpiChanged(int dpi, const RECT& suggested) {
    // The new fonts are in place before the old ones go.
    auto old = std::move(m_fonts);
    m_dpi = dpi;
    m_fonts = std::make_unique<FittedFonts>(m_dpi);
    // Windows has worked out where the window goes on the new screen and how
    // large its frame is there: taken as given.
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Placement& p : m_placements)
        place(p);
    if (m_tooltip)
        SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, pixels(noteWidthTwips));
    InvalidateRect(m_window, nullptr, TRUE);
}

void Win32Platform::createTooltip() {
    m_tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, instance(), nullptr);
    // Notes are a sentence long: wrap them rather than run off the screen.
    SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, pixels(noteWidthTwips));
}

int Win32Platform::pixels(int twips) const {
    return MulDiv(twips, m_dpi, twipsPerInch);
}

HWND Win32Platform::handle(std::size_t control) const {
    return control < m_controls.size() ? m_controls[control].handle : nullptr;
}

int Win32Platform::controlOf(HWND child) const {
    if (!child || GetParent(child) != m_window)
        return -1;
    const int index = GetDlgCtrlID(child) - firstControlId;
    return index >= 0 && static_cast<std::size_t>(index) < m_controls.size() ? index : -1;
}

std::string Win32Platform::text(std::size_t control) const {
    HWND child = handle(control);
    const int length = child ? GetWindowTextLengthW(child) : 0;
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(child, wide.data(), length + 1);
    wide.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return narrow(wide);
}

void Win32Platform::setText(std::size_t control, std::string_view text) {
    HWND child = handle(control);
    if (!child)
        return;
    // A single-line edit sends EN_CHANGE for WM_SETTEXT and a multi-line one
    // does not: the write's own EN_CHANGE is passed over and the write is
    // reported here, so every edit reports every write exactly once.
    const HWND outer = m_writing;
    m_writing = child;
    SetWindowTextW(child, widen(text).c_str());
    m_writing = outer;
    reportChange(control);
}

void Win32Platform::reportChange(std::size_t control) {
    if (m_reporting && isEdit(control))
        m_events->textChanged(control);
}

bool Win32Platform::isEdit(std::size_t control) const {
    const ControlKind kind = m_table[control].kind;
    return kind == ControlKind::edit || kind == ControlKind::multiLineEdit;
}

void Win32Platform::setNote(std::size_t control, std::string_view note) {
    HWND child = handle(control);
    if (!child)
        return;
    TTTOOLINFOW tool{};
    // The oldest layout of the structure: every version of comctl32 takes it.
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    SendMessageW(m_tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));

    std::wstring wide = widen(note);
    m_controls[control].marked = !wide.empty();
    if (!wide.empty()) {
        tool.lpszText = wide.data(); // the tooltip keeps its own copy
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    InvalidateRect(child, nullptr, TRUE);
}

void Win32Platform::showMessage(std::string_view title, std::string_view text) {
    MessageBoxW(m_window, widen(text).c_str(), widen(title).c_str(), MB_OK);
}

void Win32Platform::startPause(std::chrono::milliseconds length) {
    // The same timer again replaces the one that runs.
    if (m_window)
        SetTimer(m_window, pauseTimer, static_cast<UINT>(length.count()), nullptr);
}

void Win32Platform::announce(std::string_view sentence) {
    if (m_figures)
        m_figures->say(widen(sentence));
}

int Win32Platform::run() {
    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        // A multi-line edit in a dialog turns Escape into WM_CLOSE for its
        // parent; here that would end the program from a key nobody gave.
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
            isMultiLineEdit(message.hwnd))
            continue;
        // Tab and Shift+Tab walk the controls in z-order, as in a dialog.
        if (m_window && IsDialogMessageW(m_window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got < 0 ? 1 : static_cast<int>(message.wParam);
}

void Win32Platform::quit() {
    if (m_window)
        DestroyWindow(m_window); // WM_DESTROY ends the loop
    else
        PostQuitMessage(0);
}

LRESULT CALLBACK Win32Platform::windowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32Platform*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
    }
    auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(message, wParam, lParam);
}

LRESULT Win32Platform::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = m_window;
    switch (message) {
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return onControlColour(message, reinterpret_cast<HDC>(wParam),
                               reinterpret_cast<HWND>(lParam));
    case WM_NEXTDLGCTL:
        // What a dialog does, and what a multi-line edit asks its parent for
        // when Tab is pressed in it: the edit itself wants every key.
        moveFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                 : GetNextDlgTabItem(window, GetFocus(), wParam != 0));
        return 0;
    case WM_CLOSE:
        // The window decides; the default would destroy it behind its back.
        if (m_reporting)
            m_events->closeRequested();
        return 0;
    case WM_ACTIVATE:
        // Like a dialog, give the focus back to the control that had it when
        // the window is activated again, after the message box for example.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window, focus))
                m_lastFocus = focus;
        }
        break;
    case WM_SETFOCUS:
        if (m_lastFocus && IsWindow(m_lastFocus)) {
            SetFocus(m_lastFocus);
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        onColoursChanged();
        break;
    case WM_TIMER:
        if (wParam != pauseTimer)
            break;
        KillTimer(window, pauseTimer); // once, not every so often
        if (m_reporting)
            m_events->pauseEnded();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        // However the window goes, the program ends with it.
        if (!m_destroying)
            PostQuitMessage(0);
        break;
    case WM_NCDESTROY:
        m_reporting = false;
        m_placements.clear();
        m_window = nullptr;
        m_tooltip = nullptr;
        m_lastFocus = nullptr;
        for (Control& c : m_controls)
            c.handle = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32Platform::isMultiLineEdit(HWND child) const {
    const int index = controlOf(child);
    return index >= 0 &&
           m_table[static_cast<std::size_t>(index)].kind == ControlKind::multiLineEdit;
}

void Win32Platform::moveFocus(HWND target) {
    if (!target)
        return;
    // Tabbing into an edit selects its text, as in every dialog.
    if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(target, EM_SETSEL, 0, -1);
    SetFocus(target);
}

void Win32Platform::onCommand(WPARAM wParam, LPARAM lParam) {
    const int index = controlOf(reinterpret_cast<HWND>(lParam));
    if (index < 0)
        return; // Enter and Esc arrive as IDOK and IDCANCEL: no shortcuts here
    const auto control = static_cast<std::size_t>(index);
    const WORD code = HIWORD(wParam);
    if (code == EN_CHANGE && reinterpret_cast<HWND>(lParam) != m_writing) {
        reportChange(control);
    } else if (code == BN_CLICKED && m_table[control].kind == ControlKind::button && m_reporting) {
        m_events->clicked(control);
    }
}

LRESULT Win32Platform::onControlColour(UINT message, HDC dc, HWND child) {
    const int index = controlOf(child);
    if (index >= 0) {
        const auto control = static_cast<std::size_t>(index);
        const bool desktop = m_table[control].colours == ColourRole::desktop;
        if (desktop || m_controls[control].marked) {
            const SystemColours::Look& look = desktop ? m_colours.instructions() : m_colours.mark();
            SetTextColor(dc, look.text);
            SetBkColor(dc, look.background);
            return reinterpret_cast<LRESULT>(look.brush);
        }
    }
    return DefWindowProcW(m_window, message, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(child));
}

// Colours, high contrast or the theme changed while the program runs: the
// window takes the new ones at once, every control repainted.
void Win32Platform::onColoursChanged() {
    m_colours.read();
    if (m_window)
        RedrawWindow(m_window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
