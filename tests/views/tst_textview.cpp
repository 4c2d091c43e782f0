#include "load/OfflineResources.h"
#include "views/RevealRequest.h"
#include "views/TextView.h"

#include "support/TestDocuments.h"

#include <QtTest>

using namespace velkor;
using namespace velkor::test;

class TestTextView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    void onePathPerNodeWithoutChildren()
    {
        const auto doc = unvalidatedDocument(QStringLiteral(
            "<Faktura xmlns=\"%1\"><Naglowek><KodFormularza>FA</KodFormularza></Naglowek>"
            "<Fa><P_1>2025-01-31</P_1><Blank> </Blank><FaWiersz><P_7>a / b</P_7><P_8B>2</P_8B></FaWiersz></Fa></Faktura>")
                                                  .arg(FaNamespace));
        const auto shared = std::make_shared<const XmlTree>(XmlTree::build(*doc));
        const XmlTree &tree = *shared;
        const TextView view = TextView::build(shared);
        QCOMPARE(view.wholeText(), QStringLiteral("Naglowek / KodFormularza / FA\r\n"
                                                  "Fa / P_1 / 2025-01-31\r\n"
                                                  "Fa / Blank\r\n"
                                                  "Fa / FaWiersz / P_7 / a / b\r\n"
                                                  "Fa / FaWiersz / P_8B / 2"));
        QCOMPARE(view.lineCount(), 5);
        QCOMPARE(view.lineText(3), QStringLiteral("Fa / FaWiersz / P_7 / a / b"));
        QCOMPARE(view.lineLength(3), 27);
        QCOMPARE(view.maxLineLength(), 29);
        QCOMPARE(view.textBetween(1, 5, 3, 2), QStringLiteral("P_1 / 2025-01-31\r\nFa / Blank\r\nFa"));
        QCOMPARE(view.textBetween(4, 5, 4, 13), QStringLiteral("FaWiersz"));
        // A node's first line: its own, or its first descendant's.
        QCOMPARE(view.firstLineOf(tree.findNode(u"Fa", 1)), 1);
        QCOMPARE(view.firstLineOf(tree.findNode(u"Fa / Blank", 1)), 2);
        QCOMPARE(view.firstLineOf(tree.findNode(u"Fa / FaWiersz", 1)), 3);
        QCOMPARE(view.firstLineOf(tree.findNode(u"Fa / FaWiersz / P_8B", 1)), 4);
        QCOMPARE(view.firstLineOf(-1), -1);
    }

    void emptyTreeGivesEmptyText()
    {
        const TextView view = TextView::build(std::make_shared<XmlTree>());
        QVERIFY(view.wholeText().isEmpty());
        QCOMPARE(view.lineCount(), 0);
    }

    void exactTextOfAnExample()
    {
        QFile file(QDir(examplesFolder()).filePath(QStringLiteral("podstawowa__FA_3_Przyklad_3_netto.xml")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto document = validDocument(QString::fromUtf8(file.readAll()));
        QVERIFY(document);
        const TextView view = TextView::build(std::make_shared<XmlTree>(XmlTree::build(*document)));
        const QStringList expected{
            "Naglowek / KodFormularza / FA",
            "Naglowek / WariantFormularza / 3",
            "Naglowek / DataWytworzeniaFa / 2025-12-02T16:05:51.142Z",
            "Naglowek / SystemInfo / Aplikacja Podatnika KSeF",
            "Podmiot1 / PrefiksPodatnika / PL",
            "Podmiot1 / DaneIdentyfikacyjne / NIP / 5451824119",
            "Podmiot1 / DaneIdentyfikacyjne / Nazwa / test",
            "Podmiot1 / Adres / KodKraju / PL",
            "Podmiot1 / Adres / AdresL1 / test",
            "Podmiot2 / DaneIdentyfikacyjne / NIP / 1111111111",
            "Podmiot2 / DaneIdentyfikacyjne / Nazwa / eestest",
            "Podmiot2 / Adres / KodKraju / PL",
            "Podmiot2 / Adres / AdresL1 / test",
            "Podmiot2 / Adres / AdresL2 / test",
            "Podmiot2 / JST / 2",
            "Podmiot2 / GV / 2",
            "Fa / KodWaluty / PLN",
            "Fa / P_1 / 2025-12-02",
            "Fa / P_1M / test",
            "Fa / P_2 / test/123/test1",
            "Fa / P_6 / 2025-12-02",
            "Fa / P_13_1 / 46",
            "Fa / P_14_1 / 10.58",
            "Fa / P_15 / 56.58",
            "Fa / Adnotacje / P_16 / 2",
            "Fa / Adnotacje / P_17 / 2",
            "Fa / Adnotacje / P_18 / 2",
            "Fa / Adnotacje / P_18A / 2",
            "Fa / Adnotacje / Zwolnienie / P_19N / 1",
            "Fa / Adnotacje / NoweSrodkiTransportu / P_22N / 1",
            "Fa / Adnotacje / P_23 / 2",
            "Fa / Adnotacje / PMarzy / P_PMarzyN / 1",
            "Fa / RodzajFaktury / VAT",
            "Fa / FaWiersz / NrWierszaFa / 1",
            "Fa / FaWiersz / P_7 / test",
            "Fa / FaWiersz / P_8A / szt",
            "Fa / FaWiersz / P_8B / 1",
            "Fa / FaWiersz / P_9A / 23",
            "Fa / FaWiersz / P_11 / 23",
            "Fa / FaWiersz / P_12 / 23",
            "Fa / FaWiersz / NrWierszaFa / 2",
            "Fa / FaWiersz / P_7 / test",
            "Fa / FaWiersz / P_8A / szt",
            "Fa / FaWiersz / P_8B / 1",
            "Fa / FaWiersz / P_9A / 23",
            "Fa / FaWiersz / P_11 / 23",
            "Fa / FaWiersz / P_12 / 23",
        };
        QCOMPARE(view.wholeText(), expected.join(QStringLiteral("\r\n")));
        QCOMPARE(view.lineCount(), 47);
    }

    void revealRequests_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("occurrence");
        QTest::newRow("no tab") << "Podmiot1 / DaneIdentyfikacyjne / NIP" << "Podmiot1 / DaneIdentyfikacyjne / NIP" << 1;
        QTest::newRow("tab and number") << "Fa / FaWiersz\t3" << "Fa / FaWiersz" << 3;
        QTest::newRow("zero means one") << "Fa / FaWiersz\t0" << "Fa / FaWiersz" << 1;
        QTest::newRow("not a number means one") << "Fa / FaWiersz\tx" << "Fa / FaWiersz" << 1;
        QTest::newRow("halves to even") << "Fa\t2.5" << "Fa" << 2;
        QTest::newRow("above half") << "Fa\t2.51" << "Fa" << 3;
        QTest::newRow("last part counts") << "Fa\t7\t4" << "Fa" << 4;
        QTest::newRow("leading number") << "Fa\t12abc" << "Fa" << 12;
        QTest::newRow("too large matches nothing") << "Fa\t99999999999" << "Fa" << INT_MAX;
    }
    void revealRequests()
    {
        QFETCH(QString, request);
        QFETCH(QString, path);
        QFETCH(int, occurrence);
        const RevealRequest parsed = RevealRequest::parse(request);
        QCOMPARE(parsed.path, path);
        QCOMPARE(parsed.occurrence, occurrence);
    }
};

QTEST_GUILESS_MAIN(TestTextView)
#include "tst_textview.moc"
