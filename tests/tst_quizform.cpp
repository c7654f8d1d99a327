#include "application.h"
#include "expected.h"
#include "formdefinition.h"
#include "listbox.h"
#include "quizform.h"
#include "text.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScroller>
#include <QStyleHints>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QStringList itemsOf(const QListWidget *list)
{
    QStringList items;
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text();
    return items;
}

// Key presses that carry any text, Cyrillic included, as a keyboard layout would send them.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class TestQuizForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void tabOrder();
    void mousePairs_data();
    void mousePairs();
    void pressThenDragOrReleaseElsewhere_data();
    void pressThenDragOrReleaseElsewhere();
    void doubleClickPicksOnce();
    void otherButtonsNeverPick_data();
    void otherButtonsNeverPick();
    void clickOnEmptySpaceKeepsTheSelection();
    void touch_data();
    void touch();
    void keysMoveWithoutPicking_data();
    void keysMoveWithoutPicking();
    void typeAheadMovesWithoutPicking();
    void clearButton_data();
    void clearButton();
    void readOnlyFields_data();
    void readOnlyFields();
    void contextMenuIsBulgarian();
    void geometry();
    void fixedSize();
    void noTextClipped();
    void coloursAndFont();
    void iconMatchesTheInstalledOne();
    void accessibleNames();
    void verdictReachesAssistiveTechnology();
    void desktopArguments_data();
    void desktopArguments();

private:
    ListBox *list(int index) const;
    QWidget *control(const QString &name) const;
    QRect itemRect(ListBox *list, const QString &name) const;
    void click(const QString &name);
    void playRound(int pairs);
    void tap(QWidget *viewport, QPoint at);
    void swipe(QWidget *viewport, QPoint from, QPoint to);

    std::unique_ptr<QuizForm> m_form;
    QPointingDevice *m_touchScreen = QTest::createTouchDevice();
};

void TestQuizForm::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestQuizForm::init()
{
    m_form = std::make_unique<QuizForm>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestQuizForm::cleanup()
{
    m_form.reset();
}

ListBox *TestQuizForm::list(int index) const
{
    return m_form->findChild<ListBox *>(u"List1_%1"_s.arg(index));
}

QWidget *TestQuizForm::control(const QString &name) const
{
    return m_form->findChild<QWidget *>(name);
}

QRect TestQuizForm::itemRect(ListBox *list, const QString &name) const
{
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return {};
    list->scrollToItem(found.first());
    return list->visualItemRect(found.first());
}

// A real left click on the named item, in whichever list holds it.
void TestQuizForm::click(const QString &name)
{
    ListBox *target = list(0)->findItems(name, Qt::MatchExactly).isEmpty() ? list(1) : list(0);
    const QRect rect = itemRect(target, name);
    QVERIFY2(rect.isValid(), qPrintable(name));
    QTest::mouseClick(target->viewport(), Qt::LeftButton, {}, rect.center());
}

// A finger set down and lifted in place.
void TestQuizForm::tap(QWidget *viewport, QPoint at)
{
    QTest::touchEvent(m_form.get(), m_touchScreen).press(0, at, viewport);
    QTest::touchEvent(m_form.get(), m_touchScreen).release(0, at, viewport);
}

// A finger drawn across a control at a finger's pace, then lifted; any glide waited out.
void TestQuizForm::swipe(QWidget *viewport, QPoint from, QPoint to)
{
    QTest::touchEvent(m_form.get(), m_touchScreen).press(0, from, viewport);
    constexpr int steps = 8;
    for (int step = 1; step <= steps; ++step) {
        QTest::qWait(15);
        QTest::touchEvent(m_form.get(), m_touchScreen)
                .move(0, from + (to - from) * step / steps, viewport);
    }
    QTest::touchEvent(m_form.get(), m_touchScreen).release(0, to, viewport);
    // Not QTRY_COMPARE: Qt 6.8's narrows a long inside the macro, which -Wconversion refuses.
    QVERIFY(QTest::qWaitFor(
            [viewport] { return QScroller::scroller(viewport)->state() == QScroller::Inactive; }));
}

void TestQuizForm::playRound(int pairs)
{
    for (int row = 0; row < pairs; ++row) {
        click(list(0)->item(0)->text());
        click(list(1)->item(0)->text());
    }
}

void TestQuizForm::startState()
{
    QCOMPARE(itemsOf(list(0)), Expected::greekOrder);
    QCOMPARE(itemsOf(list(1)), Expected::romanOrder);
    QCOMPARE(list(0)->selectionIndex(), -1);
    QCOMPARE(list(1)->selectionIndex(), -1);
    QCOMPARE(m_form->text2(0), u"0"_s);
    QCOMPARE(m_form->text2(1), u"0"_s);
    QCOMPARE(m_form->text1(), FormDefinition::introduction().toString());
    QCOMPARE(QApplication::focusWidget(), control(u"Text1_0"_s));
    QCOMPARE(m_form->windowTitle(), u"www.example.org ЗУН - митология"_s);
}

// Tab walks the six focusable controls in their order and wraps; labels never take focus.
// The one with the focus is ringed in black, and a counter entered by Tab selects nothing.
void TestQuizForm::tabOrder()
{
    const QStringList expected = {
            u"List1_0"_s, u"List1_1"_s, u"Command1_0"_s, u"Text2_0"_s, u"Text2_1"_s, u"Text1_0"_s};
    QStringList visited;
    for (int press = 0; press < expected.size(); ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        visited << focused->objectName();
        const QImage image = m_form->grab().toImage();
        const qreal scale = image.devicePixelRatio();
        for (const QString &name : expected) {
            const QRect edge = control(name)->geometry();
            const QColor left(image.pixel(QPoint(edge.left(), edge.center().y()) * scale));
            const QColor top(image.pixel(QPoint(edge.center().x(), edge.top() + 1) * scale));
            const bool ringed = left == Qt::black && top == Qt::black;
            QVERIFY2(ringed == (control(name) == focused),
                     qPrintable(visited.last() + u" "_s + name));
        }
        if (auto *line = qobject_cast<QLineEdit *>(focused))
            QVERIFY(!line->hasSelectedText());
    }
    QCOMPARE(visited, expected);
}

void TestQuizForm::mousePairs_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("wrong");

    QTest::newRow("right, Greek first")
            << u"Зевс"_s << u"Юпитер"_s << Expected::zeusRight << u"1"_s << u"0"_s;
    QTest::newRow("right, Roman first")
            << u"Юпитер"_s << u"Зевс"_s << Expected::zeusRight << u"1"_s << u"0"_s;
    QTest::newRow("wrong, Greek first")
            << u"Зевс"_s << u"Нептун"_s << Expected::zeusWrong << u"0"_s << u"1"_s;
    QTest::newRow("wrong, Roman first")
            << u"Нептун"_s << u"Зевс"_s << Expected::zeusWrong << u"0"_s << u"1"_s;
    // Both the last fully shown row: the next one, half shown, must not be scrolled to.
    QTest::newRow("wrong, at the lists' lower edge")
            << u"Зевс"_s << u"Марс"_s << Expected::verdict(u"Зевс"_s, u"Марс"_s) << u"0"_s
            << u"1"_s;
}

void TestQuizForm::mousePairs()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    click(first);
    QCOMPARE(m_form->text1(), FormDefinition::introduction().toString());
    itemRect(list(0)->selectionIndex() < 0 ? list(0) : list(1), second); // as a person would
    const int scrolled[]
            = {list(0)->verticalScrollBar()->value(), list(1)->verticalScrollBar()->value()};
    click(second);

    QTEST(m_form->text1(), "message");
    QTEST(m_form->text2(0), "right");
    QTEST(m_form->text2(1), "wrong");
    QTEST(qobject_cast<QLineEdit *>(control(u"Text2_0"_s))->text(), "right");
    QCOMPARE(list(0)->count(), 15);
    QCOMPARE(list(1)->count(), 15);
    QVERIFY(!itemsOf(list(0)).contains(u"Зевс"_s));
    QVERIFY(!itemsOf(list(1)).contains(second == u"Зевс"_s ? first : second));
    QCOMPARE(list(0)->selectionIndex(), -1);
    QCOMPARE(list(1)->selectionIndex(), -1);
    for (int index : {0, 1}) { // unless a shorter list can no longer scroll as far
        const QScrollBar *bar = list(index)->verticalScrollBar();
        QCOMPARE(bar->value(), std::min(scrolled[index], bar->maximum()));
    }
    // What the field shows is the verdict, its CR LF shown as a line break.
    const QString shown = qobject_cast<QPlainTextEdit *>(control(u"Text1_0"_s))->toPlainText();
    QCOMPARE(shown, m_form->text1().replace(u"\r\n"_s, u"\n"_s));
}

// The press judges and removes the item under the pointer; whatever the pointer then
// touches, held or released, must stay unpicked.
void TestQuizForm::pressThenDragOrReleaseElsewhere_data()
{
    QTest::addColumn<int>("dragRows"); // rows the pointer travels down before release

    QTest::newRow("release in place") << 0;
    QTest::newRow("drag one row") << 1;
    QTest::newRow("drag three rows") << 3;
}

void TestQuizForm::pressThenDragOrReleaseElsewhere()
{
    QFETCH(int, dragRows);
    click(u"Венера"_s);
    ListBox *greek = list(0);
    const QRect rect = itemRect(greek, u"Афродита"_s);
    QTest::mousePress(greek->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(m_form->text2(0), u"1"_s);
    QPoint pos = rect.center();
    for (int row = 0; row < dragRows; ++row) {
        pos.ry() += rect.height();
        QMouseEvent move(QEvent::MouseMove,
                         pos,
                         greek->viewport()->mapToGlobal(pos),
                         Qt::NoButton,
                         Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(greek->viewport(), &move);
    }
    QTest::mouseRelease(greek->viewport(), Qt::LeftButton, {}, pos);

    QCOMPARE(greek->selectionIndex(), -1);
    QCOMPARE(list(1)->selectionIndex(), -1);
    QCOMPARE(m_form->text2(0), u"1"_s);
    QCOMPARE(m_form->text2(1), u"0"_s);
}

void TestQuizForm::doubleClickPicksOnce()
{
    click(u"Хера"_s);
    ListBox *roman = list(1);
    // Through the window, so that Qt itself pairs the two presses into a double click.
    const QPoint pos = roman->viewport()->mapTo(m_form.get(), itemRect(roman, u"Юнона"_s).center());
    QTest::mouseDClick(m_form->windowHandle(), Qt::LeftButton, {}, pos);
    QCOMPARE(m_form->text2(0), u"1"_s);
    QCOMPARE(roman->selectionIndex(), -1); // not the name that slid under the pointer
    QCOMPARE(roman->count(), 15);
}

void TestQuizForm::otherButtonsNeverPick_data()
{
    QTest::addColumn<Qt::MouseButton>("button");

    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestQuizForm::otherButtonsNeverPick()
{
    QFETCH(Qt::MouseButton, button);
    for (ListBox *names : {list(0), list(1)}) {
        for (const QString &name : {u"Зевс"_s, u"Марс"_s, u"Юпитер"_s}) {
            const QRect rect = itemRect(names, name);
            if (rect.isValid())
                QTest::mouseClick(names->viewport(), button, {}, rect.center());
        }
    }
    QCOMPARE(list(0)->selectionIndex(), -1);
    QCOMPARE(list(1)->selectionIndex(), -1);
    click(u"Зевс"_s); // a left click after them is a pick as ever
    QCOMPARE(list(0)->selectionIndex(), 6);
    QCOMPARE(m_form->text2(1), u"0"_s);
}

void TestQuizForm::clickOnEmptySpaceKeepsTheSelection()
{
    playRound(12); // four names left: the lower part of each list is empty
    ListBox *greek = list(0);
    click(greek->item(1)->text());
    QTest::mouseClick(greek->viewport(), Qt::LeftButton, {}, {20, greek->viewport()->height() - 3});
    QCOMPARE(greek->selectionIndex(), 1);
    QCOMPARE(m_form->text2(0).toInt() + m_form->text2(1).toInt(), 12);
}

// A finger: a tap picks the name it went down on; a swipe, a long press or a second finger
// picks nothing and a swipe scrolls; the message field scrolls without selecting.
void TestQuizForm::touch_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<bool>("otherPicked"); // a name of the other list picked by tap first
    QTest::addColumn<QString>("picked");   // by the gesture, in the target list: a name, or
                                           // the one under the finger where it went down
    QTest::addColumn<bool>("scrolls");

    const QString under = u"under the finger"_s;
    QTest::newRow("tap, Greek") << u"List1_0"_s << u"tap"_s << false << under << false;
    QTest::newRow("tap, Roman") << u"List1_1"_s << u"tap"_s << false << under << false;
    QTest::newRow("tap judges the pair") << u"List1_1"_s << u"tap"_s << true << u""_s << false;
    QTest::newRow("swipe up, Greek") << u"List1_0"_s << u"swipe"_s << false << u""_s << true;
    QTest::newRow("swipe up, Roman") << u"List1_1"_s << u"swipe"_s << false << u""_s << true;
    QTest::newRow("swipe up, Greek, Roman picked")
            << u"List1_0"_s << u"swipe"_s << true << u""_s << true;
    QTest::newRow("swipe up, Roman, Greek picked")
            << u"List1_1"_s << u"swipe"_s << true << u""_s << true;
    QTest::newRow("swipe down onto another name")
            << u"List1_0"_s << u"swipe down"_s << false << u""_s << false;
    QTest::newRow("long press") << u"List1_0"_s << u"hold"_s << false << u""_s << false;
    QTest::newRow("second finger") << u"List1_1"_s << u"two fingers"_s << false << u""_s << false;
    QTest::newRow("tap after swipes, late name")
            << u"List1_0"_s << u"swipes, tap"_s << false << u"Хефест"_s << true;
    QTest::newRow("message field") << u"Text1_0"_s << u"swipe"_s << false << u""_s << true;
}

void TestQuizForm::touch()
{
    QFETCH(QString, target);
    QFETCH(QString, gesture);
    QFETCH(bool, otherPicked);
    auto *area = qobject_cast<QAbstractScrollArea *>(control(target));
    QWidget *viewport = area->viewport();
    ListBox *other = target == u"List1_0"_s ? list(1) : list(0);
    if (otherPicked) {
        tap(other->viewport(), other->visualItemRect(other->item(0)).center());
        QCOMPARE(other->selectionIndex(), 0);
    }
    const int row = area->verticalScrollBar()->pageStep() > 0
                            ? viewport->height() / area->verticalScrollBar()->pageStep()
                            : 0;
    // Five rows up, or as near as the control's height allows.
    const QPoint middle(viewport->width() / 2,
                        std::min(row * 5, viewport->height() - row) + row / 2);
    const QPoint up(middle.x(), row / 2);
    const int scrolled = area->verticalScrollBar()->value();
    const auto *touchedList = qobject_cast<ListBox *>(area);
    const QString underFinger
            = touchedList ? touchedList->indexAt(middle).data().toString() : QString();
    if (gesture == u"tap"_s) {
        QTest::touchEvent(m_form.get(), m_touchScreen).press(0, middle, viewport);
        QTest::touchEvent(m_form.get(), m_touchScreen).move(0, middle + QPoint(2, 2), viewport);
        QTest::touchEvent(m_form.get(), m_touchScreen).release(0, middle + QPoint(2, 2), viewport);
    } else if (gesture == u"swipe"_s) {
        swipe(viewport, middle, up);
    } else if (gesture == u"swipe down"_s) {
        swipe(viewport, up + QPoint(0, row), middle);
    } else if (gesture == u"hold"_s) {
        QTest::touchEvent(m_form.get(), m_touchScreen).press(0, middle, viewport);
        QTest::qWait(QGuiApplication::styleHints()->mousePressAndHoldInterval() + 100);
        QTest::touchEvent(m_form.get(), m_touchScreen).release(0, middle, viewport);
    } else if (gesture == u"two fingers"_s) {
        QTest::touchEvent(m_form.get(), m_touchScreen).press(0, middle, viewport);
        QTest::touchEvent(m_form.get(), m_touchScreen).stationary(0).press(1, up, viewport);
        QTest::touchEvent(m_form.get(), m_touchScreen)
                .release(0, middle, viewport)
                .release(1, up, viewport);
    } else {
        swipe(viewport, middle, up);
        swipe(viewport, middle, up);
        const QRect last = list(0)->visualItemRect(list(0)->item(list(0)->count() - 1));
        QVERIFY(viewport->rect().contains(last));
        tap(viewport, last.center());
    }

    QFETCH(bool, scrolls);
    QCOMPARE(area->verticalScrollBar()->value() > scrolled, scrolls);
    if (auto *memo = qobject_cast<QPlainTextEdit *>(area)) {
        QVERIFY(!memo->textCursor().hasSelection());
        return;
    }
    auto *touched = static_cast<ListBox *>(area);
    QFETCH(QString, picked);
    if (picked == u"under the finger"_s) {
        QVERIFY(!underFinger.isEmpty());
        picked = underFinger;
    }
    const bool judged = otherPicked && gesture == u"tap"_s;
    QCOMPARE(touched->selectionIndex() < 0 ? QString()
                                           : q(touched->itemText(touched->selectionIndex())),
             picked);
    QCOMPARE(other->selectionIndex(), otherPicked && !judged ? 0 : -1);
    QCOMPARE(m_form->text2(0).toInt() + m_form->text2(1).toInt(), judged ? 1 : 0);
    if (!judged)
        QCOMPARE(m_form->text1(), FormDefinition::introduction().toString());
}

void TestQuizForm::keysMoveWithoutPicking_data()
{
    QTest::addColumn<int>("pickKey");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter)
                                  << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void TestQuizForm::keysMoveWithoutPicking()
{
    QFETCH(int, pickKey);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    const auto pick = [&](QWidget *w) {
        QTest::keyClick(w, Qt::Key(pickKey), modifiers);
    };
    ListBox *greek = list(0);
    ListBox *roman = list(1);
    greek->setFocus();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_End, Qt::Key_Home})
        QTest::keyClick(greek, key);
    for (int press = 0; press < 6; ++press) // to "Зевс"
        QTest::keyClick(greek, Qt::Key_Down);
    QCOMPARE(greek->selectionIndex(), -1);
    QCOMPARE(greek->currentItem()->text(), u"Зевс"_s);
    pick(greek);
    QCOMPARE(greek->selectionIndex(), 6);

    roman->setFocus();
    for (const Qt::Key key :
         {Qt::Key_PageDown, Qt::Key_End, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_Down})
        QTest::keyClick(roman, key);
    QCOMPARE(roman->selectionIndex(), -1);
    QCOMPARE(m_form->text1(), FormDefinition::introduction().toString());
    QTest::keyClick(roman, Qt::Key_End);
    QCOMPARE(roman->currentItem()->text(), u"Юпитер"_s);
    pick(roman);

    QCOMPARE(m_form->text1(), Expected::zeusRight);
    QCOMPARE(greek->selectionIndex(), -1);
    QCOMPARE(roman->selectionIndex(), -1);
    // The keyboard user keeps a place in the list to go on from, unpicked.
    QVERIFY(roman->currentItem());
    QCOMPARE(roman->currentItem()->text(), u"Юнона"_s);
    QTest::keyClick(roman, Qt::Key_Up);
    QCOMPARE(roman->selectionIndex(), -1);
}

void TestQuizForm::typeAheadMovesWithoutPicking()
{
    click(u"Посейдон"_s);
    ListBox *roman = list(1);
    roman->setFocus();
    typeText(roman, u"Не"_s);
    QCOMPARE(roman->currentItem()->text(), u"Нептун"_s);
    QCOMPARE(roman->selectionIndex(), -1);
    QCOMPARE(m_form->text2(0), u"0"_s);
    QTest::keyClick(roman, Qt::Key_Space);
    QCOMPARE(m_form->text2(0), u"1"_s);
}

void TestQuizForm::clearButton_data()
{
    QTest::addColumn<int>("pairs");
    QTest::addColumn<int>("key"); // 0: the mouse

    QTest::newRow("mid-round, mouse") << 5 << 0;
    QTest::newRow("mid-round, Space") << 5 << int(Qt::Key_Space);
    QTest::newRow("mid-round, Return") << 5 << int(Qt::Key_Return);
    QTest::newRow("end of round, mouse") << 16 << 0;
    QTest::newRow("end of round, Space") << 16 << int(Qt::Key_Space);
    QTest::newRow("end of round, keypad Enter") << 16 << int(Qt::Key_Enter);
}

void TestQuizForm::clearButton()
{
    QFETCH(int, pairs);
    QFETCH(int, key);
    playRound(pairs);
    if (list(0)->count() > 0)
        click(list(0)->item(0)->text()); // a pick left pending
    QCOMPARE(list(0)->count(), 16 - pairs);

    QWidget *button = control(u"Command1_0"_s);
    if (key) {
        button->setFocus();
        QTest::keyClick(
                button, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    } else {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(itemsOf(list(0)), Expected::greekOrder);
    QCOMPARE(itemsOf(list(1)), Expected::romanOrder);
    QCOMPARE(list(0)->selectionIndex(), -1);
    QCOMPARE(m_form->text2(0), u"0"_s);
    QCOMPARE(m_form->text2(1), u"0"_s);
    QCOMPARE(m_form->text1(), QString());
    click(u"Зевс"_s);
    click(u"Юпитер"_s);
    QCOMPARE(m_form->text1(), Expected::zeusRight);
}

void TestQuizForm::readOnlyFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("edit");

    for (const QString &field : {u"Text1_0"_s, u"Text2_0"_s, u"Text2_1"_s}) {
        for (const QString &edit :
             {u"type"_s, u"paste"_s, u"cut"_s, u"delete"_s, u"backspace"_s, u"undo"_s, u"drop"_s})
            QTest::addRow("%s %s", qPrintable(field), qPrintable(edit)) << field << edit;
    }
}

void TestQuizForm::readOnlyFields()
{
    QFETCH(QString, field);
    QFETCH(QString, edit);
    click(u"Зевс"_s);
    click(u"Нептун"_s); // the fields now hold what the program wrote
    QWidget *widget = control(field);
    auto *line = qobject_cast<QLineEdit *>(widget);
    auto *memo = qobject_cast<QPlainTextEdit *>(widget);
    const auto shown = [&] {
        return line ? line->text() : memo->toPlainText();
    };
    const QString before = shown();
    widget->setFocus();
    QApplication::clipboard()->setText(u"Арес"_s);

    if (edit == u"type"_s) {
        typeText(widget, u"9ф"_s);
    } else if (edit == u"paste"_s) {
        QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
    } else if (edit == u"cut"_s) {
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widget, Qt::Key_X, Qt::ControlModifier);
    } else if (edit == u"delete"_s || edit == u"backspace"_s) {
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widget, edit == u"delete"_s ? Qt::Key_Delete : Qt::Key_Backspace);
    } else if (edit == u"undo"_s) {
        QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
    } else {
        QWidget *target = memo ? memo->viewport() : widget;
        QMimeData data;
        data.setText(u"Арес"_s);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
    }
    QCOMPARE(shown(), before);
    QCOMPARE(m_form->text1(), Expected::zeusWrong);
    QCOMPARE(m_form->text2(1), u"1"_s);
    if (edit == u"cut"_s)
        QCOMPARE(QApplication::clipboard()->text(), u"Арес"_s);
}

void TestQuizForm::contextMenuIsBulgarian()
{
    for (const QString &field : {u"Text1_0"_s, u"Text2_0"_s}) {
        QWidget *widget = control(field);
        std::unique_ptr<QMenu> menu(
                qobject_cast<QLineEdit *>(widget)
                        ? qobject_cast<QLineEdit *>(widget)->createStandardContextMenu()
                        : qobject_cast<QPlainTextEdit *>(widget)->createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text();
        }
        QVERIFY2(!texts.isEmpty(), qPrintable(field));
        for (const QString &text : texts) {
            const bool cyrillic = std::any_of(text.begin(), text.end(), [](QChar c) {
                return c.script() == QChar::Script_Cyrillic;
            });
            QVERIFY2(cyrillic, qPrintable(field + u": "_s + text));
        }
    }
}

// At 96 dpi a twip is 1/15 pixel, and every place in the definition divides evenly.
void TestQuizForm::geometry()
{
    if (m_form->logicalDpiX() != 96)
        QSKIP("the exact figures hold at 96 dpi");
    constexpr int perPixel = FormDefinition::twipsPerPixel;
    QCOMPARE(m_form->size(), FormDefinition::clientTwips / perPixel);
    for (const FormDefinition::Control &c : FormDefinition::controls()) {
        const QString name = c.array.toString() + u'_' + QString::number(c.index);
        const QRect expected(c.twips.left() / perPixel,
                             c.twips.top() / perPixel,
                             c.twips.width() / perPixel,
                             c.twips.height() / perPixel);
        QCOMPARE(control(name)->geometry(), expected);
    }
}

void TestQuizForm::fixedSize()
{
    const QSize size = m_form->size();
    QCOMPARE(m_form->minimumSize(), size);
    QCOMPARE(m_form->maximumSize(), size);
    m_form->resize(size * 2);
    QCOMPARE(m_form->size(), size);
    const Qt::WindowFlags flags = m_form->windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
}

// Run again by CTest at scale factors 1.5 and 2.
void TestQuizForm::noTextClipped()
{
    const auto fits = [](const QWidget *widget, const QRect &room, const QString &text) {
        const QFontMetrics metrics(widget->font(), widget);
        return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
    };
    for (const QLabel *label : m_form->findChildren<QLabel *>())
        QVERIFY2(fits(label, label->contentsRect(), label->text()), qPrintable(label->text()));
    for (const QString &name : {u"Text2_0"_s, u"Text2_1"_s}) {
        QWidget *counter = control(name); // a round's counts have at most two digits
        QVERIFY2(fits(counter, counter->contentsRect().adjusted(2, 1, -2, -1), u"16"_s),
                 qPrintable(name));
    }
    auto *button = qobject_cast<QPushButton *>(control(u"Command1_0"_s));
    QVERIFY(fits(button, button->rect().adjusted(4, 2, -4, -2), button->text()));
    for (int index = 0; index < 2; ++index) {
        ListBox *names = list(index);
        for (int row = 0; row < names->count(); ++row) {
            const QRect rect = names->visualItemRect(names->item(row));
            const QString text = names->item(row)->text();
            QVERIFY2(fits(names, rect, text), qPrintable(text));
            QVERIFY2(rect.right() < names->viewport()->width(), qPrintable(text));
        }
    }
}

void TestQuizForm::coloursAndFont()
{
    const QImage image = m_form->grab().toImage();
    const qreal scale = image.devicePixelRatio();
    const auto colourAt = [&](QPoint p) {
        return QColor(image.pixel(p * scale));
    };
    QCOMPARE(colourAt({2, 2}), FormDefinition::windowColour);
    const QRect title = control(u"Label1_0"_s)->geometry();
    QCOMPARE(colourAt(title.topLeft() + QPoint(3, 3)), FormDefinition::labelColour);
    const QRect button = control(u"Command1_0"_s)->geometry();
    QCOMPARE(colourAt({button.left() + 6, button.center().y()}), FormDefinition::buttonColour);

    const QFont font = control(u"List1_0"_s)->font();
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(font.weight(), QFont::Normal);
    QCOMPARE(QFontInfo(font).family(), u"Liberation Serif"_s);
}

// The window's raw pixels must be the PNG that desktops show for the program.
void TestQuizForm::iconMatchesTheInstalledOne()
{
    const QImage installed = QImage(QStringLiteral(ZUN_ICON_PNG));
    QCOMPARE(installed.size(), QSize(32, 32));
    const QImage shown = m_form->windowIcon().pixmap(QSize(32, 32), 1.0).toImage();
    QCOMPARE(shown.convertToFormat(QImage::Format_RGBA8888),
             installed.convertToFormat(QImage::Format_RGBA8888));
}

void TestQuizForm::accessibleNames()
{
    const QList<std::pair<QString, QString>> expected = {{u"List1_0"_s, u"Гръцки богове"_s},
                                                         {u"List1_1"_s, u"Римски богове"_s},
                                                         {u"Text2_0"_s, u"Верни отговори"_s},
                                                         {u"Text2_1"_s, u"Грешни отговори"_s},
                                                         {u"Text1_0"_s, u"Съобщение"_s},
                                                         {u"Command1_0"_s, u"Чисти"_s}};
    for (const auto &[name, accessibleName] : expected) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control(name));
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), accessibleName);
    }
    QAccessibleInterface *greek = QAccessible::queryAccessibleInterface(list(0));
    QCOMPARE(greek->role(), QAccessible::List);
    QCOMPARE(greek->childCount(), 16);
    for (int row = 0; row < 16; ++row)
        QCOMPARE(greek->child(row)->text(QAccessible::Name), Expected::greekOrder.at(row));
}

// A keyboard judgement in the Roman list: a notification carries the verdict, then the
// counts and the Roman list's new current name (what Orca says is checked by
// acceptance/desktop/orca_speech.py).
void TestQuizForm::verdictReachesAssistiveTechnology()
{
    ListBox *greek = list(0);
    ListBox *roman = list(1);
    click(u"Зевс"_s);
    roman->setFocus();
    QTest::keyClick(roman, Qt::Key_End);
    QTest::keyClick(roman, Qt::Key_Space);

    QCOMPARE(QApplication::focusWidget(), roman);
    QAccessibleInterface *notification = nullptr;
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_form.get());
    for (int i = 0; i < window->childCount(); ++i) {
        if (window->child(i)->role() == QAccessible::Notification)
            notification = window->child(i);
    }
    QVERIFY(notification);
    QCOMPARE(notification->text(QAccessible::Name), Expected::zeusRightTold);
    QCOMPARE(notification->text(QAccessible::Description), Expected::zeusRightToldMore);
    // Entering a list again tells its current name and how to play, no old verdict.
    const QString help = FormDefinition::controls()[3].accessibleDescription.toString();
    QCOMPARE(greek->accessibleDescription(), u"Рамката е на Нике. "_s + help);
    QCOMPARE(roman->accessibleDescription(), u"Рамката е на Юнона. "_s + help);
}

void TestQuizForm::desktopArguments_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("none") << QStringList() << QStringList();
    QTest::newRow("look changers")
            << QStringList{u"-reverse"_s, u"-style"_s, u"windows"_s} << QStringList();
    QTest::newRow("a style sheet file")
            << QStringList{u"-stylesheet"_s, u"/tmp/a.qss"_s, u"--stylesheet=/tmp/b.qss"_s}
            << QStringList();
    QTest::newRow("where the window goes")
            << QStringList{u"-platform"_s, u"xcb"_s, u"--display"_s, u":1"_s}
            << QStringList{u"-platform"_s, u"xcb"_s, u"--display"_s, u":1"_s};
    QTest::newRow("a session among others")
            << QStringList{u"-reverse"_s, u"-session"_s, u"s1"_s, u"-qwindowicon"_s, u"i.png"_s}
            << QStringList{u"-session"_s, u"s1"_s};
    QTest::newRow("an option without its value") << QStringList{u"-platform"_s} << QStringList();
}

void TestQuizForm::desktopArguments()
{
    QFETCH(QStringList, given);
    std::vector<QByteArray> bytes{"zun-mitologia"};
    for (const QString &argument : given)
        bytes.push_back(argument.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const int argc = keepDesktopArguments(int(argv.size()) - 1, argv.data());
    QStringList kept;
    for (int i = 1; i < argc; ++i)
        kept << QString::fromUtf8(argv[std::size_t(i)]);
    QTEST(kept, "kept");
    QCOMPARE(QString::fromUtf8(argv[0]), u"zun-mitologia"_s);
    QCOMPARE(argv[std::size_t(argc)], nullptr);
}

QTEST_MAIN(TestQuizForm)
#include "tst_quizform.moc"
