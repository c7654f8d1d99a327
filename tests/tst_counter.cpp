#include "counter.h"
#include "text.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void value_data();
    void value();
    void next_data();
    void next();
};

void TestCounter::value_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -100000 where the text holds no 16-bit number

    QTest::newRow("zero") << u"0"_s << 0;
    QTest::newRow("sixteen") << u"16"_s << 16;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("no digits") << u"вярно"_s << 0;
    QTest::newRow("blanks before") << u" \t12\r\n"_s << 12;
    QTest::newRow("stops at a letter") << u"7 точки"_s << 7;
    QTest::newRow("stops at a point") << u"2.5"_s << 2;
    QTest::newRow("negative") << u"-5"_s << -5;
    QTest::newRow("explicit plus") << u"+3"_s << 3;
    QTest::newRow("largest") << u"32767"_s << 32767;
    QTest::newRow("smallest") << u"-32768"_s << -32768;
    QTest::newRow("past the largest") << u"32768"_s << -100000;
    QTest::newRow("below the smallest") << u"-32769"_s << -100000;
    QTest::newRow("huge by its digits") << (u"1"_s + QString(400, u'0')) << -100000;
}

void TestCounter::value()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    const std::optional<std::int16_t> read = Counter::value(text.toStdU16String());
    QCOMPARE(read ? int(*read) : -100000, value);
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
    QTest::newRow("leading zeros") << u"0007"_s << u"8"_s;
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
