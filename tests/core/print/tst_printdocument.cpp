#include "core/check/InvoiceCheck.h"
#include "core/load/OfflineResources.h"
#include "core/print/AttachmentSections.h"
#include "core/print/FieldWriter.h"
#include "core/print/InvoicePrint.h"
#include "core/print/PrintLabels.h"

#include "fixtures/TestDocuments.h"
#include "fixtures/TestInvoices.h"

#include <QtTest>

using namespace velkor;
using namespace velkor::print;
using namespace velkor::test;

namespace {

PrintDocument printoutOf(const InvoiceDocument &document, const QString &ksefNumber = QString())
{
    const QString comma = QStringLiteral(",");
    const InvoiceLines lines = buildInvoiceLines(document, comma);
    CheckReport check = checkInvoice(document, lines, ksefNumber, comma);
    addVerificationLink(check, document, ksefNumber);
    return buildPrintDocument(document, {lines, check.link, check.caption, ksefNumber, comma});
}

// Every text of the printout, one a line.
QString textOf(const PrintDocument &printout)
{
    QStringList texts{printout.title, printout.number};
    const auto fields = [&](const Fields &list) {
        for (const Field &field : list)
            texts << field.label + QStringLiteral(": ") + field.value;
    };
    fields(printout.titleFields);
    for (const Section &section : printout.sections) {
        texts << section.title;
        for (const Item &item : section.items) {
            if (const Fields *list = std::get_if<Fields>(&item))
                fields(*list);
            if (const Blocks *blocks = std::get_if<Blocks>(&item)) {
                for (const Block &block : *blocks) {
                    texts << block.title;
                    fields(block.fields);
                }
            }
            if (const Table *table = std::get_if<Table>(&item)) {
                texts << table->title << table->header.join(u'|');
                for (const TableRow &row : table->rows)
                    texts << row.cells.join(u'|');
            }
            if (const Paragraph *paragraph = std::get_if<Paragraph>(&item))
                texts << paragraph->text;
        }
    }
    return texts.join(u'\n');
}

QStringList sectionTitles(const PrintDocument &printout)
{
    QStringList titles;
    for (const Section &section : printout.sections)
        titles << section.title;
    return titles;
}

void addExamples()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sections");
    QTest::addColumn<QStringList>("texts");
    const auto own = [](const char *name) { return ownExample(name); };
    const auto shared = [](const char *name) { return publicExample(name); };
    QTest::newRow("ordinary") << own("faktura-podstawowa.xml") << "|Pozycje faktury|Podsumowanie VAT|Płatność|Stopka"
                              << QStringList{"Faktura VAT", "FV/2026/03/017", "Krzesło ogrodowe „Łabędź”\nIndeks: KR-001; "
                                             "GTIN: 5901234123457\nKolor: zielony", "Kwota należności ogółem: 1626,44 PLN",
                                             "23%|1234,50|283,94|1518,44", "Razem|1334,50|291,94|1626,44"};
    QTest::newRow("correcting") << own("faktura-korygujaca.xml") << "|Pozycje faktury|Podsumowanie VAT|Korekta"
                                << QStringList{"Faktura korygująca", "1|przed|Krzesło", "1|po|Krzesło",
                                               "|zmiana|||-2,00|0,00|-199,90|", "|zmiana|||0,00|-4,00|-20,00|",
                                               "2026-03-02|FV/2026/03/017|tak|6891152920-20260302-0A1B2C3D4E5F-41"};
    QTest::newRow("foreign currency") << own("faktura-walutowa.xml") << "|Pozycje faktury|Podsumowanie VAT|Płatność"
                                      << QStringList{"Kurs waluty: 4,281700", "Wartość netto EUR",
                                                     "Kwota należności ogółem: 1340,00 EUR"};
    QTest::newRow("advance") << own("faktura-zaliczkowa.xml")
                             << "|Zamówienie|Podsumowanie VAT|Zaliczki|Płatność|Warunki transakcji"
                             << QStringList{"Faktura zaliczkowa", "Kwota VAT PLN", "3000,00|690,00|2951,86|3690,00",
                                            "Pozycje zamówienia", "1|Pompa ciepła „Żubr” 12 kW\nIndeks: PC-12|szt|1",
                                            "2026-04-02|2000,00|4,2750"};
    QTest::newRow("advance, public") << shared("zaliczkowa__FA_3_Przyklad_1.xml")
                                     << "|Zamówienie|Podsumowanie VAT|Adnotacje|Zaliczki|Rozliczenie|Płatność|"
                                        "Warunki transakcji|Stopka"
                                     << QStringList{"Dokumenty WZ: NR1, Numer2", "Test\ninformacja: tresc",
                                                    "Odwrotne obciążenie: tak", "Mechanizm podzielonej płatności: tak"};
    QTest::newRow("settlement") << shared("rozliczeniowa__FA_3_Przyklad_1.xml")
                                << "|Pozycje faktury|Podsumowanie VAT|Adnotacje|Zaliczki"
                                << QStringList{"Faktura rozliczeniowa", "Metoda kasowa: tak",
                                               "5451824119-20251202-0100A0E87267-21||", "|tak|ABC/TEST/DEF"};
    QTest::newRow("attachment") << shared("zalacznik__FA_3_Zalacznik_Przyklad_1.xml")
                                << "|Pozycje faktury|Podsumowanie VAT|Rozliczenie|Płatność|Informacje dodatkowe|"
                                   "Załącznik: 1. Rozliczenie punktu poboru"
                                << QStringList{"Tabela 1 (część 1 z 2)", "Opłaty|Współczynnik konwersji",
                                               "Paliwo gazowe|11.112", "Nr punktu poboru: 1234567890123456789012"};
    QTest::newRow("third parties") << shared("podstawowa__FA_3_Przyklad_1.xml")
                                   << "|Pozycje faktury|Podsumowanie VAT|Płatność"
                                   << QStringList{"Podmiot trzeci 13", "Opis roli: Obserwator", "Udział: 50%"};
    QTest::newRow("third parties, attachment") << own("faktura-podmioty-zalacznik.xml")
                                               << "|Pozycje faktury|Podsumowanie VAT|Płatność|Warunki transakcji|"
                                                  "Informacje dodatkowe|Stopka|Załącznik: Protokół odbioru urządzeń"
                                               << QStringList{"Rola: Odbiorca", "Opis roli: Poręczyciel zapłaty",
                                                              "Termin płatności: 14 dni od doręczenia faktury",
                                                              "UU_ID: 7c2f0e4a-0001\nNumery seryjne: ZB-2026-0001",
                                                              "Rodzaj transportu: drogowy", "Ładunek: paleta",
                                                              "Tabela 2: Odczyt licznika energii przy odbiorze"};
}

} // namespace

class TestPrintDocument : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    // The sections present, in order (the parties' first, without a
    // title), and key texts and figures; never a remark of the check, not
    // even where it finds the header disagrees (the third parties' example).
    void examples_data() { addExamples(); }
    void examples()
    {
        QFETCH(QString, file);
        QFETCH(QString, sections);
        QFETCH(QStringList, texts);
        const std::unique_ptr<InvoiceDocument> document = validDocument(fileBytes(file), true);
        QVERIFY(document);
        const PrintDocument printout = printoutOf(*document);
        QCOMPARE(sectionTitles(printout).join(u'|'), sections);
        const QString text = textOf(printout);
        for (const QString &expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(expected));
        for (const char *remark : {"Kontrola", "BŁĄD", "UWAGA"})
            QVERIFY2(!text.contains(QLatin1String(remark)), remark);
        QVERIFY(printout.link.startsWith(QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/")));
        QCOMPARE(printout.qrCaption, QStringLiteral("OFFLINE"));
    }

    // A handed-over KSeF number is printed, in the title block and under
    // the QR code, only when its form and check sum are right and it names
    // the seller; else neither it nor its caption is.
    void ksefNumberOnlyWhenSound_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("printed");
        QTest::newRow("sound") << "6891152920-20260302-0A1B2C3D4E5F-41" << true;
        QTest::newRow("wrong check sum") << "6891152920-20260302-0A1B2C3D4E5F-42" << false;
        QTest::newRow("buyer's NIP") << "3935777054-20260302-0A1B2C3D4E5F-7C" << false;
        QTest::newRow("malformed") << "1234567890-20260302-ABCDEF-01" << false;
    }
    void ksefNumberOnlyWhenSound()
    {
        QFETCH(QString, number);
        QFETCH(bool, printed);
        const std::unique_ptr<InvoiceDocument> document = validDocument(fileBytes(ownExample("faktura-podstawowa.xml")), true);
        QVERIFY(document);
        const PrintDocument printout = printoutOf(*document, number);
        const QString text = textOf(printout);
        QCOMPARE(text.contains(QStringLiteral("Numer KSeF: ") + number), printed);
        QCOMPARE(text.contains(number) || text.contains(QStringLiteral("KSeF")), printed);
        QCOMPARE(printout.qrCaption, printed ? number : QString());
    }

    // A corrected line prints before, after and their difference, paired
    // by the value of the line's number; quantities and prices keep every
    // decimal, written or figured. Where the rates differ (a correction of
    // the rate) each line has its rate and its PLN figures as the lines pane
    // has them; the title block gives a rate only when every line has it.
    void correctedLineRows_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("titleRate");
        QTest::addColumn<QStringList>("rows");
        const auto line = [](const char *number, const char *quantity, const char *price, const char *rate, bool before) {
            return invoiceLine(QLatin1String(number), {{"P_7", "x"}, {"P_8B", QLatin1String(quantity)}, {"P_9A", QLatin1String(price)},
                                                       {"P_11", "800"}, {"P_12", "23"}, {"KursWaluty", QLatin1String(rate)},
                                                       {"StanPrzed", before ? "1" : ""}})
                .remove(QStringLiteral("<StanPrzed></StanPrzed>"));
        };
        const QString header = QStringLiteral("Lp.|Stan|Nazwa towaru lub usługi|Ilość|Cena jedn. netto|Wartość netto|Stawka VAT");
        const QString perLine = header + QStringLiteral("|Kurs|Cena jedn. netto PLN|Wartość netto PLN");
        QTest::newRow("decimals") << line("1", "2.561", "10.12345678", "1", true) + line("1", "2.5", "10.5000", "1", false) << ""
                                  << QStringList{header, "1|przed|x|2,561|10,12345678|800,00|23%",
                                                 "1|po|x|2,50|10,5000|800,00|23%", "|zmiana||-0,061|0,37654322|0,00|"};
        QTest::newRow("01 and 1") << line("01", "3", "2", "1", true) + line("1", "1", "2", "1", false) << ""
                                  << QStringList{header, "01|przed|x|3,00|2,00|800,00|23%", "1|po|x|1,00|2,00|800,00|23%",
                                                 "|zmiana||-2,00|0,00|0,00|"};
        QTest::newRow("rate corrected") << line("1", "1", "800", "4.2106", true) + line("1", "1", "800", "4.2142", false) << ""
                                        << QStringList{perLine, "1|przed|x|1,00|800,00|800,00|23%|4,2106|3368,48|3368,48",
                                                       "1|po|x|1,00|800,00|800,00|23%|4,2142|3371,36|3371,36",
                                                       "|zmiana||0,00|0,00|0,00|||2,88|2,88"};
        QTest::newRow("third line's rate")
            << line("1", "1", "800", "4.2", false) + line("2", "1", "800", "4.2", false) + line("3", "1", "800", "4.3", false) << ""
            << QStringList{QString(perLine).remove(QStringLiteral("|Stan")), "1|x|1,00|800,00|800,00|23%|4,20|3360,00|3360,00",
                           "2|x|1,00|800,00|800,00|23%|4,20|3360,00|3360,00", "3|x|1,00|800,00|800,00|23%|4,30|3440,00|3440,00"};
    }
    void correctedLineRows()
    {
        QFETCH(QString, lines);
        QFETCH(QString, titleRate);
        QFETCH(QStringList, rows);
        TestInvoice invoice;
        invoice.faStart.replace(QStringLiteral("PLN"), QStringLiteral("EUR"));
        invoice.correcting(1).lines = lines;
        const std::unique_ptr<InvoiceDocument> document = validDocument(invoice.toXml());
        QVERIFY(document);
        const PrintDocument printout = printoutOf(*document);
        // The header and the rows, one after another, the next section after them.
        QVERIFY2(textOf(printout).contains(rows.join(u'\n') + QStringLiteral("\nPodsumowanie VAT")), qPrintable(textOf(printout)));
        QStringList rates;
        for (const Field &field : printout.titleFields) {
            if (field.label.startsWith(QStringLiteral("Kurs")))
                rates << field.label + QStringLiteral(": ") + field.value;
        }
        QCOMPARE(rates.join(u'\n'), titleRate);
    }

    // Labels and the title say what a figure is on this kind of invoice; a
    // margin-scheme line shows "marża" as its rate; a foreign buyer's
    // country is the one that gave the identifier.
    void labelsByKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("VAT") << "VAT" << "Faktura VAT"
                             << QStringList{"Data dostawy lub wykonania usługi: 2026-01-20", "Kwota należności ogółem: 100,00",
                                            "Kraj nadania identyfikatora: US\nInny identyfikator podatkowy: 12-345",
                                            "1|Obraz|100,00|marża"};
        QTest::newRow("ZAL") << "ZAL" << "Faktura zaliczkowa"
                             << QStringList{"Data otrzymania zapłaty: 2026-01-20", "Kwota otrzymanej zapłaty: 100,00"};
        QTest::newRow("ROZ") << "ROZ" << "Faktura rozliczeniowa" << QStringList{"Kwota pozostała do zapłaty: 100,00"};
        QTest::newRow("KOR") << "KOR" << "Faktura korygująca" << QStringList{"Korekta kwoty należności: 100,00"};
        QTest::newRow("KOR collective") << "KOR<OkresFaKorygowanej>styczeń</OkresFaKorygowanej>" << "Zbiorcza faktura korygująca"
                                        << QStringList{"Okres udzielonego opustu lub obniżki: styczeń"};
        QTest::newRow("KOR_ZAL") << "KOR_ZAL<P_15ZK>50</P_15ZK>" << "Faktura korygująca zaliczkową"
                                 << QStringList{"Data otrzymania zapłaty: 2026-01-20", "Kwota zapłaty przed korektą: 50,00"};
        QTest::newRow("KOR_ROZ") << "KOR_ROZ<P_15ZK>50</P_15ZK>" << "Faktura korygująca rozliczeniową"
                                 << QStringList{"Kwota pozostała do zapłaty przed korektą: 50,00"};
    }
    void labelsByKind()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QStringList, texts);
        TestInvoice invoice;
        const QString code = kind.section(u'<', 0, 0);
        if (code.startsWith(QStringLiteral("KOR")))
            invoice.correcting(1).correction += kind.mid(code.size());
        invoice.kind = QStringLiteral("<RodzajFaktury>%1</RodzajFaktury>").arg(code);
        invoice.faStart += QStringLiteral("<P_6>2026-01-20</P_6>");
        invoice.podmiot2 = QStringLiteral("<DaneIdentyfikacyjne><KodKraju>US</KodKraju><NrID>12-345</NrID><Nazwa>B</Nazwa>"
                                          "</DaneIdentyfikacyjne><Adres><KodKraju>CA</KodKraju><AdresL1>Main 1</AdresL1></Adres>"
                                          "<JST>2</JST><GV>2</GV>");
        invoice.adnotacje.replace(QStringLiteral("<P_PMarzyN>1</P_PMarzyN>"), QStringLiteral("<P_PMarzy>1</P_PMarzy><P_PMarzy_2>1</P_PMarzy_2>"));
        invoice.lines = invoiceLine("1", {{"P_7", "Obraz"}, {"P_11A", "100"}});
        const std::unique_ptr<InvoiceDocument> document = validDocument(invoice.toXml());
        QVERIFY(document);
        const PrintDocument printout = printoutOf(*document);
        QCOMPARE(printout.title, title);
        const QString text = textOf(printout);
        for (const QString &expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(text));
        QCOMPARE(codeName("ZnacznikZaplatyCzesciowej", QStringLiteral("2")), QStringLiteral("zapłacono w całości, w dwóch lub więcej częściach"));
    }

    // A table wider than seven columns is split into parts of at most
    // seven, each repeating the first column; a one-row table and an empty
    // cell come through.
    void wideTablesSplit_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("7 columns") << 7 << QStringList{"0 1 2 3 4 5 6"};
        QTest::newRow("8 columns") << 8 << QStringList{"0 1 2 3 4 5 6", "0 7"};
        QTest::newRow("13 columns") << 13 << QStringList{"0 1 2 3 4 5 6", "0 7 8 9 10 11 12"};
        QTest::newRow("20 columns") << 20
                                    << QStringList{"0 1 2 3 4 5 6", "0 7 8 9 10 11 12", "0 13 14 15 16 17 18", "0 19"};
    }
    void wideTablesSplit()
    {
        QFETCH(int, columns);
        QFETCH(QStringList, parts);
        Table table;
        table.title = QStringLiteral("Tabela 1");
        TableRow row;
        for (int c = 0; c < columns; ++c) {
            table.header << QString::number(c);
            table.align.push_back(Align::Left);
            row.cells << (c == columns - 1 ? QString() : QStringLiteral("w%1").arg(c));
        }
        table.rows.push_back(row);
        const std::vector<Table> split = splitColumns(table, MaxTableColumns);
        QCOMPARE(int(split.size()), parts.size());
        for (int p = 0; p < parts.size(); ++p) {
            const Table &part = split[std::size_t(p)];
            QCOMPARE(part.header.join(u' '), parts[p]);
            QStringList cells; // each under its own header
            for (const QString &header : part.header)
                cells << (header.toInt() == columns - 1 ? QString() : u'w' + header);
            QCOMPARE(part.rows.at(0).cells, cells);
            QCOMPARE(part.title, parts.size() > 1 ? QStringLiteral("Tabela 1 (część %1 z %2)").arg(p + 1).arg(parts.size()) : table.title);
        }
    }
};

QTEST_GUILESS_MAIN(TestPrintDocument)
#include "tst_printdocument.moc"
