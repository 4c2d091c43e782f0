#include "load/OfflineResources.h"
#include "views/NodeDescription.h"
#include "views/SchemaDescription.h"

#include "support/FakeDesktop.h"
#include "support/TestDocuments.h"

#include "support/TestPaths.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {
// An element path written as the tree writes it.
QStringList elementPath(const char *text)
{
    return QString::fromUtf8(text).split(QStringLiteral(" / "));
}
} // namespace

class TestSchemaDescription : public QObject
{
    Q_OBJECT
    std::unique_ptr<SchemaDocument> m_schema;

private Q_SLOTS:
    void initTestCase()
    {
        m_schema = SchemaDocument::load(schemaFile());
        QVERIFY(m_schema);
    }

    void elementWithEnumeratedTypeListsEveryValueInSchemaOrder()
    {
        QCOMPARE(describeElement(*m_schema, elementPath("Fa / FaWiersz / P_12")),
                 QStringLiteral(
                     "Opis węzła : P_12\r\n"
                     "\r\nStawka podatku. Pole opcjonalne dla przypadków określonych w art. 106e ust. 2, 3, ust. 4 pkt 3 "
                     "i ust. 5 pkt 3 ustawy\r\n"
                     "\r\n23: \r\n"
                     "\r\n22: \r\n"
                     "\r\n8: \r\n"
                     "\r\n7: \r\n"
                     "\r\n5: \r\n"
                     "\r\n4: \r\n"
                     "\r\n3: \r\n"
                     "\r\n0 KR: Stawka 0% w przypadku sprzedaży towarów i świadczenia usług na terytorium kraju "
                     "(z wyłączeniem WDT i eksportu)\r\n"
                     "\r\n0 WDT: Stawka 0% w przypadku wewnątrzwspólnotowej dostawy towarów (WDT) \r\n"
                     "\r\n0 EX: Stawka 0% w przypadku eksportu towarów \r\n"
                     "\r\nzw: zwolnione od podatku\r\n"
                     "\r\noo: odwrotne obciążenie\r\n"
                     "\r\nnp I: niepodlegające opodatkowaniu- dostawy towarów oraz świadczenia usług poza terytorium "
                     "kraju, z wyłączeniem transakcji, o których mowa w art. 100 ust. 1 pkt 4 ustawy oraz OSS\r\n"
                     "\r\nnp II: niepodlegajace opodatkowaniu na terytorium kraju, świadczenie usług o których mowa w "
                     "art. 100 ust. 1 pkt 4 ustawy\r\n"));
    }

    void typeFromTheImportedSchemaGivesNoValues()
    {
        // NIP's type lives in the imported definitions.
        QCOMPARE(describeElement(*m_schema, elementPath("Podmiot1 / DaneIdentyfikacyjne / NIP")),
                 QStringLiteral("Opis węzła : NIP\r\n\r\nIdentyfikator podatkowy NIP\r\n"));
    }

    // The path decides which of several declarations of a name is meant.
    void theDeclarationThePathLeadsTo_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::newRow("seller's address") << "Podmiot1 / Adres" << "Opis węzła : Adres\r\n\r\nAdres podatnika\r\n";
        QTest::newRow("buyer's address")
            << "Podmiot2 / Adres"
            << "Opis węzła : Adres\r\n\r\nAdres nabywcy. Pola opcjonalne dla przypadków określonych w art. 106e "
               "ust. 5 pkt 3 ustawy\r\n";
        QTest::newRow("buyer's e-mail") << "Podmiot2 / DaneKontaktowe / Email"
                                        << "Opis węzła : Email\r\n\r\nAdres e-mail nabywcy\r\n";
        QTest::newRow("no such path: the first of the name")
            << "Podmiot9 / Email" << "Opis węzła : Email\r\n\r\nAdres e-mail podatnika\r\n";
    }
    void theDeclarationThePathLeadsTo()
    {
        QFETCH(QString, path);
        QFETCH(QString, text);
        QCOMPARE(describeElement(*m_schema, path.split(QStringLiteral(" / "))), text);
    }

    void anonymousComplexTypeListsItsChildElements()
    {
        const QString text = describeElement(*m_schema, elementPath("Podmiot1"));
        QVERIFY(text.startsWith(QStringLiteral(
            "Opis węzła : Podmiot1\r\n"
            "\r\nDane podatnika. Imię i nazwisko lub nazwa sprzedawcy towarów lub usług\r\n"
            "\r\nPrefiksPodatnika: Kod (prefiks) podatnika VAT UE dla przypadków określonych w art. 97 ust. 10 pkt 2 i 3 "
            "ustawy oraz w przypadku, o którym mowa w art. 136 ust. 1 pkt 3 ustawy\r\n"
            "\r\nNrEORI: Numer EORI podatnika (sprzedawcy)\r\n"
            "\r\nDaneIdentyfikacyjne: Dane identyfikujące podatnika\r\n"
            "\r\nAdres: Adres podatnika\r\n"
            "\r\nAdresKoresp: Adres korespondencyjny podatnika\r\n"
            "\r\nDaneKontaktowe: Dane kontaktowe podatnika\r\n"
            "\r\nStatusInfoPodatnika: Status podatnika\r\n")));
        // Grandchildren (Email under DaneKontaktowe) are not listed.
        QVERIFY(!text.contains(u"Email"));
    }

    void undeclaredNameGivesTheFirstLineOnly()
    {
        QCOMPARE(describeElement(*m_schema, elementPath("Niezadeklarowany")),
                 QStringLiteral("Opis węzła : Niezadeklarowany\r\n"));
        QCOMPARE(descriptionCaption(QStringLiteral("P_12")), QStringLiteral("Informacje dla: P_12"));
    }

    void handWrittenSchemaCoversTheRemainingRules()
    {
        const QString path = QDir(dataFolder()).filePath(QStringLiteral("descriptions.xsd"));
        const auto schema = SchemaDocument::load(path);
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
        initializeXmlLibrary();
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
        const auto document = validDocument(TestInvoice().toXml());
        const XmlTree tree = XmlTree::build(*document);
        FakeDesktop desktop;
        NodeDescription description(desktop, path);
        description.ShowNodeDescription(tree, 0);
        QVERIFY(QFile::copy(schemaFile(), path)); // appears later: not read again
        description.ShowNodeDescription(tree, 0);
        QVERIFY(desktop.textInfos.isEmpty());
        QVERIFY(desktop.messages.isEmpty());
    }

    void missingOrBrokenSchemaFileLoadsNothing()
    {
        QVERIFY(!SchemaDocument::load(QStringLiteral("/nie/ma/schemaFA3.xsd")));
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("zly.xsd")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<xsd:schema");
        file.close();
        QVERIFY(!SchemaDocument::load(file.fileName()));
    }
};

QTEST_GUILESS_MAIN(TestSchemaDescription)
#include "tst_schemadescription.moc"
