#include "core/commands/StatusText.h"
#include "core/invoice/CorrectedDocuments.h"
#include "core/invoice/HeaderFields.h"
#include "core/invoice/InvoiceLines.h"
#include "core/invoice/LineDetails.h"
#include "core/load/OfflineResources.h"

#include "fixtures/TestDocuments.h"

#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

InvoiceLines linesOf(const QString &lineXml)
{
    TestInvoice invoice;
    invoice.lines = lineXml;
    const auto document = validDocument(invoice.toXml());
    return document ? buildInvoiceLines(*document, QStringLiteral(",")) : InvoiceLines();
}

// Rows of a two-column list written as "label|value|tag", TAB in the tag as "#".
QStringList rowTexts(const std::vector<ListRow> &rows)
{
    QStringList texts;
    for (const ListRow &row : rows)
        texts << row.cell(0) + u'|' + row.cell(1) + u'|' + QString(row.tag).replace(u'\t', u'#');
    return texts;
}

// The header fields of an invoice that need not pass validation: rules that
// the schema would never let through are still the fill's to handle.
QStringList fieldsOf(const QString &inner, const QString &commonRate = {}, const QString &separator = QStringLiteral(","))
{
    const auto document =
        unvalidatedDocument(QStringLiteral("<Faktura xmlns=\"%1\">%2</Faktura>").arg(FaNamespace, inner));
    return rowTexts(buildHeaderFields(*document, commonRate, separator).rows);
}

const QStringList Headers{"Lp", "KodDostawcy", "Jm", "Ilość", "Cena", "CenaW", "Wartość", "WartośćW",
                          "VAT", "Kurs", "Nazwa", "EAN", "GTU", "PKWIU"};

} // namespace

// What the lists show: the invoice lines and the details of one, the header
// fields, the corrected documents, and the status bar's text of a row.
class TestLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

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
        // Halves away from zero: 0.125 -> 0.13 and 2.345 -> 2.35, not 0.12 and 2.34.
        QTest::newRow("halves away from zero") << ""
            << "<P_8B>0.125</P_8B><P_9A>2.345</P_9A><P_11>0.29</P_11><P_12>23</P_12>" << "0,13|2,35| |0,29||23|" << "";
        // 0.15375 / 1.23 = 0.125 -> 0.13; 3.69 / 1.23 = 3.
        QTest::newRow("a gross half away from zero") << ""
            << "<P_8B>1</P_8B><P_9B>0.15375</P_9B><P_11A>3.69</P_11A><P_12>23</P_12>" << "1,00|0,13| |3,00||23|" << "";
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
        // OSS: the rate is P_12_XII; 119 / 1.19 = 100.
        QTest::newRow("gross under OSS") << ""
            << "<P_8B>1</P_8B><P_9B>119</P_9B><P_11A>119</P_11A><P_12_XII>19</P_12_XII>" << "1,00|100,00| |100,00|||" << "";
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
        // The before state is written "01", its flag " 01 ": both are read as numbers.
        const QString lines = (before.isEmpty() ? QString() : line(QStringLiteral("01"), before + QStringLiteral("<StanPrzed> 01 </StanPrzed>")))
                              + line(QStringLiteral("1"), after);
        const InvoiceLines result = linesOf(lines);
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
        // Rates are compared as numbers; different rates and a rate of 1 are no common rate.
        QCOMPARE(linesOf(line("1", "4.25") + line("2", "4.2500")).commonRate, QStringLiteral("4,250000"));
        QCOMPARE(linesOf(line("1", "4.25") + line("2", "4.30")).commonRate, QString());
        QCOMPARE(linesOf(line("1", "4.25") + line("2", "4.25") + line("3", "4.30")).commonRate, QString());
        QCOMPARE(linesOf(line("1", "1") + line("2", "1")).commonRate, QString());
        // The line number is shown as a whole number.
        QCOMPARE(linesOf(line("007", "1")).rows[0].cell(0), QStringLiteral("7"));
    }

    // A before state without its after state is not listed; two after
    // states of one number both compare with the before state.
    void beforeStatesPairByLineNumber()
    {
        const InvoiceLines lines = linesOf(invoiceLine("5", {{"P_7", "x"}, {"P_8B", "1"}, {"StanPrzed", "1"}})
                                           + invoiceLine("1", {{"P_7", "x"}, {"P_8B", "5"}, {"StanPrzed", "1"}})
                                           + invoiceLine("1", {{"P_7", "a"}, {"P_8B", "7"}})
                                           + invoiceLine("1", {{"P_7", "b"}, {"P_8B", "2"}}));
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows.size(), std::size_t(2));
        QCOMPARE(lines.rows[0].cells().mid(0, 4), (QStringList{"1", "", "", "2,00"}));  // 7 - 5
        QCOMPARE(lines.rows[1].cells().mid(0, 4), (QStringList{"1", "", "", "-3,00"})); // 2 - 5
    }

    // Large invoices are read in two halves at once, yet keep document
    // order; a failure still keeps exactly the rows before the first
    // failing line.
    void largeInvoicesKeepDocumentOrder_data()
    {
        QTest::addColumn<QList<int>>("broken");
        QTest::addColumn<int>("rows");
        QTest::newRow("none") << QList<int>{} << 3000;
        QTest::newRow("upper half") << QList<int>{2600} << 2599;
        QTest::newRow("both halves") << QList<int>{2600, 700} << 699;
        QTest::newRow("lower half") << QList<int>{5} << 4;
    }
    void largeInvoicesKeepDocumentOrder()
    {
        QFETCH(QList<int>, broken);
        QFETCH(int, rows);
        TestInvoice invoice;
        for (int number = 1; number <= 3000; ++number) {
            invoice.lines += broken.contains(number)
                                 ? QStringLiteral("<FaWiersz><P_7>bez numeru</P_7></FaWiersz>")
                                 : invoiceLine(QString::number(number), {{"P_7", "x"}, {"P_8B", QString::number(number)}});
        }
        const InvoiceLines lines = buildInvoiceLines(*unvalidatedDocument(invoice.toXml()), QStringLiteral(","));
        QCOMPARE(bool(lines.failure), !broken.isEmpty());
        QCOMPARE(int(lines.rows.size()), rows);
        for (int i = 0; i < rows; i += 97)
            QCOMPARE(lines.rows[std::size_t(i)].cell(3), QString::number(i + 1) + QStringLiteral(",00"));
        QCOMPARE(lines.rows.back().cell(0), QString::number(rows));
        QVERIFY(lines.commonRate.isEmpty());
    }

    // A document whose elements carry a prefix shows as the plain one; only
    // labels taken from element names keep the prefix.
    void prefixedDocumentShowsAsThePlainOne()
    {
        TestInvoice invoice;
        invoice.lines = invoiceLine("1", {{"P_7", "Ołówek"}, {"P_8B", "2"}, {"P_9A", "1.5"}, {"P_11", "3"}, {"P_12", "8"}});
        const QString plain = invoice.toXml();
        QString prefixed = plain;
        prefixed.replace(QRegularExpression(QStringLiteral("<(/?)([A-Za-z])")), QStringLiteral("<\\1ns2:\\2"));
        prefixed.replace(QStringLiteral("xmlns="), QStringLiteral("xmlns:ns2="));
        const auto a = validDocument(plain);
        const auto b = validDocument(prefixed);
        QVERIFY(a && b);
        QCOMPARE(buildInvoiceLines(*b, QStringLiteral(",")).rows[0].cells(),
                 buildInvoiceLines(*a, QStringLiteral(",")).rows[0].cells());
        QStringList header = rowTexts(buildHeaderFields(*a, QString(), QStringLiteral(",")).rows);
        header.replaceInStrings(QRegularExpression(QStringLiteral("^(NIP|Nazwa|RodzajFaktury)\\|")), QStringLiteral("ns2:\\1|"));
        QCOMPARE(rowTexts(buildHeaderFields(*b, QString(), QStringLiteral(",")).rows), header);
    }

    // Rows of example invoices, public and our own, against figures worked
    // out by hand.
    void examplesMatchFiguresWorkedOutByHand_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("cells"); // the row's first cells, "|" between
        // Line 1 at 4.2142: 1356.00 x 4.2142 = 5714.4552 -> 5714.46; 100.45 x 4.2142 = 423.31639 -> 423.32.
        // Line 2 has no rate and a quantity of 2.561 -> 2.56.
        const QString basic = publicExample("podstawowa__FA_3_Przyklad_1.xml");
        QTest::newRow("public 1, line 1") << basic << 2 << 0
            << "1|000000000011111111|SZT|8,00|5714,46|1356,00|423,32|100,45|23|4,214200|GTU_01|||";
        QTest::newRow("public 1, line 2") << basic << 2 << 1
            << "2||-|2,56|1350,00| |3457,35||zw||GTU_01|||ABCD ABCD ABCD ABCD ABCD ABCD ABCD ABCD ABCD ABCD";
        // Gross figures only, P_9B 500 and P_11A 500 at 23 %: 500 / 1.23 = 406.504... -> 406.50.
        QTest::newRow("gross only") << publicExample("podstawowa__FA_3_Przyklad_3_brutto.xml") << 2 << 1
            << "2||szt|1,00|406,50| |406,50||23||test|||";
        // Prices with eight decimals rounded to grosze: 0.04415 -> 0.04, 0.23525 -> 0.24.
        const QString annex = publicExample("zalacznik__FA_3_Zalacznik_Przyklad_1.xml");
        QTest::newRow("eight decimals, line 1") << annex << 4 << 0
            << "1||kWh|45181,00|0,04| |1994,74||23||Dystrybucyjna zmienna|||";
        QTest::newRow("eight decimals, line 2") << annex << 4 << 1 << "2||kWh|45181,00|0,24| |10628,83||23||Paliwo gazowe|||";
        // Our correction: chairs 10 -> 8 at 99.95 (999.50 -> 799.60),
        // cushions 5 at 47.00 -> 43.00 (235.00 -> 215.00).
        const QString correction = ownExample("faktura-korygujaca.xml");
        QTest::newRow("own correction, quantity") << correction << 2 << 0 << "1|KR-001|szt|-2,00|99,95| |-199,90|";
        QTest::newRow("own correction, price") << correction << 2 << 1 << "2|PD-017|szt|5,00|-4,00| |-20,00|";
        // In euro at 4.2817: 23.50 -> 100.61995, 940.00 -> 4024.798, 80.00 -> 342.536, 400.00 -> 1712.68.
        const QString euro = ownExample("faktura-walutowa.xml");
        QTest::newRow("own in euro, line 1") << euro << 2 << 0 << "1|KR-001|szt|40,00|100,62|23,50|4024,80|940,00|0 WDT|4,281700";
        QTest::newRow("own in euro, line 2") << euro << 2 << 1 << "2|ST-210|szt|5,00|342,54|80,00|1712,68|400,00|0 WDT|4,281700";
    }
    void examplesMatchFiguresWorkedOutByHand()
    {
        QFETCH(QString, file);
        QFETCH(int, rows);
        QFETCH(int, row);
        QFETCH(QString, cells);
        const auto document = validDocument(fileBytes(file), true);
        QVERIFY(document);
        const InvoiceLines lines = buildInvoiceLines(*document, QStringLiteral(","));
        QVERIFY(!lines.failure);
        QCOMPARE(int(lines.rows.size()), rows);
        const QStringList expected = cells.split(u'|');
        QCOMPARE(lines.rows[std::size_t(row)].cells().mid(0, expected.size()), expected);
        // The figures alone, as the register reads them for the check, are the same.
        const InvoiceLines figures = readLineFigures(*document);
        QCOMPARE(figures.figures.size(), lines.figures.size());
        for (std::size_t i = 0; i < lines.figures.size(); ++i) {
            QCOMPARE(figures.elements[i].line, lines.elements[i].line);
            QCOMPARE(bool(figures.figures[i]), bool(lines.figures[i]));
            QVERIFY(!lines.figures[i] || (figures.figures[i]->value == lines.figures[i]->value
                                          && figures.figures[i]->rate == lines.figures[i]->rate));
        }
        QVERIFY(figures.rows.empty());
    }

    // The details list every non-blank cell of a line with its own element,
    // the line's descriptions, then the figures before and after a
    // correction. Before-state lines, missing children and descriptions out
    // of line order all break the match between list position and
    // occurrence.
    void detailsOfEveryLine()
    {
        TestInvoice invoice;
        invoice.beforeLines = QStringLiteral(
            "<DodatkowyOpis><NrWiersza>3</NrWiersza><Klucz>Kolor</Klucz><Wartosc>czerwony</Wartosc></DodatkowyOpis>"
            "<DodatkowyOpis><NrWiersza>2</NrWiersza><Klucz>Rozmiar</Klucz><Wartosc>XL</Wartosc></DodatkowyOpis>"
            "<DodatkowyOpis><NrWiersza>03</NrWiersza><Klucz>Wzór</Klucz><Wartosc></Wartosc></DodatkowyOpis>"
            "<DodatkowyOpis><NrWiersza>3</NrWiersza><Klucz></Klucz><Wartosc>bez klucza</Wartosc></DodatkowyOpis>"
            "<DodatkowyOpis><Klucz>Ogólny</Klucz><Wartosc>bez numeru wiersza</Wartosc></DodatkowyOpis>");
        invoice.lines = invoiceLine("1", {{"P_7", "Krzesło"}, {"Indeks", "KR-1"}, {"GTIN", "5901234123457"},
                                          {"PKWiU", "31.01.1"}, {"P_8A", "szt"}, {"P_8B", "3"}, {"P_9A", "12.5"},
                                          {"P_11", "37.5"}, {"P_12", "23"}, {"GTU", "GTU_01"}, {"KursWaluty", "4"}})
                        + invoiceLine("2", {{"P_7", "b"}, {"P_8B", "5"}, {"StanPrzed", "1"}})
                        + invoiceLine("2", {{"P_7", "b"}, {"P_8B", "2"}})
                        + invoiceLine("3", {{"P_7", "c"}, {"Indeks", "C-3"}, {"P_8B", "7"}, {"P_9B", "12.30"},
                                            {"P_11A", "86.10"}, {"P_12", "23"}});
        // Empty keys and values cannot pass the schema; the details still handle them.
        const auto document = unvalidatedDocument(invoice.toXml());
        const XmlTree tree = XmlTree::build(*document);
        const InvoiceLines lines = buildInvoiceLines(*document, QStringLiteral(","));
        QVERIFY(!lines.failure);
        QCOMPARE(lines.rows.size(), std::size_t(3));
        // At 4: 12.5 x 4 = 50, 37.5 x 4 = 150.
        QCOMPARE(lines.rows[0].cells().join(u'|'),
                 QStringLiteral("1|KR-1|szt|3,00|50,00|12,50|150,00|37,50|23|4,000000|Krzesło|5901234123457|GTU_01|31.01.1"));
        const QString lineRequests[] = {"Fa / FaWiersz#1", "Fa / FaWiersz#3", "Fa / FaWiersz#4"};
        const QStringList expected[] = {
            {"Lp|1|Fa / FaWiersz / NrWierszaFa#1", "KodDostawcy|KR-1|Fa / FaWiersz / Indeks#1",
             "Jm|szt|Fa / FaWiersz / P_8A#1", "Ilość|3,00|Fa / FaWiersz / P_8B#1", "Cena|50,00|Fa / FaWiersz / P_9A#1",
             "CenaW|12,50|Fa / FaWiersz / P_9A#1", "Wartość|150,00|Fa / FaWiersz / P_11#1",
             "WartośćW|37,50|Fa / FaWiersz / P_11#1", "VAT|23|Fa / FaWiersz / P_12#1",
             "Kurs|4,000000|Fa / FaWiersz / KursWaluty#1", "Nazwa|Krzesło|Fa / FaWiersz / P_7#1",
             "EAN|5901234123457|Fa / FaWiersz / GTIN#1", "GTU|GTU_01|Fa / FaWiersz / GTU#1",
             "PKWIU|31.01.1|Fa / FaWiersz / PKWiU#1"},
            // No price or value element: those requests fall back to the line.
            {"Lp|2|Fa / FaWiersz / NrWierszaFa#3", "Ilość|-3,00|Fa / FaWiersz / P_8B#3", "Cena|0,00|Fa / FaWiersz#3",
             "Wartość|0,00|Fa / FaWiersz#3", "Nazwa|b|Fa / FaWiersz / P_7#3", "Rozmiar|XL|Fa / DodatkowyOpis#2",
             "Ilość po|2,00|", "Ilość przed|5,00|", "Cena po|0,00|", "Cena przed|0,00|"},
            // A price and value taken from the gross figures reveal those:
            // 12.30 / 1.23 = 10, 86.10 / 1.23 = 70.
            {"Lp|3|Fa / FaWiersz / NrWierszaFa#4", "KodDostawcy|C-3|Fa / FaWiersz / Indeks#2",
             "Ilość|7,00|Fa / FaWiersz / P_8B#4", "Cena|10,00|Fa / FaWiersz / P_9B#1",
             "Wartość|70,00|Fa / FaWiersz / P_11A#1", "VAT|23|Fa / FaWiersz / P_12#2", "Nazwa|c|Fa / FaWiersz / P_7#4",
             "Kolor|czerwony|Fa / DodatkowyOpis#1", "Wzór||Fa / DodatkowyOpis#3"},
        };
        for (int i = 0; i < 3; ++i) {
            const LineDetails line = buildLineDetails(*document, tree, Headers, lines.rows[std::size_t(i)], i + 1);
            QCOMPARE(QString(line.lineRequest).replace(u'\t', u'#'), lineRequests[i]);
            QCOMPARE(rowTexts(line.rows), expected[i]);
        }
        // The tree counts occurrences as the requests do: the fourth P_8B is line 3's.
        const int quantity = tree.findNode(u"Fa / FaWiersz / P_8B", 4);
        QCOMPARE(tree.text(tree.child(quantity, 0)), u"7");
    }

    void everyRowInItsPlace_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::newRow("comma") << QStringLiteral(",");
        QTest::newRow("point") << QStringLiteral(".");
    }
    void everyRowInItsPlace()
    {
        QFETCH(QString, separator);
        TestInvoice invoice;
        invoice.podmiot1 = QStringLiteral(
            "<DaneIdentyfikacyjne><NIP>6891152920</NIP><Nazwa>Żółw Sp. z o.o.</Nazwa></DaneIdentyfikacyjne>"
            "<Adres><KodKraju>PL</KodKraju><AdresL1>ul. Łąkowa 1</AdresL1><AdresL2>30-001 Kraków</AdresL2></Adres>"
            "<DaneKontaktowe><Email>a@b.pl</Email><Telefon>111</Telefon></DaneKontaktowe>"
            "<DaneKontaktowe><Email>drugi@b.pl</Email><Telefon>222</Telefon></DaneKontaktowe>");
        invoice.podmiot2 = QStringLiteral("<DaneIdentyfikacyjne><NIP>3935777054</NIP><Nazwa>Gęś</Nazwa>"
                                          "</DaneIdentyfikacyjne><NrKlienta>K-7</NrKlienta><JST>2</JST><GV>2</GV>");
        invoice.podmiot3 = QStringLiteral(
            "<Podmiot3><DaneIdentyfikacyjne><NIP>1111111111</NIP><Nazwa>Faktor SA</Nazwa></DaneIdentyfikacyjne>"
            "<Rola>1</Rola></Podmiot3><Podmiot3><DaneIdentyfikacyjne><NIP>2222222222</NIP><Nazwa>Odbiorca</Nazwa>"
            "</DaneIdentyfikacyjne><Rola>2</Rola></Podmiot3>");
        invoice.faStart = QStringLiteral(
            "<KodWaluty>EUR</KodWaluty><P_1>2026-01-31</P_1><P_1M>Kraków</P_1M><P_2>FK/1</P_2><P_6>2026-01-30</P_6>");
        invoice.totals = QStringLiteral(
            "<P_13_1>1234.5</P_13_1><P_14_1>283.94</P_14_1><P_14_1W>1206.72</P_14_1W><P_13_2>10</P_13_2>"
            "<P_14_2>0.8</P_14_2><P_14_2W>3.4</P_14_2W><P_13_3>-5</P_13_3><P_14_3>-0.25</P_14_3><P_14_3W>-1.06</P_14_3W>"
            "<P_13_4>7</P_13_4><P_14_4>0</P_14_4><P_14_4W>0.5</P_14_4W><P_13_5>1</P_13_5><P_14_5>2</P_14_5>"
            "<P_13_6_1>8</P_13_6_1><P_13_6_2>3</P_13_6_2><P_13_6_3>4</P_13_6_3><P_13_7>9.9</P_13_7><P_13_8>5</P_13_8>"
            "<P_13_9>6</P_13_9><P_13_10>12</P_13_10><P_13_11>11</P_13_11>"
            "<P_15>1528.99</P_15>");
        invoice.adnotacje.replace(QStringLiteral("<P_18A>2"), QStringLiteral("<P_18A>1"))
            .replace(QStringLiteral("<P_PMarzyN>1</P_PMarzyN>"),
                     QStringLiteral("<P_PMarzy>1</P_PMarzy><P_PMarzy_2>1</P_PMarzy_2>"));
        invoice.kind = QStringLiteral("<RodzajFaktury>KOR</RodzajFaktury>");
        invoice.correction = QStringLiteral(
            "<PrzyczynaKorekty>Zwrot</PrzyczynaKorekty><TypKorekty>2</TypKorekty><DaneFaKorygowanej>"
            "<DataWystFaKorygowanej>2026-01-02</DataWystFaKorygowanej><NrFaKorygowanej>FV/9</NrFaKorygowanej>"
            "<NrKSeFN>1</NrKSeFN></DaneFaKorygowanej><OkresFaKorygowanej>styczeń</OkresFaKorygowanej>"
            "<NrFaKorygowany>FV/9a</NrFaKorygowany>");
        invoice.afterLines = QStringLiteral(
            "<Platnosc><Zaplacono>1</Zaplacono><DataZaplaty>2026-01-31</DataZaplaty>"
            "<TerminPlatnosci><Termin>2026-02-14</Termin></TerminPlatnosci>"
            "<TerminPlatnosci><Termin>2026-02-28</Termin></TerminPlatnosci><FormaPlatnosci>6</FormaPlatnosci>"
            "<RachunekBankowy><NrRB>11111111111111111111111111</NrRB><OpisRachunku>Rachunek EUR</OpisRachunku>"
            "</RachunekBankowy>"
            "<RachunekBankowy><NrRB>22222222222222222222222222</NrRB></RachunekBankowy></Platnosc>");
        invoice.stopka = QStringLiteral("<Informacje><StopkaFaktury>Pierwsza</StopkaFaktury></Informacje>"
                                        "<Informacje><StopkaFaktury>Druga</StopkaFaktury></Informacje>");
        const auto document = validDocument(invoice.toXml());
        QVERIFY(document);
        const QString rate = QStringLiteral("4") + separator + QStringLiteral("250000");
        const HeaderFields fields = buildHeaderFields(*document, rate, separator);
        QVERIFY(!fields.failure);
        const auto n = [&separator](const char *number) { return QString::fromLatin1(number).replace(u'.', separator); };
        QCOMPARE(rowTexts(fields.rows), (QStringList{
            "NIP|6891152920|Podmiot1 / DaneIdentyfikacyjne / NIP",
            "Nazwa|Żółw Sp. z o.o.|Podmiot1 / DaneIdentyfikacyjne / Nazwa",
            "Adres 1|ul. Łąkowa 1|Podmiot1 / Adres / AdresL1", "Adres 2|30-001 Kraków|Podmiot1 / Adres / AdresL2",
            "Miejsce wystawienia|Kraków|Fa / P_1M", "RodzajFaktury|KOR|Fa / RodzajFaktury",
            "VAT Marża|1|Fa / Adnotacje / PMarzy / P_PMarzy", "Data wystawienia|2026-01-31|Fa / P_1",
            "Dokument|FK/1|Fa / P_2", "Nr klienta|K-7|Podmiot2 / NrKlienta", "Data dostawy|2026-01-30|Fa / P_6",
            "Waluta|EUR|Fa / KodWaluty", "Kurs|" + rate + "|",
            "Razem netto 23%|" + n("1234.50") + "|Fa / P_13_1", "Razem netto 8%|" + n("10.00") + "|Fa / P_13_2",
            "Razem netto 5%|" + n("-5.00") + "|Fa / P_13_3", "Razem netto ryczałt taxi|" + n("7.00") + "|Fa / P_13_4",
            "Razem netto OSS|" + n("1.00") + "|Fa / P_13_5", "Razem netto 0%|" + n("8.00") + "|Fa / P_13_6_1",
            "Razem netto 0% WDT|" + n("3.00") + "|Fa / P_13_6_2", "Razem netto 0% eksport|" + n("4.00") + "|Fa / P_13_6_3",
            "Razem netto zw|" + n("9.90") + "|Fa / P_13_7", "Razem netto poza krajem|" + n("5.00") + "|Fa / P_13_8",
            "Razem netto art. 100|" + n("6.00") + "|Fa / P_13_9",
            "Razem netto odwrotne obciążenie|" + n("12.00") + "|Fa / P_13_10",
            "Razem VAT 23%|" + n("283.94") + "|Fa / P_14_1", "Razem VAT 23% PLN|" + n("1206.72") + "|Fa / P_14_1W",
            "Razem VAT 8%|" + n("0.80") + "|Fa / P_14_2", "Razem VAT 8% PLN|" + n("3.40") + "|Fa / P_14_2W",
            "Razem VAT 5%|" + n("-0.25") + "|Fa / P_14_3", "Razem VAT 5% PLN|" + n("-1.06") + "|Fa / P_14_3W",
            "Razem VAT ryczałt taxi|" + n("0.00") + "|Fa / P_14_4", "Razem VAT ryczałt taxi PLN|" + n("0.50") + "|Fa / P_14_4W",
            "Razem VAT OSS|" + n("2.00") + "|Fa / P_14_5",
            "Razem marża|" + n("11.00") + "|Fa / P_13_11", "Razem brutto|" + n("1528.99") + "|Fa / P_15",
            "Zapłacono|w całości|Fa / Platnosc / Zaplacono",
            "Termin płatności|2026-02-14|Fa / Platnosc / TerminPlatnosci / Termin",
            "Forma płatności|Przelew|Fa / Platnosc / FormaPlatnosci",
            "Rachunek EUR|11111111111111111111111111|Fa / Platnosc / RachunekBankowy / NrRB#1",
            "Konto|22222222222222222222222222|Fa / Platnosc / RachunekBankowy / NrRB#2",
            "PrzyczynaKorekty|Zwrot|Fa / PrzyczynaKorekty", "OkresFaKorygowanej|styczeń|Fa / OkresFaKorygowanej",
            "TypKorekty|2|Fa / TypKorekty", "NrFaKorygowany|FV/9a|Fa / NrFaKorygowany", "MPP|1|Fa / Adnotacje / P_18A",
            "StopkaFaktury|Pierwsza|Stopka / Informacje / StopkaFaktury#1",
            "StopkaFaktury|Druga|Stopka / Informacje / StopkaFaktury#2",
            "Email|a@b.pl|Podmiot1 / DaneKontaktowe / Email", "Telefon|111|Podmiot1 / DaneKontaktowe / Telefon",
            "Podmiot3|Faktor SA|Podmiot3 / DaneIdentyfikacyjne / Nazwa", "Rola|Faktor|Podmiot3 / Rola",
        }));
    }

    // The rows one part of the invoice gives, on documents the schema need
    // not accept.
    void rowsOfOnePart_data()
    {
        QTest::addColumn<QString>("xml"); // children of Faktura
        QTest::addColumn<QStringList>("rows");
        const auto payment = [](const QString &inner) {
            return QStringLiteral("<Fa><Platnosc>%1</Platnosc></Fa>").arg(inner);
        };
        QTest::newRow("flags need their texts") << "<Fa><Adnotacje><P_18A>2</P_18A><PMarzy><P_PMarzy>2</P_PMarzy>"
                                                   "</PMarzy></Adnotacje><Platnosc><Zaplacono>0</Zaplacono></Platnosc></Fa>"
                                                << QStringList();
        QTest::newRow("flags are numbers") << "<Fa><Adnotacje><P_18A> 1 </P_18A><PMarzy><P_PMarzy>+1</P_PMarzy>"
                                              "</PMarzy></Adnotacje><Platnosc><Zaplacono>01</Zaplacono></Platnosc></Fa>"
                                           << QStringList{"VAT Marża|+1|Fa / Adnotacje / PMarzy / P_PMarzy",
                                                          "Zapłacono|w całości|Fa / Platnosc / Zaplacono",
                                                          "MPP| 1 |Fa / Adnotacje / P_18A"};

        const auto form = [&payment](const char *name, const char *platnosc, const char *shown) {
            QTest::newRow(name) << payment(QString::fromUtf8(platnosc))
                                << QStringList{QStringLiteral("Forma płatności|%1|Fa / Platnosc / FormaPlatnosci").arg(shown)};
        };
        form("payment 1 is Gotówka", "<FormaPlatnosci>1</FormaPlatnosci>", "Gotówka");
        form("payment 7 is Mobilna", "<FormaPlatnosci>7</FormaPlatnosci>", "Mobilna");
        form("unknown payment code as it stands", "<FormaPlatnosci>8</FormaPlatnosci>", "8");
        form("a fraction is no payment code", "<FormaPlatnosci>6.5</FormaPlatnosci>", "6.5");
        form("payment description instead", "<PlatnoscInna>1</PlatnoscInna><OpisPlatnosci>Kompensata</OpisPlatnosci>",
             "Kompensata");
        form("text payment code falls back to the description",
             "<FormaPlatnosci>gotówka</FormaPlatnosci><OpisPlatnosci>Barter</OpisPlatnosci>", "Barter");
        QTest::newRow("no payment form") << payment("") << QStringList();

        QTest::newRow("bank accounts with and without description or number")
            << payment("<RachunekBankowy><OpisRachunku></OpisRachunku><NrRB>1</NrRB></RachunekBankowy>"
                       "<RachunekBankowy><OpisRachunku>Bez numeru</OpisRachunku></RachunekBankowy>")
            << QStringList{"|1|Fa / Platnosc / RachunekBankowy / NrRB#1", "Bez numeru||Fa / Platnosc / RachunekBankowy / NrRB#2"};
        const QString partial = QStringLiteral("<ZaplataCzesciowa><KwotaZaplatyCzesciowej>%1</KwotaZaplatyCzesciowej></ZaplataCzesciowa>");
        QTest::newRow("partial payments summed") << payment(partial.arg("100") + partial.arg("50.50"))
                                                 << QStringList{"Zapłacono|150,50|Fa / Platnosc / ZaplataCzesciowa"};
        QTest::newRow("partial payments summing to nothing") << payment(partial.arg("100") + partial.arg("-100"))
                                                             << QStringList();
        QTest::newRow("a full and a partial payment") << payment("<Zaplacono>1</Zaplacono>" + partial.arg("1"))
                                                      << QStringList{"Zapłacono|w całości|Fa / Platnosc / Zaplacono",
                                                                     "Zapłacono|1,00|Fa / Platnosc / ZaplataCzesciowa"};

        const QString role = QStringLiteral("<Podmiot3><Rola>%1</Rola></Podmiot3>");
        const QString roleRow = QStringLiteral("Rola|%1|Podmiot3 / Rola");
        QTest::newRow("role 11") << role.arg("11") << QStringList{roleRow.arg("Pracownik")};
        QTest::newRow("role 10.5 halves to even") << role.arg("10.5") << QStringList{roleRow.arg("Członek GV \u2013 odbiorca")};
        QTest::newRow("role 12 has no name") << role.arg("12") << QStringList{roleRow.arg("")};
        QTest::newRow("role too large") << role.arg("99999999999999999999") << QStringList{roleRow.arg("")};
        QTest::newRow("empty role") << role.arg("") << QStringList();
        // The name and the role come from one Podmiot3: the first with a
        // name, else the first of all; tags count the element among its kind.
        QTest::newRow("named, with another role than Rola")
            << "<Podmiot3><DaneIdentyfikacyjne><Nazwa>Pierwszy</Nazwa></DaneIdentyfikacyjne><RolaInna>1</RolaInna>"
               "<OpisRoli>Spedytor</OpisRoli></Podmiot3>"
               "<Podmiot3><DaneIdentyfikacyjne><Nazwa>Drugi</Nazwa></DaneIdentyfikacyjne><Rola>2</Rola></Podmiot3>"
            << QStringList{"Podmiot3|Pierwszy|Podmiot3 / DaneIdentyfikacyjne / Nazwa"};
        QTest::newRow("the second has the name")
            << "<Podmiot3><Rola>2</Rola></Podmiot3>"
               "<Podmiot3><DaneIdentyfikacyjne><Nazwa>Drugi</Nazwa></DaneIdentyfikacyjne><Rola>5</Rola></Podmiot3>"
            << QStringList{"Podmiot3|Drugi|Podmiot3 / DaneIdentyfikacyjne / Nazwa", "Rola|Wystawca faktury|Podmiot3 / Rola#2"};
        QTest::newRow("no party has a name") << role.arg("11") + role.arg("2") << QStringList{roleRow.arg("Pracownik")};
    }
    void rowsOfOnePart()
    {
        QFETCH(QString, xml);
        QFETCH(QStringList, rows);
        QCOMPARE(fieldsOf(xml), rows);
    }

    // The lines' common rate has a row unless it is 1, whatever the
    // separator (the row itself is checked in place above).
    void exchangeRateOfOneHasNoRow()
    {
        QCOMPARE(fieldsOf(QString(), QString(), QStringLiteral(",")), QStringList());
        QCOMPARE(fieldsOf(QString(), QStringLiteral("1,000000"), QStringLiteral(",")), QStringList());
        QCOMPARE(fieldsOf(QString(), QStringLiteral("1.000000"), QStringLiteral(".")), QStringList());
    }

    void overflowStopsTheFillAndKeepsEarlierRows()
    {
        const auto document = unvalidatedDocument(
            QStringLiteral("<Faktura xmlns=\"%1\"><Fa><P_2>X</P_2><Platnosc><ZaplataCzesciowa><KwotaZaplatyCzesciowej>%2"
                           "</KwotaZaplatyCzesciowej></ZaplataCzesciowa></Platnosc></Fa></Faktura>")
                .arg(FaNamespace, QString(100, u'9')));
        const HeaderFields fields = buildHeaderFields(*document, QString(), QStringLiteral(","));
        QVERIFY(fields.failure);
        QCOMPARE(fields.failure->number(), 6);
        QCOMPARE(rowTexts(fields.rows), QStringList{"Dokument|X|Fa / P_2"});
    }

    // One row per corrected invoice, tagged with its occurrence; an
    // ordinary invoice has none.
    void correctedDocuments()
    {
        TestInvoice invoice;
        QVERIFY(buildCorrectedDocuments(*validDocument(invoice.toXml())).rows.empty());
        invoice.correcting(2);
        // The first corrected invoice has a KSeF number.
        const QString outside = QStringLiteral("<NrKSeFN>1</NrKSeFN>");
        invoice.correction.replace(invoice.correction.indexOf(outside), outside.size(),
                                   "<NrKSeF>1</NrKSeF><NrKSeFFaKorygowanej>5265877635-20260131-0100A0A0A0A0-85</NrKSeFFaKorygowanej>");
        const auto document = validDocument(invoice.toXml());
        QVERIFY(document);
        const CorrectedDocuments corrected = buildCorrectedDocuments(*document);
        QVERIFY(!corrected.failure);
        QCOMPARE(corrected.rows.size(), std::size_t(2));
        QCOMPARE(corrected.rows[0].cells(), (QStringList{"2026-01-31", "FV/1/2026", "5265877635-20260131-0100A0A0A0A0-85"}));
        QCOMPARE(corrected.rows[0].tag, QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t1"));
        QCOMPARE(corrected.rows[1].cells(), (QStringList{"2026-02-01", "FV/2/2026", ""}));
        QCOMPARE(corrected.rows[1].tag, QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t2"));
    }

    // Cells of spaces only are left out of a line's status; a tab is text.
    void lineStatusSkipsBlankCellsButKeepsTheirText()
    {
        const QStringList headers{"Lp", "KodDostawcy", "Jm", "Ilość", "Cena", "CenaW", "Wartość", "WartośćW",
                                  "VAT", "Kurs", "Nazwa", "EAN", "GTU", "PKWIU"};
        const ListRow row({"3", "A-17", "szt", "2,00", "5,00", " ", "10,00", "", "23", "", " Długopis ", "\t", "  ", ""});
        QCOMPARE(listRowStatus(StatusStyle::AllColumns, headers, row),
                 QStringLiteral("Lp: 3   KodDostawcy: A-17   Jm: szt   Ilość: 2,00   Cena: 5,00   Wartość: 10,00"
                                "   VAT: 23   Nazwa:  Długopis    EAN: \t"));
        QCOMPARE(listRowStatus(StatusStyle::FieldValue, {"Pole", "Zawartość"}, ListRow({"NIP", "6891152920"})),
                 QStringLiteral("NIP: 6891152920"));
    }
};

QTEST_GUILESS_MAIN(TestLists)
#include "tst_lists.moc"
