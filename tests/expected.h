#pragma once

#include "round.h"

#include <QStringList>

// What a fresh round shows, from the round every check plays (acceptance/round.json), and
// the verdicts on two pairs, written out from the rules rather than computed, so that tests
// compare against an independent account.
namespace Expected {

using namespace Qt::StringLiterals;

inline QStringList names(const std::vector<std::u16string_view> &names)
{
    QStringList list;
    for (std::u16string_view name : names)
        list << QStringView(name).toString();
    return list;
}

inline const QStringList greekOrder = names(PlayedRound::greek);
inline const QStringList romanOrder = names(PlayedRound::roman);

// "Вярно: " ends in a blank and " гръцки: " starts with one; the domain ends the text.
inline const QString zeusRight
        = u"Вярно:  гръцки: Зевс и римски: Юпитер\r\n област: цар на боговете"_s;
inline const QString zeusWrong = u"Грешно Зевс грешна релация с Нептун\r\n"_s;

// What a screen reader is told of Зевс and Юпитер as the round's first pair, by keyboard in
// the Roman list: the notification's name, then its description.
inline const QString zeusRightTold = u"Вярно: гръцки: Зевс и римски: Юпитер."_s;
inline const QString zeusRightToldMore
        = u"област: цар на боговете. Верни: 1, грешни: 0. Рамката е на Юнона."_s;

} // namespace Expected
