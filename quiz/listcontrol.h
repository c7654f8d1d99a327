#pragma once

#include <string>

// A list box as the round logic sees it: ordered text items, at most one selected.
// A sorted list places every added item at its alphabetical position.
class ListControl
{
public:
    static constexpr int NoSelection = -1;

    virtual ~ListControl() = default;

    // Removes every item and leaves no selection.
    virtual void clear() = 0;
    // Never selects the item.
    virtual void addItem(const std::u16string &text) = 0;
    virtual int count() const = 0;
    // An empty text for a position outside the list.
    virtual std::u16string itemText(int position) const = 0;
    virtual int selectionIndex() const = 0;
    // NoSelection clears the selection; a position outside the list changes nothing.
    virtual void setSelectionIndex(int position) = 0;
    // Removing the selected item leaves no selection; a position outside the list is ignored.
    virtual void removeItem(int position) = 0;
};
