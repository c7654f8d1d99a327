#include "quizwindow.h"

#include "screenreader.h"

#include "school.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

using Form::Kind;

namespace {

constexpr int firstId = 100; // control ids: 100 + the control's row in the form table
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

std::wstring wide(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

// Found at run time: Windows 10 1607 brought per-monitor scaling's calls.
UINT dpiOf(HWND window)
{
    using GetDpi = UINT(WINAPI *)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpi>(reinterpret_cast<void *>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi && window)
        return getDpi(window);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return UINT(dpi);
}

RECT windowRectFor(const RECT &client, UINT dpi)
{
    using Adjust = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = reinterpret_cast<Adjust>(reinterpret_cast<void *>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT rect = client;
    if (adjust)
        adjust(&rect, windowStyle, FALSE, 0, dpi);
    else
        AdjustWindowRectEx(&rect, windowStyle, FALSE, 0);
    return rect;
}

// A contrast theme's colours win over the window's own, as Windows' users expect.
bool highContrast()
{
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)
           && (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

COLORREF rgb(const Form::Rgb &colour, int systemColour)
{
    if (highContrast())
        return GetSysColor(systemColour);
    return RGB(colour.red, colour.green, colour.blue);
}

HBRUSH brush(COLORREF colour)
{
    static std::map<COLORREF, HBRUSH> made; // a handful, kept for the program's life
    HBRUSH &solid = made[colour];
    if (!solid)
        solid = CreateSolidBrush(colour);
    return solid;
}

// The form's serif at the monitor's scaling; the font mapper picks the nearest Cyrillic
// serif where Times New Roman is missing.
HFONT formFont(int dpi)
{
    const std::wstring family = wide(Form::fontFamily);
    return CreateFontW(-MulDiv(Form::fontPoints, dpi, 72),
                       0,
                       0,
                       0,
                       FW_NORMAL,
                       FALSE,
                       FALSE,
                       FALSE,
                       RUSSIAN_CHARSET,
                       OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS,
                       CLEARTYPE_QUALITY,
                       VARIABLE_PITCH | FF_ROMAN,
                       family.c_str());
}

struct ControlClass
{
    const wchar_t *name;
    DWORD style;
    DWORD exStyle = 0;
};

ControlClass classOf(Kind kind)
{
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (kind) {
    case Kind::Label:
        return {L"STATIC", child | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX};
    case Kind::ListBox:
        return {L"LISTBOX",
                child | WS_TABSTOP | WS_VSCROLL | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT
                        | LBS_HASSTRINGS,
                WS_EX_CLIENTEDGE};
    case Kind::CounterBox:
        return {L"EDIT",
                child | WS_TABSTOP | ES_CENTER | ES_READONLY | ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE};
    case Kind::MessageBox:
        return {L"EDIT",
                child | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                WS_EX_CLIENTEDGE};
    case Kind::Button:
        return {L"BUTTON", child | WS_TABSTOP | BS_OWNERDRAW | BS_NOTIFY};
    }
    return {L"STATIC", child};
}

} // namespace

QuizWindow *QuizWindow::create(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"IDI_ICON1");
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance,
                                                        L"IDI_ICON1",
                                                        IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON),
                                                        LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass))
        return nullptr;
    const std::wstring caption = wide(School::address) + L' ' + wide(Form::title);
    HWND window = CreateWindowExW(0,
                                  className,
                                  caption.c_str(),
                                  windowStyle,
                                  CW_USEDEFAULT,
                                  CW_USEDEFAULT,
                                  CW_USEDEFAULT,
                                  CW_USEDEFAULT,
                                  nullptr,
                                  nullptr,
                                  instance,
                                  nullptr);
    if (!window)
        return nullptr;
    auto *form = new QuizWindow(window);
    form->createControls(instance);
    form->layOut(int(dpiOf(window)));
    form->m_quiz->Form_Load();
    SetFocus(form->m_controls.front().window); // the message field, with the lowest tab index
    return form;
}

QuizWindow::QuizWindow(HWND window)
    : m_window(window)
{
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

namespace {

// How far a label is from labelling a control: from its bottom left to the control's top
// left when it stands above it, from its top right when it stands before it in a row.
int distance(const Form::Rect &label, const Form::Rect &control)
{
    const int above = std::abs(label.left - control.left)
                      + std::abs(label.top + label.height - control.top);
    const int before
            = std::abs(label.left + label.width - control.left) + std::abs(label.top - control.top);
    return std::min(above, before);
}

// Windows takes Tab through the controls in the order they were made, and a screen reader
// that is told no name takes a field's from the label made just before it. So: the controls
// that take the focus in tab order, each after the labels nearest it, nearest last.
std::vector<std::size_t> creationOrder()
{
    std::multimap<int, std::size_t> focusable; // by tab index
    for (std::size_t row = 0; row < Form::controls.size(); ++row) {
        if (Form::controls[row].kind != Kind::Label)
            focusable.emplace(Form::controls[row].tabIndex, row);
    }
    std::map<std::size_t, std::multimap<int, std::size_t, std::greater<>>> labelsOf;
    for (std::size_t row = 0; row < Form::controls.size(); ++row) {
        if (Form::controls[row].kind != Kind::Label)
            continue;
        const auto nearest = std::min_element(
                focusable.begin(), focusable.end(), [row](const auto &a, const auto &b) {
                    const Form::Rect &label = Form::controls[row].twips;
                    return distance(label, Form::controls[a.second].twips)
                           < distance(label, Form::controls[b.second].twips);
                });
        labelsOf[nearest->second].emplace(
                distance(Form::controls[row].twips, Form::controls[nearest->second].twips), row);
    }
    std::vector<std::size_t> order;
    for (const auto &[tabIndex, row] : focusable) {
        for (const auto &[apart, label] : labelsOf[row])
            order.push_back(label);
        order.push_back(row);
    }
    return order;
}

} // namespace

// The focus mark's bars last, on top of every control.
void QuizWindow::createControls(HINSTANCE instance)
{
    for (const std::size_t row : creationOrder()) {
        const Form::Control &control = Form::controls[row];
        HWND created = createControl(instance, control, firstId + int(row));
        m_controls.push_back({created, control.twips, control.kind});
    }
    for (HWND &bar : m_focusMark)
        bar = CreateWindowExW(0,
                              L"STATIC",
                              nullptr,
                              WS_CHILD | SS_BLACKRECT,
                              0,
                              0,
                              0,
                              0,
                              m_window,
                              nullptr,
                              instance,
                              nullptr);
    m_quiz = std::make_unique<Quiz>(QuizControls{{m_list1[0].get(), m_list1[1].get()},
                                                 m_text1.get(),
                                                 {m_text2[0].get(), m_text2[1].get()}});
}

HWND QuizWindow::createControl(HINSTANCE instance, const Form::Control &control, int id)
{
    const ControlClass kind = classOf(control.kind);
    const std::wstring text
            = control.kind == Kind::MessageBox ? wide(Form::introduction) : wide(control.text);
    HWND created = CreateWindowExW(kind.exStyle,
                                   kind.name,
                                   text.c_str(),
                                   kind.style,
                                   0,
                                   0,
                                   0,
                                   0,
                                   m_window,
                                   reinterpret_cast<HMENU>(INT_PTR(id)),
                                   instance,
                                   nullptr);
    ScreenReader::name(created, control.name, control.description);
    const auto index = std::size_t(control.index);
    switch (control.kind) {
    case Kind::ListBox:
        m_list1.at(index) = std::make_unique<ListBox>(created);
        m_list1[index]->onPick = [this, index] {
            List1_Click(std::int16_t(index));
        };
        break;
    case Kind::CounterBox:
        m_text2.at(index) = std::make_unique<EditField>(created);
        break;
    case Kind::MessageBox:
        m_text1 = std::make_unique<EditField>(created);
        break;
    case Kind::Button:
        m_button = created;
        break;
    case Kind::Label:
        break;
    }
    return created;
}

// Every place from its twips at this scaling, and the font with it.
void QuizWindow::layOut(int dpi)
{
    m_dpi = dpi;
    HFONT old = m_font;
    m_font = formFont(dpi);
    for (const Placed &control : m_controls) {
        const Form::Rect px = Form::toPixels(control.twips, dpi);
        SendMessageW(control.window, WM_SETFONT, WPARAM(m_font), FALSE);
        SetWindowPos(control.window,
                     nullptr,
                     px.left,
                     px.top,
                     px.width,
                     px.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    fitClientArea(Form::toPixels(Form::client, dpi));
    if (old)
        DeleteObject(old);
    markFocus();
    InvalidateRect(m_window, nullptr, TRUE);
}

// The window's frame as Windows draws it at this scaling, around the form's client area;
// where the frame Windows then draws differs (a system with its own idea of it), by that.
void QuizWindow::fitClientArea(const Form::Rect &client)
{
    const RECT frame = windowRectFor({0, 0, client.width, client.height}, UINT(m_dpi));
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    for (int tries = 0; tries < 2; ++tries) {
        m_size = {width, height};
        SetWindowPos(
                m_window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT got{};
        GetClientRect(m_window, &got);
        if (got.right == client.width && got.bottom == client.height)
            return;
        width += client.width - got.right;
        height += client.height - got.bottom;
    }
}

// A black ring, two pixels at 100 %, around whichever control has the focus.
void QuizWindow::markFocus()
{
    HWND focused = GetFocus();
    const auto it = std::find_if(m_controls.begin(), m_controls.end(), [focused](const Placed &c) {
        return c.window == focused;
    });
    if (it == m_controls.end()) {
        for (HWND bar : m_focusMark)
            ShowWindow(bar, SW_HIDE);
        return;
    }
    const Form::Rect r = Form::toPixels(it->twips, m_dpi);
    const int t = MulDiv(2, m_dpi, 96);
    const std::array<RECT, 4> bars{{{r.left, r.top, r.width, t},
                                    {r.left, r.top + r.height - t, r.width, t},
                                    {r.left, r.top, t, r.height},
                                    {r.left + r.width - t, r.top, t, r.height}}};
    for (std::size_t i = 0; i < bars.size(); ++i)
        SetWindowPos(m_focusMark[i],
                     HWND_TOP,
                     bars[i].left,
                     bars[i].top,
                     bars[i].right,
                     bars[i].bottom,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void QuizWindow::process(HWND window, MSG &message)
{
    auto *self = IsWindow(window)
                         ? reinterpret_cast<QuizWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA))
                         : nullptr;
    if (self && (self->preTranslate(message) || IsDialogMessageW(window, &message)))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool QuizWindow::preTranslate(const MSG &message)
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN)
        return false;
    // Enter picks in a list and presses the button; elsewhere it does nothing.
    if (message.hwnd == m_button)
        SendMessageW(m_button, BM_CLICK, 0, 0);
    else if (message.hwnd == m_list1[0]->handle() || message.hwnd == m_list1[1]->handle())
        SendMessageW(message.hwnd, WM_KEYDOWN, VK_RETURN, message.lParam);
    return true;
}

LRESULT QuizWindow::colour(HDC dc, HWND control)
{
    const auto it = std::find_if(m_controls.begin(), m_controls.end(), [control](const Placed &c) {
        return c.window == control;
    });
    if (it != m_controls.end() && it->kind == Kind::Label) {
        SetBkColor(dc, rgb(Form::labelColour, COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(highContrast() ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(brush(rgb(Form::labelColour, COLOR_BTNFACE)));
    }
    // Read-only fields show as fields, not as the window's background.
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

// The button in its own colour, which Windows' themed buttons would not show.
void QuizWindow::drawButton(const DRAWITEMSTRUCT &item)
{
    const bool pressed = item.itemState & ODS_SELECTED;
    COLORREF face = rgb(Form::buttonColour, COLOR_BTNFACE);
    if (pressed && !highContrast())
        face = RGB(
                GetRValue(face) * 87 / 100, GetGValue(face) * 87 / 100, GetBValue(face) * 87 / 100);
    RECT rect = item.rcItem;
    FillRect(item.hDC, &rect, brush(face));
    FrameRect(item.hDC, &rect, brush(GetSysColor(COLOR_WINDOWFRAME)));
    wchar_t text[64] = {};
    GetWindowTextW(item.hwndItem, text, 64);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(highContrast() ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
    if (pressed)
        OffsetRect(&rect, 1, 1);
    DrawTextW(item.hDC, text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&rect, -MulDiv(3, m_dpi, 96), -MulDiv(3, m_dpi, 96));
        DrawFocusRect(item.hDC, &rect);
    }
}

void QuizWindow::List1_Click(std::int16_t index)
{
    tell(m_quiz->List1_Click(index));
}

void QuizWindow::Command1_Click(std::int16_t index)
{
    tell(m_quiz->Command1_Click(index));
}

// What a screen reader says at once, wherever the pupil is: the pick; the verdict, then both
// counts and where the frame now is; a new round. The focus never moves.
void QuizWindow::tell(const Outcome &outcome)
{
    if (outcome.kind == Outcome::Kind::Nothing)
        return;
    std::u16string framed;
    for (const auto &list : m_list1)
        framed = list->handle() == GetFocus() ? list->framedName() : framed;
    const Announcement words = announce(outcome, framed);
    ScreenReader::say(m_window, words.then.empty() ? words.first : words.first + u' ' + words.then);
}

LRESULT CALLBACK QuizWindow::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<QuizWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT QuizWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (reinterpret_cast<HWND>(lParam) == m_button && code == BN_CLICKED)
            Command1_Click(std::int16_t(Form::controls[std::size_t(id - firstId)].index));
        if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS || code == EN_SETFOCUS
            || code == EN_KILLFOCUS || code == BN_SETFOCUS || code == BN_KILLFOCUS)
            markFocus();
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(m_window, &client);
        FillRect(reinterpret_cast<HDC>(wParam),
                 &client,
                 brush(rgb(Form::windowColour, COLOR_WINDOW)));
        return 1;
    }
    case WM_DRAWITEM:
        drawButton(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case WM_DPICHANGED: {
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window,
                     nullptr,
                     suggested->left,
                     suggested->top,
                     suggested->right - suggested->left,
                     suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(HIWORD(wParam));
        return 0;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE: // a contrast theme turned on or off
        InvalidateRect(m_window, nullptr, TRUE);
        RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    case WM_GETMINMAXINFO: { // its own size, even on a screen smaller than the window
        auto *limits = reinterpret_cast<MINMAXINFO *>(lParam);
        if (m_size.cx > 0)
            limits->ptMinTrackSize = limits->ptMaxTrackSize = {m_size.cx, m_size.cy};
        return 0;
    }
    case WM_GETOBJECT:
        return ScreenReader::answer(m_window, wParam, lParam);
    case WM_DESTROY:
        ScreenReader::forget(m_window);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        if (m_font)
            DeleteObject(m_font);
        delete this;
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}
