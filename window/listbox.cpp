#include "listbox.h"

#include "touchscroll.h"

#include "words.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

bool isPickKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

// Keys move the current item without picking it, so it must be plain to see.
class CurrentItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!option.state.testFlag(QStyle::State_HasFocus))
            return;
        painter->save();
        painter->setPen(QPen(option.palette.color(QPalette::Highlight).darker(130), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

} // namespace

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(true);
    setUniformItemSizes(true);
    setItemDelegate(new CurrentItemDelegate(this));
    new TouchScroll(this); // a swipe scrolls, only a tap picks
    connect(this, &QListWidget::itemSelectionChanged, this, &ListBox::noteSelection);
}

void ListBox::clear()
{
    // Clearing the model drops a selection silently; the contract wants it heard.
    setSelectionIndex(ListControl::NoSelection);
    QListWidget::clear();
}

void ListBox::addItem(const std::u16string &text)
{
    QListWidget::addItem(QString::fromStdU16String(text));
}

int ListBox::count() const
{
    return QListWidget::count();
}

std::u16string ListBox::itemText(int position) const
{
    return contains(position) ? item(position)->text().toStdU16String() : std::u16string();
}

int ListBox::selectionIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? ListControl::NoSelection : rows.first().row();
}

void ListBox::setSelectionIndex(int position)
{
    if (position == ListControl::NoSelection)
        selectionModel()->clearSelection();
    else if (contains(position))
        selectionModel()->select(model()->index(position, 0), QItemSelectionModel::ClearAndSelect);
}

void ListBox::removeItem(int position)
{
    if (!contains(position))
        return;
    // Dropped first, the selection is heard before its item is deleted. Qt then moves the
    // current item to a neighbour through selectionCommand(), which keeps it unpicked.
    if (selectionIndex() == position)
        setSelectionIndex(ListControl::NoSelection);
    // Taking the current item moves it to a neighbour, and Qt would scroll to that one: the
    // names that stay keep their places on screen instead.
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    delete takeItem(position);
    setAutoScroll(scrolls);
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index,
                                                              const QEvent *event) const
{
    if (!event || !index.isValid())
        return QItemSelectionModel::NoUpdate; // the program moving the current item
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // Other buttons are how people look for a menu; they never answer.
        return static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton
                       ? QItemSelectionModel::ClearAndSelect
                       : QItemSelectionModel::NoUpdate;
    case QEvent::KeyPress:
        return isPickKey(static_cast<const QKeyEvent *>(event))
                       ? QItemSelectionModel::ClearAndSelect
                       : QItemSelectionModel::NoUpdate;
    default:
        // Moves and releases never select: after a pick has removed the item under the
        // pointer, whatever slides under it must stay unpicked.
        return QItemSelectionModel::NoUpdate;
    }
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    // Enter only activates in an item view; here it picks, as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const QModelIndex current = currentIndex();
        if (current.isValid())
            selectionModel()->select(current, selectionCommand(current, event));
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

// Qt delivers the second press of a double click as this event alone, and an item view
// would pick with it whatever the first press's judgement moved under the pointer.
void ListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void ListBox::setInstructions(const QString &instructions)
{
    m_instructions = instructions;
    describe();
}

// A new current name is reported by the list that has the focus only: Qt reports it from
// both lists, and a screen reader follows the last report, wherever it came from.
void ListBox::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (hasFocus() && !m_quiet)
        QListWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
    describe();
}

// Entered by keys, the list frames the top name shown, so that there is always one to pick
// and nothing scrolls; a mouse press frames the name it presses.
void ListBox::focusInEvent(QFocusEvent *event)
{
    const QModelIndex top = indexAt(QPoint(0, 0));
    if (!currentIndex().isValid() && top.isValid() && event->reason() != Qt::MouseFocusReason) {
        m_quiet = true;
        selectionModel()->setCurrentIndex(top, QItemSelectionModel::NoUpdate);
        m_quiet = false;
    }
    QListWidget::focusInEvent(event);
}

// The list's description names its current name, which Orca speaks on entering the list,
// then says how to move and pick.
void ListBox::describe()
{
    const QString frame = QString::fromStdU16String(whereTheFrameIs(framedName()));
    setAccessibleDescription(frame.isEmpty() ? m_instructions : frame + u' ' + m_instructions);
}

std::u16string ListBox::framedName() const
{
    const QListWidgetItem *current = currentItem();
    return current ? current->text().toStdU16String() : std::u16string();
}

bool ListBox::contains(int position) const
{
    return position >= 0 && position < count();
}

// Qt also reports a selection that only moved because an item was added or removed above it;
// only a change of the picked item counts.
void ListBox::noteSelection()
{
    QListWidgetItem *picked = selectedItems().value(0);
    if (picked == m_picked)
        return;
    m_picked = picked;
    Q_EMIT selectionIndexChanged();
}
