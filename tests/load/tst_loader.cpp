#include "load/InvoiceLoader.h"
#include "load/InvoiceSchema.h"
#include "load/OfflineResources.h"

#include "support/FakeDesktop.h"
#include "support/TestInvoices.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace velkor;
using namespace velkor::test;

// The load as the commands run it: the dialog, the remembered folder, the
// clipboard, the messages.
class TestLoader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temp;
    std::unique_ptr<QSettings> m_settings;
    FakeDesktop m_desktop;
    QString m_schemaFile;

    std::unique_ptr<InvoiceDocument> load(LoadSource source, QString &fileName)
    {
        LoadEnvironment environment{m_desktop, *m_settings, m_schemaFile};
        return PobierzFA3(environment, source, fileName);
    }

    QString writeFile(const QString &relative, const QByteArray &bytes)
    {
        return writeTestFile(m_temp.path(), relative, bytes);
    }

    // Copies the schema set into folder/sql/, passing each file through edit,
    // and returns the main schema's path, or an empty string when a file of
    // the set cannot be read.
    QString copySchemaSet(const QString &folder,
                          const std::function<void(QByteArray &)> &edit = {})
    {
        const QDir source(schemaFolder());
        for (const QString &name : source.entryList({QStringLiteral("*.xsd")}, QDir::Files)) {
            QFile file(source.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                return {};
            QByteArray bytes = file.readAll();
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

    void emptyClipboardFailsQuietly()
    {
        QString fileName = QStringLiteral("stale");
        QVERIFY(!load(LoadSource::Clipboard, fileName));
        QVERIFY(fileName.isEmpty());
        QVERIFY(m_desktop.messages.isEmpty());
    }

    void validClipboardTextLoadsWithoutFileName()
    {
        m_desktop.clipboard = TestInvoice().toXml();
        QString fileName;
        QVERIFY(load(LoadSource::Clipboard, fileName));
        QVERIFY(fileName.isEmpty());
        QVERIFY(m_desktop.messages.isEmpty());
        QCOMPARE(m_desktop.clipboardWrites, 0); // the clipboard keeps its text
    }

    void invalidClipboardTextShowsReasonAndLine()
    {
        m_desktop.clipboard = QStringLiteral("ala ma kota");
        QString fileName;
        QVERIFY(!load(LoadSource::Clipboard, fileName));
        QCOMPARE(m_desktop.messages.size(), 1);
        const Message &message = m_desktop.messages.first();
        QCOMPARE(message.title, QStringLiteral("Wklej XML - błąd"));
        QCOMPARE(message.icon, MessageIcon::Exclamation);
        QVERIFY2(message.text.startsWith(QStringLiteral("Błąd FA3\r\nPowód: ")), qPrintable(message.text));
        QVERIFY(message.text.endsWith(QStringLiteral("\r\nLinia: 1")));
    }

    void cancelledDialogStoresNothing()
    {
        QString fileName;
        QVERIFY(!load(LoadSource::File, fileName));
        QVERIFY(m_desktop.messages.isEmpty());
        QVERIFY(!m_settings->contains(QStringLiteral("Okno/Path")));
        QCOMPARE(m_desktop.dialogCalls.size(), 1);
        QCOMPARE(m_desktop.dialogCalls[0],
                 (QStringList{QStringLiteral("Pliki {.xml)|*.xml"), QString(), QStringLiteral("Importuj FA3 z pliku XML")}));
    }

    void validFileLoadsAndItsFolderIsRemembered()
    {
        const QString path = writeFile(QStringLiteral("faktury/2026/f1.xml"), TestInvoice().toXml().toUtf8());
        m_desktop.dialogResult = path;
        QString fileName;
        QVERIFY(load(LoadSource::File, fileName));
        QCOMPARE(fileName, QDir::toNativeSeparators(path));
        const QString folder = QDir::toNativeSeparators(m_temp.filePath(QStringLiteral("faktury/2026")));
        QCOMPARE(m_settings->value(QStringLiteral("Okno/Path")).toString(), folder);

        m_desktop.dialogResult.clear();
        load(LoadSource::File, fileName);
        QCOMPARE(m_desktop.dialogCalls.last().at(1), folder);
    }

    void invalidFileShowsPathReasonAndLineAndKeepsItsFolder()
    {
        TestInvoice invoice;
        invoice.faStart.replace(QStringLiteral("2025-01-31"), QStringLiteral("31.01.2025"));
        const QString path = writeFile(QStringLiteral("zle/f2.xml"), invoice.toXml().toUtf8());
        m_desktop.dialogResult = path;
        QString fileName;
        QVERIFY(!load(LoadSource::File, fileName));
        QVERIFY(fileName.isEmpty());
        QCOMPARE(m_desktop.messages.size(), 1);
        const Message &message = m_desktop.messages.first();
        QCOMPARE(message.title, QStringLiteral("Otwórz z pliku - błąd"));
        QVERIFY2(message.text.startsWith(QStringLiteral("Błąd walidacji FA3\r\nPlik: ") + QDir::toNativeSeparators(path)
                                         + QStringLiteral("\r\nPowód: ")),
                 qPrintable(message.text));
        QVERIFY2(message.text.contains(u"P_1"), qPrintable(message.text));
        QVERIFY2(message.text.endsWith(QStringLiteral("\r\nLinia: 18")), qPrintable(message.text));
        QCOMPARE(m_settings->value(QStringLiteral("Okno/Path")).toString(),
                 QDir::toNativeSeparators(m_temp.filePath(QStringLiteral("zle"))));
    }

    void unreadableChoicesAreExplained_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << "katalog" << "Wskazana ścieżka jest folderem, nie plikiem.";
        QTest::newRow("missing file") << "nie-ma.xml" << "Plik nie istnieje.";
        QTest::newRow("empty file") << "pusty.xml" << "Plik jest pusty.";
    }
    void unreadableChoicesAreExplained()
    {
        QFETCH(QString, relative);
        QFETCH(QString, reason);
        QDir(m_temp.path()).mkpath(QStringLiteral("katalog"));
        writeFile(QStringLiteral("pusty.xml"), QByteArray());
        const QString path = m_temp.filePath(relative);
        m_desktop.dialogResult = path;
        QString fileName;
        QVERIFY(!load(LoadSource::File, fileName));
        QCOMPARE(m_desktop.messages.size(), 1);
        QCOMPARE(m_desktop.messages.first().text, QStringLiteral("Błąd walidacji FA3\r\nPlik: ")
                                                     + QDir::toNativeSeparators(path) + QStringLiteral("\r\nPowód: ")
                                                     + reason + QStringLiteral("\r\nLinia: 0"));
    }

    void missingSchemaIsReportedAsUnexpectedError()
    {
        m_schemaFile = m_temp.filePath(QStringLiteral("brak/sql/schemaFA3.xsd"));
        m_desktop.clipboard = TestInvoice().toXml();
        QString fileName;
        QVERIFY(!load(LoadSource::Clipboard, fileName));
        QCOMPARE(m_desktop.messages.size(), 1);
        const Message &message = m_desktop.messages.first();
        QCOMPARE(message.title, QStringLiteral("Wystąpił błąd"));
        QVERIFY2(message.text.startsWith(QStringLiteral("Wystąpił błąd w procedurze: PobierzFA3\r\n\r\n")),
                 qPrintable(message.text));
        QVERIFY(message.text.contains(u"schemaFA3.xsd"));
    }

    void brokenSchemaFilesAreReportedAsUnexpectedErrors_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("corrupt") << QByteArray("<xsd:schema xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><xsd:elem");
        QTest::newRow("not a schema") << QByteArray("<?xml version=\"1.0\"?><faktura/>");
    }
    void brokenSchemaFilesAreReportedAsUnexpectedErrors()
    {
        QFETCH(QByteArray, content);
        m_schemaFile = writeFile(QStringLiteral("zepsuty/sql/schemaFA3.xsd"), content);
        m_desktop.clipboard = TestInvoice().toXml();
        QString fileName;
        QVERIFY(!load(LoadSource::Clipboard, fileName));
        QCOMPARE(m_desktop.messages.size(), 1);
        QVERIFY(m_desktop.messages.first().text.startsWith(QStringLiteral("Wystąpił błąd w procedurze: PobierzFA3")));
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
        QString fileName;
        QVERIFY(!load(LoadSource::Clipboard, fileName));
        QCOMPARE(m_desktop.messages.last(),
                 (Message{QStringLiteral("Wklej XML - błąd"), QStringLiteral("Błąd walidacji FA3"), MessageIcon::Exclamation}));

        const QString path = writeFile(QStringLiteral("f3.xml"), invoice.toXml().toUtf8());
        m_desktop.dialogResult = path;
        QVERIFY(!load(LoadSource::File, fileName));
        QCOMPARE(m_desktop.messages.last(),
                 (Message{QStringLiteral("Otwórz z pliku - błąd"),
                          QStringLiteral("Błąd walidacji FA3\r\nPlik: ") + QDir::toNativeSeparators(path),
                          MessageIcon::Exclamation}));

        invoice.schemaVersion = QStringLiteral("1-0e");
        m_desktop.clipboard = invoice.toXml();
        QVERIFY(load(LoadSource::Clipboard, fileName));
    }

    void unchangedSchemaSetIsCompiledOnce()
    {
        const QString main = copySchemaSet(QStringLiteral("staly"));
        QVERIFY(!main.isEmpty());
        const auto first = InvoiceSchema::current(main);
        QCOMPARE(InvoiceSchema::current(main), first);
        // An imported file changes: the set is compiled anew.
        const QString imported = m_temp.filePath(QStringLiteral("staly/sql/ElementarneTypyDanych_v10-0E.xsd"));
        QFile file(imported);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        bytes.replace("Typ znakowy", "Typ tekstowy");
        QVERIFY(file.seek(0));
        file.write(bytes);
        file.close();
        const auto second = InvoiceSchema::current(main);
        QVERIFY(second != first);
        QCOMPARE(InvoiceSchema::current(main), second);
    }

    void schemaReplacedWhileRunningTakesEffectAtTheNextLoad()
    {
        m_schemaFile = copySchemaSet(QStringLiteral("zmienny"));
        QVERIFY(!m_schemaFile.isEmpty());
        m_desktop.clipboard = TestInvoice().toXml();
        QString fileName;
        QVERIFY(load(LoadSource::Clipboard, fileName));
        writeFile(QStringLiteral("zmienny/sql/schemaFA3.xsd"), QByteArray("<zepsuty/>"));
        QVERIFY(!load(LoadSource::Clipboard, fileName));
        QCOMPARE(m_desktop.messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestLoader)
#include "tst_loader.moc"
