#include "core/load/OfflineResources.h"
#include "core/schema/NodeDescription.h"
#include "core/schema/SchemaDescription.h"
#include "core/tree/RevealRequest.h"
#include "core/tree/TextView.h"
#include "core/tree/XmlTree.h"

#include "fixtures/FakeDesktop.h"
#include "fixtures/TestDocuments.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

std::unique_ptr<InvoiceDocument> faktura(const QString &inner)
{
    return unvalidatedDocument(QStringLiteral("<Faktura xmlns=\"%1\">%2</Faktura>").arg(FaNamespace, inner));
}

QStringList allPaths(const XmlTree &tree)
{
    QStringList paths;
    for (int node = 0; node < tree.nodeCount(); ++node)
        paths << tree.fullPath(node);
    return paths;
}

// An element path written as the tree writes it.
QStringList elementPath(const QString &text)
{
    return text.split(QStringLiteral(" / "));
}

} // namespace

// The structure tree, its text view, reveal requests into it and the schema
// descriptions of its nodes.
class TestXmlTree : public QObject
{
    Q_OBJECT
    std::unique_ptr<SchemaDocument> m_schema;

private Q_SLOTS:
    void initTestCase()
    {
        initializeXmlLibrary();
        m_schema = SchemaDocument::load(schemaFile());
        QVERIFY(m_schema);
    }

    void cleanNodeText_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("plain") << "abc" << "abc";
        QTest::newRow("line break removed, not replaced") << "ul. A\r\n12" << "ul. A12";
        QTest::newRow("tabs form feeds vertical tabs") << "\ta\x0c" "b\x0b" << "ab";
        QTest::newRow("no-break space joins words") << QStringLiteral("Jan\u00a0Kowalski") << "JanKowalski";
        QTest::newRow("spaces trimmed, inner kept") << "  a  b  " << "a  b";
        QTest::newRow("other blanks stay") << QStringLiteral(" \u2003a\u3000 ") << QStringLiteral("\u2003a\u3000");
        QTest::newRow("blank only") << " \r\n\t " << "";
        QTest::newRow("space left after removing a break") << " \n x \n " << "x";
    }
    void cleanNodeText()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QCOMPARE(CleanNodeText(input), output);
    }

    void outlineFollowsTheDocument()
    {
        const auto doc = faktura(QStringLiteral(
            "\n  <Naglowek>\n    <KodFormularza kodSystemowy=\"FA (3)\">FA</KodFormularza>\n  </Naglowek>luźny tekst\n"
            "  <Fa>\n    <P_1>2025-01-31</P_1>\n    <Pusty/>\n    <Blank>  \n\t </Blank>\n"
            "    <Adres>ul. A\n12</Adres>\n    <Nazwa>Jan\u00a0Kowalski</Nazwa>\n"
            "    <Uwagi><!-- komentarz --><![CDATA[ dane ]]></Uwagi>\n  </Fa>\n"));
        QVERIFY(doc);
        const XmlTree tree = XmlTree::build(*doc);
        // The root element and text directly under it have no node;
        // attributes never appear; empty elements give nothing; blank-only
        // elements give a childless node.
        QCOMPARE(allPaths(tree), (QStringList{
                                     "Naglowek", "Naglowek / KodFormularza", "Naglowek / KodFormularza / FA",
                                     "Fa", "Fa / P_1", "Fa / P_1 / 2025-01-31", "Fa / Blank",
                                     "Fa / Adres", "Fa / Adres / ul. A12", "Fa / Nazwa", "Fa / Nazwa / JanKowalski",
                                     "Fa / Uwagi", "Fa / Uwagi / komentarz", "Fa / Uwagi / dane",
                                 }));
        QCOMPARE(tree.childCount(XmlTree::NoNode), 2);
        QCOMPARE(tree.childCount(tree.findNode(u"Fa / Blank", 1)), 0);
        QVERIFY(tree.isTextNode(tree.findNode(u"Fa / P_1 / 2025-01-31", 1)));
        QVERIFY(!tree.isTextNode(tree.findNode(u"Fa / P_1", 1)));
    }

    void prefixedNamesShowTheirLocalName()
    {
        const auto doc = unvalidatedDocument(
            QStringLiteral("<ns2:Faktura xmlns:ns2=\"%1\"><ns2:Fa><ns2:P_2>FV 1</ns2:P_2></ns2:Fa></ns2:Faktura>")
                .arg(FaNamespace));
        QCOMPARE(allPaths(XmlTree::build(*doc)), (QStringList{"Fa", "Fa / P_2", "Fa / P_2 / FV 1"}));
    }

    void pathsAreFoundIgnoringCaseWithOccurrences()
    {
        const auto doc = faktura(QStringLiteral(
            "<Fa><FaWiersz><P_7>Ołówek</P_7></FaWiersz><FaWiersz><P_7>ołówek</P_7><P_8A>szt</P_8A></FaWiersz>"
            "<FaWiersz><P_8A>kg</P_8A></FaWiersz><Adres>ul. Długa 5 / 7</Adres><Opis>P_1<P_1>x</P_1>P_1</Opis></Fa>"));
        const XmlTree tree = XmlTree::build(*doc);
        QCOMPARE(tree.nodesWithPath(u"fa / fawiersz").size(), std::size_t(3));
        QCOMPARE(tree.occurrenceOf(tree.findNode(u"Fa / FaWiersz", 2)), 2);
        QCOMPARE(tree.fullPath(tree.findNode(u"FA / FAWIERSZ / P_8A", 2)), QStringLiteral("Fa / FaWiersz / P_8A"));
        QCOMPARE(tree.text(tree.findNode(u"Fa / FaWiersz / P_8A / KG", 1)), u"kg");
        // Texts that differ only in letter case share a path.
        QCOMPARE(tree.nodesWithPath(u"Fa / FaWiersz / P_7 / OŁÓWEK").size(), std::size_t(2));
        QCOMPARE(tree.findNode(u"Fa / FaWiersz", 4), XmlTree::NoNode);
        QCOMPARE(tree.findNode(u"Fa / FaWiersz", 0), XmlTree::NoNode);
        QCOMPARE(tree.findNode(u"Fa / Brak", 1), XmlTree::NoNode);
        QCOMPARE(tree.findNode(u"", 1), XmlTree::NoNode);
        QCOMPARE(tree.findNode(u"Fa / ", 1), XmlTree::NoNode);
        // A text may hold the separator.
        QCOMPARE(tree.occurrenceOf(tree.findNode(u"Fa / Adres / ul. Długa 5 / 7", 1)), 1);
        // A text and an element with the same full path count together, in
        // enumeration order: text, element, text.
        const std::vector<int> nodes = tree.nodesWithPath(u"Fa / Opis / P_1");
        QCOMPARE(nodes.size(), std::size_t(3));
        QVERIFY(tree.isTextNode(nodes[0]) && !tree.isTextNode(nodes[1]) && tree.isTextNode(nodes[2]));
        QCOMPARE(tree.occurrenceOf(nodes[2]), 3);
    }


    void textViewHasOnePathPerNodeWithoutChildren()
    {
        const auto doc = faktura(QStringLiteral(
            "<Naglowek><KodFormularza>FA</KodFormularza></Naglowek>"
            "<Fa><P_1>2025-01-31</P_1><Blank> </Blank><FaWiersz><P_7>a / b</P_7><P_8B>2</P_8B></FaWiersz></Fa>"));
        const auto tree = std::make_shared<const XmlTree>(XmlTree::build(*doc));
        const TextView view = TextView::build(tree);
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
        QCOMPARE(view.firstLineOf(tree->findNode(u"Fa", 1)), 1);
        QCOMPARE(view.firstLineOf(tree->findNode(u"Fa / Blank", 1)), 2);
        QCOMPARE(view.firstLineOf(tree->findNode(u"Fa / FaWiersz", 1)), 3);
        QCOMPARE(view.firstLineOf(tree->findNode(u"Fa / FaWiersz / P_8B", 1)), 4);
        QCOMPARE(view.firstLineOf(-1), -1);
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

    // The description of the element a path leads to in the schema.
    void descriptions_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        // An enumerated type lists every value in schema order.
        QTest::newRow("enumerated type") << "Fa / FaWiersz / P_12"
            << "Opis węzła : P_12\r\n"
               "\r\nStawka podatku. Pole opcjonalne dla przypadków określonych w art. 106e ust. 2, 3, ust. 4 pkt 3 "
               "i ust. 5 pkt 3 ustawy\r\n"
               "\r\n23: \r\n\r\n22: \r\n\r\n8: \r\n\r\n7: \r\n\r\n5: \r\n\r\n4: \r\n\r\n3: \r\n"
               "\r\n0 KR: Stawka 0% w przypadku sprzedaży towarów i świadczenia usług na terytorium kraju "
               "(z wyłączeniem WDT i eksportu)\r\n"
               "\r\n0 WDT: Stawka 0% w przypadku wewnątrzwspólnotowej dostawy towarów (WDT) \r\n"
               "\r\n0 EX: Stawka 0% w przypadku eksportu towarów \r\n"
               "\r\nzw: zwolnione od podatku\r\n"
               "\r\noo: odwrotne obciążenie\r\n"
               "\r\nnp I: niepodlegające opodatkowaniu- dostawy towarów oraz świadczenia usług poza terytorium "
               "kraju, z wyłączeniem transakcji, o których mowa w art. 100 ust. 1 pkt 4 ustawy oraz OSS\r\n"
               "\r\nnp II: niepodlegajace opodatkowaniu na terytorium kraju, świadczenie usług o których mowa w "
               "art. 100 ust. 1 pkt 4 ustawy\r\n";
        // NIP's type lives in the imported definitions: no values.
        QTest::newRow("type of the imported schema") << "Podmiot1 / DaneIdentyfikacyjne / NIP"
                                                     << "Opis węzła : NIP\r\n\r\nIdentyfikator podatkowy NIP\r\n";
        // A complex type lists its children, not theirs (TerminOpis has three).
        QTest::newRow("child elements") << "Fa / Platnosc / TerminPlatnosci"
            << "Opis węzła : TerminPlatnosci\r\n\r\nTermin: Termin płatności\r\n\r\nTerminOpis: Opis terminu płatności\r\n";
        // The path decides which of several declarations of a name is meant.
        QTest::newRow("seller's address") << "Podmiot1 / Adres" << "Opis węzła : Adres\r\n\r\nAdres podatnika\r\n";
        QTest::newRow("buyer's address")
            << "Podmiot2 / Adres"
            << "Opis węzła : Adres\r\n\r\nAdres nabywcy. Pola opcjonalne dla przypadków określonych w art. 106e "
               "ust. 5 pkt 3 ustawy\r\n";
        QTest::newRow("buyer's e-mail") << "Podmiot2 / DaneKontaktowe / Email"
                                        << "Opis węzła : Email\r\n\r\nAdres e-mail nabywcy\r\n";
        QTest::newRow("no such path: the first of the name")
            << "Podmiot9 / Email" << "Opis węzła : Email\r\n\r\nAdres e-mail podatnika\r\n";
        QTest::newRow("undeclared name: the first line only") << "Niezadeklarowany" << "Opis węzła : Niezadeklarowany\r\n";
    }
    void descriptions()
    {
        QFETCH(QString, path);
        QFETCH(QString, text);
        QCOMPARE(describeElement(*m_schema, elementPath(path)), text);
    }

    void handWrittenSchemaCoversTheRemainingRules()
    {
        const auto schema = SchemaDocument::load(QDir(dataFolder()).filePath(QStringLiteral("descriptions.xsd")));
        QVERIFY(schema);
        QCOMPARE(describeElement(*schema, elementPath("A")),
                 QStringLiteral("Opis węzła : A\r\n\r\nPierwsza deklaracja\r\n"
                                "\r\nB:  z odstępem\ni drugą linią\r\n"
                                "\r\nD: \r\n"));
        QCOMPARE(describeElement(*schema, elementPath("K")),
                 QStringLiteral("Opis węzła : K\r\n\r\n1: jeden\r\n\r\n2: \r\n"));
        // Through a derived type into the base type of the imported file,
        // which is read from the schema's own folder.
        QCOMPARE(describeElement(*schema, elementPath("P / B")),
                 QStringLiteral("Opis węzła : B\r\n\r\nz typu bazowego\r\n"));
        QCOMPARE(describeElement(*schema, elementPath("P / W")), QStringLiteral("Opis węzła : W\r\n\r\nwłasny\r\n"));
    }

    void commandShowsTheSelectedNodesElement()
    {
        const auto document = validDocument(TestInvoice().toXml());
        const XmlTree tree = XmlTree::build(*document);
        FakeDesktop desktop;
        NodeDescription description(desktop, schemaFile());
        const int value = tree.findNode(u"Fa / P_2 / FV/1/2025", 1);
        description.ShowNodeDescription(tree, value);
        QCOMPARE(desktop.textInfos.size(), 1);
        QCOMPARE(desktop.textInfos[0].second, QStringLiteral("Informacje dla: P_2"));
        QCOMPARE(desktop.textInfos[0].first, describeElement(*m_schema, elementPath("Fa / P_2")));
        QCOMPARE(describedElementPath(tree, value), elementPath("Fa / P_2"));
        description.ShowNodeDescription(tree, XmlTree::NoNode);
        description.ShowNodeDescription(XmlTree(), 0);
        QCOMPARE(desktop.textInfos.size(), 1);
    }

    void schemaMissingAtFirstUseShowsNothingForTheRestOfTheRun()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("schemaFA3.xsd"));
        const XmlTree tree = XmlTree::build(*validDocument(TestInvoice().toXml()));
        FakeDesktop desktop;
        NodeDescription description(desktop, path);
        description.ShowNodeDescription(tree, 0);
        QVERIFY(QFile::copy(schemaFile(), path)); // appears later: not read again
        description.ShowNodeDescription(tree, 0);
        QVERIFY(desktop.textInfos.isEmpty());
        QVERIFY(desktop.messages.isEmpty());
        // A missing or broken file loads nothing.
        QVERIFY(!SchemaDocument::load(QStringLiteral("/nie/ma/schemaFA3.xsd")));
        QVERIFY(!SchemaDocument::load(writeTestFile(dir.path(), QStringLiteral("zly.xsd"), "<xsd:schema")));
    }
};

QTEST_GUILESS_MAIN(TestXmlTree)
#include "tst_xmltree.moc"
