#include "pantheontable.h"
#include "text.h"

#include <QSet>
#include <QTest>

class TestPantheonTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rows_data();
    void rows();
    void namesIdentifyOneRow();
    void longestTexts();
};

void TestPantheonTable::rows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("greek");
    QTest::addColumn<QString>("roman");
    QTest::addColumn<QString>("domain");

    const struct
    {
        const char16_t *greek, *roman, *domain;
    } expected[] = {
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
    };
    QCOMPARE(PantheonTable::count(), int(std::size(expected)));
    int row = 0;
    for (const auto &e : expected) {
        QTest::addRow("%d", row) << row << QString::fromUtf16(e.greek)
                                 << QString::fromUtf16(e.roman) << QString::fromUtf16(e.domain);
        ++row;
    }
}

void TestPantheonTable::rows()
{
    QFETCH(int, row);
    QFETCH(QString, greek);
    QFETCH(QString, roman);
    QFETCH(QString, domain);
    QCOMPARE(q(PantheonTable::greekName(row)), greek);
    QCOMPARE(q(PantheonTable::romanName(row)), roman);
    QCOMPARE(q(PantheonTable::domain(row)), domain);
}

// Judging finds a row by its Greek name, and each Roman name must have one partner.
void TestPantheonTable::namesIdentifyOneRow()
{
    QSet<QString> greek, roman;
    for (int row = 0; row < PantheonTable::count(); ++row) {
        greek.insert(q(PantheonTable::greekName(row)));
        roman.insert(q(PantheonTable::romanName(row)));
    }
    QCOMPARE(greek.size(), PantheonTable::count());
    QCOMPARE(roman.size(), PantheonTable::count());
}

// The window's lists and message field are sized for these.
void TestPantheonTable::longestTexts()
{
    std::size_t greek = 0, roman = 0, domain = 0;
    for (int row = 0; row < PantheonTable::count(); ++row) {
        greek = std::max(greek, PantheonTable::greekName(row).size());
        roman = std::max(roman, PantheonTable::romanName(row).size());
        domain = std::max(domain, PantheonTable::domain(row).size());
    }
    QCOMPARE(greek, 9u);
    QCOMPARE(roman, 10u);
    QCOMPARE(domain, 64u);
}

QTEST_APPLESS_MAIN(TestPantheonTable)
#include "tst_pantheontable.moc"
