// Random sessions of a person playing the real window, each action checked against a model
// of the quiz written from its rules alone.
//
// ZUN_SESSIONS (500), ZUN_ACTIONS (80) and ZUN_FIRST_SEED (1) set the run; ZUN_SEED=N
// replays session N alone and prints every action.

#include "expected.h"
#include "formdefinition.h"
#include "listbox.h"
#include "pantheontable.h"
#include "quizform.h"
#include "text.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

int setting(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// What the quiz should show, predicted from the rules: names sorted, a pick in each list
// judged at once, both names gone whatever the verdict.
class QuizModel
{
public:
    QuizModel()
        : message(FormDefinition::introduction().toString())
    {
        fill();
    }

    void clear()
    {
        fill();
        message.clear();
        judgements = 0;
    }

    void pick(int list, int row)
    {
        if (row < 0 || row >= names[list].size())
            return;
        selection[list] = row;
        if (selection[0] >= 0 && selection[1] >= 0)
            judge();
    }

    QList<QStringList> names{{}, {}};
    QList<int> selection{-1, -1};
    QList<int> counts{0, 0};
    QString message;
    int judgements = 0; // since the last clear
    int allJudgements = 0;

private:
    void fill()
    {
        for (QStringList &list : names)
            list.clear();
        for (int row = 0; row < PantheonTable::count(); ++row) {
            names[0] << q(PantheonTable::greekName(row));
            names[1] << q(PantheonTable::romanName(row));
        }
        for (QStringList &list : names)
            std::sort(list.begin(), list.end());
        selection = {-1, -1};
        counts = {0, 0};
    }

    void judge()
    {
        const QString greek = names[0].takeAt(selection[0]);
        const QString roman = names[1].takeAt(selection[1]);
        selection = {-1, -1};
        int row = 0;
        while (q(PantheonTable::greekName(row)) != greek)
            ++row;
        const bool right = q(PantheonTable::romanName(row)) == roman;
        message = Expected::verdict(
                greek, roman, right ? q(PantheonTable::domain(row)) : QString());
        ++counts[right ? 0 : 1];
        ++judgements;
        ++allJudgements;
    }
};

// One session: a fresh window, a model beside it, and random actions of a person.
class Session
{
public:
    explicit Session(quint32 seed);

    bool isReady() const { return m_ready; }
    // Runs one action; returns a description of any divergence from the model.
    QString step();
    const QStringList &log() const { return m_log; }
    int judgements() const { return m_model.allJudgements; }

private:
    ListBox *list(int index) const;
    QWidget *control(const QString &name) const;
    QPoint inWindow(const QWidget *widget, QPoint local) const;
    int visibleRow(int list);
    void pickByMouse(bool twice);
    void clickItem();
    void clickEmptyPartOfList();
    void clickBackground();
    void clickField();
    void pressDragRelease();
    void doubleClick();
    void wheel();
    void key();
    void clearByMouse();
    void clearByKeyboard();
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, const QString &text = {});
    QString divergence(int previousTotal) const;

    QRandomGenerator m_random;
    std::unique_ptr<QuizForm> m_form;
    QWindow *m_window = nullptr;
    QuizModel m_model;
    QStringList m_log;
    bool m_cleared = false;
    bool m_ready = false;
};

Session::Session(quint32 seed)
    : m_random(seed)
    , m_form(std::make_unique<QuizForm>())
{
    m_form->show();
    m_ready = QTest::qWaitForWindowActive(m_form.get());
    m_window = m_form->windowHandle();
}

ListBox *Session::list(int index) const
{
    return m_form->findChild<ListBox *>(u"List1_%1"_s.arg(index));
}

QWidget *Session::control(const QString &name) const
{
    return m_form->findChild<QWidget *>(name);
}

QPoint Session::inWindow(const QWidget *widget, QPoint local) const
{
    return widget->mapTo(m_form.get(), local);
}

// A row the person can see and click, or -1 when the list shows none.
int Session::visibleRow(int index)
{
    ListBox *names = list(index);
    QList<int> rows;
    for (int row = 0; row < names->count(); ++row) {
        if (names->viewport()->rect().contains(names->visualItemRect(names->item(row)).center()))
            rows << row;
    }
    return rows.isEmpty() ? -1 : rows.at(m_random.bounded(int(rows.size())));
}

QString Session::step()
{
    // Weights out of 100.
    const std::array<std::pair<int, void (Session::*)()>, 10> actions{{
            {30, &Session::clickItem},
            {3, &Session::clickEmptyPartOfList},
            {3, &Session::clickBackground},
            {4, &Session::clickField},
            {6, &Session::pressDragRelease},
            {5, &Session::doubleClick},
            {3, &Session::wheel},
            {37, &Session::key},
            {2, &Session::clearByMouse},
            {2, &Session::clearByKeyboard},
    }};
    int roll = m_random.bounded(100);
    const int before = list(0)->count() + list(1)->count();
    m_cleared = false;
    for (const auto &[weight, action] : actions) {
        if (roll < weight) {
            (this->*action)();
            break;
        }
        roll -= weight;
    }
    QCoreApplication::processEvents();
    return divergence(before);
}

// A click or a double click on a name the person can see: either picks it once, with the
// left button; the others never pick.
void Session::pickByMouse(bool twice)
{
    const int index = int(m_random.bounded(2));
    const int row = visibleRow(index);
    if (row < 0)
        return clickEmptyPartOfList();
    constexpr std::array buttons
            = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    const Qt::MouseButton button = twice ? Qt::LeftButton : buttons.at(m_random.bounded(4u));
    ListBox *names = list(index);
    m_log << u"%1 %2 in list %3 (button %4)"_s
                     .arg(twice ? u"double click"_s : u"click"_s, names->item(row)->text())
                     .arg(index)
                     .arg(int(button));
    const QPoint at = inWindow(names->viewport(), names->visualItemRect(names->item(row)).center());
    if (twice)
        QTest::mouseDClick(m_window, button, {}, at);
    else
        QTest::mouseClick(m_window, button, {}, at);
    if (button == Qt::LeftButton)
        m_model.pick(index, row);
}

void Session::clickItem()
{
    pickByMouse(false);
}

void Session::doubleClick()
{
    pickByMouse(true);
}

void Session::clickEmptyPartOfList()
{
    const int index = int(m_random.bounded(2));
    ListBox *names = list(index);
    const QWidget *viewport = names->viewport();
    const int used = names->count() > 0
                             ? names->visualItemRect(names->item(names->count() - 1)).bottom()
                             : -1;
    if (used >= viewport->height() - 2)
        return; // the list is full to its bottom edge
    const QPoint local(m_random.bounded(viewport->width()),
                       m_random.bounded(used + 2, viewport->height()));
    m_log << u"click below the names of list %1"_s.arg(index);
    QTest::mouseClick(m_window, Qt::LeftButton, {}, inWindow(viewport, local));
}

void Session::clickBackground()
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        const QPoint at(m_random.bounded(m_form->width()), m_random.bounded(m_form->height()));
        QWidget *under = m_form->childAt(at);
        if (!under || qobject_cast<QLabel *>(under)) {
            m_log << u"click the %1 at %2,%3"_s.arg(under ? u"label"_s : u"window"_s)
                             .arg(at.x())
                             .arg(at.y());
            QTest::mouseClick(m_window, Qt::LeftButton, {}, at);
            return;
        }
    }
}

void Session::clickField()
{
    const QStringList fields = {u"Text1_0"_s, u"Text2_0"_s, u"Text2_1"_s};
    QWidget *field = control(fields.at(m_random.bounded(int(fields.size()))));
    m_log << u"click field %1"_s.arg(field->objectName());
    QTest::mouseClick(m_window, Qt::LeftButton, {}, inWindow(field, field->rect().center()));
}

// The press picks (and may judge, moving names under the pointer); moving and releasing
// elsewhere must pick nothing more.
void Session::pressDragRelease()
{
    const int index = int(m_random.bounded(2));
    const int row = visibleRow(index);
    if (row < 0)
        return;
    ListBox *names = list(index);
    const QRect rect = names->visualItemRect(names->item(row));
    m_log << u"press %1 in list %2, drag, release"_s.arg(names->item(row)->text()).arg(index);
    QTest::mousePress(m_window, Qt::LeftButton, {}, inWindow(names->viewport(), rect.center()));
    m_model.pick(index, row);
    QPoint local = rect.center();
    for (int move = m_random.bounded(1, 4); move > 0; --move) {
        local.ry() += int(m_random.bounded(-3, 4)) * rect.height();
        QTest::mouseMove(m_window, inWindow(names->viewport(), local));
    }
    QTest::mouseRelease(m_window, Qt::LeftButton, {}, inWindow(names->viewport(), local));
}

void Session::wheel()
{
    const int index = int(m_random.bounded(2));
    QWidget *viewport = list(index)->viewport();
    const QPoint at = viewport->rect().center();
    const int delta = m_random.bounded(2) ? 120 : -120;
    m_log << u"wheel %1 over list %2"_s.arg(delta).arg(index);
    QWheelEvent event(at,
                      viewport->mapToGlobal(at),
                      {},
                      {0, delta},
                      Qt::NoButton,
                      Qt::NoModifier,
                      Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(viewport, &event);
}

// A key to whatever has the focus; only Space or Enter in a list picks, its current name.
void Session::key()
{
    struct Press
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };
    const std::array<Press, 20> presses{{
            {Qt::Key_Up, {}, {}},
            {Qt::Key_Down, {}, {}},
            {Qt::Key_Down, {}, {}},
            {Qt::Key_Home, {}, {}},
            {Qt::Key_End, {}, {}},
            {Qt::Key_PageUp, {}, {}},
            {Qt::Key_PageDown, {}, {}},
            {Qt::Key_Space, {}, u" "_s},
            {Qt::Key_Return, {}, u"\r"_s},
            {Qt::Key_Enter, Qt::KeypadModifier, u"\r"_s},
            {Qt::Key_Tab, {}, u"\t"_s},
            {Qt::Key_Backtab, Qt::ShiftModifier, {}},
            {Qt::Key(0x0425), {}, u"х"_s}, // type-ahead, Cyrillic
            {Qt::Key(0x041C), {}, u"м"_s},
            {Qt::Key_A, {}, u"a"_s},
            {Qt::Key_V, Qt::ControlModifier, {}},
            {Qt::Key_X, Qt::ControlModifier, {}},
            {Qt::Key_A, Qt::ControlModifier, {}},
            {Qt::Key_Delete, {}, {}},
            {Qt::Key_Z, Qt::ControlModifier, {}},
    }};
    const Press &press = presses.at(m_random.bounded(quint32(presses.size())));
    auto *focusList = qobject_cast<ListBox *>(QApplication::focusWidget());
    const int current = focusList ? focusList->currentRow() : -1;
    pressKey(press.key, press.modifiers, press.text);
    const bool picks = press.key == Qt::Key_Space || press.key == Qt::Key_Return
                       || press.key == Qt::Key_Enter;
    if (focusList && picks)
        m_model.pick(focusList == list(0) ? 0 : 1, current);
    else if (picks && QApplication::focusWidget() == control(u"Command1_0"_s))
        m_model.clear(), m_cleared = true;
}

void Session::pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    QWidget *focus = QApplication::focusWidget();
    m_log << u"key %1%2 in %3"_s.arg(QKeySequence(int(key) | int(modifiers)).toString(),
                                     text.isEmpty() ? QString() : u" \"%1\""_s.arg(text),
                                     focus ? focus->objectName() : u"nothing"_s);
    if (key == Qt::Key_V && modifiers == Qt::ControlModifier)
        QApplication::clipboard()->setText(u"Арес"_s);
    QTest::sendKeyEvent(QTest::Click, m_window, key, text, modifiers);
}

void Session::clearByMouse()
{
    QWidget *button = control(u"Command1_0"_s);
    m_log << u"click Чисти"_s;
    QTest::mouseClick(m_window, Qt::LeftButton, {}, inWindow(button, button->rect().center()));
    m_model.clear();
    m_cleared = true;
}

void Session::clearByKeyboard()
{
    QWidget *button = control(u"Command1_0"_s);
    for (int press = 0; press < 7 && QApplication::focusWidget() != button; ++press)
        pressKey(Qt::Key_Tab, {}, u"\t"_s);
    pressKey(Qt::Key_Space, {}, u" "_s);
    m_model.clear();
    m_cleared = true;
}

QString Session::divergence(int previousTotal) const
{
    QStringList problems;
    const auto expect = [&](bool ok, const QString &what) {
        if (!ok)
            problems << what;
    };
    int total = 0;
    for (int index = 0; index < 2; ++index) {
        const ListBox *names = list(index);
        QStringList items;
        for (int row = 0; row < names->count(); ++row)
            items << names->item(row)->text();
        QStringList sorted = items;
        std::sort(sorted.begin(), sorted.end());
        expect(items == m_model.names[index],
               u"list %1 holds %2"_s.arg(index).arg(items.join(u',')));
        expect(items == sorted, u"list %1 is out of order"_s.arg(index));
        expect(names->selectionIndex() == m_model.selection[index],
               u"list %1 selects %2, not %3"_s.arg(index)
                       .arg(names->selectionIndex())
                       .arg(m_model.selection[index]));
        total += int(items.size());
        const QString count = QString::number(m_model.counts[index]);
        expect(m_form->text2(index) == count
                       && qobject_cast<QLineEdit *>(control(u"Text2_%1"_s.arg(index)))->text()
                                  == count,
               u"counter %1 reads %2, not %3"_s.arg(index).arg(m_form->text2(index), count));
    }
    expect(m_cleared || total <= previousTotal, u"the lists grew without a clear"_s);
    expect(m_form->text2(0).toInt() + m_form->text2(1).toInt() == m_model.judgements,
           u"the counters do not add up to the judgements"_s);
    QString shown = m_model.message;
    shown.replace(u"\r\n"_s, u"\n"_s);
    expect(m_form->text1() == m_model.message
                   && qobject_cast<QPlainTextEdit *>(control(u"Text1_0"_s))->toPlainText() == shown,
           u"the message reads \"%1\""_s.arg(m_form->text1()));
    return problems.join(u"; "_s);
}

} // namespace

class TestRandomPlay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomSessions();
};

void TestRandomPlay::randomSessions()
{
    const int replay = setting("ZUN_SEED", -1);
    const int first = replay >= 0 ? replay : setting("ZUN_FIRST_SEED", 1);
    const int sessions = replay >= 0 ? 1 : setting("ZUN_SESSIONS", 500);
    const int actions = setting("ZUN_ACTIONS", 80);
    QStringList divergences;
    qint64 steps = 0;
    qint64 judgements = 0;
    for (int seed = first; seed < first + sessions; ++seed) {
        Session session{quint32(seed)};
        QVERIFY2(session.isReady(), "the window did not become active");
        for (int action = 0; action < actions; ++action) {
            const QString problem = session.step();
            ++steps;
            if (replay >= 0)
                qInfo().noquote() << session.log().constLast();
            if (!problem.isEmpty()) {
                divergences << u"seed %1, action %2 (%3): %4"_s.arg(seed)
                                       .arg(action + 1)
                                       .arg(session.log().constLast(), problem);
                break;
            }
        }
        judgements += session.judgements();
    }
    qInfo("sessions: %d, actions: %lld, judgements: %lld, divergences: %d",
          sessions,
          steps,
          judgements,
          int(divergences.size()));
    QVERIFY2(divergences.isEmpty(),
             qPrintable(divergences.mid(0, 10).join(u'\n')
                        + u"\nreplay one with ZUN_SEED=<seed>"_s));
}

QTEST_MAIN(TestRandomPlay)
#include "tst_randomplay.moc"
