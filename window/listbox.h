#pragma once

#include "listcontrol.h"

#include <QListWidget>

// A sorted, single-selection list box that keeps the list-control contract, which
// QListWidget alone does not: a selection comes only from a pick by the user (mouse press,
// Space or Enter) or from the program, never from moving through the list, dragging across
// it, or an item being removed. Every selection change emits selectionIndexChanged once.
class ListBox : public QListWidget, public ListControl
{
    Q_OBJECT

public:
    explicit ListBox(QWidget *parent = nullptr);

    void clear() override;
    void addItem(const QString &text) override;
    int count() const override;
    QString itemText(int position) const override;
    int selectionIndex() const override;
    void setSelectionIndex(int position) override;
    void removeItem(int position) override;

Q_SIGNALS:
    void selectionIndexChanged();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool contains(int position) const;
    void noteSelection();

    QListWidgetItem *m_picked = nullptr;
};
