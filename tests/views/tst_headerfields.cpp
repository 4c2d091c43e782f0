#include "load/OfflineResources.h"
#include "views/HeaderFields.h"

#include "support/TestDocuments.h"

#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

// A row written as "label | value | tag", TAB in the tag written as "#".
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

class TestHeaderFields : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    void absentElementsLeaveNoRowAndNoGap()
    {
        const auto document = validDocument(TestInvoice().toXml());
        QVERIFY(document);
        const HeaderFields fields = buildHeaderFields(*document, QString(), QStringLiteral(","));
        QVERIFY(!fields.failure);
        QCOMPARE(rowTexts(fields), (QStringList{
                                       "NIP|6891152920|Podmiot1 / DaneIdentyfikacyjne / NIP",
                                       "Nazwa|Sprzedawca Sp. z o.o.|Podmiot1 / DaneIdentyfikacyjne / Nazwa",
                                       "Adres 1|ul. Kwiatowa 1|Podmiot1 / Adres / AdresL1",
                                       "RodzajFaktury|VAT|Fa / RodzajFaktury",
                                       "Data wystawienia|2025-01-31|Fa / P_1",
                                       "Dokument|FV/1/2025|Fa / P_2",
                                       "Waluta|PLN|Fa / KodWaluty",
                                       "Razem brutto|100,00|Fa / P_15",
                                   }));
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
        invoice.podmiot2 = QStringLiteral(
            "<DaneIdentyfikacyjne><NIP>3935777054</NIP><Nazwa>Gęś</Nazwa></DaneIdentyfikacyjne>"
            "<NrKlienta>K-7</NrKlienta><JST>2</JST><GV>2</GV>");
        invoice.podmiot3 = QStringLiteral(
            "<Podmiot3><DaneIdentyfikacyjne><NIP>1111111111</NIP><Nazwa>Faktor SA</Nazwa></DaneIdentyfikacyjne>"
            "<Rola>1</Rola></Podmiot3>"
            "<Podmiot3><DaneIdentyfikacyjne><NIP>2222222222</NIP><Nazwa>Odbiorca</Nazwa></DaneIdentyfikacyjne>"
            "<Rola>2</Rola></Podmiot3>");
        invoice.faStart = QStringLiteral(
            "<KodWaluty>EUR</KodWaluty><P_1>2026-01-31</P_1><P_1M>Kraków</P_1M><P_2>FK/1</P_2><P_6>2026-01-30</P_6>");
        invoice.totals = QStringLiteral(
            "<P_13_1>1234.5</P_13_1><P_14_1>283.94</P_14_1><P_14_1W>1206.72</P_14_1W><P_13_2>10</P_13_2>"
            "<P_14_2>0.8</P_14_2><P_14_2W>3.4</P_14_2W><P_13_3>-5</P_13_3><P_14_3>-0.25</P_14_3><P_14_3W>-1.06</P_14_3W>"
            "<P_13_4>7</P_13_4><P_14_4>0</P_14_4><P_13_6_1>8</P_13_6_1><P_13_7>9.9</P_13_7><P_13_11>11</P_13_11><P_15>1528.99</P_15>");
        invoice.rootAttributes = QStringLiteral("xmlns=\"") + FaNamespace + u'"';
        invoice.adnotacje = QStringLiteral(
            "<P_16>2</P_16><P_17>2</P_17><P_18>2</P_18><P_18A>1</P_18A>"
            "<Zwolnienie><P_19N>1</P_19N></Zwolnienie><NoweSrodkiTransportu><P_22N>1</P_22N></NoweSrodkiTransportu>"
            "<P_23>2</P_23><PMarzy><P_PMarzy>1</P_PMarzy><P_PMarzy_2>1</P_PMarzy_2></PMarzy>");
        invoice.kind = QStringLiteral("<RodzajFaktury>KOR</RodzajFaktury>");
        invoice.correction = QStringLiteral(
            "<PrzyczynaKorekty>Zwrot</PrzyczynaKorekty><TypKorekty>2</TypKorekty>"
            "<DaneFaKorygowanej><DataWystFaKorygowanej>2026-01-02</DataWystFaKorygowanej>"
            "<NrFaKorygowanej>FV/9</NrFaKorygowanej><NrKSeFN>1</NrKSeFN></DaneFaKorygowanej>"
            "<OkresFaKorygowanej>styczeń</OkresFaKorygowanej><NrFaKorygowany>FV/9a</NrFaKorygowany>");
        invoice.afterLines = QStringLiteral(
            "<Platnosc><Zaplacono>1</Zaplacono><DataZaplaty>2026-01-31</DataZaplaty>"
            "<TerminPlatnosci><Termin>2026-02-14</Termin></TerminPlatnosci>"
            "<TerminPlatnosci><Termin>2026-02-28</Termin></TerminPlatnosci>"
            "<FormaPlatnosci>6</FormaPlatnosci>"
            "<RachunekBankowy><NrRB>11111111111111111111111111</NrRB><OpisRachunku>Rachunek EUR</OpisRachunku></RachunekBankowy>"
            "<RachunekBankowy><NrRB>22222222222222222222222222</NrRB></RachunekBankowy>"
            "</Platnosc>");
        invoice.stopka = QStringLiteral(
            "<Informacje><StopkaFaktury>Pierwsza</StopkaFaktury></Informacje>"
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
            "Adres 1|ul. Łąkowa 1|Podmiot1 / Adres / AdresL1",
            "Adres 2|30-001 Kraków|Podmiot1 / Adres / AdresL2",
            "Miejsce wystawienia|Kraków|Fa / P_1M",
            "RodzajFaktury|KOR|Fa / RodzajFaktury",
            "VAT Marża|1|Fa / Adnotacje / PMarzy / P_PMarzy",
            "Data wystawienia|2026-01-31|Fa / P_1",
            "Dokument|FK/1|Fa / P_2",
            "Nr klienta|K-7|Podmiot2 / NrKlienta",
            "Data dostawy|2026-01-30|Fa / P_6",
            "Waluta|EUR|Fa / KodWaluty",
            "Kurs|" + rate + "|",
            "Razem netto 23%|" + n("1234.50") + "|Fa / P_13_1",
            "Razem netto 8%|" + n("10.00") + "|Fa / P_13_2",
            "Razem netto 5%|" + n("-5.00") + "|Fa / P_13_3",
            "Razem netto ryczałt taxi|" + n("7.00") + "|Fa / P_13_4",
            "Razem netto 0%|" + n("8.00") + "|Fa / P_13_6_1",
            "Razem netto zw|" + n("9.90") + "|Fa / P_13_7",
            "Razem VAT 23%|" + n("283.94") + "|Fa / P_14_1",
            "Razem VAT 23% PLN|" + n("1206.72") + "|Fa / P_14_1W",
            "Razem VAT 8%|" + n("0.80") + "|Fa / P_14_2",
            "Razem VAT 8% PLN|" + n("3.40") + "|Fa / P_14_2W",
            "Razem VAT 5%|" + n("-0.25") + "|Fa / P_14_3",
            "Razem VAT 5% PLN|" + n("-1.06") + "|Fa / P_14_3W",
            "Razem marża|" + n("11.00") + "|Fa / P_13_11",
            "Razem brutto|" + n("1528.99") + "|Fa / P_15",
            "Zapłacono|w całości|Fa / Platnosc / Zaplacono",
            "Termin płatności|2026-02-14|Fa / Platnosc / TerminPlatnosci / Termin",
            "Forma płatności|Przelew|Fa / Platnosc / FormaPlatnosci",
            "Rachunek EUR|11111111111111111111111111|Fa / Platnosc / RachunekBankowy / NrRB#1",
            "Konto|22222222222222222222222222|Fa / Platnosc / RachunekBankowy / NrRB#2",
            "PrzyczynaKorekty|Zwrot|Fa / PrzyczynaKorekty",
            "OkresFaKorygowanej|styczeń|Fa / OkresFaKorygowanej",
            "TypKorekty|2|Fa / TypKorekty",
            "NrFaKorygowany|FV/9a|Fa / NrFaKorygowany",
            "MPP|1|Fa / Adnotacje / P_18A",
            "StopkaFaktury|Pierwsza|Stopka / Informacje / StopkaFaktury#1",
            "StopkaFaktury|Druga|Stopka / Informacje / StopkaFaktury#2",
            "Email|a@b.pl|Podmiot1 / DaneKontaktowe / Email",
            "Telefon|111|Podmiot1 / DaneKontaktowe / Telefon",
            "Podmiot3|Faktor SA|Podmiot3 / DaneIdentyfikacyjne / Nazwa",
            "Rola|Faktor|Podmiot3 / Rola",
        }));
    }

    void requiredTextsDecideTheFlagRows()
    {
        const QString fa = QStringLiteral("<Fa><Adnotacje><P_18A>2</P_18A><PMarzy><P_PMarzy>2</P_PMarzy></PMarzy></Adnotacje>"
                                          "<Platnosc><Zaplacono>0</Zaplacono></Platnosc></Fa>");
        QCOMPARE(fieldsOf(fa), QStringList());
    }

    void paymentForms_data()
    {
        QTest::addColumn<QString>("platnosc");
        QTest::addColumn<QStringList>("rows");
        const QString tag = QStringLiteral("|Fa / Platnosc / FormaPlatnosci");
        QTest::newRow("6 is Przelew") << "<FormaPlatnosci>6</FormaPlatnosci>" << QStringList{"Forma płatności|Przelew" + tag};
        QTest::newRow("1 is Gotówka") << "<FormaPlatnosci>1</FormaPlatnosci>" << QStringList{"Forma płatności|Gotówka" + tag};
        QTest::newRow("7 is Mobilna") << "<FormaPlatnosci>7</FormaPlatnosci>" << QStringList{"Forma płatności|Mobilna" + tag};
        QTest::newRow("unknown code as it stands") << "<FormaPlatnosci>8</FormaPlatnosci>" << QStringList{"Forma płatności|8" + tag};
        QTest::newRow("a fraction is no code") << "<FormaPlatnosci>6.5</FormaPlatnosci>" << QStringList{"Forma płatności|6.5" + tag};
        QTest::newRow("description instead")
            << "<PlatnoscInna>1</PlatnoscInna><OpisPlatnosci>Kompensata</OpisPlatnosci>"
            << QStringList{"Forma płatności|Kompensata" + tag};
        QTest::newRow("text code falls back to the description")
            << "<FormaPlatnosci>gotówka</FormaPlatnosci><OpisPlatnosci>Barter</OpisPlatnosci>"
            << QStringList{"Forma płatności|Barter" + tag};
        QTest::newRow("neither") << "" << QStringList();
    }
    void paymentForms()
    {
        QFETCH(QString, platnosc);
        QFETCH(QStringList, rows);
        QCOMPARE(fieldsOf(QStringLiteral("<Fa><Platnosc>") + platnosc + QStringLiteral("</Platnosc></Fa>")), rows);
    }

    void bankAccountsWithAndWithoutDescriptionOrNumber()
    {
        QCOMPARE(fieldsOf(QStringLiteral("<Fa><Platnosc>"
                                         "<RachunekBankowy><OpisRachunku></OpisRachunku><NrRB>1</NrRB></RachunekBankowy>"
                                         "<RachunekBankowy><OpisRachunku>Bez numeru</OpisRachunku></RachunekBankowy>"
                                         "</Platnosc></Fa>")),
                 (QStringList{"|1|Fa / Platnosc / RachunekBankowy / NrRB#1",
                              "Bez numeru||Fa / Platnosc / RachunekBankowy / NrRB#2"}));
    }

    void partialPaymentsAreSummed()
    {
        const auto payments = [](const char *a, const char *b) {
            return QStringLiteral("<Fa><Platnosc><ZaplataCzesciowa><KwotaZaplatyCzesciowej>%1</KwotaZaplatyCzesciowej>"
                                  "</ZaplataCzesciowa><ZaplataCzesciowa><KwotaZaplatyCzesciowej>%2</KwotaZaplatyCzesciowej>"
                                  "</ZaplataCzesciowa></Platnosc></Fa>")
                .arg(QLatin1String(a), QLatin1String(b));
        };
        QCOMPARE(fieldsOf(payments("100", "50.50")), QStringList{"Zapłacono|150,50|Fa / Platnosc / ZaplataCzesciowa"});
        QCOMPARE(fieldsOf(payments("100", "-100")), QStringList());
        // Both a full payment and partial ones: two independent rows.
        QCOMPARE(fieldsOf(QStringLiteral("<Fa><Platnosc><Zaplacono>1</Zaplacono><ZaplataCzesciowa>"
                                         "<KwotaZaplatyCzesciowej>1</KwotaZaplatyCzesciowej></ZaplataCzesciowa></Platnosc></Fa>")),
                 (QStringList{"Zapłacono|w całości|Fa / Platnosc / Zaplacono",
                              "Zapłacono|1,00|Fa / Platnosc / ZaplataCzesciowa"}));
    }

    void rolesOfTheThirdParty()
    {
        const auto role = [](const char *code) {
            return fieldsOf(QStringLiteral("<Podmiot3><Rola>%1</Rola></Podmiot3>").arg(QLatin1String(code)));
        };
        QCOMPARE(role("11"), QStringList{"Rola|Pracownik|Podmiot3 / Rola"});
        QCOMPARE(role("12"), QStringList{"Rola||Podmiot3 / Rola"});
        QCOMPARE(role("7"), QStringList{"Rola|JST \u2013 wystawca|Podmiot3 / Rola"});
        QCOMPARE(role("10.5"), QStringList{"Rola|Członek GV \u2013 odbiorca|Podmiot3 / Rola"}); // halves to even
        QCOMPARE(role("99999999999999999999"), QStringList{"Rola||Podmiot3 / Rola"});
        QCOMPARE(fieldsOf(QStringLiteral("<Podmiot3><Rola></Rola></Podmiot3>")), QStringList());
        QCOMPARE(RoleName(9), QStringLiteral("Członek GV \u2013 wystawca"));
        QCOMPARE(RoleName(0), QString());
    }

    // The name and the role come from one Podmiot3: the first with a name,
    // else the first of all; tags count the element among its kind.
    void thirdPartyAndItsRoleFromOneElement_data()
    {
        QTest::addColumn<QString>("parties");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("named, with another role than Rola")
            << "<Podmiot3><DaneIdentyfikacyjne><Nazwa>Pierwszy</Nazwa></DaneIdentyfikacyjne><RolaInna>1</RolaInna>"
               "<OpisRoli>Spedytor</OpisRoli></Podmiot3>"
               "<Podmiot3><DaneIdentyfikacyjne><Nazwa>Drugi</Nazwa></DaneIdentyfikacyjne><Rola>2</Rola></Podmiot3>"
            << QStringList{"Podmiot3|Pierwszy|Podmiot3 / DaneIdentyfikacyjne / Nazwa"};
        QTest::newRow("the second has the name")
            << "<Podmiot3><Rola>2</Rola></Podmiot3>"
               "<Podmiot3><DaneIdentyfikacyjne><Nazwa>Drugi</Nazwa></DaneIdentyfikacyjne><Rola>5</Rola></Podmiot3>"
            << QStringList{"Podmiot3|Drugi|Podmiot3 / DaneIdentyfikacyjne / Nazwa",
                           "Rola|Wystawca faktury|Podmiot3 / Rola#2"};
        QTest::newRow("none has a name") << "<Podmiot3><Rola>11</Rola></Podmiot3><Podmiot3><Rola>2</Rola></Podmiot3>"
                                         << QStringList{"Rola|Pracownik|Podmiot3 / Rola"};
    }
    void thirdPartyAndItsRoleFromOneElement()
    {
        QFETCH(QString, parties);
        QFETCH(QStringList, rows);
        QCOMPARE(fieldsOf(parties), rows);
    }

    void exchangeRateRowDependsOnTheCommonRate_data()
    {
        QTest::addColumn<QString>("commonRate");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("empty") << "" << "," << QStringList();
        QTest::newRow("4,25 comma") << "4,250000" << "," << QStringList{"Kurs|4,250000|"};
        QTest::newRow("1,05 comma") << "1,050000" << "," << QStringList{"Kurs|1,050000|"};
        QTest::newRow("exactly one") << "1,000000" << "," << QStringList();
        QTest::newRow("point") << "1.050000" << "." << QStringList{"Kurs|1.050000|"};
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

    void publicExampleMatchesFiguresWorkedOutByHand()
    {
        QFile file(QDir(examplesFolder()).filePath(QStringLiteral("podstawowa__FA_3_Przyklad_1.xml")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto document = validDocument(QString::fromUtf8(file.readAll()));
        QVERIFY(document);
        const QStringList rows = rowTexts(buildHeaderFields(*document, QString(), QStringLiteral(",")));
        QCOMPARE(rows, (QStringList{
                           "NIP|6891152920|Podmiot1 / DaneIdentyfikacyjne / NIP",
                           "Nazwa|ABC AGD sp. z o. o.|Podmiot1 / DaneIdentyfikacyjne / Nazwa",
                           "Adres 1|ul. Kwiatowa 1|Podmiot1 / Adres / AdresL1",
                           "RodzajFaktury|VAT|Fa / RodzajFaktury",
                           "Data wystawienia|2025-11-13|Fa / P_1",
                           "Dokument|llcdpk88gk-2025-06-24|Fa / P_2",
                           "Nr klienta|12345|Podmiot2 / NrKlienta",
                           "Waluta|PLN|Fa / KodWaluty",
                           "Razem netto zw|4001,49|Fa / P_13_7",
                           "Razem brutto|4001,49|Fa / P_15",
                           "Forma płatności|Gotówka|Fa / Platnosc / FormaPlatnosci",
                           "Email|example@example.com|Podmiot1 / DaneKontaktowe / Email",
                           "Podmiot3|F.H.U. Grażyna Kowalska|Podmiot3 / DaneIdentyfikacyjne / Nazwa",
                           "Rola|Dodatkowy nabywca|Podmiot3 / Rola",
                       }));
    }
};

QTEST_GUILESS_MAIN(TestHeaderFields)
#include "tst_headerfields.moc"
