#include "commands/CommandDispatch.h"
#include "load/InvoiceLoader.h"
#include "load/OfflineResources.h"

#include "support/FakeDesktop.h"
#include "support/TestInvoices.h"
#include "support/TestPaths.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

using namespace velkor;
using namespace velkor::test;

namespace {

// Files these inputs point at; nothing may ever read them.
QString g_decoyFolder;

QString decoy(const char *name)
{
    return QDir(g_decoyFolder).filePath(QLatin1String(name));
}

QByteArray invoiceWith(const QString &prolog, const QString &name = QStringLiteral("Sprzedawca Sp. z o.o."))
{
    TestInvoice invoice;
    invoice.prolog += prolog;
    invoice.podmiot1.replace(QStringLiteral("Sprzedawca Sp. z o.o."), name);
    return invoice.toXml().toUtf8();
}

QByteArray nested(int depth)
{
    QByteArray xml = "<Faktura xmlns=\"http://crd.gov.pl/wzor/2025/06/25/13775/\">";
    for (int i = 0; i < depth; ++i)
        xml += "<a>";
    for (int i = 0; i < depth; ++i)
        xml += "</a>";
    return xml + "</Faktura>";
}

// A hostile input is refused within a few seconds; the sanitizers slow
// libxml2's text handling about fourfold.
#if defined(VELKOR_SANITIZED_BUILD)
constexpr qint64 TimeLimitMs = 20000;
#else
constexpr qint64 TimeLimitMs = 5000;
#endif

qint64 peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

} // namespace

// Inputs an attacker or a broken exporter produces, through the file and the
// clipboard: each is refused with a message, quickly, with bounded memory,
// and nothing outside the invoice is read or fetched. (The wrapper script of
// this test runs it under strace to see the last two.)
class TestHostile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temp;
    QTemporaryDir m_decoys;
    std::unique_ptr<QSettings> m_settings;
    FakeDesktop m_desktop;

    std::unique_ptr<InvoiceDocument> load(LoadSource source)
    {
        LoadEnvironment environment{m_desktop, *m_settings, schemaFile()};
        QString fileName;
        return PobierzFA3(environment, source, fileName);
    }

    QString write(const QString &name, const QByteArray &bytes) { return writeTestFile(m_temp.path(), name, bytes); }

private Q_SLOTS:
    void initTestCase()
    {
        initializeXmlLibrary();
        QVERIFY(m_temp.isValid() && m_decoys.isValid());
        // The wrapper script names the folder, to watch it under strace.
        g_decoyFolder = qEnvironmentVariable("VELKOR_DECOY_DIR", m_decoys.path());
        QDir().mkpath(g_decoyFolder);
        for (const char *name : {"secret.txt", "evil.dtd", "param.ent"}) {
            QFile file(decoy(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(name) == "param.ent" ? "<!ENTITY leak 'TAJNE'>" : "TAJNE");
        }
        m_settings = std::make_unique<QSettings>(m_temp.filePath(QStringLiteral("velkor.ini")), QSettings::IniFormat);
        // Let the schema compile once before anything is timed.
        m_desktop.clipboard = TestInvoice().toXml();
        QVERIFY(load(LoadSource::Clipboard));
    }

    void init() { m_desktop = FakeDesktop(); }

    void refusedWithAMessage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reasonPart");

        QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE Faktura [\n<!ENTITY a0 \"laugh\">\n";
        for (int i = 1; i <= 15; ++i)
            bomb += QStringLiteral("<!ENTITY a%1 \"&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;\">\n").arg(i).arg(i - 1).toUtf8();
        bomb += "]>\n<Faktura xmlns=\"http://crd.gov.pl/wzor/2025/06/25/13775/\">&a15;</Faktura>\n";
        QTest::newRow("entity expansion bomb") << bomb << QString();

        QByteArray quadratic = "<?xml version=\"1.0\"?>\n<!DOCTYPE Faktura [<!ENTITY big \"" + QByteArray(50000, 'x')
                               + "\">]>\n<Faktura xmlns=\"http://crd.gov.pl/wzor/2025/06/25/13775/\">";
        for (int i = 0; i < 50000; ++i)
            quadratic += "&big;";
        quadratic += "</Faktura>\n";
        QTest::newRow("quadratic blowup") << quadratic << QString();

        // The same two where the schema allows text, so that only the
        // parser's own limits can stop them.
        QString bombInText = QStringLiteral("<!DOCTYPE Faktura [\n<!ENTITY a0 \"laugh\">\n");
        for (int i = 1; i <= 15; ++i)
            bombInText += QStringLiteral("<!ENTITY a%1 \"&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;\">\n").arg(i).arg(i - 1);
        QTest::newRow("entity expansion bomb in a name")
            << invoiceWith(bombInText + QStringLiteral("]>\n"), QStringLiteral("&a15;")) << QString();
        QTest::newRow("quadratic blowup in a name")
            << invoiceWith(QStringLiteral("<!DOCTYPE Faktura [<!ENTITY big \"%1\">]>\n").arg(QString(50000, u'x')),
                           QString(QStringLiteral("&big;")).repeated(50000))
            << QString();

        const QString file = QUrl::fromLocalFile(decoy("secret.txt")).toString();
        QTest::newRow("external entity, local file")
            << invoiceWith(QStringLiteral("<!DOCTYPE Faktura [<!ENTITY xxe SYSTEM \"%1\">]>\n").arg(file),
                           QStringLiteral("&xxe;"))
            << QString();
        QTest::newRow("external entity, plain path")
            << invoiceWith(QStringLiteral("<!DOCTYPE Faktura [<!ENTITY xxe SYSTEM \"%1\">]>\n").arg(decoy("secret.txt")),
                           QStringLiteral("&xxe;"))
            << QString();
        QTest::newRow("external entity, http")
            << invoiceWith(QStringLiteral("<!DOCTYPE Faktura [<!ENTITY xxe SYSTEM \"http://127.0.0.1:9/velkor-xxe\">]>\n"),
                           QStringLiteral("&xxe;"))
            << QString();
        QTest::newRow("parameter entity, local file")
            << invoiceWith(QStringLiteral("<!DOCTYPE Faktura [<!ENTITY % p SYSTEM \"%1\"> %p;]>\n")
                               .arg(QUrl::fromLocalFile(decoy("param.ent")).toString()),
                           QStringLiteral("&leak;"))
            << QString();
        QTest::newRow("parameter entity, http")
            << invoiceWith(QStringLiteral("<!DOCTYPE Faktura [<!ENTITY % p SYSTEM \"http://127.0.0.1:9/velkor-pe\"> %p;]>\n"),
                           QStringLiteral("&leak;"))
            << QString();
        QTest::newRow("nesting 5000 levels deep") << nested(5000) << QString();
        QTest::newRow("text node of 50 MB")
            << invoiceWith(QString(), QString(50 * 1024 * 1024, u'x')) << QString();
        // Taken from the clipboard the bad byte becomes U+FFFD, which the
        // tax number's pattern refuses.
        QByteArray badUtf8 = invoiceWith(QString());
        badUtf8.replace("6891152920", "68911\xC3\x28" "52920");
        QTest::newRow("invalid UTF-8") << badUtf8 << QString();
        QByteArray nul = invoiceWith(QString());
        nul.replace("Sprzedawca", QByteArray("Sprzed\0awca", 11));
        QTest::newRow("NUL byte") << nul << QString();
        QTest::newRow("truncated") << invoiceWith(QString()).left(700) << QString();
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 256);
        QTest::newRow("binary garbage") << garbage << QString();
        QByteArray control = invoiceWith(QString());
        control.replace("Sprzedawca", "Sprzed\x01" "awca");
        QTest::newRow("control character") << control << QString();
        QByteArray controlReference = invoiceWith(QString());
        controlReference.replace("Sprzedawca", "Sprzed&#1;awca");
        QTest::newRow("control character reference") << controlReference << QString();
        QTest::newRow("whitespace only") << QByteArray(" \r\n\t  \n") << QString();
        // Found by the fuzzer: the first bytes announce UCS-4, which the
        // parser then fails to convert.
        QTest::newRow("UCS-4 signature") << QByteArray("<" + QByteArray(85, '\0') + "?xml&amp; ") << QString();
        QTest::newRow("UTF-16 without BOM") << QByteArray("<\0?\0x\0m\0l\0") << QString();
        QTest::newRow("EBCDIC signature") << QByteArray("\x4C\x6F\xA7\x94\x93\x40") << QString();
    }
    void refusedWithAMessage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reasonPart);
        for (const LoadSource source : {LoadSource::File, LoadSource::Clipboard}) {
            m_desktop = FakeDesktop();
            if (source == LoadSource::File)
                m_desktop.dialogResult = write(QStringLiteral("wrogi.xml"), bytes);
            else
                m_desktop.clipboard = QString::fromUtf8(bytes); // as another program would put it there
            const qint64 peakBefore = peakResidentKiB();
            QElapsedTimer timer;
            timer.start();
            const std::unique_ptr<InvoiceDocument> document = load(source);
            const qint64 elapsed = timer.elapsed();
            QVERIFY2(!document, source == LoadSource::File ? "file" : "clipboard");
            QCOMPARE(m_desktop.messages.size(), 1);
            const Message &message = m_desktop.messages[0];
            QCOMPARE(message.title, source == LoadSource::File ? QStringLiteral("Otwórz z pliku - błąd")
                                                               : QStringLiteral("Wklej XML - błąd"));
            QVERIFY2(message.text.contains(QStringLiteral("Powód: ")), qPrintable(message.text));
            const QString reason = message.text.section(QStringLiteral("Powód: "), 1).section(QStringLiteral("\r\n"), 0, 0);
            QVERIFY2(reason.size() > 5, qPrintable(message.text));
            if (!reasonPart.isEmpty())
                QVERIFY2(reason.contains(reasonPart, Qt::CaseInsensitive), qPrintable(reason));
            QVERIFY2(!message.text.contains(u"TAJNE"), qPrintable(message.text));
            QVERIFY2(elapsed < TimeLimitMs, qPrintable(QString::number(elapsed)));
            // Bounded memory: a few times the input at most.
            const qint64 grown = peakResidentKiB() - peakBefore;
            QVERIFY2(grown < 1024 * 1024, qPrintable(QString::number(grown)));
        }
    }

    void harmlessProcessingInstructionsFetchNothing()
    {
        const QByteArray bytes = invoiceWith(
            QStringLiteral("<?xml-stylesheet type=\"text/xsl\" href=\"http://127.0.0.1:9/velkor.xsl\"?>\n"
                           "<?xml-stylesheet href=\"%1\"?>\n")
                .arg(QUrl::fromLocalFile(decoy("evil.dtd")).toString()));
        for (const LoadSource source : {LoadSource::File, LoadSource::Clipboard}) {
            m_desktop = FakeDesktop();
            if (source == LoadSource::File)
                m_desktop.dialogResult = write(QStringLiteral("pi.xml"), bytes);
            else
                m_desktop.clipboard = QString::fromUtf8(bytes);
            QVERIFY(load(source)); // a stylesheet is only a hint, never followed
            QVERIFY(m_desktop.messages.isEmpty());
        }
    }

    void externalDtdIsNeverLoaded()
    {
        const int refusedBefore = refusedResourceCount();
        for (const QString &system : {QUrl::fromLocalFile(decoy("evil.dtd")).toString(),
                                      QStringLiteral("http://127.0.0.1:9/velkor.dtd")}) {
            const QByteArray bytes = invoiceWith(QStringLiteral("<!DOCTYPE Faktura SYSTEM \"%1\">\n").arg(system));
            m_desktop = FakeDesktop();
            m_desktop.clipboard = QString::fromUtf8(bytes);
            // A document type declaration alone does not fail the load.
            QVERIFY(load(LoadSource::Clipboard));
        }
        QCOMPARE(refusedResourceCount(), refusedBefore); // not even asked for
    }

    void emptyInputs()
    {
        m_desktop.clipboard.clear();
        QVERIFY(!load(LoadSource::Clipboard));
        QVERIFY(m_desktop.messages.isEmpty()); // an empty clipboard is quiet

        m_desktop.dialogResult = write(QStringLiteral("pusty.xml"), QByteArray());
        QVERIFY(!load(LoadSource::File));
        QCOMPARE(m_desktop.messages.size(), 1);
        QVERIFY(m_desktop.messages[0].text.contains(QStringLiteral("Powód: Plik jest pusty.")));
    }

    void choicesThatAreNoReadableFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << m_temp.path() << "Wskazana ścieżka jest folderem, nie plikiem.";
        QTest::newRow("gone before parsing") << m_temp.filePath(QStringLiteral("zniknal.xml")) << "Plik nie istnieje.";
#if defined(Q_OS_UNIX)
        const QString fifo = m_temp.filePath(QStringLiteral("potok.xml"));
        ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
        QTest::newRow("pipe that would never end") << fifo << "Wskazana ścieżka nie jest zwykłym plikiem.";
        QTest::newRow("device") << QStringLiteral("/dev/zero") << "Wskazana ścieżka nie jest zwykłym plikiem.";
#endif
    }
    void choicesThatAreNoReadableFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        m_desktop.dialogResult = path;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!load(LoadSource::File));
        QVERIFY(timer.elapsed() < TimeLimitMs);
        QCOMPARE(m_desktop.messages.size(), 1);
        QVERIFY2(m_desktop.messages[0].text.contains(QStringLiteral("Powód: ") + reason),
                 qPrintable(m_desktop.messages[0].text));
    }

    void unreadableFile()
    {
#if defined(Q_OS_UNIX)
        const QString path = write(QStringLiteral("zamkniety.xml"), TestInvoice().toXml().toUtf8());
        QFile::setPermissions(path, QFileDevice::Permissions());
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("this user reads every file (root): permissions cannot make one unreadable");
        m_desktop.dialogResult = path;
        QVERIFY(!load(LoadSource::File));
        QVERIFY(m_desktop.messages[0].text.contains(QStringLiteral("Powód: Nie można otworzyć pliku")));
#else
        QSKIP("permissions are tested on Unix");
#endif
    }

    void theShownInvoiceSurvivesEveryHostileLoad()
    {
        WindowFixture window;
        QVERIFY(window.start());
        window.paste(TestInvoice().toXml());
        const InvoiceDocument *shown = window.window->state().invoiceDoc.get();
        QVERIFY(shown);
        window.window->setWindowTitle(QStringLiteral("Velkor  faktura.xml"));
        for (const QByteArray &bytes : {nested(5000), QByteArray("\x01\x02garbage"), QByteArray(" \n"),
                                        invoiceWith(QStringLiteral("<!DOCTYPE Faktura [<!ENTITY x SYSTEM \"http://127.0.0.1:9/\">]>\n"),
                                                    QStringLiteral("&x;"))}) {
            window.desktop.dialogResult = write(QStringLiteral("zly.xml"), bytes);
            window.c().command[8]->click();
            window.paste(QString::fromUtf8(bytes));
            QCOMPARE(window.window->state().invoiceDoc.get(), shown);
            QCOMPARE(window.window->windowTitle(), QStringLiteral("Velkor  faktura.xml"));
        }
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
