#pragma once

#include <QStringList>

// What a fresh round shows, and the verdicts on two pairs, written out from the rules rather
// than computed, so that tests compare against an independent account.
namespace Expected {

using namespace Qt::StringLiterals;

// clang-format off
inline const QStringList greekOrder = {
        u"Арес"_s, u"Артемида"_s, u"Атина"_s, u"Афродита"_s, u"Деметра"_s, u"Ерос"_s,
        u"Зевс"_s, u"Нике"_s, u"Персефона"_s, u"Посейдон"_s, u"Танатос"_s, u"Хадес"_s,
        u"Хера"_s, u"Хермес"_s, u"Хестия"_s, u"Хефест"_s};
inline const QStringList romanOrder = {
        u"Амур"_s, u"Венера"_s, u"Веста"_s, u"Виктория"_s, u"Вулкан"_s, u"Диана"_s,
        u"Марс"_s, u"Меркурий"_s, u"Минерва"_s, u"Нептун"_s, u"Оркус"_s, u"Плутон"_s,
        u"Прозерпина"_s, u"Церера"_s, u"Юнона"_s, u"Юпитер"_s};
// clang-format on

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
