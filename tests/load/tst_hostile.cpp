#include "load/InvoiceLoader.h"
#include "load/OfflineResources.h"

#include "support/TestInvoices.h"
#include "support/TestPaths.h"
#include "support/FakeDesktop.h"

#include <QElapsedTimer>
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

QString decoyUrl(const char *name)
{
    return QUrl::fromLocalFile(decoy(name)).toString();
}

// The test invoice with `prolog` after its declaration and `name` as the
// seller's name, where the schema allows any text.
QByteArray invoiceWith(const QString &prolog, const QString &name = QStringLiteral("Sprzedawca Sp. z o.o."))
{
    TestInvoice invoice;
    invoice.prolog += prolog;
    invoice.podmiot1.replace(QStringLiteral("Sprzedawca Sp. z o.o."), name);
    return invoice.toXml().toUtf8();
}

// The seller's name is `reference`, declared in the internal subset `subset`.
QByteArray referring(const QString &subset, const char *reference)
{
    return invoiceWith(QStringLiteral("<!DOCTYPE Faktura [%1]>\n").arg(subset), QLatin1String(reference));
}

// A bare root element with the given content, the schema's namespace and an
// optional document type declaration.
QByteArray bare(const QString &doctype, const QString &content)
{
    return (QStringLiteral("<?xml version=\"1.0\"?>\n") + doctype + QStringLiteral("<Faktura xmlns=\"") + FaNamespace
            + QStringLiteral("\">") + content + QStringLiteral("</Faktura>\n"))
        .toUtf8();
}

// &a15; expands to "laugh" 10^15 times.
QString laughs()
{
    QString subset = QStringLiteral("<!ENTITY a0 \"laugh\">\n");
    for (int i = 1; i <= 15; ++i)
        subset += QStringLiteral("<!ENTITY a%1 \"%2\">\n").arg(i).arg(QStringLiteral("&a%1;").arg(i - 1).repeated(10));
    return subset;
}

// &big; is 50000 characters; referred to 50000 times it makes 2.5 GB.
const QString BigEntity = QStringLiteral("<!ENTITY big \"%1\">").arg(QString(50000, u'x'));
const QString BigReferences = QStringLiteral("&big;").repeated(50000);

QByteArray nested(int depth)
{
    return bare({}, QStringLiteral("<a>").repeated(depth) + QStringLiteral("</a>").repeated(depth));
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

    // A fresh desktop whose dialog picks a file of `bytes`, or whose
    // clipboard holds them as another program would put them there.
    void offer(LoadSource source, const QByteArray &bytes)
    {
        m_desktop = FakeDesktop();
        if (source == LoadSource::File)
            m_desktop.dialogResult = writeTestFile(m_temp.path(), QStringLiteral("wrogi.xml"), bytes);
        else
            m_desktop.clipboard = QString::fromUtf8(bytes);
    }

private Q_SLOTS:
    void initTestCase()
    {
        initializeXmlLibrary();
        QVERIFY(m_temp.isValid() && m_decoys.isValid());
        // The wrapper script names the folder, to watch it under strace.
        g_decoyFolder = qEnvironmentVariable("VELKOR_DECOY_DIR", m_decoys.path());
        for (const char *name : {"secret.txt", "evil.dtd", "param.ent"})
            QVERIFY(!writeTestFile(g_decoyFolder, QLatin1String(name),
                                   QByteArray(name) == "param.ent" ? "<!ENTITY leak 'TAJNE'>" : "TAJNE")
                         .isEmpty());
        m_settings = std::make_unique<QSettings>(m_temp.filePath(QStringLiteral("velkor.ini")), QSettings::IniFormat);
        // Let the schema compile once before anything is timed.
        m_desktop.clipboard = TestInvoice().toXml();
        QVERIFY(load(LoadSource::Clipboard));
    }

    void init() { m_desktop = FakeDesktop(); }

    void refusedWithAMessage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("entity expansion bomb") << bare(QStringLiteral("<!DOCTYPE Faktura [\n%1]>\n").arg(laughs()),
                                                       QStringLiteral("&a15;"));
        QTest::newRow("quadratic blowup") << bare(QStringLiteral("<!DOCTYPE Faktura [%1]>\n").arg(BigEntity), BigReferences);
        // The same two where the schema allows text, so that only the
        // parser's own limits can stop them.
        QTest::newRow("entity expansion bomb in a name") << referring(laughs(), "&a15;");
        QTest::newRow("quadratic blowup in a name")
            << invoiceWith(QStringLiteral("<!DOCTYPE Faktura [%1]>\n").arg(BigEntity), BigReferences);
        const QString external = QStringLiteral("<!ENTITY xxe SYSTEM \"%1\">");
        QTest::newRow("external entity, local file") << referring(external.arg(decoyUrl("secret.txt")), "&xxe;");
        QTest::newRow("external entity, plain path") << referring(external.arg(decoy("secret.txt")), "&xxe;");
        QTest::newRow("external entity, http") << referring(external.arg("http://127.0.0.1:9/velkor-xxe"), "&xxe;");
        const QString parameter = QStringLiteral("<!ENTITY % p SYSTEM \"%1\"> %p;");
        QTest::newRow("parameter entity, local file") << referring(parameter.arg(decoyUrl("param.ent")), "&leak;");
        QTest::newRow("parameter entity, http") << referring(parameter.arg("http://127.0.0.1:9/velkor-pe"), "&leak;");
        QTest::newRow("nesting 5000 levels deep") << nested(5000);
        QTest::newRow("text node of 50 MB") << invoiceWith(QString(), QString(50 * 1024 * 1024, u'x'));
        // Taken from the clipboard the bad byte becomes U+FFFD, which the
        // tax number's pattern refuses.
        QTest::newRow("invalid UTF-8") << invoiceWith(QString()).replace("6891152920", "68911\xC3\x28" "52920");
        QTest::newRow("NUL byte") << invoiceWith(QString()).replace("Sprzedawca", QByteArray("Sprzed\0awca", 11));
        QTest::newRow("truncated") << invoiceWith(QString()).left(700);
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 256);
        QTest::newRow("binary garbage") << garbage;
        QTest::newRow("control character") << invoiceWith(QString()).replace("Sprzedawca", "Sprzed\x01" "awca");
        QTest::newRow("control character reference") << invoiceWith(QString()).replace("Sprzedawca", "Sprzed&#1;awca");
        QTest::newRow("whitespace only") << QByteArray(" \r\n\t  \n");
        // Found by the fuzzer: the first bytes announce UCS-4, which the
        // parser then fails to convert.
        QTest::newRow("UCS-4 signature") << QByteArray("<" + QByteArray(85, '\0') + "?xml&amp; ");
        QTest::newRow("UTF-16 without BOM") << QByteArray("<\0?\0x\0m\0l\0", 10);
        QTest::newRow("EBCDIC signature") << QByteArray("\x4C\x6F\xA7\x94\x93\x40");
    }
    void refusedWithAMessage()
    {
        QFETCH(QByteArray, bytes);
        for (const LoadSource source : {LoadSource::File, LoadSource::Clipboard}) {
            offer(source, bytes);
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
            const QString reason = message.text.section(QStringLiteral("Powód: "), 1).section(QStringLiteral("\r\n"), 0, 0);
            QVERIFY2(reason.size() > 5, qPrintable(message.text));
            QVERIFY2(!message.text.contains(u"TAJNE"), qPrintable(message.text));
            QVERIFY2(elapsed < TimeLimitMs, qPrintable(QString::number(elapsed)));
            // Bounded memory: a few times the input at most.
            const qint64 grown = peakResidentKiB() - peakBefore;
            QVERIFY2(grown < 1024 * 1024, qPrintable(QString::number(grown)));
        }
    }

    // A stylesheet is only a hint and a document type declaration alone does
    // not fail the load: the invoice loads, and nothing is even asked for.
    void harmlessDeclarationsLoadAndFetchNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("stylesheets") << invoiceWith(QStringLiteral(
            "<?xml-stylesheet type=\"text/xsl\" href=\"http://127.0.0.1:9/velkor.xsl\"?>\n<?xml-stylesheet href=\"%1\"?>\n")
                                                        .arg(decoyUrl("evil.dtd")));
        const QString external = QStringLiteral("<!DOCTYPE Faktura SYSTEM \"%1\">\n");
        QTest::newRow("external DTD, local file") << invoiceWith(external.arg(decoyUrl("evil.dtd")));
        QTest::newRow("external DTD, http") << invoiceWith(external.arg("http://127.0.0.1:9/velkor.dtd"));
        QTest::newRow("internal entity") << referring(QStringLiteral("<!ENTITY firma \"Sprzedawca Sp. z o.o.\">"), "&firma;");
    }
    void harmlessDeclarationsLoadAndFetchNothing()
    {
        QFETCH(QByteArray, bytes);
        const int refusedBefore = refusedResourceCount();
        for (const LoadSource source : {LoadSource::File, LoadSource::Clipboard}) {
            offer(source, bytes);
            QVERIFY(load(source));
            QVERIFY(m_desktop.messages.isEmpty());
        }
        QCOMPARE(refusedResourceCount(), refusedBefore);
    }

    // Paths that are no invoice file are refused before parsing, quickly.
    void choicesThatAreNoReadableFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << m_temp.path() << "Wskazana ścieżka jest folderem, nie plikiem.";
        QTest::newRow("gone before parsing") << m_temp.filePath(QStringLiteral("zniknal.xml")) << "Plik nie istnieje.";
        QTest::newRow("empty file") << writeTestFile(m_temp.path(), QStringLiteral("pusty.xml"), {}) << "Plik jest pusty.";
        // Refused by its size before a byte is read; sparse, so it costs no disk.
        const QString huge = writeTestFile(m_temp.path(), QStringLiteral("ogromny.xml"), "<");
        QFile(huge).resize(64 * 1024 * 1024 + 1);
        QTest::newRow("over 64 MB") << huge << "Plik jest zbyt duży (ponad 64 MB).";
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
        QCOMPARE(m_desktop.messages[0].text, QStringLiteral("Błąd walidacji FA3\r\nPlik: ") + QDir::toNativeSeparators(path)
                                                 + QStringLiteral("\r\nPowód: ") + reason + QStringLiteral("\r\nLinia: 0"));
    }

    void unreadableFile()
    {
#if defined(Q_OS_UNIX)
        const QString path = writeTestFile(m_temp.path(), QStringLiteral("zamkniety.xml"), invoiceWith(QString()));
        QFile::setPermissions(path, QFileDevice::Permissions());
        if (QFile probe(path); probe.open(QIODevice::ReadOnly))
            QSKIP("this user reads every file (root): permissions cannot make one unreadable");
        m_desktop.dialogResult = path;
        QVERIFY(!load(LoadSource::File));
        QVERIFY(m_desktop.messages[0].text.contains(QStringLiteral("Powód: Nie można otworzyć pliku")));
#else
        QSKIP("permissions are tested on Unix");
#endif
    }
};

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
