#include "listbox.h"
#include "memorycontrols.h"
#include "text.h"

#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One implementation of the list contract, with a count of the click events it raised.
struct Subject
{
    std::unique_ptr<ListControl> list;
    std::shared_ptr<int> clicks = std::make_shared<int>(0);
};

using Factory = std::function<Subject()>;

Subject memoryList()
{
    Subject subject;
    auto list = std::make_unique<MemoryList>();
    list->onClick = [clicks = subject.clicks] {
        ++*clicks;
    };
    subject.list = std::move(list);
    return subject;
}

Subject listBox()
{
    Subject subject;
    auto list = std::make_unique<ListBox>();
    QObject::connect(
            list.get(), &ListBox::selectionIndexChanged, [clicks = subject.clicks] { ++*clicks; });
    subject.list = std::move(list);
    return subject;
}

Subject filled(const Factory &make)
{
    Subject subject = make();
    for (const std::u16string name : {u"Хера", u"Арес", u"Зевс", u"Атина"})
        subject.list->addItem(name);
    *subject.clicks = 0;
    return subject;
}

QStringList itemsOf(const ListControl &list)
{
    QStringList items;
    for (int position = 0; position < list.count(); ++position)
        items << q(list.itemText(position));
    return items;
}

} // namespace

Q_DECLARE_METATYPE(Factory)

// The contract the round logic relies on, checked alike on the in-memory list and on the
// real list box, so that tests played on the one hold for the other.
class TestListControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data();
    void addsInAlphabeticalOrderWithoutSelecting();
    void selectionChangesAreHeardOnce();
    void removingTheSelectedItemLeavesNoSelection();
    void removingAnotherItemKeepsTheSelection();
    void clearingDropsTheSelectionAudibly();
    void positionsOutsideTheListChangeNothing();

private:
    static void addImplementations();
};

void TestListControl::initTestCase_data()
{
    addImplementations();
}

void TestListControl::addImplementations()
{
    QTest::addColumn<Factory>("make");
    QTest::newRow("in memory") << Factory(memoryList);
    QTest::newRow("list box") << Factory(listBox);
}

void TestListControl::addsInAlphabeticalOrderWithoutSelecting()
{
    QFETCH_GLOBAL(Factory, make);
    Subject s = filled(make);
    QCOMPARE(itemsOf(*s.list), QStringList({u"Арес"_s, u"Атина"_s, u"Зевс"_s, u"Хера"_s}));
    QCOMPARE(s.list->selectionIndex(), -1);
    s.list->setSelectionIndex(1);
    s.list->addItem(u"Амур"); // before the selected item, which moves down with its name
    QCOMPARE(s.list->selectionIndex(), 2);
    QCOMPARE(q(s.list->itemText(2)), u"Атина"_s);
    QCOMPARE(*s.clicks, 1);
}

void TestListControl::selectionChangesAreHeardOnce()
{
    QFETCH_GLOBAL(Factory, make);
    Subject s = filled(make);
    s.list->setSelectionIndex(2);
    QCOMPARE(*s.clicks, 1);
    s.list->setSelectionIndex(2); // no change, no event
    QCOMPARE(*s.clicks, 1);
    s.list->setSelectionIndex(0);
    QCOMPARE(*s.clicks, 2);
    s.list->setSelectionIndex(-1);
    QCOMPARE(s.list->selectionIndex(), -1);
    QCOMPARE(*s.clicks, 3);
}

void TestListControl::removingTheSelectedItemLeavesNoSelection()
{
    QFETCH_GLOBAL(Factory, make);
    for (int position = 0; position < 4; ++position) { // first, middle and last
        Subject s = filled(make);
        s.list->setSelectionIndex(position);
        s.list->removeItem(position);
        QCOMPARE(s.list->count(), 3);
        QCOMPARE(s.list->selectionIndex(), -1);
        QCOMPARE(*s.clicks, 2);
    }
}

void TestListControl::removingAnotherItemKeepsTheSelection()
{
    QFETCH_GLOBAL(Factory, make);
    Subject s = filled(make);
    s.list->setSelectionIndex(2);
    s.list->removeItem(0);
    QCOMPARE(s.list->selectionIndex(), 1);
    QCOMPARE(q(s.list->itemText(1)), u"Зевс"_s);
    s.list->removeItem(3 - 1);
    QCOMPARE(s.list->selectionIndex(), 1);
    QCOMPARE(*s.clicks, 1);
}

void TestListControl::clearingDropsTheSelectionAudibly()
{
    QFETCH_GLOBAL(Factory, make);
    Subject s = filled(make);
    s.list->setSelectionIndex(3);
    s.list->clear();
    QCOMPARE(s.list->count(), 0);
    QCOMPARE(s.list->selectionIndex(), -1);
    QCOMPARE(*s.clicks, 2);
    s.list->clear();
    QCOMPARE(*s.clicks, 2);
}

void TestListControl::positionsOutsideTheListChangeNothing()
{
    QFETCH_GLOBAL(Factory, make);
    Subject s = filled(make);
    s.list->setSelectionIndex(1);
    for (const int position : {-2, 4, 99}) {
        s.list->setSelectionIndex(position);
        s.list->removeItem(position);
        QCOMPARE(q(s.list->itemText(position)), QString());
    }
    QCOMPARE(s.list->count(), 4);
    QCOMPARE(s.list->selectionIndex(), 1);
    QCOMPARE(*s.clicks, 1);
}

QTEST_MAIN(TestListControl)
#include "tst_listcontrol.moc"
