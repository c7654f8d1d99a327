#pragma once

#include "listcontrol.h"
#include "textfield.h"

#include <functional>
#include <string>
#include <vector>

// A sorted list control with no window behind it, kept to the letter of the contract so that a
// round runs and is tested without a display. Every selection change, the program's own
// included, calls onClick at once, as a window's list box raises its click event.
class MemoryList : public ListControl
{
public:
    void clear() override;
    void addItem(const std::u16string &text) override;
    int count() const override;
    std::u16string itemText(int position) const override;
    int selectionIndex() const override;
    void setSelectionIndex(int position) override;
    void removeItem(int position) override;

    const std::vector<std::u16string> &items() const { return m_items; }
    std::function<void()> onClick;

private:
    bool contains(int position) const;
    void select(int position);

    std::vector<std::u16string> m_items;
    int m_selection = NoSelection;
};

class MemoryField : public TextField
{
public:
    explicit MemoryField(std::u16string text = {});

    std::u16string text() const override;
    void setText(const std::u16string &text) override;

private:
    std::u16string m_text;
};
