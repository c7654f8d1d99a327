#pragma once

#include "round.h"

#include <QStringList>

// What a fresh round shows and what the quiz says, from the round every check plays
// (acceptance/round.json), which writes them out from the rules rather than computing them,
// so that tests compare against an independent account.
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

inline QString text(std::u16string_view text)
{
    return QStringView(text).toString();
}

// The message field's verdict on a pair, the domain given where it is right.
inline QString verdict(const QString &greek, const QString &roman, const QString &domain = {})
{
    return domain.isNull() ? text(PlayedRound::wrongVerdict).arg(greek, roman)
                           : text(PlayedRound::rightVerdict).arg(greek, roman, domain);
}

// The round's first pair, Зевс and Юпитер by keyboard, ending in the Roman list: what the
// message field shows and what a screen reader is told, a notification's name and then its
// description; and Зевс with Нептун instead.
inline const PlayedRound::Step &zeusStep = PlayedRound::steps.at(5);
inline const QString zeusRight = text(zeusStep.message);
inline const QString zeusRightTold = text(zeusStep.say.at(0));
inline const QString zeusRightToldMore = text(zeusStep.say.at(1));
inline const QString zeusWrong = verdict(u"Зевс"_s, u"Нептун"_s);

} // namespace Expected
