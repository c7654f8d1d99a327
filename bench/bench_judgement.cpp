// How long a judgement takes through the real window, and a whole round with its clear.
// Run by bench/run.py; a benchmark, not a test: it only reports.
#include "listbox.h"
#include "quizform.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class BenchJudgement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void oneJudgement();
    void roundAndClear();

private:
    void clickFirst(int list);
    void clear();

    QuizForm *m_form = nullptr;
};

void BenchJudgement::init()
{
    m_form = new QuizForm;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void BenchJudgement::cleanup()
{
    delete m_form;
}

void BenchJudgement::clickFirst(int list)
{
    auto *names = m_form->findChild<ListBox *>(u"List1_%1"_s.arg(list));
    names->scrollToTop();
    QTest::mouseClick(
            names->viewport(), Qt::LeftButton, {}, names->visualItemRect(names->item(0)).center());
}

void BenchJudgement::clear()
{
    QTest::mouseClick(m_form->findChild<QPushButton *>(u"Command1_0"_s), Qt::LeftButton);
}

// From the click that completes a pair until the verdict is in its field.
void BenchJudgement::oneJudgement()
{
    QList<qint64> nanoseconds;
    for (int judgement = 0; judgement < 1600; ++judgement) {
        if (judgement % 16 == 0)
            clear();
        clickFirst(0);
        const QString before = m_form->text2(0) + m_form->text2(1);
        QElapsedTimer timer;
        timer.start();
        clickFirst(1);
        nanoseconds << timer.nsecsElapsed();
        QVERIFY(m_form->text2(0) + m_form->text2(1) != before);
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    qInfo("judgement: median %.3f ms, 99th percentile %.3f ms, most %.3f ms (%d judgements)",
          double(nanoseconds.at(nanoseconds.size() / 2)) / 1e6,
          double(nanoseconds.at(nanoseconds.size() * 99 / 100)) / 1e6,
          double(nanoseconds.last()) / 1e6,
          int(nanoseconds.size()));
}

void BenchJudgement::roundAndClear()
{
    QBENCHMARK
    {
        for (int pair = 0; pair < 16; ++pair) {
            clickFirst(0);
            clickFirst(1);
        }
        clear();
    }
}

QTEST_MAIN(BenchJudgement)
#include "bench_judgement.moc"
