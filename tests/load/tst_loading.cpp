#include "load/InvoiceLoader.h"
#include "load/OfflineResources.h"
#include "support/Failure.h"

#include "support/FakeDesktop.h"
#include "support/TestDocuments.h"

#include <QDir>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace velkor;
using namespace velkor::test;

// Reading an invoice: the parser against the schema, the header check, and
// the load as the commands run it (the dialog, the remembered folder, the
// clipboard, the messages).
class TestLoading : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temp;
    std::unique_ptr<QSettings> m_settings;
    FakeDesktop m_desktop;
    QString m_schemaFile;
    QString m_fileName;

    std::unique_ptr<InvoiceDocument> load(LoadSource source)
    {
        LoadEnvironment environment{m_desktop, *m_settings, m_schemaFile};
        m_fileName = QStringLiteral("stale"); // every load sets or empties it
        return PobierzFA3(environment, source, m_fileName);
    }

    QString writeFile(const QString &relative, const QByteArray &bytes)
    {
        return writeTestFile(m_temp.path(), relative, bytes);
    }

    QString storedFolder() const { return m_settings->value(QStringLiteral("Okno/Path")).toString(); }

    // Copies the schema set into folder/sql/, passing each file through edit,
    // and returns the main schema's path, or an empty string when a file of
    // the set cannot be read.
    QString copySchemaSet(const QString &folder, const std::function<void(QByteArray &)> &edit = {})
    {
        const QDir source(schemaFolder());
        for (const QString &name : source.entryList({QStringLiteral("*.xsd")}, QDir::Files)) {
            QByteArray bytes = fileBytes(source.filePath(name));
            if (bytes.isEmpty())
                return {};
            if (edit)
                edit(bytes);
            writeFile(folder + QStringLiteral("/sql/") + name, bytes);
        }
        return m_temp.filePath(folder + QStringLiteral("/sql/schemaFA3.xsd"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        initializeXmlLibrary();
        QVERIFY(m_temp.isValid());
    }

    void init()
    {
        m_settings = std::make_unique<QSettings>(m_temp.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        m_settings->clear();
        m_desktop = FakeDesktop();
        m_schemaFile = schemaFile();
    }

    // The schema fixes both header attributes, so the check is exercised on
    // documents that did not go through validation.
    void headerCheckIgnoresLetterCaseButNotTheVersion_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("passes");
        QTest::newRow("as written") << "" << "" << true;
        QTest::newRow("lower case code") << "\"FA (3)\"" << "\"fa (3)\"" << true;
        QTest::newRow("lower case version") << "\"1-0E\"" << "\"1-0e\"" << true;
        QTest::newRow("other version") << "\"1-0E\"" << "\"1-0F\"" << false;
        QTest::newRow("other form") << "\"FA (3)\"" << "\"FA (2)\"" << false;
        QTest::newRow("code without blank") << "\"FA (3)\"" << "\"FA(3)\"" << false;
        QTest::newRow("no form code") << "KodFormularza" << "Kod" << false;
        QTest::newRow("no version") << "wersjaSchemy=" << "wersja=" << false;
        QTest::newRow("no system code") << "kodSystemowy=" << "kod=" << false;
        QTest::newRow("other namespace") << FaNamespace << "urn:inna" << false;
    }
    void headerCheckIgnoresLetterCaseButNotTheVersion()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, passes);
        QString xml = TestInvoice().toXml();
        QVERIFY(xml.contains(from));
        const auto document = unvalidatedDocument(from.isEmpty() ? xml : xml.replace(from, to));
        QVERIFY(document);
        QCOMPARE(CheckInvoiceHeader(*document), passes);
    }

    // Pasted or read from a file, a text that is no valid invoice names the
    // reason and the line of its first error.
    void invalidTextNamesReasonAndLine_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("reasonPart");
        QTest::addColumn<int>("line");
        QTest::newRow("not XML") << "ala ma kota" << "" << 1;
        TestInvoice invoice;
        invoice.rootAttributes = QStringLiteral("xmlns=\"http://example.com/inna\"");
        QTest::newRow("wrong namespace") << invoice.toXml() << "Faktura" << 2;
        invoice = TestInvoice();
        invoice.faStart.replace(QStringLiteral("2025-01-31"), QStringLiteral("31.01.2025"));
        QTest::newRow("date written the Polish way") << invoice.toXml() << "P_1" << 18;
        // A validity error on line 9 comes before a broken end tag further down.
        invoice = TestInvoice();
        invoice.podmiot1 = QStringLiteral("<Niespodzianka/>\n");
        QTest::newRow("first error in document order")
            << invoice.toXml().replace(QStringLiteral("</Fa>"), QStringLiteral("</Faa>")) << "Niespodzianka" << 9;
        invoice = TestInvoice();
        invoice.faStart = QStringLiteral("<KodWaluty>PLN</KodWaluty>") + QString(70000, u'\n')
                          + QStringLiteral("<P_1>zla-data</P_1><P_2>FV/1</P_2>");
        QTest::newRow("line above 16 bits") << invoice.toXml() << "P_1" << 70017;
        QTest::newRow("public correction 1") << QString::fromUtf8(fileBytes(publicExample("korygujaca__FA_3_Przyklad_1.xml")))
                                             << "TerminOpis" << 138;
        QTest::newRow("public correction 3") << QString::fromUtf8(fileBytes(publicExample("korygujaca__FA_3_Przyklad_3.xml")))
                                             << "NrKSeFFaKorygowanej" << 63;
    }
    void invalidTextNamesReasonAndLine()
    {
        QFETCH(QString, xml);
        QFETCH(QString, reasonPart);
        QFETCH(int, line);
        for (const LoadSource source : {LoadSource::File, LoadSource::Clipboard}) {
            m_desktop = FakeDesktop();
            QString head = QStringLiteral("Błąd FA3\r\nPowód: ");
            if (source == LoadSource::File) {
                m_desktop.dialogResult = QDir::toNativeSeparators(writeFile(QStringLiteral("zle/f.xml"), xml.toUtf8()));
                head = QStringLiteral("Błąd walidacji FA3\r\nPlik: ") + m_desktop.dialogResult + QStringLiteral("\r\nPowód: ");
            } else {
                m_desktop.clipboard = xml;
            }
            QVERIFY(!load(source));
            QVERIFY(m_fileName.isEmpty());
            QCOMPARE(m_desktop.messages.size(), 1);
            const Message &message = m_desktop.messages[0];
            QCOMPARE(message.title, source == LoadSource::File ? QStringLiteral("Otwórz z pliku - błąd")
                                                               : QStringLiteral("Wklej XML - błąd"));
            QCOMPARE(message.icon, MessageIcon::Exclamation);
            QVERIFY2(message.text.startsWith(head) && message.text.contains(reasonPart)
                         && message.text.endsWith(QStringLiteral("\r\nLinia: ") + QString::number(line)),
                     qPrintable(message.text));
        }
        // The folder of a file that failed is remembered all the same.
        QCOMPARE(storedFolder(), QDir::toNativeSeparators(m_temp.filePath(QStringLiteral("zle"))));
    }

    void fileDialogOpensInTheLastFolder()
    {
        QVERIFY(!load(LoadSource::File)); // cancelled: quiet, nothing stored
        QVERIFY(m_desktop.messages.isEmpty());
        QVERIFY(!m_settings->contains(QStringLiteral("Okno/Path")));
        QCOMPARE(m_desktop.dialogCalls,
                 (QList<QStringList>{{"Pliki {.xml)|*.xml", QString(), "Importuj FA3 z pliku XML"}}));

        const QString path = writeFile(QStringLiteral("faktury/2026/f1.xml"), TestInvoice().toXml().toUtf8());
        m_desktop.dialogResult = path;
        QVERIFY(load(LoadSource::File));
        QCOMPARE(m_fileName, QDir::toNativeSeparators(path));
        const QString folder = QDir::toNativeSeparators(m_temp.filePath(QStringLiteral("faktury/2026")));
        QCOMPARE(storedFolder(), folder);
        m_desktop.dialogResult.clear();
        load(LoadSource::File);
        QCOMPARE(m_desktop.dialogCalls.last().at(1), folder);
    }

    void pastedTextLoadsWithoutAFileName()
    {
        QVERIFY(!load(LoadSource::Clipboard));
        QVERIFY(m_fileName.isEmpty());
        QVERIFY(m_desktop.messages.isEmpty()); // an empty clipboard is quiet

        m_desktop.clipboard = TestInvoice().toXml();
        QVERIFY(load(LoadSource::Clipboard));
        QVERIFY(m_fileName.isEmpty());
        QVERIFY(m_desktop.messages.isEmpty());
        QCOMPARE(m_desktop.clipboardWrites, 0); // the clipboard keeps its text
    }

    void brokenSchemaIsAnUnexpectedError_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << false << QByteArray();
        QTest::newRow("empty") << true << QByteArray();
        QTest::newRow("corrupt") << true << QByteArray("<xsd:schema xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><xsd:elem");
        QTest::newRow("not a schema") << true << QByteArray("<?xml version=\"1.0\"?><faktura/>");
    }
    void brokenSchemaIsAnUnexpectedError()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        const QString relative = QStringLiteral("%1/sql/schemaFA3.xsd").arg(QTest::currentDataTag());
        m_schemaFile = exists ? writeFile(relative, content) : m_temp.filePath(relative);
        m_desktop.clipboard = TestInvoice().toXml();
        QVERIFY(!load(LoadSource::Clipboard));
        QCOMPARE(m_desktop.messages.size(), 1);
        const Message &message = m_desktop.messages.first();
        QCOMPARE(message.title, QStringLiteral("Wystąpił błąd"));
        QVERIFY2(message.text.startsWith(QStringLiteral("Wystąpił błąd w procedurze: PobierzFA3\r\n\r\n")),
                 qPrintable(message.text));
        QVERIFY2(exists || message.text.contains(u"schemaFA3.xsd"), qPrintable(message.text));
    }

    // The published schema fixes both header attributes; a schema set that
    // does not (an older or newer one put in sql/) lets the header check
    // speak for itself.
    void headerFailureHasItsOwnMessage()
    {
        m_schemaFile = copySchemaSet(QStringLiteral("luzny"), [](QByteArray &bytes) {
            bytes.replace("fixed=\"FA (3)\"", "").replace("fixed=\"1-0E\"", "");
        });
        QVERIFY(!m_schemaFile.isEmpty());
        TestInvoice invoice;
        invoice.schemaVersion = QStringLiteral("1-0F");

        m_desktop.clipboard = invoice.toXml();
        QVERIFY(!load(LoadSource::Clipboard));
        QCOMPARE(m_desktop.messages.last(),
                 (Message{QStringLiteral("Wklej XML - błąd"), QStringLiteral("Błąd walidacji FA3"), MessageIcon::Exclamation}));

        const QString path = writeFile(QStringLiteral("f3.xml"), invoice.toXml().toUtf8());
        m_desktop.dialogResult = path;
        QVERIFY(!load(LoadSource::File));
        QCOMPARE(m_desktop.messages.last(),
                 (Message{QStringLiteral("Otwórz z pliku - błąd"),
                          QStringLiteral("Błąd walidacji FA3\r\nPlik: ") + QDir::toNativeSeparators(path),
                          MessageIcon::Exclamation}));

        invoice.schemaVersion = QStringLiteral("1-0e");
        m_desktop.clipboard = invoice.toXml();
        QVERIFY(load(LoadSource::Clipboard));
    }

    // The set is compiled once while its files stay as they are, anew when
    // one of them changes, and a schema replaced while the program runs
    // takes effect at the next load.
    void schemaSetIsCompiledAgainWhenAFileChanges()
    {
        m_schemaFile = copySchemaSet(QStringLiteral("zmienny"));
        QVERIFY(!m_schemaFile.isEmpty());
        const auto first = InvoiceSchema::current(m_schemaFile);
        QCOMPARE(InvoiceSchema::current(m_schemaFile), first);
        const QString imported = m_temp.filePath(QStringLiteral("zmienny/sql/ElementarneTypyDanych_v10-0E.xsd"));
        QVERIFY(!writeTestFile(m_temp.path(), imported, fileBytes(imported).replace("Typ znakowy", "Typ tekstowy")).isEmpty());
        const auto second = InvoiceSchema::current(m_schemaFile);
        QVERIFY(second != first);
        QCOMPARE(InvoiceSchema::current(m_schemaFile), second);

        m_desktop.clipboard = TestInvoice().toXml();
        QVERIFY(load(LoadSource::Clipboard));
        writeFile(QStringLiteral("zmienny/sql/schemaFA3.xsd"), QByteArray("<zepsuty/>"));
        QVERIFY(!load(LoadSource::Clipboard));
        QCOMPARE(m_desktop.messages.size(), 1);
    }

    void encodingsKeepPolishLetters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fromFile");
        const auto declaring = [](const char *encoding, const QByteArray &name) {
            TestInvoice invoice;
            invoice.prolog = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n").arg(QLatin1String(encoding));
            return invoice.toXml().toUtf8().replace("Sprzedawca Sp. z o.o.", name);
        };
        const QByteArray name = "Zażółć gęślą jaźń";
        QTest::newRow("utf-8") << declaring("UTF-8", name) << true;
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QTest::newRow("utf-16 with BOM") << QByteArray(utf16(QString::fromUtf8(declaring("UTF-16", name)))) << true;
        // The name encoded by hand from the two code pages' tables.
        QTest::newRow("windows-1250") << declaring("windows-1250", "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1") << true;
        QTest::newRow("ISO-8859-2") << declaring("ISO-8859-2", "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1") << true;
        // Clipboard text is already Unicode: a declaration naming another
        // encoding must not garble it.
        QTest::newRow("clipboard with windows-1250 declaration") << declaring("windows-1250", name) << false;
        QTest::newRow("clipboard with BOM") << "\xEF\xBB\xBF" + declaring("windows-1250", name) << false;
    }
    void encodingsKeepPolishLetters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fromFile);
        const auto document = validDocument(bytes, fromFile);
        QVERIFY(document);
        xmlNode *name = document->selectSingle(QStringLiteral("n:Faktura/n:Podmiot1/n:DaneIdentyfikacyjne/n:Nazwa"));
        QVERIFY(name);
        XmlCharsHandle text(xmlNodeGetContent(name));
        QCOMPARE(fromXml(text), QStringLiteral("Zażółć gęślą jaźń"));
    }

    // Beside n:, the prefixes etd, xsi and xsd resolve; an unbound prefix
    // or a broken expression is a failure, not a silent empty result.
    void xpathPrefixesAreBoundAndErrorsThrow()
    {
        const auto document = validDocument(TestInvoice().toXml());
        QVERIFY(document);
        QCOMPARE(document->select(QStringLiteral("//etd:*|//xsi:*|//xsd:*|n:Faktura/n:Fa/n:P_2")).size(), std::size_t(1));
        QVERIFY_THROWS_EXCEPTION(Failure, document->select(QStringLiteral("n:Faktura/[")));
        QVERIFY_THROWS_EXCEPTION(Failure, document->select(QStringLiteral("q:Faktura")));
    }

    void serializedXmlHasDeclarationAndText()
    {
        const auto document = validDocument(TestInvoice().toXml());
        QVERIFY(document);
        const QString xml = document->serialize();
        QVERIFY(xml.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")));
        QVERIFY(xml.contains(QStringLiteral("<Nazwa>Sprzedawca Sp. z o.o.</Nazwa>")));
        QVERIFY(validDocument(xml)); // what was copied loads again
    }
};

QTEST_GUILESS_MAIN(TestLoading)
#include "tst_loading.moc"
