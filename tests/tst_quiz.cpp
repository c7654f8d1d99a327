#include "memorycontrols.h"
#include "pantheontable.h"
#include "quiz.h"
#include "words.h"

#include "expected.h"
#include "text.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString intro = u"Въведение"_s;

// A list that, like Qt's own list views, selects a neighbour when the selected item goes.
class NeighbourSelectingList : public MemoryList
{
public:
    void removeItem(int position) override
    {
        const bool wasSelected = selectionIndex() == position;
        MemoryList::removeItem(position);
        if (wasSelected && count() > 0)
            setSelectionIndex(std::min(position, count() - 1));
    }
};

// A window without a window: the five controls a round lives in, wired to the logic.
struct Round
{
    explicit Round(std::unique_ptr<MemoryList> greekList = std::make_unique<MemoryList>())
        : greek(std::move(greekList))
    {
        greek->onClick = [this] {
            click(0);
        };
        roman.onClick = [this] {
            click(1);
        };
        quiz.Form_Load();
    }
    void click(qint16 index)
    {
        ++clicks;
        last = quiz.List1_Click(index);
    }
    // A user's pick: selects the named item in whichever list holds it.
    void pick(const QString &name)
    {
        MemoryList &list = q(greek->items()).contains(name) ? *greek : roman;
        list.setSelectionIndex(int(q(list.items()).indexOf(name)));
    }
    int judgements() const { return q(right.text()).toInt() + q(wrong.text()).toInt(); }

    std::unique_ptr<MemoryList> greek;
    MemoryList roman;
    MemoryField message{intro.toStdU16String()}, right{u"0"}, wrong{u"0"};
    Quiz quiz{{{greek.get(), &roman}, &message, {&right, &wrong}}};
    int clicks = 0;
    Outcome last; // what the latest outermost click did
};

QString rightVerdict(int row)
{
    return Expected::verdict(q(PantheonTable::greekName(row)),
                             q(PantheonTable::romanName(row)),
                             q(PantheonTable::domain(row)));
}

} // namespace

class TestQuiz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startState();
    void judge_data();
    void judge();
    void strandedPartnersAreWrong();
    void reselectingOneListJudgesNothing();
    void nestedClicksNeverJudge();
    void neighbourSelectingListWouldBeCaught();
    void fullRound_data();
    void fullRound();
    void clear_data();
    void clear();
    void badInput();
    void counterAtItsLimitStays();
    void told_data();
    void told();
};

void TestQuiz::startState()
{
    Round round;
    QCOMPARE(q(round.greek->items()), Expected::greekOrder);
    QCOMPARE(q(round.roman.items()), Expected::romanOrder);
    QCOMPARE(round.greek->selectionIndex(), -1);
    QCOMPARE(round.roman.selectionIndex(), -1);
    QCOMPARE(q(round.right.text()), u"0"_s);
    QCOMPARE(q(round.wrong.text()), u"0"_s);
    QCOMPARE(q(round.message.text()), intro);
}

void TestQuiz::judge_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("greek");
    QTest::addColumn<QString>("roman");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("wrong");

    const QString zeus = u"Зевс"_s, jupiter = u"Юпитер"_s, neptune = u"Нептун"_s;
    const QString rightText = Expected::zeusRight, wrongText = Expected::zeusWrong;
    QTest::newRow("right, Greek first")
            << zeus << jupiter << zeus << jupiter << rightText << u"1"_s << u"0"_s;
    QTest::newRow("right, Roman first")
            << jupiter << zeus << zeus << jupiter << rightText << u"1"_s << u"0"_s;
    QTest::newRow("wrong, Greek first")
            << zeus << neptune << zeus << neptune << wrongText << u"0"_s << u"1"_s;
    QTest::newRow("wrong, Roman first")
            << neptune << zeus << zeus << neptune << wrongText << u"0"_s << u"1"_s;
    // Eros and Aphrodite share "love": the domain comes from the Greek name's row.
    QTest::newRow("Eros keeps his own domain") << u"Ерос"_s << u"Амур"_s << u"Ерос"_s << u"Амур"_s
                                               << rightVerdict(12) << u"1"_s << u"0"_s;
    QTest::newRow("Aphrodite keeps hers") << u"Венера"_s << u"Афродита"_s << u"Афродита"_s
                                          << u"Венера"_s << rightVerdict(4) << u"1"_s << u"0"_s;
}

void TestQuiz::judge()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, greek);
    QFETCH(QString, roman);
    Round round;
    round.pick(first);
    QCOMPARE(q(round.message.text()), intro);
    round.pick(second);

    QTEST(q(round.message.text()), "message");
    QTEST(q(round.right.text()), "right");
    QTEST(q(round.wrong.text()), "wrong");
    QCOMPARE(round.greek->count(), 15);
    QCOMPARE(round.roman.count(), 15);
    QVERIFY(!q(round.greek->items()).contains(greek));
    QVERIFY(!q(round.roman.items()).contains(roman));
    QCOMPARE(round.greek->selectionIndex(), -1);
    QCOMPARE(round.roman.selectionIndex(), -1);
}

// A wrong pair strands both true partners: they can only be judged wrong afterwards.
void TestQuiz::strandedPartnersAreWrong()
{
    Round round;
    round.pick(u"Зевс"_s);
    round.pick(u"Нептун"_s);
    QVERIFY(q(round.greek->items()).contains(u"Посейдон"_s));
    QVERIFY(q(round.roman.items()).contains(u"Юпитер"_s));
    round.pick(u"Посейдон"_s);
    round.pick(u"Юпитер"_s);
    QCOMPARE(q(round.message.text()), Expected::verdict(u"Посейдон"_s, u"Юпитер"_s));
    QCOMPARE(q(round.right.text()), u"0"_s);
    QCOMPARE(q(round.wrong.text()), u"2"_s);
}

void TestQuiz::reselectingOneListJudgesNothing()
{
    Round round;
    round.pick(u"Зевс"_s);
    round.pick(u"Хера"_s);
    QCOMPARE(round.greek->selectionIndex(), Expected::greekOrder.indexOf(u"Хера"_s));
    QCOMPARE(round.judgements(), 0);
    QCOMPARE(round.greek->count(), 16);
    QCOMPARE(q(round.message.text()), intro);
    round.pick(u"Юнона"_s); // the latest pick in each list is the pair
    QCOMPARE(q(round.right.text()), u"1"_s);
}

// The judgement's own removals raise clicks while it runs; none of them may judge again.
void TestQuiz::nestedClicksNeverJudge()
{
    Round round;
    round.pick(u"Атина"_s);
    round.pick(u"Минерва"_s);
    QCOMPARE(round.clicks, 4); // two picks, two removals of a selected item
    QCOMPARE(round.judgements(), 1);
}

// The check above would fail with a list that selects a neighbour on removal: the nested
// click then finds both lists selected and judges a pair nobody chose.
void TestQuiz::neighbourSelectingListWouldBeCaught()
{
    Round round(std::make_unique<NeighbourSelectingList>());
    round.pick(u"Атина"_s);
    round.pick(u"Минерва"_s);
    QVERIFY(round.judgements() > 1);
}

void TestQuiz::fullRound_data()
{
    QTest::addColumn<int>("shift"); // pair row i's Greek name with row i + shift's Roman name
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("wrong");

    QTest::newRow("all right") << 0 << u"16"_s << u"0"_s;
    QTest::newRow("all wrong") << 1 << u"0"_s << u"16"_s;
}

void TestQuiz::fullRound()
{
    QFETCH(int, shift);
    Round round;
    const int rows = PantheonTable::count();
    for (int row = 0; row < rows; ++row) {
        round.pick(q(PantheonTable::romanName((row + shift) % rows)));
        round.pick(q(PantheonTable::greekName(row)));
        QCOMPARE(round.judgements(), row + 1);
    }
    QTEST(q(round.right.text()), "right");
    QTEST(q(round.wrong.text()), "wrong");
    QCOMPARE(round.greek->count(), 0);
    QCOMPARE(round.roman.count(), 0);

    const QString last = q(round.message.text());
    round.greek->setSelectionIndex(0); // a click into an empty list
    round.quiz.List1_Click(0);
    QCOMPARE(round.judgements(), rows);
    QCOMPARE(q(round.message.text()), last);
}

void TestQuiz::clear_data()
{
    QTest::addColumn<int>("judged");   // pairs judged before the clear
    QTest::addColumn<bool>("pending"); // one list still holds a selection

    QTest::newRow("fresh") << 0 << false;
    QTest::newRow("mid-round") << 7 << false;
    QTest::newRow("mid-round, one picked") << 7 << true;
    QTest::newRow("exhausted") << 16 << false;
}

void TestQuiz::clear()
{
    QFETCH(int, judged);
    QFETCH(bool, pending);
    Round round;
    for (int row = 0; row < judged; ++row) {
        round.pick(q(PantheonTable::greekName(row)));
        round.pick(q(PantheonTable::romanName(row)));
    }
    if (pending)
        round.pick(q(round.greek->itemText(0)));
    QCOMPARE(q(round.right.text()), QString::number(judged));

    for (int press = 0; press < 2; ++press) { // a second press changes nothing further
        round.quiz.Command1_Click(0);
        QCOMPARE(q(round.greek->items()), Expected::greekOrder);
        QCOMPARE(q(round.roman.items()), Expected::romanOrder);
        QCOMPARE(round.greek->selectionIndex(), -1);
        QCOMPARE(round.roman.selectionIndex(), -1);
        QCOMPARE(q(round.right.text()), u"0"_s);
        QCOMPARE(q(round.wrong.text()), u"0"_s);
        QCOMPARE(q(round.message.text()), QString());
    }
    round.pick(u"Хадес"_s);
    round.pick(u"Плутон"_s);
    QCOMPARE(q(round.message.text()), rightVerdict(0));
}

void TestQuiz::badInput()
{
    Round round;
    round.pick(u"Зевс"_s);
    round.quiz.Command1_Click(1);
    round.quiz.Command1_Click(-1);
    QCOMPARE(q(round.message.text()), intro); // only button 0 clears
    QCOMPARE(round.greek->selectionIndex(), 6);

    for (const qint16 index : {qint16(-1), qint16(4), qint16(32767)})
        round.quiz.List1_Click(index);
    round.roman.setSelectionIndex(16); // past the end: no selection, no judgement
    round.roman.setSelectionIndex(-7);
    QCOMPARE(round.roman.selectionIndex(), -1);
    QCOMPARE(round.judgements(), 0);
    QCOMPARE(q(round.message.text()), intro);
}

// Nothing in play can push a counter to its limit; if its text ever got there, the
// counter stays rather than the program ending.
void TestQuiz::counterAtItsLimitStays()
{
    Round round;
    round.right.setText(u"32767");
    round.pick(u"Зевс"_s);
    round.pick(u"Юпитер"_s);
    QCOMPARE(q(round.right.text()), u"32767"_s);
    QCOMPARE(q(round.message.text()), rightVerdict(1));
    QCOMPARE(round.greek->count(), 15);
}

// What the faces tell a screen reader, from what the logic says happened: the round's own
// steps, picked by name, with the frame where the round leaves it.
void TestQuiz::told_data()
{
    QTest::addColumn<QStringList>("presses"); // names picked in turn; "Чисти" is the button
    QTest::addColumn<QString>("framed");
    QTest::addColumn<int>("step"); // the round's step that says the same

    const QStringList round{u"Зевс"_s, u"Юпитер"_s, u"Амур"_s, u"Арес"_s};
    QTest::newRow("pick") << round.mid(0, 1) << QString() << 2;
    QTest::newRow("right") << round.mid(0, 2) << u"Юнона"_s << 5;
    QTest::newRow("wrong") << round << u"Артемида"_s << 9;
    QTest::newRow("new round") << round + QStringList{u"Чисти"_s} << QString() << 11;
}

void TestQuiz::told()
{
    QFETCH(QStringList, presses);
    QFETCH(QString, framed);
    QFETCH(int, step);
    Round round;
    for (const QString &press : presses) {
        if (press == u"Чисти"_s)
            round.last = round.quiz.Command1_Click(0);
        else
            round.pick(press);
    }
    const Announcement words = announce(round.last, framed.toStdU16String());
    const std::vector<std::u16string_view> &say = PlayedRound::steps.at(std::size_t(step)).say;
    QCOMPARE(q(words.first), Expected::text(say.at(0)));
    QCOMPARE(q(words.then), say.size() > 1 ? Expected::text(say.at(1)) : QString());
}

QTEST_APPLESS_MAIN(TestQuiz)
#include "tst_quiz.moc"
