#include "commands/StatusText.h"
#include "load/OfflineResources.h"
#include "views/CorrectedDocuments.h"

#include "support/TestDocuments.h"

#include <QtTest>

using namespace velkor;
using namespace velkor::test;

class TestCorrectedDocuments : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    void ordinaryInvoiceHasNone()
    {
        const auto document = validDocument(TestInvoice().toXml());
        const CorrectedDocuments corrected = buildCorrectedDocuments(*document);
        QVERIFY(!corrected.failure);
        QVERIFY(corrected.rows.empty());
    }

    void oneRowPerCorrectedInvoiceWithOccurrenceTags()
    {
        TestInvoice invoice;
        invoice.kind = QStringLiteral("<RodzajFaktury>KOR</RodzajFaktury>");
        invoice.correction = QStringLiteral(
            "<PrzyczynaKorekty>Rabat</PrzyczynaKorekty>"
            "<DaneFaKorygowanej><DataWystFaKorygowanej>2026-01-31</DataWystFaKorygowanej>"
            "<NrFaKorygowanej>FV/1/2026</NrFaKorygowanej><NrKSeF>1</NrKSeF>"
            "<NrKSeFFaKorygowanej>5265877635-20260131-0100A0A0A0A0-85</NrKSeFFaKorygowanej></DaneFaKorygowanej>"
            "<DaneFaKorygowanej><DataWystFaKorygowanej>2026-02-01</DataWystFaKorygowanej>"
            "<NrFaKorygowanej>FV/2/2026</NrFaKorygowanej><NrKSeFN>1</NrKSeFN></DaneFaKorygowanej>");
        const auto document = validDocument(invoice.toXml());
        QVERIFY(document);
        const CorrectedDocuments corrected = buildCorrectedDocuments(*document);
        QCOMPARE(corrected.rows.size(), std::size_t(2));
        QCOMPARE(corrected.rows[0].cells(),
                 (QStringList{"2026-01-31", "FV/1/2026", "5265877635-20260131-0100A0A0A0A0-85"}));
        QCOMPARE(corrected.rows[0].tag, QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t1"));
        QCOMPARE(corrected.rows[1].cells(), (QStringList{"2026-02-01", "FV/2/2026", ""}));
        QCOMPARE(corrected.rows[1].tag, QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t2"));

        const QStringList headers{"Data", "Dokument", "KSEF"};
        QCOMPARE(listRowStatus(StatusStyle::AllColumns, headers, corrected.rows[0]),
                 QStringLiteral("Data: 2026-01-31   Dokument: FV/1/2026   KSEF: 5265877635-20260131-0100A0A0A0A0-85"));
        QCOMPARE(listRowStatus(StatusStyle::AllColumns, headers, corrected.rows[1]),
                 QStringLiteral("Data: 2026-02-01   Dokument: FV/2/2026"));
    }

    void lineStatusSkipsBlankCellsButKeepsTheirText()
    {
        const QStringList headers{"Lp", "KodDostawcy", "Jm", "Ilość", "Cena", "CenaW", "Wartość", "WartośćW",
                                  "VAT", "Kurs", "Nazwa", "EAN", "GTU", "PKWIU"};
        ListRow row;
        row.setCells(QStringList{"3", "A-17", "szt", "2,00", "5,00", " ", "10,00", "", "23", "", " Długopis ", "", "", ""});
        QCOMPARE(listRowStatus(StatusStyle::AllColumns, headers, row),
                 QStringLiteral("Lp: 3   KodDostawcy: A-17   Jm: szt   Ilość: 2,00   Cena: 5,00   Wartość: 10,00"
                                "   VAT: 23   Nazwa:  Długopis "));
        ListRow field;
        field.setCells({"NIP", "6891152920"});
        QCOMPARE(listRowStatus(StatusStyle::FieldValue, {"Pole", "Zawartość"}, field), QStringLiteral("NIP: 6891152920"));
    }
};

QTEST_GUILESS_MAIN(TestCorrectedDocuments)
#include "tst_correcteddocuments.moc"
