#include "support/Decimal.h"
#include "support/Failure.h"

#include <QtTest>

using velkor::Decimal;
using velkor::Rounding;

namespace {
Decimal d(const char *text)
{
    return Decimal::read(QString::fromLatin1(text));
}
QString f2(const Decimal &value)
{
    return value.format(2, u".");
}
} // namespace

class TestDecimal : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsTheLeadingNumericPart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fourDecimals");
        QTest::newRow("integer") << "12" << "12.0000";
        QTest::newRow("decimal") << "1234.5" << "1234.5000";
        QTest::newRow("blanks and sign") << "  \t-3.25 " << "-3.2500";
        QTest::newRow("plus") << "+7" << "7.0000";
        QTest::newRow("trailing text") << "23abc" << "23.0000";
        QTest::newRow("vat code zw") << "zw" << "0.0000";
        QTest::newRow("np I") << "np I" << "0.0000";
        QTest::newRow("empty") << "" << "0.0000";
        QTest::newRow("separator only") << "." << "0.0000";
        QTest::newRow("leading separator") << ".5" << "0.5000";
        QTest::newRow("trailing separator") << "5." << "5.0000";
        QTest::newRow("comma is not a separator") << "4,25" << "4.0000";
        QTest::newRow("second point stops") << "1.2.3" << "1.2000";
        QTest::newRow("exponent is not read") << "1e3" << "1.0000";
        QTest::newRow("minus zero") << "-0" << "0.0000";
        QTest::newRow("leading zeros") << "0001.10" << "1.1000";
    }
    void readsTheLeadingNumericPart()
    {
        QFETCH(QString, text);
        QFETCH(QString, fourDecimals);
        QCOMPARE(Decimal::read(text).format(4, u"."), fourDecimals);
    }

    void readRoundsHalfToEvenAtTheFourthDecimal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fourDecimals");
        QTest::newRow("half down to even") << "0.00005" << "0.0000";
        QTest::newRow("half up to even") << "0.00015" << "0.0002";
        QTest::newRow("above half") << "0.000051" << "0.0001";
        QTest::newRow("half with later digit") << "0.000050001" << "0.0001";
        QTest::newRow("below half") << "0.00004999" << "0.0000";
        QTest::newRow("negative half") << "-2.00025" << "-2.0002";
        QTest::newRow("carry into integer") << "9.99995" << "10.0000";
        QTest::newRow("many decimals") << "1.12345678" << "1.1235";
    }
    void readRoundsHalfToEvenAtTheFourthDecimal()
    {
        QFETCH(QString, text);
        QFETCH(QString, fourDecimals);
        QCOMPARE(Decimal::read(text).format(4, u"."), fourDecimals);
    }

    void readUsesTheGivenSeparator()
    {
        QCOMPARE(Decimal::read(u"4,250000", u",").format(6, u","), QStringLiteral("4,250000"));
        QCOMPARE(Decimal::read(u"4.25", u",").format(2, u","), QStringLiteral("4,00"));
    }

    void formatRoundsHalfAwayFromZeroWithoutGrouping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("twoDecimals");
        QTest::newRow("half up") << "0.125" << "0.13";
        QTest::newRow("half up odd") << "0.135" << "0.14";
        QTest::newRow("negative half") << "-0.125" << "-0.13";
        QTest::newRow("below half") << "2.1249" << "2.12";
        QTest::newRow("no grouping") << "1234567.5" << "1234567.50";
        QTest::newRow("leading zero") << "0.5" << "0.50";
        QTest::newRow("negative") << "-2" << "-2.00";
        QTest::newRow("tiny negative has no sign") << "-0.001" << "0.00";
    }
    void formatRoundsHalfAwayFromZeroWithoutGrouping()
    {
        QFETCH(QString, text);
        QFETCH(QString, twoDecimals);
        QCOMPARE(f2(Decimal::read(text)), twoDecimals);
    }

    void formatWithCommaAndSixDecimals()
    {
        QCOMPARE(d("1234.5").format(2, u","), QStringLiteral("1234,50"));
        QCOMPARE(d("4.25").format(6, u","), QStringLiteral("4,250000"));
        QCOMPARE(d("7").format(0, u","), QStringLiteral("7"));
    }

    void arithmeticIsExact()
    {
        QCOMPARE(f2(d("8") - d("10")), QStringLiteral("-2.00"));
        QCOMPARE(f2(d("100") + d("50.50")), QStringLiteral("150.50"));
        // 4.2142 * 100.45 = 423.316390 exactly; no intermediate rounding.
        QCOMPARE((d("4.2142") * d("100.45")).format(6, u"."), QStringLiteral("423.316390"));
        // A product that lands on a half is rounded once, away from zero.
        QCOMPARE(f2(d("0.5") * d("0.25")), QStringLiteral("0.13"));
        QCOMPARE(f2(d("0.0049") * d("1.02")), QStringLiteral("0.00")); // 0.004998, not 0.01
    }

    void divisionRoundsTheExactQuotient()
    {
        // 123.00 / 1.23 = 100 exactly
        QCOMPARE(f2(d("123").dividedBy(d("1.23"), 2, Rounding::HalfAwayFromZero)), QStringLiteral("100.00"));
        // 10 / 1.23 = 8.1300813...
        QCOMPARE(f2(d("10").dividedBy(d("1.23"), 2, Rounding::HalfAwayFromZero)), QStringLiteral("8.13"));
        // 0.05 / 2 = 0.025: away from zero gives 0.03, to even gives 0.02
        QCOMPARE(f2(d("0.05").dividedBy(d("2"), 2, Rounding::HalfAwayFromZero)), QStringLiteral("0.03"));
        QCOMPARE(f2(d("0.05").dividedBy(d("2"), 2, Rounding::HalfEven)), QStringLiteral("0.02"));
        QCOMPARE(f2(d("-0.05").dividedBy(d("2"), 2, Rounding::HalfAwayFromZero)), QStringLiteral("-0.03"));
        QVERIFY_THROWS_EXCEPTION(velkor::Failure, d("1").dividedBy(d("0"), 2, Rounding::HalfEven));
    }

    void wholeNumbersRoundHalfToEven()
    {
        QCOMPARE(d("2.5").wholeText(), QStringLiteral("2"));
        QCOMPARE(d("3.5").wholeText(), QStringLiteral("4"));
        QCOMPARE(d("1.49").wholeText(), QStringLiteral("1"));
        QCOMPARE(d("-2.5").wholeText(), QStringLiteral("-2"));
        QCOMPARE(d("0001").wholeText(), QStringLiteral("1"));
        QCOMPARE(d("2.5").toInt32(-1), 2);
        QCOMPARE(d("99999999999").toInt32(-1), -1);
    }

    void comparisonIgnoresTheNumberOfDecimals()
    {
        QVERIFY(d("1") == Decimal::fromInt(1));
        QVERIFY(d("1.00") == d("1"));
        QVERIFY(d("-1") < d("0"));
        QVERIFY(d("4.25") * d("100") != Decimal::fromInt(100));
        QVERIFY(d("0") == -d("0"));
        QVERIFY(d("0.0001") > d("0"));
    }

    // The largest values the FA(3) schema admits: amounts of 18 digits with 2
    // decimals, quantities, prices and rates of 22 digits with 6 or 8.
    void largestSchemaValuesDoNotOverflow()
    {
        const Decimal amount = d("9999999999999999.99");
        const Decimal rate = d("9999999999999999.999999"); // read rounds to 4 decimals
        QCOMPARE(rate.format(4, u"."), QStringLiteral("10000000000000000.0000"));
        const Decimal price = d("99999999999999.99999999");
        QCOMPARE(price.format(4, u"."), QStringLiteral("100000000000000.0000"));
        const Decimal rateTimes100 = rate * Decimal::fromInt(100);
        const Decimal product = rateTimes100.dividedBy(Decimal::fromInt(100), 6, Rounding::HalfEven) * amount;
        QCOMPARE(product.format(2, u"."), QStringLiteral("99999999999999999900000000000000.00"));
        QCOMPARE(f2(amount - (-amount)), QStringLiteral("19999999999999999.98"));
    }

    void unrepresentableValuesThrowInsteadOfWrapping()
    {
        const QString huge = QString(90, u'9');
        QVERIFY_THROWS_EXCEPTION(velkor::Failure, Decimal::read(huge));
        const Decimal big = Decimal::read(QString(40, u'9'));
        QVERIFY_THROWS_EXCEPTION(velkor::Failure, big * big);
        // 76 digits still fit in 256 bits.
        QCOMPARE(Decimal::read(QString(70, u'9')).format(0, u"."), QString(70, u'9'));
    }
};

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"
