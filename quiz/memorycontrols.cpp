#include "memorycontrols.h"

#include <algorithm>
#include <utility>

void MemoryList::clear()
{
    m_items.clear();
    select(NoSelection);
}

void MemoryList::addItem(const std::u16string &text)
{
    // Plain code-unit order is alphabetical for Bulgarian names of one case.
    const auto at = std::upper_bound(m_items.begin(), m_items.end(), text);
    const auto position = int(at - m_items.begin());
    m_items.insert(at, text);
    if (m_selection >= position)
        ++m_selection; // the selected item moved down, it did not change
}

int MemoryList::count() const
{
    return int(m_items.size());
}

std::u16string MemoryList::itemText(int position) const
{
    return contains(position) ? m_items[std::size_t(position)] : std::u16string();
}

int MemoryList::selectionIndex() const
{
    return m_selection;
}

void MemoryList::setSelectionIndex(int position)
{
    if (position == NoSelection || contains(position))
        select(position);
}

void MemoryList::removeItem(int position)
{
    if (!contains(position))
        return;
    m_items.erase(m_items.begin() + position);
    if (m_selection == position)
        select(NoSelection);
    else if (m_selection > position)
        --m_selection;
}

bool MemoryList::contains(int position) const
{
    return position >= 0 && position < count();
}

void MemoryList::select(int position)
{
    if (position == m_selection)
        return;
    m_selection = position;
    if (onClick)
        onClick();
}

MemoryField::MemoryField(std::u16string text)
    : m_text(std::move(text))
{}

std::u16string MemoryField::text() const
{
    return m_text;
}

void MemoryField::setText(const std::u16string &text)
{
    m_text = text;
}
