#pragma once

#include "listcontrol.h"
#include "textfield.h"

#include <QString>
#include <QStringList>

#include <functional>

// A list control with no window behind it, kept to the letter of the contract so that a
// round runs and is tested without a display. Every selection change, the program's own
// included, calls onClick at once, as a window's list box raises its click event.
class MemoryList : public ListControl
{
public:
    enum class Order { Sorted, AsAdded };

    explicit MemoryList(Order order = Order::Sorted);

    void clear() override;
    void addItem(const QString &text) override;
    int count() const override;
    QString itemText(int position) const override;
    int selectionIndex() const override;
    void setSelectionIndex(int position) override;
    void removeItem(int position) override;

    QStringList items() const { return m_items; }
    std::function<void()> onClick;

private:
    bool contains(int position) const;
    void select(int position);

    Order m_order = Order::Sorted;
    QStringList m_items;
    int m_selection = NoSelection;
};

class MemoryField : public TextField
{
public:
    explicit MemoryField(const QString &text = {});

    QString text() const override;
    void setText(const QString &text) override;

private:
    QString m_text;
};
