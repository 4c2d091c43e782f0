#include "load/OfflineResources.h"
#include "views/TreeModel.h"
#include "views/XmlTree.h"

#include "support/TestDocuments.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

QString faktura(const QString &inner)
{
    return QStringLiteral("<Faktura xmlns=\"%1\">%2</Faktura>").arg(FaNamespace, inner);
}

QStringList allPaths(const XmlTree &tree)
{
    QStringList paths;
    for (int node = 0; node < tree.nodeCount(); ++node)
        paths << tree.fullPath(node);
    return paths;
}

} // namespace

class TestXmlTree : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    void cleanNodeText_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("plain") << "abc" << "abc";
        QTest::newRow("line break removed, not replaced") << "ul. A\r\n12" << "ul. A12";
        QTest::newRow("tabs form feeds vertical tabs") << "\ta\x0c" "b\x0b" << "ab";
        QTest::newRow("no-break space joins words") << QStringLiteral("Jan\u00a0Kowalski") << "JanKowalski";
        QTest::newRow("spaces trimmed, inner kept") << "  a  b  " << "a  b";
        QTest::newRow("blank only") << " \r\n\t " << "";
        QTest::newRow("space left after removing a break") << " \n x \n " << "x";
    }
    void cleanNodeText()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QCOMPARE(CleanNodeText(input), output);
    }

    void localName()
    {
        QCOMPARE(LocalName(QStringLiteral("ns2:Faktura")), QStringLiteral("Faktura"));
        QCOMPARE(LocalName(QStringLiteral("Fa")), QStringLiteral("Fa"));
        QCOMPARE(LocalName(QStringLiteral("a:")), QString());
    }

    void outlineFollowsTheDocument()
    {
        const auto doc = unvalidatedDocument(faktura(QStringLiteral(
            "\n  <Naglowek>\n    <KodFormularza kodSystemowy=\"FA (3)\">FA</KodFormularza>\n  </Naglowek>\n"
            "  <Fa>\n    <P_1>2025-01-31</P_1>\n    <Pusty/>\n    <Blank>  \n\t </Blank>\n"
            "    <Adres>ul. A\n12</Adres>\n    <Nazwa>Jan\u00a0Kowalski</Nazwa>\n"
            "    <Uwagi><!-- komentarz --><![CDATA[ dane ]]></Uwagi>\n  </Fa>\n")));
        QVERIFY(doc);
        const XmlTree tree = XmlTree::build(*doc);
        // The root element has no node; attributes never appear; empty
        // elements give nothing; blank-only elements give a childless node.
        QCOMPARE(allPaths(tree), (QStringList{
                                     "Naglowek",
                                     "Naglowek / KodFormularza",
                                     "Naglowek / KodFormularza / FA",
                                     "Fa",
                                     "Fa / P_1",
                                     "Fa / P_1 / 2025-01-31",
                                     "Fa / Blank",
                                     "Fa / Adres",
                                     "Fa / Adres / ul. A12",
                                     "Fa / Nazwa",
                                     "Fa / Nazwa / JanKowalski",
                                     "Fa / Uwagi",
                                     "Fa / Uwagi / komentarz",
                                     "Fa / Uwagi / dane",
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
        const XmlTree tree = XmlTree::build(*doc);
        QCOMPARE(allPaths(tree), (QStringList{"Fa", "Fa / P_2", "Fa / P_2 / FV 1"}));
    }

    void textDirectlyUnderTheRootHasNoNode()
    {
        const auto doc = unvalidatedDocument(faktura(QStringLiteral("luźny tekst<Fa>x</Fa>")));
        const XmlTree tree = XmlTree::build(*doc);
        QCOMPARE(allPaths(tree), (QStringList{"Fa", "Fa / x"}));
    }

    void pathsAreFoundIgnoringCaseWithOccurrences()
    {
        const auto doc = unvalidatedDocument(faktura(QStringLiteral(
            "<Fa><FaWiersz><P_7>Ołówek</P_7></FaWiersz><FaWiersz><P_7>ołówek</P_7><P_8A>szt</P_8A></FaWiersz>"
            "<FaWiersz><P_8A>kg</P_8A></FaWiersz></Fa>")));
        const XmlTree tree = XmlTree::build(*doc);
        QCOMPARE(tree.nodesWithPath(u"fa / fawiersz").size(), std::size_t(3));
        const int second = tree.findNode(u"Fa / FaWiersz", 2);
        QCOMPARE(tree.occurrenceOf(second), 2);
        QCOMPARE(tree.fullPath(tree.findNode(u"FA / FAWIERSZ / P_8A", 2)), QStringLiteral("Fa / FaWiersz / P_8A"));
        QCOMPARE(tree.text(tree.findNode(u"Fa / FaWiersz / P_8A / KG", 1)), u"kg");
        // Texts that differ only in letter case share a path.
        QCOMPARE(tree.nodesWithPath(u"Fa / FaWiersz / P_7 / OŁÓWEK").size(), std::size_t(2));
        QCOMPARE(tree.findNode(u"Fa / FaWiersz", 4), XmlTree::NoNode);
        QCOMPARE(tree.findNode(u"Fa / FaWiersz", 0), XmlTree::NoNode);
        QCOMPARE(tree.findNode(u"Fa / Brak", 1), XmlTree::NoNode);
        QCOMPARE(tree.findNode(u"", 1), XmlTree::NoNode);
        QCOMPARE(tree.findNode(u"Fa / ", 1), XmlTree::NoNode);
    }

    void textsContainingTheSeparatorAndMixedContent()
    {
        const auto doc = unvalidatedDocument(faktura(QStringLiteral(
            "<Fa><Adres>ul. Długa 5 / 7</Adres><Opis>P_1<P_1>x</P_1>P_1</Opis></Fa>")));
        const XmlTree tree = XmlTree::build(*doc);
        const int address = tree.findNode(u"Fa / Adres / ul. Długa 5 / 7", 1);
        QVERIFY(address != XmlTree::NoNode);
        QCOMPARE(tree.occurrenceOf(address), 1);
        // A text and an element with the same full path count together, in
        // enumeration order: text, element, text.
        const std::vector<int> nodes = tree.nodesWithPath(u"Fa / Opis / P_1");
        QCOMPARE(nodes.size(), std::size_t(3));
        QVERIFY(tree.isTextNode(nodes[0]));
        QVERIFY(!tree.isTextNode(nodes[1]));
        QVERIFY(tree.isTextNode(nodes[2]));
        QCOMPARE(tree.occurrenceOf(nodes[2]), 3);
    }

    void elementsMapToTheirNodes()
    {
        const auto doc = unvalidatedDocument(faktura(QStringLiteral(
            "<Fa><FaWiersz><P_8B>1</P_8B></FaWiersz><FaWiersz><P_8B/></FaWiersz><FaWiersz><P_8B>3</P_8B></FaWiersz></Fa>")));
        const XmlTree tree = XmlTree::build(*doc);
        const std::vector<xmlNode *> quantities = doc->select(QStringLiteral("//n:P_8B"));
        QCOMPARE(quantities.size(), std::size_t(3));
        QCOMPARE(tree.occurrenceOf(tree.nodeOf(quantities[0])), 1);
        QCOMPARE(tree.nodeOf(quantities[1]), XmlTree::NoNode); // empty: no node
        QCOMPARE(tree.occurrenceOf(tree.nodeOf(quantities[2])), 2);
        QCOMPARE(tree.nodeOf(doc->root()), XmlTree::NoNode);
        QCOMPARE(tree.source(tree.nodeOf(quantities[2])), quantities[2]);
    }

    void modelPresentsTheTree()
    {
        const auto doc = unvalidatedDocument(faktura(QStringLiteral(
            "<Naglowek><A>1</A></Naglowek><Fa><B>2</B><C><D>3</D></C></Fa>")));
        auto tree = std::make_shared<XmlTree>(XmlTree::build(*doc));
        TreeModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTree(tree);
        QCOMPARE(model.rowCount(), 2);
        const QModelIndex fa = model.index(1, 0);
        QCOMPARE(fa.data().toString(), QStringLiteral("Fa"));
        QCOMPARE(model.rowCount(fa), 2);
        const QModelIndex d = model.index(0, 0, model.index(1, 0, fa));
        QCOMPARE(d.data().toString(), QStringLiteral("D"));
        QCOMPARE(model.parent(model.parent(d)), fa);
        QCOMPARE(model.indexOfNode(model.nodeOf(d)), d);
        model.setTree(nullptr);
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestXmlTree)
#include "tst_xmltree.moc"
