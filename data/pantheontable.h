#pragma once

#include <QString>
#include <QStringView>

#include <array>

// One row of the answer key: a Greek deity, its Roman counterpart and its domain.
struct PairRow
{
    QStringView greek;
    QStringView roman;
    QStringView domain;
};

// The quiz's fixed answer key. Row order is the master order that fills the lists;
// the texts are compared code unit for code unit, so they are binding to the letter.
class PantheonTable
{
public:
    static constexpr int count() { return int(rows.size()); }
    static QString greekName(int row) { return text(at(row).greek); }
    static QString romanName(int row) { return text(at(row).roman); }
    static QString domain(int row) { return text(at(row).domain); }

private:
    static const PairRow &at(int row) { return rows.at(std::size_t(row)); }
    // The texts are static, so a QString can point at them instead of copying.
    static QString text(QStringView view) { return QString::fromRawData(view.data(), view.size()); }

    static constexpr std::array<PairRow, 16> rows{{
            {u"Хадес", u"Плутон", u"бог на подземния свят"},
            {u"Зевс", u"Юпитер", u"цар на боговете"},
            {u"Хера", u"Юнона", u"царица на боговете"},
            {u"Посейдон", u"Нептун", u"бог на морето"},
            {u"Афродита", u"Венера", u"богиня на любовта"},
            {u"Арес", u"Марс", u"бог на войната"},
            {u"Артемида", u"Диана", u"богиня на лова"},
            {u"Атина", u"Минерва", u"богиня на мъдростта и изкуствата"},
            {u"Деметра", u"Церера", u"богинята на плодородието, посевите"},
            {u"Танатос", u"Оркус", u"бог на смърта"},
            {u"Нике", u"Виктория", u"богиня на победата"},
            {u"Хермес",
             u"Меркурий",
             u"вестител на боговете, закрилник на търговците и пътешествениците"},
            {u"Ерос", u"Амур", u"бог на любовта"},
            {u"Хестия", u"Веста", u"богинята на домашното огнище"},
            {u"Хефест", u"Вулкан", u"покровител на огъня и обработката на метала като ковач"},
            {u"Персефона", u"Прозерпина", u"богиня на природата, плодородието"},
    }};
};
