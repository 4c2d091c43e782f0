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

    // The figures of one line, worked out by hand. Each state of a corrected
    // line is read exactly, converted with its own rate and divided by its
    // own VAT factor; every figure is rounded once, where it is shown.
    void lineFigures_data()
    {
        QTest::addColumn<QString>("before"); // children of the before state, or empty
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("columns"); // Ilość|Cena|CenaW|Wartość|WartośćW|VAT|Kurs
        QTest::addColumn<QString>("note");    // label=value, ... or empty

        // Read exactly: 0.34495 -> 0.34 (not 0.3450 -> 0.35); 1.004951 -> 1.00.
        QTest::newRow("no rounding when read") << ""
            << "<P_8B>1.004951</P_8B><P_9A>0.34495</P_9A><P_11>0.35</P_11><P_12>23</P_12>"
            << "1,00|0,34| |0,35||23|" << "";
        // 0.04415 x 4.3 = 0.189845 -> 0.19; 10 x 4.3 = 43.
        QTest::newRow("rate times the exact price") << ""
            << "<P_8B>1</P_8B><P_9A>0.04415</P_9A><P_11>10</P_11><P_12>23</P_12><KursWaluty>4.3</KursWaluty>"
            << "1,00|0,19|0,04|43,00|10,00|23|4,300000" << "";
        // 4.123456 x 100.01 = 412.3868... ; 4.123456 x 0.05 = 0.2061728.
        QTest::newRow("six decimals of the rate") << ""
            << "<P_8B>1</P_8B><P_9A>100.01</P_9A><P_11>0.05</P_11><P_12>23</P_12><KursWaluty>4.123456</KursWaluty>"
            << "1,00|412,39|100,01|0,21|0,05|23|4,123456" << "";
        QTest::newRow("a rate of 1 is no rate") << ""
            << "<P_8B>1</P_8B><P_9A>10</P_9A><P_11>10</P_11><P_12>23</P_12><KursWaluty>1.000000</KursWaluty>"
            << "1,00|10,00| |10,00||23|" << "";
        // 0.005 / 1.08 = 0.00463 -> 0.00; 0.01 / 1.08 = 0.00926 -> 0.01.
        QTest::newRow("gross divided once") << ""
            << "<P_8B>1</P_8B><P_9B>0.005</P_9B><P_11A>0.01</P_11A><P_12>8</P_12>" << "1,00|0,00| |0,01||8|" << "";
        // 123 / 1.23 = 100; 246 / 1.23 = 200.
        QTest::newRow("gross at 23 %") << ""
            << "<P_8B>1</P_8B><P_9B>123</P_9B><P_11A>246</P_11A><P_12>23</P_12>" << "1,00|100,00| |200,00||23|" << "";
        // 10 / 1.23 = 8.1300...; 57.81 / 1.23 = 47.
        QTest::newRow("gross rounded after dividing") << ""
            << "<P_8B>1</P_8B><P_9B>10.00</P_9B><P_11A>57.81</P_11A><P_12>23</P_12>" << "1,00|8,13| |47,00||23|" << "";
        QTest::newRow("zw takes the gross as it is") << ""
            << "<P_8B>1</P_8B><P_9B>123.456</P_9B><P_11A>99.99</P_11A><P_12>zw</P_12>" << "1,00|123,46| |99,99||zw|"
            << "";
        // 10 -> 8 at 5.00: the quantity changes by -2, the value by -10, and
        // the unchanged price is shown as the price, not 0.
        QTest::newRow("quantity corrected") << "<P_8B>10</P_8B><P_9A>5.00</P_9A><P_11>50</P_11><P_12>23</P_12>"
            << "<P_8B>8</P_8B><P_9A>5.00</P_9A><P_11>40</P_11><P_12>23</P_12>" << "-2,00|5,00| |-10,00||23|"
            << "Ilość po=8,00|Ilość przed=10,00|Cena po=5,00|Cena przed=5,00";
        // 800 EUR at 4.2106, then at 4.2142: 3368.48 and 3371.36 PLN.
        QTest::newRow("rate corrected") << "<P_8B>1</P_8B><P_9A>800</P_9A><P_11>800</P_11><P_12>23</P_12>"
                                           "<KursWaluty>4.2106</KursWaluty>"
            << "<P_8B>1</P_8B><P_9A>800</P_9A><P_11>800</P_11><P_12>23</P_12><KursWaluty>4.2142</KursWaluty>"
            << "1,00|2,88|800,00|2,88|800,00|23|4,214200"
            << "Ilość po=1,00|Ilość przed=1,00|Cena po=3371,36|CenaW po=800,00|Cena przed=3368,48|CenaW przed=800,00";
        // 2 x 10 -> 2 x 12 at 4.5: 54 - 45 = 9 PLN a piece, 108 - 90 = 18.
        QTest::newRow("price corrected in a currency")
            << "<P_8B>2</P_8B><P_9A>10</P_9A><P_11>20</P_11><P_12>23</P_12><KursWaluty>4.5</KursWaluty>"
            << "<P_8B>2</P_8B><P_9A>12</P_9A><P_11>24</P_11><P_12>23</P_12><KursWaluty>4.5</KursWaluty>"
            << "2,00|9,00|2,00|18,00|4,00|23|4,500000"
            << "Ilość po=2,00|Ilość przed=2,00|Cena po=54,00|CenaW po=12,00|Cena przed=45,00|CenaW przed=10,00";
        // 108 / 1.08 = 100 before, 123 / 1.23 = 100 after: nothing changed.
        QTest::newRow("VAT rate corrected") << "<P_8B>1</P_8B><P_9B>108</P_9B><P_11A>108</P_11A><P_12>8</P_12>"
            << "<P_8B>1</P_8B><P_9B>123</P_9B><P_11A>123</P_11A><P_12>23</P_12>" << "1,00|100,00| |100,00||23|"
            << "Ilość po=1,00|Ilość przed=1,00|Cena po=100,00|Cena przed=100,00";
        // The before state alone has a rate: 10 EUR at 4.5 was 45 PLN, now
        // 10 PLN at no rate.
        QTest::newRow("rate only before") << "<P_8B>1</P_8B><P_9A>10</P_9A><P_11>10</P_11><KursWaluty>4.5</KursWaluty>"
            << "<P_8B>1</P_8B><P_9A>10</P_9A><P_11>10</P_11>" << "1,00|-35,00|10,00|-35,00|10,00||1,000000"
            << "Ilość po=1,00|Ilość przed=1,00|Cena po=10,00|CenaW po=10,00|Cena przed=45,00|CenaW przed=10,00";
    }
    void lineFigures()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, columns);
        QFETCH(QString, note);
        const auto line = [](const QString &number, const QString &children) {
            return QStringLiteral("<FaWiersz><NrWierszaFa>%1</NrWierszaFa><P_7>x</P_7>%2</FaWiersz>").arg(number, children);
        };
        // The before state is written "01": line numbers pair as numbers.
        const QString lines = (before.isEmpty() ? QString() : line(QStringLiteral("01"), before + QStringLiteral("<StanPrzed>1</StanPrzed>")))
                              + line(QStringLiteral("1"), after);
        const InvoiceLines result = linesOf(lines, QStringLiteral(","));
        QVERIFY(!result.failure);
        QCOMPARE(result.rows.size(), std::size_t(1));
        QCOMPARE(result.rows[0].cells().mid(3, 7).join(u'|'), columns);
        QString expectedNote;
        for (const QString &entry : note.split(u'|', Qt::SkipEmptyParts))
            expectedNote += QStringLiteral("\r\n") + entry.section(u'=', 0, 0) + u'\t' + entry.section(u'=', 1);
        QCOMPARE(result.rows[0].changeNote, expectedNote);
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
        // The line number is shown as a whole number.
        QCOMPARE(linesOf(line("007", "1"), QStringLiteral(",")).rows[0].cell(0), QStringLiteral("7"));
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
        // 9999999999999999.999999 x 9999999999999999.99 = 99999999999999999899990000000000.0000...
        QCOMPARE(row.cell(6), QStringLiteral("99999999999999999899990000000000,00"));
        QCOMPARE(row.cell(7), QStringLiteral("9999999999999999,99"));
        QCOMPARE(row.cell(9), QStringLiteral("9999999999999999,999999"));
        // 9999999999999999.999999 x 99999999999999.99999999 = 999999999999999999999800000000.00000000000001
        QCOMPARE(row.cell(4), QStringLiteral("999999999999999999999800000000,00"));
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

    void correctionOfTheRateOnlyShowsWhatItCorrects()
    {
        // 800 EUR at 4.2106 (3368.48 PLN) corrected to 4.2142 (3371.36 PLN):
        // the correction is about 2.88 PLN.
        const InvoiceLines lines = linesOfFile(publicExample("korygujaca__FA_3_Przyklad_3_poprawiony.xml"));
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows.size(), std::size_t(1));
        QCOMPARE(lines.rows[0].cells().mid(0, 10), (QStringList{"1", "", "szt.", "1,00", "2,88", "800,00", "2,88",
                                                              "800,00", "23", "4,214200"}));
        QCOMPARE(lines.rows[0].changeNote, QStringLiteral("\r\nIlość po\t1,00\r\nIlość przed\t1,00\r\nCena po\t3371,36"
                                                          "\r\nCenaW po\t800,00\r\nCena przed\t3368,48\r\nCenaW przed\t800,00"));
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
