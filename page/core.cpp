// The quiz's logic for the page: the desktop's own round, compiled to WebAssembly with no
// toolkit, over lists and fields in the module's memory that the page's elements show.
// Texts leave as UTF-16 in that memory: a call gives where one starts, zun_length() how
// many code units it has, until the next call.
#include "memorycontrols.h"
#include "quiz.h"
#include "words.h"

#include "pantheontable.h"

#include <array>
#include <cstdint>
#include <string>

namespace {

struct Round
{
    Round()
    {
        lists[0].onClick = [this] {
            click(0);
        };
        lists[1].onClick = [this] {
            click(1);
        };
        quiz.Form_Load();
    }
    // Every selection change raises a click, the logic's own included; the outermost one
    // is what the pupil did.
    void click(std::int16_t index)
    {
        ++depth;
        Outcome outcome = quiz.List1_Click(index);
        if (--depth == 0)
            last = std::move(outcome);
    }

    std::array<MemoryList, 2> lists;
    MemoryField message, right{u"0"}, wrong{u"0"};
    Quiz quiz{{{&lists[0], &lists[1]}, &message, {&right, &wrong}}};
    Outcome last;
    int depth = 0;
};

Round *page = nullptr; // one page, one round, for as long as the page is open
std::u16string given;  // the text the latest call gave

const char16_t *give(std::u16string text)
{
    given = std::move(text);
    return given.c_str();
}

bool isList(int list)
{
    return list == 0 || list == 1;
}

} // namespace

extern "C" {

// The window's load: both lists filled and sorted, both counters "0".
void zun_start()
{
    if (!page)
        page = new Round;
}

// A pupil's pick of the name at POSITION in LIST (0 Greek, 1 Roman): what it did.
int zun_pick(int list, int position)
{
    page->last = {};
    if (isList(list) && position >= 0 && position < page->lists[std::size_t(list)].count())
        page->lists[std::size_t(list)].setSelectionIndex(position);
    return int(page->last.kind);
}

// "Чисти": a new round, and an empty message.
int zun_clear()
{
    page->last = page->quiz.Command1_Click(0);
    return int(page->last.kind);
}

int zun_count(int list)
{
    return isList(list) ? page->lists[std::size_t(list)].count() : 0;
}

int zun_selection(int list)
{
    return isList(list) ? page->lists[std::size_t(list)].selectionIndex() : -1;
}

const char16_t *zun_item(int list, int position)
{
    return give(isList(list) ? page->lists[std::size_t(list)].itemText(position) : u"");
}

// 0: the message field, 1: right answers, 2: wrong answers.
const char16_t *zun_field(int field)
{
    const std::array<const MemoryField *, 3> fields{&page->message, &page->right, &page->wrong};
    return give(field >= 0 && field < 3 ? fields[std::size_t(field)]->text() : u"");
}

// What a screen reader is told of the latest pick or clear: 0 the first sentence, 1 the rest,
// a verdict's with where the frame is in the list with the focus (-1: none), at position.
const char16_t *zun_told(int part, int list, int position)
{
    const std::u16string framed
            = isList(list) ? page->lists[std::size_t(list)].itemText(position) : u"";
    const Announcement told = announce(page->last, framed);
    return give(part == 0 ? told.first : told.then);
}

// The latest verdict: 0 its Greek name, 1 its Roman name; zun_right() whether it was right.
const char16_t *zun_pair(int part)
{
    return give(part == 0 ? page->last.greek : page->last.roman);
}

int zun_right()
{
    return page->last.right ? 1 : 0;
}

// The table rows of the latest verdict's names: 0 its Greek name's, 1 its Roman name's.
int zun_row(int part)
{
    if (part == 0)
        return page->last.row;
    for (int row = 0; row < PantheonTable::count(); ++row) {
        if (PantheonTable::romanName(row) == page->last.roman)
            return row;
    }
    return -1;
}

int zun_length()
{
    return int(given.size());
}

} // extern "C"
