#include "quiz.h"

#include "counter.h"
#include "listcontrol.h"
#include "textfield.h"

#include "pantheontable.h"

#include <QString>

using namespace Qt::StringLiterals;

namespace {
const QString crlf = u"\r\n"_s;
}

Quiz::Quiz(const QuizControls &controls)
    : m_controls(controls)
{}

void Quiz::Form_Load()
{
    ResetRound();
}

void Quiz::List1_Click(qint16 /*index: either list takes the same path*/)
{
    const int a = m_controls.list1[0]->selectionIndex();
    const int b = m_controls.list1[1]->selectionIndex();
    if (a > ListControl::NoSelection && b > ListControl::NoSelection)
        CheckPair();
}

void Quiz::Command1_Click(qint16 index)
{
    if (index != 0)
        return;
    ResetRound();
    m_controls.text1->setText(QString());
}

void Quiz::ResetRound()
{
    ListControl &greek = *m_controls.list1[0];
    ListControl &roman = *m_controls.list1[1];
    greek.clear();
    roman.clear();
    for (int row = 0; row < PantheonTable::count(); ++row) {
        greek.addItem(PantheonTable::greekName(row));
        roman.addItem(PantheonTable::romanName(row));
    }
    m_controls.text2[0]->setText(QString::number(0));
    m_controls.text2[1]->setText(QString::number(0));
}

void Quiz::CheckPair()
{
    ListControl &greek = *m_controls.list1[0];
    ListControl &roman = *m_controls.list1[1];
    const int g = greek.selectionIndex();
    const int r = roman.selectionIndex();
    const QString greekName = greek.itemText(g);
    const QString romanName = roman.itemText(r);

    // A full scan with no early exit: the last matching row wins.
    int row = 0;
    for (int i = 0; i < PantheonTable::count(); ++i) {
        if (PantheonTable::greekName(i) == greekName)
            row = i;
    }
    const bool right = PantheonTable::romanName(row) == romanName;
    writeVerdict(row, right, greekName, romanName);
    increment(*m_controls.text2[right ? 0 : 1]);

    // Removing the selected items leaves both lists without a selection, so the click
    // events these raise find nothing to judge.
    greek.removeItem(g);
    roman.removeItem(r);
    greek.setSelectionIndex(ListControl::NoSelection);
    roman.setSelectionIndex(ListControl::NoSelection);
}

// Built by successive writes, each reading the field back, as the field is the only record.
void Quiz::writeVerdict(int row, bool right, const QString &greek, const QString &roman)
{
    TextField &message = *m_controls.text1;
    if (right) {
        message.setText(u"Вярно: "_s);
        message.setText(message.text() + u" гръцки: "_s + greek + u" и римски: "_s + roman + crlf);
        message.setText(message.text() + u" област: "_s + PantheonTable::domain(row));
    } else {
        message.setText(u"Грешно "_s);
        message.setText(message.text() + greek + u" грешна релация с "_s + roman + crlf);
    }
}

// A counter that would pass 32767 stays where it is rather than ending the program;
// a round cannot get there, as each judgement removes a name and a clear zeroes both.
void Quiz::increment(TextField &counter)
{
    if (const std::optional<QString> next = Counter::next(counter.text()))
        counter.setText(*next);
}
