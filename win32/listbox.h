#pragma once

#include "listcontrol.h"

#include <windows.h>

#include <functional>

// A sorted, single-selection LISTBOX of Windows' own that keeps the list-control contract:
// a selection comes only from a pick (a left click or tap on a name, Space or Enter on the
// framed one) or from the program. Arrows, Home, End, Page Up/Down and typed letters move
// the frame (the list's caret, which screen readers follow) without picking; a drag or a
// double click never picks what a judgement slid under the pointer.
class ListBox : public ListControl
{
public:
    explicit ListBox(HWND list);

    void clear() override;
    void addItem(const std::u16string &text) override;
    int count() const override;
    std::u16string itemText(int position) const override;
    int selectionIndex() const override;
    void setSelectionIndex(int position) override;
    void removeItem(int position) override;

    // The name the frame is on, or nothing in an empty list.
    std::u16string framedName() const;
    HWND handle() const { return m_list; }
    std::function<void()> onPick;

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    bool key(WPARAM key);
    bool letter(wchar_t typed);
    void moveFrame(int position);
    void pick(int position);
    int frame() const;
    int itemAt(LPARAM point) const;
    int pageSize() const;

    HWND m_list;
    POINT m_touchedAt{};
    int m_touched = -1; // a name a finger is on: picked only if it lifts there
};
