#include "editfield.h"

#include <commctrl.h>

#include <algorithm>

EditField::EditField(HWND edit)
    : m_edit(edit)
{
    SetWindowSubclass(m_edit, proc, 0, 0);
}

std::u16string EditField::text() const
{
    const int length = std::max(GetWindowTextLengthW(m_edit), 0);
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(m_edit, text.data(), length + 1)));
    return {text.begin(), text.end()};
}

void EditField::setText(const std::u16string &text)
{
    const std::wstring shown(text.begin(), text.end());
    SetWindowTextW(m_edit, shown.c_str());
}

LRESULT CALLBACK
EditField::proc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (message) {
    case WM_GETDLGCODE: {
        // Tab leaves a multi-line field too, and arriving by Tab selects nothing, which a
        // screen reader would read out as a selection.
        auto code = DefSubclassProc(edit, message, wParam, lParam);
        code &= ~LRESULT(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
        const auto *msg = reinterpret_cast<const MSG *>(lParam);
        if (msg && msg->message == WM_KEYDOWN
            && (msg->wParam == VK_TAB || msg->wParam == VK_RETURN))
            code &= ~LRESULT(DLGC_WANTMESSAGE);
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
            SendMessageW(edit, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == 1) // Ctrl+A's character: handled on its key
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, proc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}
