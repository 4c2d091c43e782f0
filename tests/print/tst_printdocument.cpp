#include "check/InvoiceCheck.h"
#include "load/OfflineResources.h"
#include "print/AttachmentSections.h"
#include "print/FieldWriter.h"
#include "print/InvoicePrint.h"
#include "print/PrintLabels.h"

#include "support/TestDocuments.h"

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
    return buildPrintDocument(document, {lines, check.sections[VatSummarySection].findings, check.link,
                                         check.caption, ksefNumber, comma});
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
                                               "2026-03-02|FV/2026/03/017|tak|6891152920-20260302-0A1B2C3D4E5F-7A"};
    QTest::newRow("foreign currency") << own("faktura-walutowa.xml") << "|Pozycje faktury|Podsumowanie VAT|Płatność"
                                      << QStringList{"Kurs waluty: 4,281700", "Wartość netto EUR",
                                                     "Kwota należności ogółem: 1340,00 EUR"};
    QTest::newRow("advance") << own("faktura-zaliczkowa.xml")
                             << "|Zamówienie|Podsumowanie VAT|Zaliczki|Płatność|Warunki transakcji"
                             << QStringList{"Faktura zaliczkowa", "Kwota VAT PLN", "3000,00|690,00|2954,37|3690,00",
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
                                   << QStringList{"Podmiot trzeci 13", "Opis roli: Obserwator", "Udział: 50%",
                                                  "BŁĄD Stawka zw, 1 pozycja: P_13_7 4001,49"};
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
    // title), and key texts and figures; a VAT note only where the check
    // finds the header disagrees.
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
        QCOMPARE(text.contains(QStringLiteral("Kontrola faktury:")), text.contains(QStringLiteral("BŁĄD ")));
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

    // Nothing is lost: the value of every element of the invoice that has
    // one of its own is printed (the VAT totals are checked above).
    void everyValueIsPrinted_data() { addExamples(); }
    void everyValueIsPrinted()
    {
        QFETCH(QString, file);
        const std::unique_ptr<InvoiceDocument> document = validDocument(fileBytes(file), true);
        QVERIFY(document);
        const QString text = textOf(printoutOf(*document));
        QStringList missing;
        std::vector<const xmlNode *> pending{document->root()};
        while (!pending.empty()) {
            const xmlNode *element = pending.back();
            pending.pop_back();
            const std::vector<const xmlNode *> children = faChildren(*document, element);
            pending.insert(pending.end(), children.begin(), children.end());
            const QString name = fromXml(element->name);
            if (!children.empty() || name.startsWith(QStringLiteral("P_13_")) || name.startsWith(QStringLiteral("P_14_")))
                continue;
            const QString value = printedValue(element, QStringLiteral(","));
            if (!text.contains(value))
                missing << name + QStringLiteral(" = ") + value;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
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
            QCOMPARE(part.rows.size(), std::size_t(1));
            for (int c = 0; c < part.header.size(); ++c) {
                const int source = part.header[c].toInt();
                QCOMPARE(part.rows[0].cells[c], source == columns - 1 ? QString() : QStringLiteral("w%1").arg(source));
            }
            if (parts.size() > 1)
                QCOMPARE(part.title, QStringLiteral("Tabela 1 (część %1 z %2)").arg(p + 1).arg(parts.size()));
        }
    }
};

QTEST_GUILESS_MAIN(TestPrintDocument)
#include "tst_printdocument.moc"
