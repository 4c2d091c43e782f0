#include "load/InvoiceLoader.h"
#include "load/InvoiceParser.h"
#include "load/InvoiceSchema.h"
#include "load/OfflineResources.h"
#include "support/Failure.h"

#include "support/FakeDesktop.h"
#include "support/TestInvoices.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

} // namespace

class TestLoading : public QObject
{
    Q_OBJECT

    std::unique_ptr<InvoiceSchema> m_schema;
    QTemporaryDir m_temp;

    ParseOutcome parse(const QByteArray &bytes, TextEncoding encoding = TextEncoding::Declared)
    {
        return parseInvoice(bytes, encoding, *m_schema);
    }

    QString writeFile(const QString &name, const QByteArray &bytes) { return writeTestFile(m_temp.path(), name, bytes); }

    // A document parsed without validation, for the header check alone.
    static InvoiceDocument unvalidated(const QString &xml)
    {
        const QByteArray bytes = xml.toUtf8();
        XmlDocHandle doc(xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr, XML_PARSE_NONET));
        return InvoiceDocument(std::move(doc), FaNamespace);
    }

private Q_SLOTS:
    void initTestCase()
    {
        initializeXmlLibrary();
        QVERIFY(m_temp.isValid());
        m_schema = std::make_unique<InvoiceSchema>(InvoiceSchema::compile(schemaFile()));
        QCOMPARE(m_schema->targetNamespace(), FaNamespace);
    }

    void everyPublicExampleLoadsOrFailsWithItsReason_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("reasonPart");
        QTest::addColumn<int>("line");
        const QDir examples(examplesFolder());
        const QStringList files = examples.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
        QVERIFY2(files.size() >= 11, qPrintable(examples.absolutePath()));
        for (const QString &name : files) {
            if (name == u"korygujaca__FA_3_Przyklad_1.xml")
                QTest::newRow(qPrintable(name)) << examples.filePath(name) << false << "TerminOpis" << 138;
            else if (name == u"korygujaca__FA_3_Przyklad_3.xml")
                QTest::newRow(qPrintable(name)) << examples.filePath(name) << false << "NrKSeFFaKorygowanej" << 63;
            else
                QTest::newRow(qPrintable(name)) << examples.filePath(name) << true << QString() << 0;
        }
    }
    void everyPublicExampleLoadsOrFailsWithItsReason()
    {
        QFETCH(QString, file);
        QFETCH(bool, valid);
        QFETCH(QString, reasonPart);
        QFETCH(int, line);
        QFile input(file);
        QVERIFY(input.open(QIODevice::ReadOnly));
        const ParseOutcome outcome = parse(input.readAll());
        QCOMPARE(bool(outcome.document), valid);
        if (valid) {
            QVERIFY(CheckInvoiceHeader(*outcome.document));
        } else {
            QVERIFY2(outcome.reason.contains(reasonPart), qPrintable(outcome.reason));
            QCOMPARE(outcome.line, line);
        }
    }

    // The schema fixes both header attributes, so the check is exercised on
    // documents that did not go through validation.
    void headerCheckIgnoresLetterCaseButNotTheVersion_data()
    {
        QTest::addColumn<QString>("systemCode");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("passes");
        QTest::newRow("exact") << "FA (3)" << "1-0E" << true;
        QTest::newRow("lower case code") << "fa (3)" << "1-0E" << true;
        QTest::newRow("lower case version") << "FA (3)" << "1-0e" << true;
        QTest::newRow("other version") << "FA (3)" << "1-0F" << false;
        QTest::newRow("other form") << "FA (2)" << "1-0E" << false;
        QTest::newRow("code without blank") << "FA(3)" << "1-0E" << false;
    }
    void headerCheckIgnoresLetterCaseButNotTheVersion()
    {
        QFETCH(QString, systemCode);
        QFETCH(QString, version);
        QFETCH(bool, passes);
        TestInvoice invoice;
        invoice.systemCode = systemCode;
        invoice.schemaVersion = version;
        QCOMPARE(CheckInvoiceHeader(unvalidated(invoice.toXml())), passes);
    }

    void headerCheckFailsWithoutTheElementOrAttributes()
    {
        QString xml = TestInvoice().toXml();
        const auto changed = [this, &xml](const char *from, const char *to) {
            return unvalidated(QString(xml).replace(QLatin1String(from), QLatin1String(to)));
        };
        QVERIFY(CheckInvoiceHeader(changed("", "")));
        QVERIFY(!CheckInvoiceHeader(changed("KodFormularza", "Kod")));
        QVERIFY(!CheckInvoiceHeader(changed("wersjaSchemy=", "wersja=")));
        QVERIFY(!CheckInvoiceHeader(changed("kodSystemowy=", "kod=")));
        QVERIFY(!CheckInvoiceHeader(changed("http://crd.gov.pl/wzor/2025/06/25/13775/", "urn:inna")));
    }

    void wrongNamespaceFailsValidationWithReasonAndLine()
    {
        TestInvoice invoice;
        invoice.rootAttributes = QStringLiteral("xmlns=\"http://example.com/inna\"");
        const ParseOutcome outcome = parse(utf8(invoice.toXml()));
        QVERIFY(!outcome.document);
        QVERIFY2(outcome.reason.contains(u"Faktura"), qPrintable(outcome.reason));
        QCOMPARE(outcome.line, 2);
    }

    void notXmlAtAllFailsWithTheParseErrorAndLine()
    {
        const ParseOutcome outcome = parse("to nie jest XML\n", TextEncoding::Utf8);
        QVERIFY(!outcome.document);
        QVERIFY(!outcome.reason.isEmpty());
        QCOMPARE(outcome.line, 1);

        const ParseOutcome truncated = parse(utf8(TestInvoice().toXml()).left(400));
        QVERIFY(!truncated.document);
        QVERIFY(!truncated.reason.isEmpty());
        QVERIFY(truncated.line > 1);
    }

    void firstErrorInDocumentOrderWins()
    {
        // A validity error on line 9 comes before a broken end tag further down.
        TestInvoice invoice;
        invoice.podmiot1 = QStringLiteral("<Niespodzianka/>\n");
        QString xml = invoice.toXml();
        xml.replace(QStringLiteral("</Fa>"), QStringLiteral("</Faa>"));
        const ParseOutcome outcome = parse(utf8(xml));
        QVERIFY(!outcome.document);
        QVERIFY2(outcome.reason.contains(u"Niespodzianka"), qPrintable(outcome.reason));
        QCOMPARE(outcome.line, 9);
    }

    void lineNumbersAboveSixteenBitsAreExact()
    {
        TestInvoice invoice;
        invoice.faStart = QStringLiteral("<KodWaluty>PLN</KodWaluty>") + QString(70000, u'\n')
                          + QStringLiteral("<P_1>zla-data</P_1><P_2>FV/1</P_2>");
        const ParseOutcome outcome = parse(utf8(invoice.toXml()));
        QVERIFY(!outcome.document);
        QVERIFY2(outcome.reason.contains(u"P_1"), qPrintable(outcome.reason));
        QCOMPARE(outcome.line, 70017);
    }

    void encodingsKeepPolishLetters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        const QString name = QStringLiteral("Zażółć gęślą jaźń");
        TestInvoice invoice;
        invoice.podmiot1.replace(QStringLiteral("Sprzedawca Sp. z o.o."), name);

        QTest::newRow("utf-8") << utf8(invoice.toXml()) << TextEncoding::Declared;

        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        TestInvoice utf16Invoice = invoice;
        utf16Invoice.prolog = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n");
        QTest::newRow("utf-16 with BOM") << QByteArray(utf16(utf16Invoice.toXml())) << TextEncoding::Declared;

        for (const char *codec : {"windows-1250", "ISO-8859-2"}) {
            TestInvoice declared = invoice;
            declared.prolog = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n").arg(QLatin1String(codec));
            // Encode by hand: the Polish letters of the test name in both code pages.
            QByteArray bytes = utf8(declared.toXml());
            const bool cp1250 = QByteArray(codec) == "windows-1250";
            const QList<QPair<QByteArray, char>> letters = {
                {"ż", char(0xBF)}, {"ó", char(0xF3)}, {"ł", char(0xB3)}, {"ć", char(0xE6)},
                {"ę", char(0xEA)}, {"ś", cp1250 ? char(0x9C) : char(0xB6)}, {"ą", cp1250 ? char(0xB9) : char(0xB1)},
                {"ź", cp1250 ? char(0x9F) : char(0xBC)}, {"ń", char(0xF1)}, {"Z", 'Z'}};
            for (const auto &[utf, single] : letters)
                bytes.replace(utf, QByteArray(1, single));
            QTest::newRow(codec) << bytes << TextEncoding::Declared;
        }

        // Clipboard text is already Unicode: a declaration naming another
        // encoding must not garble it.
        TestInvoice pasted = invoice;
        pasted.prolog = QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n");
        QTest::newRow("clipboard with windows-1250 declaration") << utf8(pasted.toXml()) << TextEncoding::Utf8;
        QTest::newRow("clipboard with BOM") << utf8(QChar(0xFEFF) + pasted.toXml()) << TextEncoding::Utf8;
    }
    void encodingsKeepPolishLetters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        const ParseOutcome outcome = parse(bytes, encoding);
        QVERIFY2(outcome.document, qPrintable(outcome.reason));
        xmlNode *name = outcome.document->selectSingle(
            QStringLiteral("n:Faktura/n:Podmiot1/n:DaneIdentyfikacyjne/n:Nazwa"));
        QVERIFY(name);
        XmlCharsHandle text(xmlNodeGetContent(name));
        QCOMPARE(fromXml(text), QStringLiteral("Zażółć gęślą jaźń"));
    }

    void xpathPrefixesAreBound()
    {
        TestInvoice invoice;
        invoice.rootAttributes += QStringLiteral(" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"");
        const ParseOutcome outcome = parse(utf8(invoice.toXml()));
        QVERIFY(outcome.document);
        const InvoiceDocument &doc = *outcome.document;
        QCOMPARE(doc.select(QStringLiteral("n:Faktura/n:Podmiot1/n:DaneIdentyfikacyjne/n:NIP")).size(), std::size_t(1));
        QCOMPARE(doc.select(QStringLiteral("n:Faktura/n:Fa/n:P_2")).size(), std::size_t(1));
        // etd, xsi and xsd resolve (an unbound prefix would be an error).
        QCOMPARE(doc.select(QStringLiteral("//etd:*|//xsi:*|//xsd:*")).size(), std::size_t(0));
        QVERIFY_THROWS_EXCEPTION(Failure, doc.select(QStringLiteral("n:Faktura/[")));
        QVERIFY_THROWS_EXCEPTION(Failure, doc.select(QStringLiteral("q:Faktura")));
    }

    void serializedXmlHasDeclarationAndText()
    {
        const ParseOutcome outcome = parse(utf8(TestInvoice().toXml()));
        QVERIFY(outcome.document);
        const QString xml = outcome.document->serialize();
        QVERIFY(xml.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")));
        QVERIFY(xml.contains(QStringLiteral("<Nazwa>Sprzedawca Sp. z o.o.</Nazwa>")));
        // What was copied loads again.
        QVERIFY(parse(utf8(xml), TextEncoding::Utf8).document);
    }

    void doctypeAloneDoesNotFailButExternalEntitiesAreNeverRead()
    {
        TestInvoice invoice;
        invoice.prolog += QStringLiteral("<!DOCTYPE Faktura [<!ENTITY firma \"Sprzedawca Sp. z o.o.\">]>\n");
        invoice.podmiot1.replace(QStringLiteral("Sprzedawca Sp. z o.o."), QStringLiteral("&firma;"));
        const ParseOutcome internal = parse(utf8(invoice.toXml()));
        QVERIFY2(internal.document, qPrintable(internal.reason));

        const QString secret = writeFile(QStringLiteral("secret.txt"), "TAJNE");
        const int refusedBefore = refusedResourceCount();
        TestInvoice xxe;
        xxe.prolog += QStringLiteral("<!DOCTYPE Faktura [<!ENTITY xxe SYSTEM \"file://%1\">]>\n").arg(secret);
        xxe.podmiot1.replace(QStringLiteral("Sprzedawca Sp. z o.o."), QStringLiteral("&xxe;"));
        const ParseOutcome attack = parse(utf8(xxe.toXml()));
        QVERIFY(refusedResourceCount() > refusedBefore);
        if (attack.document) {
            const QString xml = attack.document->serialize();
            QVERIFY(!xml.contains(u"TAJNE"));
        }
        QVERIFY(!attack.reason.contains(u"TAJNE"));
    }

    void entityBombFailsQuickly()
    {
        QString bomb = QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE Faktura [\n<!ENTITY a0 \"xxxxxxxxxx\">\n");
        for (int i = 1; i <= 12; ++i)
            bomb += QStringLiteral("<!ENTITY a%1 \"&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;\">\n").arg(i).arg(i - 1);
        bomb += QStringLiteral("]>\n<Faktura xmlns=\"%1\">&a12;</Faktura>\n").arg(FaNamespace);
        QElapsedTimer timer;
        timer.start();
        const ParseOutcome outcome = parse(utf8(bomb));
        QVERIFY(!outcome.document);
        QVERIFY(!outcome.reason.isEmpty());
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestLoading)
#include "tst_loading.moc"
