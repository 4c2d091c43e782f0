#include "load/OfflineResources.h"
#include "views/InvoiceLines.h"

#include "support/TestDocuments.h"

#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

// Every figure is checked under both decimal separators: `d` writes a
// number the way the list must show it.
QString d(const char *number, const QString &separator)
{
    return QString::fromLatin1(number).replace(u'.', separator);
}

InvoiceLines linesOf(const QString &lineXml, const QString &separator, const QString &beforeLines = {})
{
    TestInvoice invoice;
    invoice.lines = lineXml;
    invoice.beforeLines = beforeLines;
    const auto document = validDocument(invoice.toXml());
    if (!document)
        return {};
    return buildInvoiceLines(*document, separator);
}

InvoiceLines linesOfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const auto document = validDocument(QString::fromUtf8(file.readAll()));
    if (!document)
        return {};
    return buildInvoiceLines(*document, QStringLiteral(","));
}

} // namespace

class TestInvoiceLines : public QObject
{
    Q_OBJECT

    void addSeparators()
    {
        QTest::addColumn<QString>("separator");
        QTest::newRow("comma") << QStringLiteral(",");
        QTest::newRow("point") << QStringLiteral(".");
    }

private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    void ordinaryLine_data() { addSeparators(); }
    void ordinaryLine()
    {
        QFETCH(QString, separator);
        const InvoiceLines lines = linesOf(
            invoiceLine("1", {{"P_7", "Krzesło"}, {"Indeks", "KR-1"}, {"GTIN", "5901234123457"}, {"PKWiU", "31.01.1"},
                              {"P_8A", "szt"}, {"P_8B", "3"}, {"P_9A", "12.5"}, {"P_11", "37.5"}, {"P_12", "23"},
                              {"GTU", "GTU_01"}}),
            separator);
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows.size(), std::size_t(1));
        const ListRow &row = lines.rows[0];
        QCOMPARE(row.cells(), (QStringList{"1", "KR-1", "szt", d("3.00", separator), d("12.50", separator), " ",
                                         d("37.50", separator), "", "23", "", "Krzesło", "5901234123457", "GTU_01",
                                         "31.01.1"}));
        QVERIFY(row.changeNote.isEmpty());
        QVERIFY(lines.commonRate.isEmpty());
    }

    void rateOfOneIsNoRate()
    {
        const InvoiceLines lines = linesOf(
            invoiceLine("1", {{"P_7", "x"}, {"P_8B", "1"}, {"P_9A", "10"}, {"P_11", "10"}, {"P_12", "23"},
                              {"KursWaluty", "1.000000"}}),
            QStringLiteral(","));
        QCOMPARE(lines.rows[0].cell(4), QStringLiteral("10,00"));
        QCOMPARE(lines.rows[0].cell(5), QStringLiteral(" "));
        QCOMPARE(lines.rows[0].cell(7), QString());
        QCOMPARE(lines.rows[0].cell(9), QString());
    }

    void grossPricesAreDividedByTheVatFactor_data()
    {
        QTest::addColumn<QString>("vat");
        QTest::addColumn<QString>("grossPrice");
        QTest::addColumn<QString>("grossValue");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("value");
        QTest::newRow("23%") << "23" << "123" << "246" << "100,00" << "200,00";
        QTest::newRow("23% rounded") << "23" << "10.00" << "57.81" << "8,13" << "47,00";
        // 0.005 rounds to 0.01 first, then 0.01 / 1.08 = 0.00925... -> 0.01
        QTest::newRow("gross rounded before dividing") << "8" << "0.005" << "0.01" << "0,01" << "0,01";
        QTest::newRow("zw takes the gross unchanged") << "zw" << "123.456" << "99.99" << "123,46" << "99,99";
        QTest::newRow("np I") << "np I" << "5" << "5" << "5,00" << "5,00";
    }
    void grossPricesAreDividedByTheVatFactor()
    {
        QFETCH(QString, vat);
        QFETCH(QString, grossPrice);
        QFETCH(QString, grossValue);
        QFETCH(QString, price);
        QFETCH(QString, value);
        const InvoiceLines lines = linesOf(
            invoiceLine("1", {{"P_7", "x"}, {"P_8B", "1"}, {"P_9B", grossPrice}, {"P_11A", grossValue}, {"P_12", vat}}),
            QStringLiteral(","));
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows[0].cell(4), price);
        QCOMPARE(lines.rows[0].cell(6), value);
        QCOMPARE(lines.rows[0].cell(8), vat);
    }

    void correctedLineShowsTheChangeAndKeepsBeforeAndAfter_data() { addSeparators(); }
    void correctedLineShowsTheChangeAndKeepsBeforeAndAfter()
    {
        QFETCH(QString, separator);
        const QString before = invoiceLine(
            "1", {{"P_7", "Pióro"}, {"P_8A", "szt"}, {"P_8B", "10"}, {"P_9A", "5.00"}, {"P_11", "50"}, {"P_12", "23"},
                  {"StanPrzed", "1"}});
        const QString after = invoiceLine(
            "1", {{"P_7", "Pióro"}, {"P_8A", "szt"}, {"P_8B", "8"}, {"P_9A", "5.00"}, {"P_11", "40"}, {"P_12", "23"}});
        const InvoiceLines lines = linesOf(before + after, separator);
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows.size(), std::size_t(1)); // the before-state line is no row of its own
        const ListRow &row = lines.rows[0];
        QCOMPARE(row.cell(3), d("-2.00", separator));
        QCOMPARE(row.cell(4), d("5.00", separator)); // an unchanged price shows the price, not 0
        QCOMPARE(row.cell(6), d("-10.00", separator));
        QCOMPARE(row.changeNote, QStringLiteral("\r\nIlość po\t") + d("8.00", separator)
                                     + QStringLiteral("\r\nIlość przed\t") + d("10.00", separator)
                                     + QStringLiteral("\r\nCena po\t") + d("5.00", separator)
                                     + QStringLiteral("\r\nCena przed\t") + d("5.00", separator));
    }

    void equalQuantitiesShowTheQuantityItself()
    {
        const QString before = invoiceLine("2", {{"P_7", "x"}, {"P_8B", "4"}, {"P_9A", "10"}, {"P_11", "40"}, {"StanPrzed", "1"}});
        const QString after = invoiceLine("2", {{"P_7", "x"}, {"P_8B", "4"}, {"P_9A", "9"}, {"P_11", "36"}});
        const InvoiceLines lines = linesOf(after + before, QStringLiteral(","));
        QCOMPARE(lines.rows[0].cell(3), QStringLiteral("4,00"));
        QCOMPARE(lines.rows[0].cell(4), QStringLiteral("-1,00"));
        QCOMPARE(lines.rows[0].cell(6), QStringLiteral("-4,00"));
    }

    void exchangeRateColumns_data() { addSeparators(); }
    void exchangeRateColumns()
    {
        QFETCH(QString, separator);
        const InvoiceLines lines = linesOf(
            invoiceLine("1", {{"P_7", "x"}, {"P_8B", "1"}, {"P_9A", "10"}, {"P_11", "10"}, {"P_12", "23"},
                              {"KursWaluty", "4.2500"}}),
            separator);
        const ListRow &row = lines.rows[0];
        QCOMPARE(row.cell(4), d("42.50", separator));
        QCOMPARE(row.cell(5), d("10.00", separator));
        QCOMPARE(row.cell(6), d("42.50", separator));
        QCOMPARE(row.cell(7), d("10.00", separator));
        QCOMPARE(row.cell(9), d("4.250000", separator));
        QCOMPARE(lines.commonRate, d("4.250000", separator));
    }

    void rateKeepsSixDecimalsAndProductsAreRoundedOnce()
    {
        // 4.123456 x 100.01 = 412.3868... ; the rate is not cut to four decimals.
        const InvoiceLines lines = linesOf(
            invoiceLine("1", {{"P_7", "x"}, {"P_8B", "1"}, {"P_9A", "100.01"}, {"P_11", "0.05"}, {"P_12", "23"},
                              {"KursWaluty", "4.123456"}}),
            QStringLiteral(","));
        QCOMPARE(lines.rows[0].cell(9), QStringLiteral("4,123456"));
        QCOMPARE(lines.rows[0].cell(4), QStringLiteral("412,39"));
        // 4.123456 x 0.05 = 0.2061728 -> 0.21
        QCOMPARE(lines.rows[0].cell(6), QStringLiteral("0,21"));
    }

    void correctedLineWithARateNotesBothCurrencies()
    {
        const QString before = invoiceLine("1", {{"P_7", "x"}, {"P_8B", "2"}, {"P_9A", "10"}, {"P_11", "20"},
                                                 {"P_12", "23"}, {"KursWaluty", "4.5"}, {"StanPrzed", "1"}});
        const QString after = invoiceLine("1", {{"P_7", "x"}, {"P_8B", "2"}, {"P_9A", "12"}, {"P_11", "24"},
                                                {"P_12", "23"}, {"KursWaluty", "4.5"}});
        const InvoiceLines lines = linesOf(before + after, QStringLiteral(","));
        const ListRow &row = lines.rows[0];
        QCOMPARE(row.changeNote, QStringLiteral("\r\nIlość po\t2,00\r\nIlość przed\t2,00\r\nCena po\t54,00"
                                                "\r\nCenaW po\t12,00\r\nCena przed\t45,00\r\nCenaW przed\t10,00"));
        QCOMPARE(row.cell(4), QStringLiteral("9,00"));
        QCOMPARE(row.cell(5), QStringLiteral("2,00"));
        QCOMPARE(row.cell(6), QStringLiteral("18,00"));
        QCOMPARE(row.cell(7), QStringLiteral("4,00"));
    }

    void commonRateNeedsTheSameRateOnEveryLine()
    {
        const auto line = [](const char *number, const char *rate) {
            return invoiceLine(QString::fromLatin1(number), {{"P_7", "x"}, {"P_8B", "1"}, {"P_9A", "1"}, {"P_11", "1"},
                                                             {"KursWaluty", QString::fromLatin1(rate)}});
        };
        QCOMPARE(linesOf(line("1", "4.25") + line("2", "4.30"), QStringLiteral(",")).commonRate, QString());
        QCOMPARE(linesOf(line("1", "4.25") + line("2", "4.2500"), QStringLiteral(",")).commonRate,
                 QStringLiteral("4,250000"));
        QCOMPARE(linesOf(line("1", "1") + line("2", "1"), QStringLiteral(",")).commonRate, QString());
    }

    void pairingIsOnTheExactLineNumberText()
    {
        const QString before = invoiceLine("01", {{"P_7", "x"}, {"P_8B", "10"}, {"P_9A", "1"}, {"P_11", "10"}, {"StanPrzed", "1"}});
        const QString after = invoiceLine("1", {{"P_7", "x"}, {"P_8B", "8"}, {"P_9A", "1"}, {"P_11", "8"}});
        const InvoiceLines lines = linesOf(before + after, QStringLiteral(","));
        QCOMPARE(lines.rows.size(), std::size_t(1));
        QCOMPARE(lines.rows[0].cell(3), QStringLiteral("8,00"));
        QVERIFY(lines.rows[0].changeNote.isEmpty());

        // The line number itself is shown as a whole number.
        const InvoiceLines padded = linesOf(after + invoiceLine("007", {{"P_7", "y"}}), QStringLiteral(","));
        QCOMPARE(padded.rows[1].cell(0), QStringLiteral("7"));
    }

    void beforeStateWithoutAfterStateIsNotShown()
    {
        const QString before = invoiceLine("5", {{"P_7", "x"}, {"P_8B", "1"}, {"StanPrzed", "1"}});
        const QString after = invoiceLine("1", {{"P_7", "y"}, {"P_8B", "1"}});
        const InvoiceLines lines = linesOf(before + after, QStringLiteral(","));
        QCOMPARE(lines.rows.size(), std::size_t(1));
        QCOMPARE(lines.rows[0].cell(0), QStringLiteral("1"));
    }

    void duplicateLineNumbersAreAllListed()
    {
        const QString before = invoiceLine("1", {{"P_7", "x"}, {"P_8B", "5"}, {"StanPrzed", "1"}});
        const QString first = invoiceLine("1", {{"P_7", "a"}, {"P_8B", "7"}});
        const QString second = invoiceLine("1", {{"P_7", "b"}, {"P_8B", "2"}});
        const InvoiceLines lines = linesOf(before + first + second, QStringLiteral(","));
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows.size(), std::size_t(2));
        QCOMPARE(lines.rows[0].cell(3), QStringLiteral("2,00"));
        QCOMPARE(lines.rows[1].cell(3), QStringLiteral("-3,00"));
    }

    // Large invoices are read in two halves at once; a failure still keeps
    // exactly the rows before the first failing line.
    void failureInAHalfKeepsTheRowsBeforeTheFirstFailure_data()
    {
        QTest::addColumn<QList<int>>("broken");
        QTest::addColumn<int>("rows");
        QTest::newRow("upper half") << QList<int>{2600} << 2599;
        QTest::newRow("both halves") << QList<int>{2600, 700} << 699;
        QTest::newRow("lower half") << QList<int>{5} << 4;
    }
    void failureInAHalfKeepsTheRowsBeforeTheFirstFailure()
    {
        QFETCH(QList<int>, broken);
        QFETCH(int, rows);
        TestInvoice invoice;
        for (int number = 1; number <= 3000; ++number) {
            invoice.lines += broken.contains(number)
                                 ? QStringLiteral("<FaWiersz><P_7>bez numeru</P_7></FaWiersz>")
                                 : invoiceLine(QString::number(number), {{"P_7", "x"}, {"P_8B", "1"}});
        }
        const auto document = unvalidatedDocument(invoice.toXml());
        const InvoiceLines lines = buildInvoiceLines(*document, QStringLiteral(","));
        QVERIFY(lines.failure);
        QCOMPARE(int(lines.rows.size()), rows);
        QCOMPARE(lines.rows.back().cell(0), QString::number(rows));
        QVERIFY(lines.commonRate.isEmpty());
    }

    void largeInvoiceKeepsDocumentOrder()
    {
        TestInvoice invoice;
        for (int number = 1; number <= 5000; ++number)
            invoice.lines += invoiceLine(QString::number(number), {{"P_7", "x"}, {"P_8B", QString::number(number)}});
        const auto document = validDocument(invoice.toXml());
        QVERIFY(document);
        const InvoiceLines lines = buildInvoiceLines(*document, QStringLiteral(","));
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows.size(), std::size_t(5000));
        for (int i = 0; i < 5000; i += 499)
            QCOMPARE(lines.rows[std::size_t(i)].cell(3), QString::number(i + 1) + QStringLiteral(",00"));
    }

    void invoiceWithoutLines()
    {
        const InvoiceLines lines = linesOf(QString(), QStringLiteral(","));
        QVERIFY(!lines.failure);
        QVERIFY(lines.rows.empty());
        QVERIFY(lines.commonRate.isEmpty());
    }

    void prefixedDocumentGivesTheSameRows()
    {
        TestInvoice invoice;
        invoice.lines = invoiceLine("1", {{"P_7", "Ołówek"}, {"P_8B", "2"}, {"P_9A", "1.5"}, {"P_11", "3"}, {"P_12", "8"}});
        const QString plain = invoice.toXml();
        QString prefixed = plain;
        prefixed.replace(QRegularExpression(QStringLiteral("<(/?)([A-Za-z])")), QStringLiteral("<\\1ns2:\\2"));
        prefixed.replace(QStringLiteral("<?xml"), QStringLiteral("<?xml")).replace(QStringLiteral("<ns2:?"), QStringLiteral("<?"));
        prefixed.replace(QStringLiteral("xmlns="), QStringLiteral("xmlns:ns2="));
        const auto a = validDocument(plain);
        const auto b = validDocument(prefixed);
        QVERIFY(a && b);
        QCOMPARE(buildInvoiceLines(*b, QStringLiteral(",")).rows[0].cells(),
                 buildInvoiceLines(*a, QStringLiteral(",")).rows[0].cells());
    }

    void largestSchemaValuesAreExact()
    {
        const InvoiceLines lines = linesOf(
            invoiceLine("99999999999999",
                        {{"P_7", "x"}, {"P_8B", "9999999999999999.999999"}, {"P_9A", "99999999999999.99999999"},
                         {"P_11", "9999999999999999.99"}, {"P_12", "23"}, {"KursWaluty", "9999999999999999.999999"}}),
            QStringLiteral(","));
        QVERIFY(!lines.failure);
        const ListRow &row = lines.rows[0];
        QCOMPARE(row.cell(0), QStringLiteral("99999999999999"));
        QCOMPARE(row.cell(3), QStringLiteral("10000000000000000,00"));
        QCOMPARE(row.cell(5), QStringLiteral("100000000000000,00"));
        QCOMPARE(row.cell(6), QStringLiteral("99999999999999999899990000000000,00"));
        QCOMPARE(row.cell(7), QStringLiteral("9999999999999999,99"));
        QCOMPARE(row.cell(9), QStringLiteral("9999999999999999,999999"));
        QCOMPARE(row.cell(4), QStringLiteral("999999999999999999999900000000,00"));
    }

    void publicExamplesMatchFiguresWorkedOutByHand()
    {
        // Podstawowa 1: line 1 has rate 4.2142, P_9A 1356.00, P_11 100.45,
        // P_8B 8.0; line 2 no rate, P_8B 2.561, P_9A 1350.00, P_11 3457.35.
        const InvoiceLines lines = linesOfFile(publicExample("podstawowa__FA_3_Przyklad_1.xml"));
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows.size(), std::size_t(2));
        // 4.2142 x 1356.00 = 5714.4552 -> 5714.46; 4.2142 x 100.45 = 423.31639 -> 423.32
        QCOMPARE(lines.rows[0].cells(), (QStringList{"1", "000000000011111111", "SZT", "8,00", "5714,46", "1356,00",
                                                   "423,32", "100,45", "23", "4,214200", "GTU_01", "", "", ""}));
        QCOMPARE(lines.rows[1].cells(), (QStringList{"2", "", "-", "2,56", "1350,00", " ", "3457,35", "", "zw", "",
                                                   "GTU_01", "", "", "ABCD ABCD ABCD ABCD ABCD ABCD ABCD ABCD ABCD ABCD"}));
        QVERIFY(lines.commonRate.isEmpty());

        // Brutto 3: both lines give only gross figures, P_9B 500 and P_11A
        // 500 at 23 %: 500 / 1.23 = 406.504... -> 406.50 for price and value.
        const InvoiceLines gross = linesOfFile(publicExample("podstawowa__FA_3_Przyklad_3_brutto.xml"));
        QVERIFY(!gross.failure);
        QCOMPARE(gross.rows.size(), std::size_t(2));
        for (std::size_t i = 0; i < 2; ++i) {
            QCOMPARE(gross.rows[i].cells(), (QStringList{QString::number(i + 1), "", "szt", "1,00", "406,50", " ",
                                                       "406,50", "", "23", "", "test", "", "", ""}));
        }

        // Zalacznik 1: prices with eight decimals, 0.04415 and 0.23525,
        // rounded to grosze: 0.04 and 0.24; values as stated.
        const InvoiceLines fourLines = linesOfFile(publicExample("zalacznik__FA_3_Zalacznik_Przyklad_1.xml"));
        QVERIFY(!fourLines.failure);
        QCOMPARE(fourLines.rows.size(), std::size_t(4));
        const QStringList expected[] = {
            {"1", "", "kWh", "45181,00", "0,04", " ", "1994,74", "", "23", "", "Dystrybucyjna zmienna", "", "", ""},
            {"2", "", "kWh", "45181,00", "0,24", " ", "10628,83", "", "23", "", "Paliwo gazowe", "", "", ""},
            {"3", "", "m-c", "1,00", "16,11", " ", "16,11", "", "23", "", "Opłata handlowa", "", "", ""},
            {"4", "", "m-c", "1,00", "308,33", " ", "308,33", "", "23", "", "Dystrybucyjna stała", "", "", ""},
        };
        for (std::size_t i = 0; i < 4; ++i)
            QCOMPARE(fourLines.rows[i].cells(), expected[i]);
        QVERIFY(fourLines.commonRate.isEmpty());
    }

    void ownExamplesMatchFiguresWorkedOutByHand()
    {
        // The correction: chairs 10 -> 8 at 99.95 (999.50 -> 799.60),
        // cushions 5 at 47.00 -> 43.00 (235.00 -> 215.00).
        const InvoiceLines correction = linesOfFile(ownExample("faktura-korygujaca.xml"));
        QVERIFY(!correction.failure);
        QCOMPARE(correction.rows.size(), std::size_t(2));
        QCOMPARE(correction.rows[0].cells().mid(0, 8),
                 (QStringList{"1", "KR-001", "szt", "-2,00", "99,95", " ", "-199,90", ""}));
        QCOMPARE(correction.rows[1].cells().mid(0, 8),
                 (QStringList{"2", "PD-017", "szt", "5,00", "-4,00", " ", "-20,00", ""}));

        // In euro at 4.2817: 23.50 -> 100.61995, 940.00 -> 4024.798,
        // 80.00 -> 342.536, 400.00 -> 1712.68.
        const InvoiceLines euro = linesOfFile(ownExample("faktura-walutowa.xml"));
        QVERIFY(!euro.failure);
        QCOMPARE(euro.rows.size(), std::size_t(2));
        QCOMPARE(euro.rows[0].cells().mid(0, 10), (QStringList{"1", "KR-001", "szt", "40,00", "100,62", "23,50",
                                                             "4024,80", "940,00", "0 WDT", "4,281700"}));
        QCOMPARE(euro.rows[1].cells().mid(0, 10), (QStringList{"2", "ST-210", "szt", "5,00", "342,54", "80,00",
                                                             "1712,68", "400,00", "0 WDT", "4,281700"}));
        QCOMPARE(euro.commonRate, QStringLiteral("4,281700"));
    }
};

QTEST_GUILESS_MAIN(TestInvoiceLines)
#include "tst_invoicelines.moc"
