#include "commands/StatusText.h"
#include "load/OfflineResources.h"
#include "views/CorrectedDocuments.h"
#include "views/HeaderFields.h"

#include "support/TestDocuments.h"

#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

// A row written as "label|value|tag", TAB in the tag written as "#".
QStringList rowTexts(const HeaderFields &fields)
{
    QStringList texts;
    for (const ListRow &row : fields.rows)
        texts << row.cell(0) + u'|' + row.cell(1) + u'|' + QString(row.tag).replace(u'\t', u'#');
    return texts;
}

// The fields of an invoice that need not pass validation: rules that the
// schema would never let through are still the fill's to handle.
QStringList fieldsOf(const QString &inner, const QString &commonRate = {}, const QString &separator = QStringLiteral(","))
{
    const auto document =
        unvalidatedDocument(QStringLiteral("<Faktura xmlns=\"%1\">%2</Faktura>").arg(FaNamespace, inner));
    return rowTexts(buildHeaderFields(*document, commonRate, separator));
}

} // namespace

// The header list, the corrected documents list and the status bar's text of a row.
class TestHeaderFields : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

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
            "<P_13_4>7</P_13_4><P_14_4>0</P_14_4><P_13_6_1>8</P_13_6_1><P_13_7>9.9</P_13_7><P_13_11>11</P_13_11>"
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
        QCOMPARE(rowTexts(fields), (QStringList{
            "NIP|6891152920|Podmiot1 / DaneIdentyfikacyjne / NIP",
            "Nazwa|Żółw Sp. z o.o.|Podmiot1 / DaneIdentyfikacyjne / Nazwa",
            "Adres 1|ul. Łąkowa 1|Podmiot1 / Adres / AdresL1", "Adres 2|30-001 Kraków|Podmiot1 / Adres / AdresL2",
            "Miejsce wystawienia|Kraków|Fa / P_1M", "RodzajFaktury|KOR|Fa / RodzajFaktury",
            "VAT Marża|1|Fa / Adnotacje / PMarzy / P_PMarzy", "Data wystawienia|2026-01-31|Fa / P_1",
            "Dokument|FK/1|Fa / P_2", "Nr klienta|K-7|Podmiot2 / NrKlienta", "Data dostawy|2026-01-30|Fa / P_6",
            "Waluta|EUR|Fa / KodWaluty", "Kurs|" + rate + "|",
            "Razem netto 23%|" + n("1234.50") + "|Fa / P_13_1", "Razem netto 8%|" + n("10.00") + "|Fa / P_13_2",
            "Razem netto 5%|" + n("-5.00") + "|Fa / P_13_3", "Razem netto ryczałt taxi|" + n("7.00") + "|Fa / P_13_4",
            "Razem netto 0%|" + n("8.00") + "|Fa / P_13_6_1", "Razem netto zw|" + n("9.90") + "|Fa / P_13_7",
            "Razem VAT 23%|" + n("283.94") + "|Fa / P_14_1", "Razem VAT 23% PLN|" + n("1206.72") + "|Fa / P_14_1W",
            "Razem VAT 8%|" + n("0.80") + "|Fa / P_14_2", "Razem VAT 8% PLN|" + n("3.40") + "|Fa / P_14_2W",
            "Razem VAT 5%|" + n("-0.25") + "|Fa / P_14_3", "Razem VAT 5% PLN|" + n("-1.06") + "|Fa / P_14_3W",
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

    void exchangeRateRowDependsOnTheCommonRate_data()
    {
        QTest::addColumn<QString>("commonRate");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("empty") << "" << "," << QStringList();
        QTest::newRow("4,25") << "4,250000" << "," << QStringList{"Kurs|4,250000|"};
        QTest::newRow("exactly one") << "1,000000" << "," << QStringList();
        QTest::newRow("one with point") << "1.000000" << "." << QStringList();
    }
    void exchangeRateRowDependsOnTheCommonRate()
    {
        QFETCH(QString, commonRate);
        QFETCH(QString, separator);
        QFETCH(QStringList, rows);
        QCOMPARE(fieldsOf(QString(), commonRate, separator), rows);
    }

    void labelsFromElementNamesKeepThePrefix()
    {
        const auto document = unvalidatedDocument(QStringLiteral(
            "<ns2:Faktura xmlns:ns2=\"%1\"><ns2:Podmiot1><ns2:DaneIdentyfikacyjne><ns2:NIP>1</ns2:NIP>"
            "</ns2:DaneIdentyfikacyjne></ns2:Podmiot1><ns2:Fa><ns2:P_1>2026-01-01</ns2:P_1></ns2:Fa></ns2:Faktura>")
                                                      .arg(FaNamespace));
        QCOMPARE(rowTexts(buildHeaderFields(*document, QString(), QStringLiteral(","))),
                 (QStringList{"ns2:NIP|1|Podmiot1 / DaneIdentyfikacyjne / NIP", "Data wystawienia|2026-01-01|Fa / P_1"}));
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
        QCOMPARE(rowTexts(fields), QStringList{"Dokument|X|Fa / P_2"});
    }

    // One row per corrected invoice, tagged with its occurrence, and the
    // status bar's text of it; an ordinary invoice has none.
    void correctedDocumentsAndTheirStatus()
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
        const QStringList headers{"Data", "Dokument", "KSEF"};
        QCOMPARE(corrected.rows[0].cells(), (QStringList{"2026-01-31", "FV/1/2026", "5265877635-20260131-0100A0A0A0A0-85"}));
        QCOMPARE(corrected.rows[0].tag, QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t1"));
        QCOMPARE(listRowStatus(StatusStyle::AllColumns, headers, corrected.rows[0]),
                 QStringLiteral("Data: 2026-01-31   Dokument: FV/1/2026   KSEF: 5265877635-20260131-0100A0A0A0A0-85"));
        QCOMPARE(corrected.rows[1].cells(), (QStringList{"2026-02-01", "FV/2/2026", ""}));
        QCOMPARE(corrected.rows[1].tag, QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t2"));
        QCOMPARE(listRowStatus(StatusStyle::AllColumns, headers, corrected.rows[1]),
                 QStringLiteral("Data: 2026-02-01   Dokument: FV/2/2026"));
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

QTEST_GUILESS_MAIN(TestHeaderFields)
#include "tst_headerfields.moc"
