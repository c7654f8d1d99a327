#include "words.h"

#include "counter.h"

#include "pantheontable.h"

Announcement announce(const Outcome &outcome, std::u16string_view framedName)
{
    const std::u16string counts
            = u"Верни: " + outcome.counts[0] + u", грешни: " + outcome.counts[1] + u".";
    switch (outcome.kind) {
    case Outcome::Kind::Nothing:
        break;
    case Outcome::Kind::Pick:
        return {u"Избрано: " + outcome.name + u".", {}};
    case Outcome::Kind::Verdict: {
        const std::u16string frame
                = framedName.empty() ? std::u16string() : u" " + whereTheFrameIs(framedName);
        if (outcome.right)
            return {u"Вярно: гръцки: " + outcome.greek + u" и римски: " + outcome.roman + u".",
                    u"област: " + std::u16string(PantheonTable::domain(outcome.row)) + u". "
                            + counts + frame};
        return {u"Грешно " + outcome.greek + u" грешна релация с " + outcome.roman + u".",
                counts + frame};
    }
    case Outcome::Kind::NewRound:
        return {u"Нов кръг.",
                Counter::decimal(outcome.left[0]) + u" гръцки и "
                        + Counter::decimal(outcome.left[1]) + u" римски имена. " + counts};
    }
    return {};
}

std::u16string whereTheFrameIs(std::u16string_view framedName)
{
    if (framedName.empty())
        return {};
    return u"Рамката е на " + std::u16string(framedName) + u".";
}
