#include "load/OfflineResources.h"
#include "views/InvoiceLines.h"
#include "views/LineDetails.h"
#include "views/RevealRequest.h"

#include "support/TestDocuments.h"

#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

QStringList rowTexts(const std::vector<ListRow> &rows)
{
    QStringList texts;
    for (const ListRow &row : rows)
        texts << row.cell(0) + u'|' + row.cell(1) + u'|' + QString(row.tag).replace(u'\t', u'#');
    return texts;
}

const QStringList Headers{"Lp", "KodDostawcy", "Jm", "Ilość", "Cena", "CenaW", "Wartość", "WartośćW",
                          "VAT", "Kurs", "Nazwa", "EAN", "GTU", "PKWIU"};

} // namespace

class TestLineDetails : public QObject
{
    Q_OBJECT

    std::unique_ptr<InvoiceDocument> m_document;
    XmlTree m_tree;
    InvoiceLines m_lines;

    // Loads through the schema unless the case needs what the schema forbids.
    void load(const TestInvoice &invoice, bool validate = true)
    {
        m_document = validate ? validDocument(invoice.toXml()) : unvalidatedDocument(invoice.toXml());
        QVERIFY(m_document);
        m_tree = XmlTree::build(*m_document);
        m_lines = buildInvoiceLines(*m_document, QStringLiteral(","));
        QVERIFY(!m_lines.failure);
    }

    LineDetails details(int index)
    {
        return buildLineDetails(*m_document, m_tree, Headers, m_lines.rows[std::size_t(index)], index + 1);
    }

    // The element a request resolves to in the tree, as its node's path and the
    // text below it.
    QString resolve(const QString &request)
    {
        const RevealRequest parsed = RevealRequest::parse(request);
        const int node = m_tree.findNode(parsed.path, parsed.occurrence);
        if (node == XmlTree::NoNode)
            return QStringLiteral("(none)");
        const int value = m_tree.childCount(node) > 0 ? m_tree.child(node, 0) : XmlTree::NoNode;
        return m_tree.fullPath(node) + u'=' + (value == XmlTree::NoNode ? QString() : m_tree.text(value).toString());
    }

private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    void ordinaryLineListsItsNonBlankFields()
    {
        TestInvoice invoice;
        invoice.lines = invoiceLine("1", {{"P_7", "Krzesło"}, {"Indeks", "KR-1"}, {"P_8A", "szt"}, {"P_8B", "3"},
                                          {"P_9A", "12.5"}, {"P_11", "37.5"}, {"P_12", "23"}});
        load(invoice);
        const LineDetails line = details(0);
        QCOMPARE(line.lineRequest, QStringLiteral("Fa / FaWiersz\t1"));
        QCOMPARE(rowTexts(line.rows), (QStringList{
                                          "Lp|1|Fa / FaWiersz / NrWierszaFa#1",
                                          "KodDostawcy|KR-1|Fa / FaWiersz / Indeks#1",
                                          "Jm|szt|Fa / FaWiersz / P_8A#1",
                                          "Ilość|3,00|Fa / FaWiersz / P_8B#1",
                                          "Cena|12,50|Fa / FaWiersz / P_9A#1",
                                          "Wartość|37,50|Fa / FaWiersz / P_11#1",
                                          "VAT|23|Fa / FaWiersz / P_12#1",
                                          "Nazwa|Krzesło|Fa / FaWiersz / P_7#1",
                                      }));
    }

    void lineWithARateListsBothCurrencies()
    {
        TestInvoice invoice;
        invoice.lines = invoiceLine("1", {{"P_7", "x"}, {"P_8B", "1"}, {"P_9A", "10"}, {"P_11", "10"}, {"P_12", "23"},
                                          {"KursWaluty", "4.25"}});
        load(invoice);
        const QStringList rows = rowTexts(details(0).rows);
        QVERIFY(rows.contains(QStringLiteral("Cena|42,50|Fa / FaWiersz / P_9A#1")));
        QVERIFY(rows.contains(QStringLiteral("CenaW|10,00|Fa / FaWiersz / P_9A#1")));
        QVERIFY(rows.contains(QStringLiteral("WartośćW|10,00|Fa / FaWiersz / P_11#1")));
        QVERIFY(rows.contains(QStringLiteral("Kurs|4,250000|Fa / FaWiersz / KursWaluty#1")));
    }

    void correctedLineEndsWithItsBeforeAndAfterFigures()
    {
        TestInvoice invoice;
        invoice.lines =
            invoiceLine("1", {{"P_7", "Pióro"}, {"P_8B", "10"}, {"P_9A", "5"}, {"P_11", "50"}, {"StanPrzed", "1"}})
            + invoiceLine("1", {{"P_7", "Pióro"}, {"P_8B", "8"}, {"P_9A", "5"}, {"P_11", "40"}});
        load(invoice);
        const LineDetails line = details(0);
        // The clicked line is the second FaWiersz of the document.
        QCOMPARE(line.lineRequest, QStringLiteral("Fa / FaWiersz\t2"));
        QCOMPARE(rowTexts(line.rows), (QStringList{
                                          "Lp|1|Fa / FaWiersz / NrWierszaFa#2",
                                          "Ilość|-2,00|Fa / FaWiersz / P_8B#2",
                                          "Cena|5,00|Fa / FaWiersz / P_9A#2",
                                          "Wartość|-10,00|Fa / FaWiersz / P_11#2",
                                          "Nazwa|Pióro|Fa / FaWiersz / P_7#2",
                                          "Ilość po|8,00|",
                                          "Ilość przed|10,00|",
                                          "Cena po|5,00|",
                                          "Cena przed|5,00|",
                                      }));
    }

    void requestsLandOnTheClickedLinesOwnElements()
    {
        // Before-state lines, a missing child and descriptions out of line
        // order all break the match between list position and occurrence.
        TestInvoice invoice;
        invoice.beforeLines = QStringLiteral(
            "<DodatkowyOpis><NrWiersza>3</NrWiersza><Klucz>Kolor</Klucz><Wartosc>czerwony</Wartosc></DodatkowyOpis>"
            "<DodatkowyOpis><NrWiersza>2</NrWiersza><Klucz>Rozmiar</Klucz><Wartosc>XL</Wartosc></DodatkowyOpis>"
            "<DodatkowyOpis><NrWiersza>03</NrWiersza><Klucz>Wzór</Klucz><Wartosc></Wartosc></DodatkowyOpis>"
            "<DodatkowyOpis><NrWiersza>3</NrWiersza><Klucz></Klucz><Wartosc>bez klucza</Wartosc></DodatkowyOpis>");
        // Empty keys and values cannot pass the schema; the details still handle them.
        invoice.lines = invoiceLine("1", {{"P_7", "a"}, {"P_8B", "1"}, {"P_9A", "1"}, {"P_11", "1"}})
                        + invoiceLine("2", {{"P_7", "b"}, {"P_8B", "5"}, {"StanPrzed", "1"}})
                        + invoiceLine("2", {{"P_7", "b"}, {"P_8B", "2"}})
                        + invoiceLine("3", {{"P_7", "c"}, {"Indeks", "C-3"}, {"P_8B", "7"}, {"P_9B", "12.30"},
                                            {"P_11A", "86.10"}, {"P_12", "23"}});
        load(invoice, false);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(m_lines.rows.size(), std::size_t(3));

        const LineDetails third = details(2);
        QCOMPARE(third.lineRequest, QStringLiteral("Fa / FaWiersz\t4"));
        const QStringList rows = rowTexts(third.rows);
        QVERIFY(rows.contains(QStringLiteral("KodDostawcy|C-3|Fa / FaWiersz / Indeks#1")));
        QVERIFY(rows.contains(QStringLiteral("Ilość|7,00|Fa / FaWiersz / P_8B#4")));
        // A price and value taken from the gross figures reveal those.
        QVERIFY(rows.contains(QStringLiteral("Cena|10,00|Fa / FaWiersz / P_9B#1")));
        QVERIFY(rows.contains(QStringLiteral("Wartość|70,00|Fa / FaWiersz / P_11A#1")));
        QVERIFY(rows.contains(QStringLiteral("Kolor|czerwony|Fa / DodatkowyOpis#1")));
        QVERIFY(rows.contains(QStringLiteral("Wzór||Fa / DodatkowyOpis#3")));
        QVERIFY(!rows.join(u' ').contains(u"bez klucza"));
        for (const ListRow &row : third.rows) {
            if (row.tag.isEmpty())
                continue;
            QVERIFY2(resolve(row.tag) != u"(none)", qPrintable(row.tag));
        }
        QCOMPARE(resolve(third.lineRequest), QStringLiteral("Fa / FaWiersz=NrWierszaFa"));
        QCOMPARE(resolve(QStringLiteral("Fa / FaWiersz / P_8B\t4")), QStringLiteral("Fa / FaWiersz / P_8B=7"));

        const LineDetails second = details(1);
        QCOMPARE(second.lineRequest, QStringLiteral("Fa / FaWiersz\t3"));
        QVERIFY(rowTexts(second.rows).contains(QStringLiteral("Rozmiar|XL|Fa / DodatkowyOpis#2")));
        // Its price comes from no element at all: the request falls back to the line.
        QVERIFY(rowTexts(second.rows).contains(QStringLiteral("Cena|0,00|Fa / FaWiersz#3")));
    }

    void descriptionsNeedTheirLineNumber()
    {
        TestInvoice invoice;
        invoice.beforeLines = QStringLiteral(
            "<DodatkowyOpis><Klucz>Ogólny</Klucz><Wartosc>dla całej faktury</Wartosc></DodatkowyOpis>"
            "<DodatkowyOpis><NrWiersza>1</NrWiersza><Klucz>Kolor</Klucz><Wartosc>zielony</Wartosc></DodatkowyOpis>");
        invoice.lines = invoiceLine("1", {{"P_7", "x"}});
        load(invoice);
        const QStringList rows = rowTexts(details(0).rows);
        QVERIFY(rows.contains(QStringLiteral("Kolor|zielony|Fa / DodatkowyOpis#2")));
        QVERIFY(!rows.join(u' ').contains(u"Ogólny"));
    }
};

QTEST_GUILESS_MAIN(TestLineDetails)
#include "tst_linedetails.moc"
