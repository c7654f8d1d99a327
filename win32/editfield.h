#pragma once

#include "textfield.h"

#include <windows.h>

// A read-only EDIT of Windows' own as the logic's text field. Windows keeps CR LF as it is
// written, so the text reads back from the control exactly. The pupil can take the focus,
// scroll, select (Ctrl+A too) and copy, never change it; Tab and Enter are the window's.
class EditField : public TextField
{
public:
    explicit EditField(HWND edit);

    std::u16string text() const override;
    void setText(const std::u16string &text) override;

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND m_edit;
};
