#pragma once

#include "listcontrol.h"

#include <QListWidget>

// A sorted, single-selection list box that keeps the list-control contract, which
// QListWidget alone does not: a selection comes only from a pick by the user (mouse press,
// Space or Enter) or from the program, never from moving through the list, dragging across
// it, or an item being removed. Every selection change emits selectionIndexChanged once.
//
// For a screen reader it has a current name when it holds any, gives it in its description
// (spoken on entering the list), and reports a new one only while it has the focus.
class ListBox : public QListWidget, public ListControl
{
    Q_OBJECT

public:
    explicit ListBox(QWidget *parent = nullptr);

    void clear() override;
    void addItem(const std::u16string &text) override;
    int count() const override;
    std::u16string itemText(int position) const override;
    int selectionIndex() const override;
    void setSelectionIndex(int position) override;
    void removeItem(int position) override;

    void setInstructions(const QString &instructions);
    // The name the frame is on, where the keys would pick; nothing in an empty list.
    std::u16string framedName() const;

Q_SIGNALS:
    void selectionIndexChanged();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    bool contains(int position) const;
    void noteSelection();
    void describe();

    QListWidgetItem *m_picked = nullptr;
    QString m_instructions;
    bool m_quiet = false; // a current name set on entry is told by the list's own focus
};
