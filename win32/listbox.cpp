#include "listbox.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Mouse messages that Windows made from a finger carry this mark.
bool fromTouch()
{
    return (GetMessageExtraInfo() & 0xFFFFFF00) == 0xFF515700;
}

std::wstring wide(const std::u16string &text)
{
    return {text.begin(), text.end()};
}

} // namespace

ListBox::ListBox(HWND list)
    : m_list(list)
{
    SetWindowSubclass(m_list, proc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void ListBox::clear()
{
    SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
}

void ListBox::addItem(const std::u16string &text)
{
    const std::wstring item = wide(text);
    SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int ListBox::count() const
{
    return int(SendMessageW(m_list, LB_GETCOUNT, 0, 0));
}

std::u16string ListBox::itemText(int position) const
{
    if (position < 0 || position >= count())
        return {};
    const auto length = SendMessageW(m_list, LB_GETTEXTLEN, WPARAM(position), 0);
    std::wstring text(std::size_t(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageW(m_list, LB_GETTEXT, WPARAM(position), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::size_t(std::max<LRESULT>(length, 0)));
    return {text.begin(), text.end()};
}

int ListBox::selectionIndex() const
{
    const auto selected = SendMessageW(m_list, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? NoSelection : int(selected);
}

void ListBox::setSelectionIndex(int position)
{
    if (position != NoSelection && (position < 0 || position >= count()))
        return;
    const int framed = frame();
    SendMessageW(m_list, LB_SETCURSEL, WPARAM(position), 0);
    if (position == NoSelection && framed >= 0)
        moveFrame(framed); // dropping a pick leaves the frame where it was
}

// The names that stay keep their places on screen, and the frame its place in the list.
void ListBox::removeItem(int position)
{
    if (position < 0 || position >= count())
        return;
    const int framed = frame();
    const auto top = SendMessageW(m_list, LB_GETTOPINDEX, 0, 0);
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LB_DELETESTRING, WPARAM(position), 0);
    SendMessageW(m_list, LB_SETTOPINDEX, WPARAM(top), 0);
    if (framed >= 0 && count() > 0)
        moveFrame(std::min(framed, count() - 1));
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(m_list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
}

std::u16string ListBox::framedName() const
{
    return itemText(frame());
}

int ListBox::frame() const
{
    const auto caret = SendMessageW(m_list, LB_GETCARETINDEX, 0, 0);
    return caret == LB_ERR || caret >= count() ? -1 : int(caret);
}

void ListBox::moveFrame(int position)
{
    if (position >= 0 && position < count())
        SendMessageW(m_list, LB_SETCARETINDEX, WPARAM(position), FALSE);
}

void ListBox::pick(int position)
{
    if (position < 0 || position >= count())
        return;
    moveFrame(position);
    if (position == selectionIndex())
        return; // picking the picked name changes nothing
    SendMessageW(m_list, LB_SETCURSEL, WPARAM(position), 0);
    if (onPick)
        onPick();
}

int ListBox::pageSize() const
{
    RECT client{};
    GetClientRect(m_list, &client);
    const auto item = std::max<LRESULT>(SendMessageW(m_list, LB_GETITEMHEIGHT, 0, 0), 1);
    return std::max(int((client.bottom - client.top) / item), 1);
}

// Keys that move the frame move it alone; Space and Enter pick where it is.
bool ListBox::key(WPARAM key)
{
    const int framed = std::max(frame(), 0);
    const int last = count() - 1;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        moveFrame(std::max(framed - 1, 0));
        return true;
    case VK_DOWN:
    case VK_RIGHT:
        moveFrame(std::min(framed + 1, last));
        return true;
    case VK_HOME:
        moveFrame(0);
        return true;
    case VK_END:
        moveFrame(last);
        return true;
    case VK_PRIOR:
        moveFrame(std::max(framed - (pageSize() - 1), 0));
        return true;
    case VK_NEXT:
        moveFrame(std::min(framed + (pageSize() - 1), last));
        return true;
    case VK_SPACE:
    case VK_RETURN:
        pick(frame());
        return true;
    default:
        return false;
    }
}

// A typed letter frames the next name that starts with it, as the list would select it.
bool ListBox::letter(wchar_t typed)
{
    if (typed <= L' ')
        return typed == L' '; // Space picked on its key press
    const wchar_t prefix[2] = {typed, L'\0'};
    const auto found = SendMessageW(
            m_list, LB_FINDSTRING, WPARAM(frame()), reinterpret_cast<LPARAM>(prefix));
    if (found != LB_ERR)
        moveFrame(int(found));
    return true;
}

int ListBox::itemAt(LPARAM point) const
{
    const auto hit = SendMessageW(m_list, LB_ITEMFROMPOINT, 0, point);
    return HIWORD(hit) ? -1 : int(LOWORD(hit));
}

LRESULT CALLBACK
ListBox::proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto *self = reinterpret_cast<ListBox *>(data);
    switch (message) {
    case WM_KEYDOWN:
        if (self->key(wParam))
            return 0;
        break;
    case WM_CHAR:
        if (self->letter(wchar_t(wParam)))
            return 0;
        break;
    case WM_SETFOCUS:
        // Entered by keys with nothing framed, the list frames the top name shown.
        if (self->frame() < 0)
            self->moveFrame(int(SendMessageW(list, LB_GETTOPINDEX, 0, 0)));
        break;
    case WM_LBUTTONDOWN:
        SetFocus(list);
        if (fromTouch()) { // a finger picks when it lifts where it went down
            self->m_touched = self->itemAt(lParam);
            self->m_touchedAt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
        } else {
            self->pick(self->itemAt(lParam));
        }
        return 0; // no capture: a drag never picks
    case WM_LBUTTONUP:
        if (self->m_touched >= 0 && fromTouch()) {
            const POINT up{short(LOWORD(lParam)), short(HIWORD(lParam))};
            const int slop = GetSystemMetrics(SM_CXDRAG) * 2;
            if (std::abs(up.x - self->m_touchedAt.x) <= slop
                && std::abs(up.y - self->m_touchedAt.y) <= slop
                && self->itemAt(lParam) == self->m_touched)
                self->pick(self->m_touched);
        }
        self->m_touched = -1;
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDBLCLK: // the second press would pick what the first one's pair moved here
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, proc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}
