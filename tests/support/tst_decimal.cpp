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
    void readsTheLeadingNumericPartExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("eightDecimals");
        QTest::newRow("integer") << "12" << "12.00000000";
        QTest::newRow("blanks and sign") << "  \t-3.25 " << "-3.25000000";
        QTest::newRow("plus") << "+7" << "7.00000000";
        QTest::newRow("trailing text") << "23abc" << "23.00000000";
        QTest::newRow("vat code zw") << "zw" << "0.00000000";
        QTest::newRow("np I") << "np I" << "0.00000000";
        QTest::newRow("empty") << "" << "0.00000000";
        QTest::newRow("separator only") << "." << "0.00000000";
        QTest::newRow("leading separator") << ".5" << "0.50000000";
        QTest::newRow("trailing separator") << "5." << "5.00000000";
        QTest::newRow("comma is not a separator") << "4,25" << "4.00000000";
        QTest::newRow("second point stops") << "1.2.3" << "1.20000000";
        QTest::newRow("exponent is not read") << "1e3" << "1.00000000";
        QTest::newRow("minus zero") << "-0" << "0.00000000";
        QTest::newRow("leading zeros") << "0001.10" << "1.10000000";
        // Every decimal the document writes is kept: a price of eight.
        QTest::newRow("eight decimals") << "0.04415001" << "0.04415001";
        QTest::newRow("a half beyond the fourth") << "0.34495" << "0.34495000";
        QTest::newRow("negative") << "-2.00025" << "-2.00025000";
    }
    void readsTheLeadingNumericPartExactly()
    {
        QFETCH(QString, text);
        QFETCH(QString, eightDecimals);
        QCOMPARE(Decimal::read(text).format(8, u"."), eightDecimals);
        QCOMPARE(Decimal::readUtf8(text.toUtf8()), Decimal::read(text));
    }

    void decimalsBeyondTwentyFourAreRoundedHalfToEven()
    {
        const QString zeros(23, u'0');
        QCOMPARE(d(qPrintable(QStringLiteral("0.") + zeros + QStringLiteral("15"))),
                 d(qPrintable(QStringLiteral("0.") + zeros + QStringLiteral("2"))));
        QCOMPARE(d(qPrintable(QStringLiteral("0.") + zeros + QStringLiteral("25"))),
                 d(qPrintable(QStringLiteral("0.") + zeros + QStringLiteral("2"))));
        QCOMPARE(d(qPrintable(QStringLiteral("0.") + zeros + QStringLiteral("2501"))),
                 d(qPrintable(QStringLiteral("0.") + zeros + QStringLiteral("3"))));
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
        const Decimal rate = d("9999999999999999.999999");
        const Decimal price = d("99999999999999.99999999");
        // 9999999999999999.999999 x 9999999999999999.99 = 99999999999999999899990000000000.0000...
        QCOMPARE((rate * amount).format(2, u"."), QStringLiteral("99999999999999999899990000000000.00"));
        // ... x 99999999999999.99999999 = 999999999999999999999800000000.00000000000001
        QCOMPARE((rate * price).format(14, u"."), QStringLiteral("999999999999999999999800000000.00000000000001"));
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
