#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// One row of the answer key: a Greek deity, its Roman counterpart and its domain.
struct PairRow
{
    std::u16string_view greek;
    std::u16string_view roman;
    std::u16string_view domain;
};

// The quiz's fixed answer key, in 16-bit code units as every face shows them. Row order is
// the master order that fills the lists; the texts are compared code unit for code unit, so
// they are binding to the letter.
class PantheonTable
{
public:
    static constexpr int count() { return int(rows.size()); }
    static constexpr std::u16string_view greekName(int row) { return at(row).greek; }
    static constexpr std::u16string_view romanName(int row) { return at(row).roman; }
    static constexpr std::u16string_view domain(int row) { return at(row).domain; }

private:
    static constexpr const PairRow &at(int row) { return rows.at(std::size_t(row)); }

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
