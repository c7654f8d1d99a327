#include "quiz.h"

#include "counter.h"
#include "listcontrol.h"
#include "textfield.h"

#include "pantheontable.h"

#include <string_view>

using namespace std::string_view_literals;

namespace {
constexpr std::u16string_view crlf = u"\r\n";
}

Quiz::Quiz(const QuizControls &controls)
    : m_controls(controls)
{}

void Quiz::Form_Load()
{
    ResetRound();
}

Outcome Quiz::List1_Click(std::int16_t index)
{
    const int a = m_controls.list1[0]->selectionIndex();
    const int b = m_controls.list1[1]->selectionIndex();
    if (a > ListControl::NoSelection && b > ListControl::NoSelection)
        return CheckPair();
    // Either list takes the same path; the index only says which list was picked in.
    const ListControl *list
            = index == 0 || index == 1 ? m_controls.list1[std::size_t(index)] : nullptr;
    if (!list || list->selectionIndex() == ListControl::NoSelection)
        return {};
    Outcome pick{.kind = Outcome::Kind::Pick};
    pick.name = list->itemText(list->selectionIndex());
    return pick;
}

Outcome Quiz::Command1_Click(std::int16_t index)
{
    if (index != 0)
        return {};
    ResetRound();
    m_controls.text1->setText({});
    Outcome round{.kind = Outcome::Kind::NewRound};
    round.counts = counts();
    round.left = {m_controls.list1[0]->count(), m_controls.list1[1]->count()};
    return round;
}

void Quiz::ResetRound()
{
    ListControl &greek = *m_controls.list1[0];
    ListControl &roman = *m_controls.list1[1];
    greek.clear();
    roman.clear();
    for (int row = 0; row < PantheonTable::count(); ++row) {
        greek.addItem(std::u16string(PantheonTable::greekName(row)));
        roman.addItem(std::u16string(PantheonTable::romanName(row)));
    }
    m_controls.text2[0]->setText(Counter::decimal(0));
    m_controls.text2[1]->setText(Counter::decimal(0));
}

Outcome Quiz::CheckPair()
{
    ListControl &greek = *m_controls.list1[0];
    ListControl &roman = *m_controls.list1[1];
    const int g = greek.selectionIndex();
    const int r = roman.selectionIndex();
    Outcome verdict{.kind = Outcome::Kind::Verdict};
    verdict.greek = greek.itemText(g);
    verdict.roman = roman.itemText(r);

    // A full scan with no early exit: the last matching row wins.
    verdict.row = 0;
    for (int i = 0; i < PantheonTable::count(); ++i) {
        if (PantheonTable::greekName(i) == verdict.greek)
            verdict.row = i;
    }
    verdict.right = PantheonTable::romanName(verdict.row) == verdict.roman;
    writeVerdict(verdict.row, verdict.right, verdict.greek, verdict.roman);
    increment(*m_controls.text2[verdict.right ? 0 : 1]);

    // Removing the selected items leaves both lists without a selection, so the click
    // events these raise find nothing to judge.
    greek.removeItem(g);
    roman.removeItem(r);
    greek.setSelectionIndex(ListControl::NoSelection);
    roman.setSelectionIndex(ListControl::NoSelection);
    verdict.counts = counts();
    return verdict;
}

// Built by successive writes, each reading the field back, as the field is the only record.
void Quiz::writeVerdict(int row,
                        bool right,
                        const std::u16string &greek,
                        const std::u16string &roman)
{
    TextField &message = *m_controls.text1;
    if (right) {
        message.setText(u"Вярно: ");
        message.setText(message.text() + u" гръцки: " + greek + u" и римски: " + roman
                        + std::u16string(crlf));
        message.setText(message.text() + u" област: " + std::u16string(PantheonTable::domain(row)));
    } else {
        message.setText(u"Грешно ");
        message.setText(message.text() + greek + u" грешна релация с " + roman
                        + std::u16string(crlf));
    }
}

// A counter that would pass 32767 stays where it is rather than ending the program;
// a round cannot get there, as each judgement removes a name and a clear zeroes both.
void Quiz::increment(TextField &counter)
{
    if (const std::optional<std::u16string> next = Counter::next(counter.text()))
        counter.setText(*next);
}

std::array<std::u16string, 2> Quiz::counts() const
{
    return {m_controls.text2[0]->text(), m_controls.text2[1]->text()};
}
