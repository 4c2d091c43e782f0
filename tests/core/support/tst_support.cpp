#include "core/support/Decimal.h"
#include "core/support/ExtraString.h"
#include "core/support/Failure.h"
#include "core/support/ReportError.h"
#include "core/support/Sha256.h"
#include "core/window/StartupParameters.h"

#include "fixtures/FakeDesktop.h"

#include <QCryptographicHash>
#include <QtTest>

using namespace velkor;

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

// The exact decimals every figure is computed with, the builder of long
// texts, the error report and the start-up parameters.
class TestSupport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The published digests, and lengths around the 64-byte blocks.
    void sha256Digests_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("empty") << QByteArray() << QByteArray("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        for (int size : {55, 56, 63, 64, 65, 1000003})
            QTest::newRow(qPrintable(QString::number(size))) << QByteArray(size, 'x') << QByteArray();
    }
    void sha256Digests()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, hex);
        const QByteArray expected = hex.isEmpty() ? QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)
                                                  : QByteArray::fromHex(hex);
        QCOMPARE(sha256(bytes), expected);
    }

    void readsTheLeadingNumericPartExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer") << "12" << 8 << "12.00000000";
        QTest::newRow("blanks and sign") << "  \t-3.25 " << 8 << "-3.25000000";
        QTest::newRow("plus") << "+7" << 8 << "7.00000000";
        QTest::newRow("trailing text") << "23abc" << 8 << "23.00000000";
        QTest::newRow("vat code zw") << "zw" << 8 << "0.00000000";
        QTest::newRow("empty") << "" << 8 << "0.00000000";
        QTest::newRow("leading separator") << ".5" << 8 << "0.50000000";
        QTest::newRow("trailing separator") << "5." << 8 << "5.00000000";
        QTest::newRow("comma is not a separator") << "4,25" << 8 << "4.00000000";
        QTest::newRow("second point stops") << "1.2.3" << 8 << "1.20000000";
        QTest::newRow("exponent is not read") << "1e3" << 8 << "1.00000000";
        QTest::newRow("minus zero") << "-0" << 8 << "0.00000000";
        QTest::newRow("leading zeros") << "0001.10" << 8 << "1.10000000";
        // Every decimal the document writes is kept: a price of eight.
        QTest::newRow("eight decimals") << "0.04415001" << 8 << "0.04415001";
        QTest::newRow("a half beyond the fourth") << "0.34495" << 8 << "0.34495000";
        // Beyond 24 decimals a text is read rounded, halves to even.
        const QString zeros(23, u'0');
        QTest::newRow("25th decimal, half up to even") << "0." + zeros + "15" << 24 << "0." + zeros + "2";
        QTest::newRow("25th decimal, half down to even") << "0." + zeros + "25" << 24 << "0." + zeros + "2";
        QTest::newRow("26th decimal, above half") << "0." + zeros + "2501" << 24 << "0." + zeros + "3";
    }
    void readsTheLeadingNumericPartExactly()
    {
        QFETCH(QString, text);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(Decimal::read(text).format(decimals, u"."), expected);
        QCOMPARE(Decimal::readUtf8(text.toUtf8()), Decimal::read(text));
    }

    // Read and written with the same separator.
    void formatRoundsHalfAwayFromZeroWithoutGrouping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("half up") << "0.125" << "." << 2 << "0.13";
        QTest::newRow("half up odd") << "0.135" << "." << 2 << "0.14";
        QTest::newRow("negative half") << "-0.125" << "." << 2 << "-0.13";
        QTest::newRow("below half") << "2.1249" << "." << 2 << "2.12";
        QTest::newRow("no grouping") << "1234567.5" << "." << 2 << "1234567.50";
        QTest::newRow("leading zero") << "0.5" << "." << 2 << "0.50";
        QTest::newRow("negative") << "-2" << "." << 2 << "-2.00";
        QTest::newRow("tiny negative has no sign") << "-0.001" << "." << 2 << "0.00";
        QTest::newRow("comma") << "1234,5" << "," << 2 << "1234,50";
        QTest::newRow("comma, six decimals") << "4,25" << "," << 6 << "4,250000";
        QTest::newRow("comma, none") << "7" << "," << 0 << "7";
        QTest::newRow("a point where a comma is expected") << "4.25" << "," << 2 << "4,00";
    }
    void formatRoundsHalfAwayFromZeroWithoutGrouping()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(Decimal::read(text, separator).format(decimals, separator), expected);
    }

    // Sums, differences and products stay exact (the line figures show
    // them rounded once); a quotient is rounded as asked.
    void arithmeticIsExact()
    {
        QCOMPARE(f2(d("8") - d("10")), QStringLiteral("-2.00"));
        // 4.2142 * 100.45 = 423.316390 exactly; 0.0049 * 1.02 = 0.004998, not 0.01.
        QCOMPARE((d("4.2142") * d("100.45")).format(6, u"."), QStringLiteral("423.316390"));
        QCOMPARE(f2(d("0.0049") * d("1.02")), QStringLiteral("0.00"));
        // 0.05 / 2 = 0.025: away from zero gives 0.03, to even gives 0.02
        QCOMPARE(f2(d("0.05").dividedBy(d("2"), 2, Rounding::HalfAwayFromZero)), QStringLiteral("0.03"));
        QCOMPARE(f2(d("0.05").dividedBy(d("2"), 2, Rounding::HalfEven)), QStringLiteral("0.02"));
        QCOMPARE(f2(d("-0.05").dividedBy(d("2"), 2, Rounding::HalfAwayFromZero)), QStringLiteral("-0.03"));
        QVERIFY_THROWS_EXCEPTION(Failure, d("1").dividedBy(d("0"), 2, Rounding::HalfEven));
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
        QVERIFY_THROWS_EXCEPTION(Failure, Decimal::read(QString(90, u'9')));
        const Decimal big = Decimal::read(QString(40, u'9'));
        QVERIFY_THROWS_EXCEPTION(Failure, big * big);
        // 76 digits still fit in 256 bits.
        QCOMPARE(Decimal::read(QString(70, u'9')).format(0, u"."), QString(70, u'9'));
    }

    // Adn starts a new line unless the text is still empty; Add appends,
    // after a line break and after emptying the text when asked to.
    void textBuilderBreaksLinesWithCrLf()
    {
        ExtraString lines;
        QCOMPARE(lines.Text(), QString());
        lines.Adn(QString()); // nothing to break yet
        lines.Adn(QStringLiteral("a"));
        lines.Adn(QStringLiteral("b"));
        lines.Adn(QString()); // an empty line still breaks
        QCOMPARE(lines.Text(), QStringLiteral("a\r\nb\r\n"));

        ExtraString pieces;
        pieces.Add(QStringLiteral("x"), true); // a break even at the start
        pieces.Add(QStringLiteral("Opis: "), true);
        pieces.Add(QStringLiteral("tekst"));
        pieces.Adn(QStringLiteral("dalej"));
        QCOMPARE(pieces.Text(), QStringLiteral("\r\nx\r\nOpis: tekst\r\ndalej"));
        pieces.Add(QStringLiteral("y"), true, true);
        QCOMPARE(pieces.Text(), QStringLiteral("\r\ny"));
    }

    // Numbers 1 to 65534 above the application base -2147221504 are the
    // program's own and shown with their offset; 0 and -1 only carry a text,
    // and without one nothing is shown.
    void messages_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text");
        QTest::addColumn<MessageIcon>("icon");
        const QString in = QStringLiteral(" w procedurze: FillList\r\n\r\n");
        const int base = -2147221504;
        QTest::newRow("zero") << 0 << "Opis" << "Wystąpił błąd" + in + "Opis" << MessageIcon::Critical;
        QTest::newRow("minus one") << -1 << "Opis" << "Wystąpił błąd" + in + "Opis" << MessageIcon::Critical;
        QTest::newRow("zero, nothing to say") << 0 << "" << "" << MessageIcon::Critical;
        QTest::newRow("minus one, nothing to say") << -1 << "" << "" << MessageIcon::Critical;
        QTest::newRow("one above the base") << base + 1 << "Opis" << "Wystąpił błąd 1" + in + "Opis" << MessageIcon::Critical;
        QTest::newRow("65534 above the base, no description") << base + 65534 << ""
            << "Wystąpił błąd 65534" + in + "Błąd zdefiniowany przez aplikację lub obiekt (numer 65534)." << MessageIcon::Critical;
        QTest::newRow("65535 above the base is outside") << base + 65535 << "Opis" << "Wystąpił błąd" + in + "Opis"
                                                         << MessageIcon::Exclamation;
        QTest::newRow("the base itself is outside") << base << "Opis" << "Wystąpił błąd" + in + "Opis" << MessageIcon::Exclamation;
        QTest::newRow("ordinary number, no description") << 6 << ""
            << "Wystąpił błąd" + in + "Błąd zdefiniowany przez aplikację lub obiekt (numer 6)." << MessageIcon::Exclamation;
        // The lowest 32-bit number must not overflow while the base is added.
        QTest::newRow("minimum int") << int(INT32_MIN) << "x" << "Wystąpił błąd" + in + "x" << MessageIcon::Exclamation;
        QTest::newRow("maximum int") << int(INT32_MAX) << "x" << "Wystąpił błąd" + in + "x" << MessageIcon::Exclamation;
    }
    void messages()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, text);
        QFETCH(MessageIcon, icon);
        test::FakeDesktop desktop;
        ReportError(desktop, number, description, QStringLiteral("FillList"));
        const QList<Message> shown{{QStringLiteral("Wystąpił błąd"), text, icon}};
        QCOMPARE(desktop.messages, text.isEmpty() ? QList<Message>() : shown);
    }

    void ksefNumberFromParameters_data()
    {
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QString>("number");
        QTest::newRow("none") << "" << "";
        QTest::newRow("one pair") << "ksef¤¤X-123" << "X-123";
        QTest::newRow("capitals and trailing separator") << "KSEF¤¤X«»" << "X";
        QTest::newRow("three parts") << "ksef¤¤X¤¤Y" << "";
        QTest::newRow("empty value") << "ksef¤¤" << "";
        QTest::newRow("other keys") << "nip¤¤1«»ksef¤¤A«»x¤¤y" << "A";
        QTest::newRow("later pair wins") << "ksef¤¤A«»Ksef¤¤B" << "B";
        QTest::newRow("later empty pair wins") << "ksef¤¤A«»ksef¤¤" << "";
        QTest::newRow("no pair at all") << "coś zupełnie innego" << "";
        QTest::newRow("empty pieces") << "«»«»ksef¤¤Z«»«»" << "Z";
        QTest::newRow("value with spaces") << "ksef¤¤1 2 3" << "1 2 3";
    }
    void ksefNumberFromParameters()
    {
        QFETCH(QString, parameters);
        QFETCH(QString, number);
        QCOMPARE(velkor::ksefNumberFromParameters(parameters), number);
    }

    void startupTitles()
    {
        QCOMPARE(startupTitle(QString()), QStringLiteral("Velkor"));
        QCOMPARE(startupTitle(QStringLiteral("X")), QStringLiteral("Velkor »» KSEF: X"));
        QCOMPARE(parameterStringFromArguments({}), QString());
        QCOMPARE(parameterStringFromArguments({QStringLiteral("ksef¤¤A B")}), QStringLiteral("ksef¤¤A B"));
        QCOMPARE(parameterStringFromArguments({QStringLiteral("ksef¤¤A"), QStringLiteral("B")}),
                 QStringLiteral("ksef¤¤A B"));
    }
};

QTEST_GUILESS_MAIN(TestSupport)
#include "tst_support.moc"
