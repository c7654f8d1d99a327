// The Windows face played in-process, as Windows delivers keys and clicks to it: the round
// every check plays (acceptance/round.json), step by step, then its places at each scaling
// and the mouse's rules.
#include "quizwindow.h"
#include "round.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int passed = 0, failed = 0;

std::string utf8(std::u16string_view text)
{
    const std::wstring wide(text.begin(), text.end());
    std::string out(wide.size() * 3 + 1, '\0');
    out.resize(std::size_t(WideCharToMultiByte(CP_UTF8,
                                               0,
                                               wide.c_str(),
                                               int(wide.size()),
                                               out.data(),
                                               int(out.size()),
                                               nullptr,
                                               nullptr)));
    return out;
}

void check(bool ok, const std::string &what)
{
    ok ? ++passed : ++failed;
    if (!ok)
        std::printf("FAIL %s\n", what.c_str());
}

void same(std::u16string_view got, std::u16string_view wanted, const std::string &what)
{
    check(got == wanted, what + ": got \"" + utf8(got) + "\", wanted \"" + utf8(wanted) + "\"");
}

HWND window;

HWND control(std::u16string_view array, int index)
{
    for (std::size_t row = 0; row < Form::controls.size(); ++row) {
        if (Form::controls[row].array == array && Form::controls[row].index == index)
            return GetDlgItem(window, 100 + int(row));
    }
    return nullptr;
}

std::u16string text(HWND field)
{
    wchar_t buffer[2048] = {};
    GetWindowTextW(field, buffer, 2048);
    return {buffer, buffer + wcslen(buffer)};
}

std::u16string item(HWND list, LRESULT position)
{
    wchar_t buffer[64] = {};
    if (SendMessageW(list, LB_GETTEXT, WPARAM(position), reinterpret_cast<LPARAM>(buffer)) < 0)
        return {};
    return {buffer, buffer + wcslen(buffer)};
}

std::vector<std::u16string_view> items(HWND list, std::vector<std::u16string> &store)
{
    store.clear();
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i)
        store.push_back(item(list, i));
    return {store.begin(), store.end()};
}

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        QuizWindow::process(window, message);
}

void send(HWND to, UINT message, WPARAM wParam, LPARAM lParam = 0)
{
    MSG msg{to, message, wParam, lParam, 0, {}};
    QuizWindow::process(window, msg);
    pump();
}

// A key as xdotool names it, pressed and let go where the focus is.
void press(std::u16string_view name)
{
    const bool shift = name.starts_with(u"shift+");
    if (shift)
        name.remove_prefix(6);
    const struct
    {
        std::u16string_view name;
        WPARAM key;
    } keys[] = {{u"Tab", VK_TAB},
                {u"Down", VK_DOWN},
                {u"Up", VK_UP},
                {u"Home", VK_HOME},
                {u"End", VK_END},
                {u"space", VK_SPACE},
                {u"Return", VK_RETURN}};
    WPARAM key = 0;
    for (const auto &k : keys)
        key = k.name == name ? k.key : key;
    check(key != 0, "a key the test knows: " + utf8(name));
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    send(GetFocus(), WM_KEYDOWN, key, 1);
    send(GetFocus(), WM_KEYUP, key, LPARAM(0xC0000001));
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

// What a screen reader names where the focus is: a list's framed name, else the control.
std::u16string focused(std::u16string &list, std::u16string &value)
{
    HWND focus = GetFocus();
    for (std::size_t row = 0; row < Form::controls.size(); ++row) {
        const Form::Control &c = Form::controls[row];
        if (GetDlgItem(window, 100 + int(row)) != focus)
            continue;
        if (c.kind == Form::Kind::ListBox) {
            list = c.name;
            return item(focus, SendMessageW(focus, LB_GETCARETINDEX, 0, 0));
        }
        value = text(focus);
        return std::u16string(c.name.empty() ? c.text : c.name);
    }
    return {};
}

void playTheRound()
{
    std::vector<std::u16string> store;
    check(items(control(u"List1", 0), store) == PlayedRound::greek, "a fresh round's Greek names");
    check(items(control(u"List1", 1), store) == PlayedRound::roman, "a fresh round's Roman names");
    same(text(control(u"Text1", 0)), Form::introduction, "the message at the start");
    check(GetFocus() == control(u"Text1", 0), "the message field has the focus at the start");
    for (const PlayedRound::Step &step : PlayedRound::steps) {
        std::string keys;
        for (std::u16string_view key : step.keys) {
            press(key);
            keys += utf8(key) + ' ';
        }
        std::u16string list, value;
        const std::u16string focus = focused(list, value);
        if (!step.focus.empty())
            same(focus, step.focus, keys + "focus");
        if (!step.list.empty())
            same(list, step.list, keys + "list");
        if (!step.value.empty())
            same(value, step.value, keys + "value");
        if (step.checksMessage)
            same(text(control(u"Text1", 0)), step.message, keys + "message");
        for (std::size_t i = 0; i < step.counts.size(); ++i)
            same(text(control(u"Text2", int(i))),
                 step.counts[i],
                 keys + "count " + std::to_string(i));
    }
}

// Every place from its twips at each scaling Windows offers, and back.
void scaling()
{
    for (const int dpi : {120, 144, 192, 96}) {
        const Form::Rect client = Form::toPixels(Form::client, dpi);
        RECT suggested{0, 0, client.width, client.height};
        send(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT got{};
        GetClientRect(window, &got);
        const std::string at = std::to_string(dpi) + " dpi: ";
        check(got.right == client.width && got.bottom == client.height, at + "the client area");
        for (std::size_t row = 0; row < Form::controls.size(); ++row) {
            const Form::Rect px = Form::toPixels(Form::controls[row].twips, dpi);
            HWND c = GetDlgItem(window, 100 + int(row));
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
            check(r.left == px.left && r.top == px.top && r.right - r.left == px.width
                          && r.bottom - r.top == px.height,
                  at + utf8(Form::controls[row].array) + std::to_string(Form::controls[row].index));
        }
    }
}

LPARAM pointOf(HWND list, int position)
{
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, WPARAM(position), reinterpret_cast<LPARAM>(&r));
    return MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2);
}

// The left button picks, others never; a double click's second press picks nothing, and a
// verdict moves no name on screen.
void mouse()
{
    send(control(u"Command1", 0), BM_CLICK, 0);
    HWND greek = control(u"List1", 0), roman = control(u"List1", 1);
    const struct
    {
        const char *what;
        UINT press;
        int greekPick;
    } rows[] = {{"right button", WM_RBUTTONDOWN, LB_ERR},
                {"middle button", WM_MBUTTONDOWN, LB_ERR},
                {"left button", WM_LBUTTONDOWN, 2}};
    for (const auto &row : rows) {
        send(greek, row.press, 0, pointOf(greek, 2));
        send(greek, row.press + 1, 0, pointOf(greek, 2));
        check(SendMessageW(greek, LB_GETCURSEL, 0, 0) == row.greekPick, row.what);
    }
    SendMessageW(roman, LB_SETTOPINDEX, 8, 0);
    send(roman, WM_LBUTTONDOWN, MK_LBUTTON, pointOf(roman, 9));
    send(roman, WM_LBUTTONUP, 0, pointOf(roman, 9));
    send(roman, WM_LBUTTONDBLCLK, MK_LBUTTON, pointOf(roman, 9));
    check(SendMessageW(roman, LB_GETCURSEL, 0, 0) == LB_ERR, "a double click's second press");
    check(SendMessageW(roman, LB_GETTOPINDEX, 0, 0) == 8, "the Roman list kept its place");
    same(text(control(u"Text2", 1)), u"1", "the pair was judged");
    send(greek, WM_CHAR, L'Х');
    same(item(greek, SendMessageW(greek, LB_GETCARETINDEX, 0, 0)), u"Хадес", "a typed letter");
    check(SendMessageW(greek, LB_GETCURSEL, 0, 0) == LB_ERR, "a typed letter picks nothing");
}

} // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    QuizWindow *form = QuizWindow::create(GetModuleHandleW(nullptr));
    check(form != nullptr, "the window is made");
    if (!form)
        return 1;
    window = form->handle();
    ShowWindow(window, SW_SHOW);
    pump();
    playTheRound();
    scaling();
    mouse();
    DestroyWindow(window);
    pump();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
