#include "counter.h"
#include "text.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class TestCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void toInt16_data();
    void toInt16();
    void next_data();
    void next();
};

void TestCounter::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("zero") << u"0"_s << 0.0;
    QTest::newRow("sixteen") << u"16"_s << 16.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("no digits") << u"вярно"_s << 0.0;
    QTest::newRow("blanks everywhere") << u" 1\t2\r\n"_s << 12.0;
    QTest::newRow("stops at a letter") << u"7 точки"_s << 7.0;
    QTest::newRow("negative") << u"-5"_s << -5.0;
    QTest::newRow("explicit plus") << u"+3"_s << 3.0;
    QTest::newRow("fraction") << u"2.5"_s << 2.5;
    QTest::newRow("comma is no decimal point") << u"2,5"_s << 2.0;
    QTest::newRow("exponent") << u"1e3"_s << 1000.0;
    QTest::newRow("D exponent") << u"1D2"_s << 100.0;
    QTest::newRow("exponent without digits") << u"4e"_s << 4.0;
    QTest::newRow("sign alone") << u"-"_s << 0.0;
    QTest::newRow("huge") << u"1e400"_s << std::numeric_limits<double>::infinity();
    QTest::newRow("huge negative") << u"-1e400"_s << -std::numeric_limits<double>::infinity();
    QTest::newRow("huge by its digits")
            << (u"1"_s + QString(400, u'0')) << std::numeric_limits<double>::infinity();
    QTest::newRow("huge, small mantissa")
            << u"0.001e400"_s << std::numeric_limits<double>::infinity();
    QTest::newRow("underflow") << u"1e-400"_s << 0.0;
    QTest::newRow("negative underflow") << u"-1e-400"_s << 0.0;
    QTest::newRow("underflow by its digits") << (u"0."_s + QString(400, u'0') + u'1') << 0.0;
    QTest::newRow("underflow, large mantissa") << u"1000e-400"_s << 0.0;
}

void TestCounter::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Counter::leadingNumber(text.toStdU16String()), value);
}

void TestCounter::toInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("result");

    QTest::newRow("half to even, down") << 0.5 << true << 0;
    QTest::newRow("half to even, up") << 1.5 << true << 2;
    QTest::newRow("half to even, 2.5") << 2.5 << true << 2;
    QTest::newRow("negative half") << -1.5 << true << -2;
    QTest::newRow("largest") << 32767.4 << true << 32767;
    QTest::newRow("rounds past largest") << 32767.5 << false << 0;
    QTest::newRow("smallest") << -32768.5 << true << -32768;
    QTest::newRow("below smallest") << -32769.0 << false << 0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << false << 0;
}

void TestCounter::toInt16()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, result);
    const std::optional<std::int16_t> converted = Counter::toInt16(value);
    QCOMPARE(converted.has_value(), fits);
    if (fits)
        QCOMPARE(int(*converted), result);
}

void TestCounter::next_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("next"); // null when the counter cannot advance

    QTest::newRow("from zero") << u"0"_s << u"1"_s;
    QTest::newRow("to a round's most") << u"15"_s << u"16"_s;
    QTest::newRow("to the limit") << u"32766"_s << u"32767"_s;
    QTest::newRow("at the limit") << u"32767"_s << QString();
    QTest::newRow("past the limit") << u"99999"_s << QString();
    QTest::newRow("negative") << u"-1"_s << u"0"_s;
    QTest::newRow("not a number") << u"х"_s << u"1"_s;
    QTest::newRow("fraction rounds first") << u"2.5"_s << u"3"_s;
    QTest::newRow("underflow is zero") << u"1e-400"_s << u"1"_s;
}

void TestCounter::next()
{
    QFETCH(QString, text);
    QFETCH(QString, next);
    const std::optional<std::u16string> advanced = Counter::next(text.toStdU16String());
    QCOMPARE(advanced.has_value(), !next.isNull());
    if (advanced)
        QCOMPARE(q(*advanced), next);
}

QTEST_APPLESS_MAIN(TestCounter)
#include "tst_counter.moc"
