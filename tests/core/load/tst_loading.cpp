#include "core/load/InvoiceLoader.h"
#include "core/load/InvoiceSchema.h"
#include "core/load/OfflineResources.h"
#include "core/register/RegisterRow.h"
#include "core/support/Failure.h"

#include "fixtures/FakeDesktop.h"
#include "fixtures/TestDocuments.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

using namespace velkor;
using namespace velkor::test;

namespace {

// Files these inputs point at; nothing may ever read them.
QString g_decoyFolder;

QString decoy(const char *name, bool asUrl = false)
{
    const QString path = QDir(g_decoyFolder).filePath(QLatin1String(name));
    return asUrl ? QUrl::fromLocalFile(path).toString() : path;
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

// Reading an invoice: the parser against the schema, the header check, and
// the load as the commands run it (the dialog, the remembered folder, the
// clipboard, the messages). Among the inputs are those an attacker or a
// broken exporter produces: each is refused with a message, quickly, with
// bounded memory, and nothing outside the invoice is read or fetched (the
// wrapper script nothing_fetched.sh runs this test under strace to see the
// last two).
class TestLoading : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temp;
    QTemporaryDir m_decoys;
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

    // A fresh desktop whose dialog picks the file zle/f.xml of `bytes`, or
    // whose clipboard holds them as another program would put them there.
    void offer(LoadSource source, const QByteArray &bytes)
    {
        m_desktop = FakeDesktop();
        if (source == LoadSource::File)
            m_desktop.dialogResult = QDir::toNativeSeparators(writeFile(QStringLiteral("zle/f.xml"), bytes));
        else
            m_desktop.clipboard = QString::fromUtf8(bytes);
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
        QVERIFY(m_temp.isValid() && m_decoys.isValid());
        // The wrapper script names the folder, to watch it under strace.
        g_decoyFolder = qEnvironmentVariable("VELKOR_DECOY_DIR", m_decoys.path());
        for (const char *name : {"secret.txt", "evil.dtd", "param.ent"})
            QVERIFY(!writeTestFile(g_decoyFolder, QLatin1String(name),
                                   QByteArray(name) == "param.ent" ? "<!ENTITY leak 'TAJNE'>" : "TAJNE")
                         .isEmpty());
        QVERIFY(InvoiceSchema::current(schemaFile())); // compiled once before anything is timed
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

    // Every text that is no valid invoice, from a file and pasted: refused
    // with the reason and the line of its first error. The lines of the
    // hostile inputs (-1) are not known by hand; a reason must be given.
    void refusedWithReasonAndLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reasonPart");
        QTest::addColumn<int>("line");
        const auto invalid = [](const char *name, const QString &xml, const char *reasonPart, int line) {
            QTest::newRow(name) << xml.toUtf8() << QString::fromLatin1(reasonPart) << line;
        };
        const auto hostile = [](const char *name, const QByteArray &bytes) { QTest::newRow(name) << bytes << QString() << -1; };
        invalid("not XML", QStringLiteral("ala ma kota"), "", 1);
        const QString xml = TestInvoice().toXml();
        invalid("wrong namespace", QString(xml).replace(FaNamespace, "http://example.com/inna"), "Faktura", 2);
        invalid("date written the Polish way", QString(xml).replace("2025-01-31", "31.01.2025"), "P_1", 18);
        // A validity error on line 9 comes before a broken end tag further down.
        invalid("first error in document order",
                QString(xml).replace("<Podmiot1>\n", "<Podmiot1>\n<Niespodzianka/>").replace("</Fa>", "</Faa>"),
                "Niespodzianka", 9);
        // The date's line 18 moved down by 70000 lines.
        invalid("line above 16 bits", QString(xml).replace("<P_1>2025-01-31", QString(70000, u'\n') + "<P_1>zla-data"),
                "P_1", 70018);
        invalid("public correction 1", QString::fromUtf8(fileBytes(publicExample("korygujaca__FA_3_Przyklad_1.xml"))),
                "TerminOpis", 138);
        invalid("public correction 3", QString::fromUtf8(fileBytes(publicExample("korygujaca__FA_3_Przyklad_3.xml"))),
                "NrKSeFFaKorygowanej", 63);

        hostile("entity expansion bomb", bare(QStringLiteral("<!DOCTYPE Faktura [\n%1]>\n").arg(laughs()), QStringLiteral("&a15;")));
        hostile("quadratic blowup", bare(QStringLiteral("<!DOCTYPE Faktura [%1]>\n").arg(BigEntity), BigReferences));
        // The same two where the schema allows text, so that only the
        // parser's own limits can stop them.
        hostile("entity expansion bomb in a name", referring(laughs(), "&a15;"));
        hostile("quadratic blowup in a name", invoiceWith(QStringLiteral("<!DOCTYPE Faktura [%1]>\n").arg(BigEntity), BigReferences));
        const QString external = QStringLiteral("<!ENTITY xxe SYSTEM \"%1\">");
        hostile("external entity, local file", referring(external.arg(decoy("secret.txt", true)), "&xxe;"));
        hostile("external entity, plain path", referring(external.arg(decoy("secret.txt")), "&xxe;"));
        hostile("external entity, http", referring(external.arg("http://127.0.0.1:9/velkor-xxe"), "&xxe;"));
        const QString parameter = QStringLiteral("<!ENTITY % p SYSTEM \"%1\"> %p;");
        hostile("parameter entity, local file", referring(parameter.arg(decoy("param.ent", true)), "&leak;"));
        hostile("parameter entity, http", referring(parameter.arg("http://127.0.0.1:9/velkor-pe"), "&leak;"));
        hostile("nesting 5000 levels deep", bare({}, QStringLiteral("<a>").repeated(5000) + QStringLiteral("</a>").repeated(5000)));
        hostile("text node of 50 MB", invoiceWith(QString(), QString(50 * 1024 * 1024, u'x')));
        // Taken from the clipboard the bad byte becomes U+FFFD, which the
        // tax number's pattern refuses.
        hostile("invalid UTF-8", invoiceWith(QString()).replace("6891152920", "68911\xC3\x28" "52920"));
        hostile("NUL byte", invoiceWith(QString()).replace("Sprzedawca", QByteArray("Sprzed\0awca", 11)));
        hostile("truncated", invoiceWith(QString()).left(700));
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 256);
        hostile("binary garbage", garbage);
        hostile("control character", invoiceWith(QString()).replace("Sprzedawca", "Sprzed\x01" "awca"));
        hostile("control character reference", invoiceWith(QString()).replace("Sprzedawca", "Sprzed&#1;awca"));
        hostile("whitespace only", " \r\n\t  \n");
        // Found by the fuzzer: the first bytes announce UCS-4, which the
        // parser then fails to convert.
        hostile("UCS-4 signature", "<" + QByteArray(85, '\0') + "?xml&amp; ");
        hostile("UTF-16 without BOM", QByteArray("<\0?\0x\0m\0l\0", 10));
        hostile("EBCDIC signature", "\x4C\x6F\xA7\x94\x93\x40");
    }
    void refusedWithReasonAndLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reasonPart);
        QFETCH(int, line);
        for (const LoadSource source : {LoadSource::File, LoadSource::Clipboard}) {
            offer(source, bytes);
            const bool file = source == LoadSource::File;
            const QString head = file ? QStringLiteral("Błąd walidacji FA3\r\nPlik: ") + m_desktop.dialogResult
                                            + QStringLiteral("\r\nPowód: ")
                                      : QStringLiteral("Błąd FA3\r\nPowód: ");
            const qint64 peakBefore = peakResidentKiB();
            QElapsedTimer timer;
            timer.start();
            QVERIFY2(!load(source), file ? "file" : "clipboard");
            const qint64 elapsed = timer.elapsed();
            QVERIFY(m_fileName.isEmpty());
            QCOMPARE(m_desktop.messages.size(), 1);
            const Message &message = m_desktop.messages[0];
            QCOMPARE(message.title, file ? QStringLiteral("Otwórz z pliku - błąd") : QStringLiteral("Wklej XML - błąd"));
            QCOMPARE(message.icon, MessageIcon::Exclamation);
            const QString tail = QStringLiteral("\r\nLinia: ")
                                 + (line < 0 ? message.text.section(u' ', -1) : QString::number(line));
            QVERIFY2(message.text.startsWith(head) && message.text.endsWith(tail), qPrintable(message.text));
            const QString reason = message.text.mid(head.size(), message.text.size() - head.size() - tail.size());
            QVERIFY2(reason.size() > 5 && reason.contains(reasonPart), qPrintable(reason));
            QVERIFY2(!message.text.contains(u"TAJNE"), qPrintable(message.text));
            QVERIFY2(elapsed < TimeLimitMs, qPrintable(QString::number(elapsed)));
            // Bounded memory: a few times the input at most.
            const qint64 grown = peakResidentKiB() - peakBefore;
            QVERIFY2(grown < 1024 * 1024, qPrintable(QString::number(grown)));
        }
        // The folder of a file that failed is remembered all the same.
        QCOMPARE(storedFolder(), QDir::toNativeSeparators(m_temp.filePath(QStringLiteral("zle"))));
        // The register gives each its row with the same reason and line.
        const RegisterRow row = readRegisterRow(QStringLiteral("zla.xml"), bytes, *InvoiceSchema::current(schemaFile()));
        QVERIFY(!row.valid);
        QVERIFY2(row.notes().startsWith(QStringLiteral("Błąd walidacji FA3: ")) && row.notes().contains(reasonPart)
                     && (line < 0 || row.notes().endsWith(QStringLiteral("(linia %1)").arg(line))),
                 qPrintable(row.notes()));
    }

    // The register validates the built tree of a file instead: every example,
    // valid or not, gets the same outcome, reason and line, and the same tree
    // but for the indentation.
    void treeValidationAgreesWithOnePass()
    {
        const InvoiceSchema &schema = *InvoiceSchema::current(schemaFile());
        FileValidator validator(schema); // one for all, refused or not
        int valid = 0, refused = 0;
        for (const QString &folder : {examplesFolder(), QStringLiteral(VELKOR_TEST_OWN_EXAMPLES_DIR)}) {
            for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.xml")}, QDir::Files)) {
                const QByteArray bytes = fileBytes(file.filePath());
                const ParseOutcome onePass = parseInvoice(bytes, TextEncoding::Declared, schema);
                const ParseOutcome tree = validator.parse(bytes);
                QCOMPARE(bool(tree.document), bool(onePass.document));
                QCOMPARE(tree.reason, onePass.reason);
                QCOMPARE(tree.line, onePass.line);
                if (tree.document) {
                    // The same tree but for the indentation, which the register leaves out.
                    const QRegularExpression indentation(QStringLiteral(">\\s+<"));
                    QCOMPARE(tree.document->serialize().replace(indentation, QStringLiteral("><")),
                             onePass.document->serialize().replace(indentation, QStringLiteral("><")));
                    QCOMPARE(tree.document->sourceKind(), InvoiceDocument::SourceKind::File);
                }
                ++(tree.document ? valid : refused);
            }
        }
        QVERIFY(valid >= 5 && refused >= 2);
    }

    // Each kind of error libxml2 reports for an invoice, in Polish: the
    // element by its path in the tree, the value and what the schema wants;
    // libxml2's own text follows on a second line.
    void reasonsInPolish_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("reason");
        const QString xml = TestInvoice().toXml();
        const auto row = [&xml](const char *name, const QString &from, const QString &to, const char *reason) {
            QVERIFY2(xml.contains(from), name);
            QTest::newRow(name) << QString(xml).replace(from, to) << QString::fromUtf8(reason);
        };
        row("pattern of a NIP", "6891152920", "689115292", "Wartość „689115292” w elemencie Podmiot1 / DaneIdentyfikacyjne / "
            "NIP nie ma wymaganej postaci: NIP to 10 cyfr bez kresek i spacji, np. 6891152920.");
        QTest::newRow("pattern of a KSeF number")
            << QString::fromUtf8(fileBytes(publicExample("korygujaca__FA_3_Przyklad_3.xml")))
            << "Wartość „210415750-20250310-FF4861C9CC3F-BA” w elemencie Fa / DaneFaKorygowanej / NrKSeFFaKorygowanej "
               "nie ma wymaganej postaci: numer KSeF to NIP (10 cyfr), data RRRRMMDD, 12 znaków szesnastkowych i 2 znaki "
               "sumy kontrolnej, rozdzielone kreskami, np. 6891152920-20260302-0A1B2C3D4E5F-41.";
        row("enumeration", ">VAT<", ">FV<", "Wartość „FV” w elemencie Fa / RodzajFaktury nie jest dozwolona. Dozwolone "
            "wartości: VAT, KOR, ZAL, ROZ, UPR, KOR_ZAL, KOR_ROZ.");
        row("long enumeration", ">PLN<", ">ZLT<", "Wartość „ZLT” w elemencie Fa / KodWaluty nie jest dozwolona. Schemat "
            "dopuszcza 182 wartości, między innymi: AED, AFN, ALL, AMD, ANG, AOA, ARS, …");
        row("empty", "FV/1/2025", "", "Element Fa / P_2 jest pusty, a musi mieć co najmniej 1 znak.");
        row("too long", "Nabywca s.c.", QString(513, u'n'), "Wartość „nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn…” "
            "w elemencie Podmiot2 / DaneIdentyfikacyjne / Nazwa ma 513 znaków, a może mieć najwyżej 512.");
        row("fraction digits", "100.00", "100.005", "Wartość „100.005” w elemencie Fa / P_15 ma za dużo cyfr po kropce "
            "dziesiętnej: dozwolone najwyżej 2.");
        row("total digits", "100.00", "1234567890123456789", "Wartość „1234567890123456789” w elemencie Fa / P_15 ma za dużo "
            "cyfr: dozwolone najwyżej 18.");
        row("earliest date", "<P_1>2025-01-31", "<P_1>1899-12-31", "Wartość „1899-12-31” w elemencie Fa / P_1 jest "
            "wcześniejsza niż najwcześniejsza dozwolona data 2006-01-01.");
        row("exclusive minimum", "</Fa>", invoiceLine("0", {}) + "</Fa>", "Wartość „0” w elemencie Fa / FaWiersz / NrWierszaFa "
            "musi być większa niż 0.");
        row("not a date", "<P_1>2025-01-31", "<P_1>31.01.2025", "Wartość „31.01.2025” w elemencie Fa / P_1 nie jest poprawną "
            "datą w postaci RRRR-MM-DD, np. 2026-03-02.");
        row("not an amount", "100.00", "100,00", "Wartość „100,00” w elemencie Fa / P_15 nie jest kwotą: liczbą z kropką "
            "dziesiętną, bez spacji, np. 1234.50.");
        row("not a date and time", "2026-02-01T10:00:00Z", "2026-02-01 10:00", "Wartość „2026-02-01 10:00” w elemencie "
            "Naglowek / DataWytworzeniaFa nie jest poprawną datą z godziną w postaci RRRR-MM-DDTGG:MM:SS, np. "
            "2026-03-02T09:15:00Z.");
        row("missing element", "<P_2>FV/1/2025</P_2>", "", "Element Fa / P_15 nie może stać w tym miejscu; oczekiwano "
            "jednego z elementów: P_1M, P_2.");
        row("missing child", "<P_19N>1</P_19N>", "", "W elemencie Fa / Adnotacje / Zwolnienie brakuje jednego z wymaganych "
            "elementów: P_19, P_19N.");
        row("unexpected element", "<P_1>", "<Uwagi>x</Uwagi><P_1>", "Element Fa / Uwagi nie może stać w tym miejscu; "
            "oczekiwano elementu: P_1.");
        row("text among elements", "<Adnotacje>", "<Adnotacje>tak", "Element Fa / Adnotacje może zawierać tylko inne "
            "elementy, a zawiera tekst.");
        row("element in a value", "FV/1/2025", "FV<b>1</b>", "Element Fa / P_2 może zawierać tylko wartość, a zawiera inne "
            "elementy.");
        row("other namespace", FaNamespace, "http://example.com/", "Dokument nie jest fakturą FA(3): schemat nie zna jego "
            "elementu głównego Faktura z przestrzeni nazw http://example.com/.");
        row("fixed attribute", "\"FA (3)\"", "\"FA (2)\"", "Wartość „FA (2)” w atrybucie kodSystemowy elementu Naglowek / "
            "KodFormularza jest inna niż wymagana przez schemat: „FA (3)”.");
        row("missing attribute", " wersjaSchemy=\"1-0E\"", "", "W elemencie Naglowek / KodFormularza brakuje wymaganego "
            "atrybutu wersjaSchemy.");
        row("attribute not allowed", "<P_2>", "<P_2 typ=\"x\">", "Element Fa / P_2 ma atrybut typ, którego schemat nie przewiduje.");
        QTest::newRow("not XML") << "ala ma kota" << "To nie jest dokument XML: nie zaczyna się znacznikiem „<”.";
        row("tag mismatch", "</Fa>", "</Faa>", "Znacznik zamykający </Faa> nie pasuje do otwartego elementu Fa.");
        QTest::newRow("cut short") << xml.left(xml.indexOf("Nabywca") + 7) << "Tekst kończy się przed zamknięciem elementu Nazwa: dokument jest niepełny.";
        row("control character", "Nabywca", "Nab\x01ywca", "Dokument zawiera znak niedozwolony w XML (na przykład znak "
            "sterujący), w elemencie Podmiot2 / DaneIdentyfikacyjne / Nazwa.");
        row("unknown entity", "Nabywca", "&nabywca;", "Dokument odwołuje się do nieznanej encji „&nabywca;”, w elemencie "
            "Podmiot2 / DaneIdentyfikacyjne / Nazwa.");
        row("attribute twice", "wersjaSchemy=", "kodSystemowy=\"FA (3)\" wersjaSchemy=", "Atrybut „kodSystemowy” występuje "
            "w jednym znaczniku więcej niż raz, w elemencie Naglowek.");
    }
    void reasonsInPolish()
    {
        QFETCH(QString, xml);
        QFETCH(QString, reason);
        m_desktop.clipboard = xml;
        QVERIFY(!load(LoadSource::Clipboard));
        QCOMPARE(m_desktop.messages.size(), 1);
        const QStringList lines = m_desktop.messages[0].text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[1], QStringLiteral("Powód: ") + reason);
        QVERIFY2(lines[2].startsWith(QStringLiteral("Komunikat parsera: ")) && lines[2].size() < 330, qPrintable(lines[2]));
        QVERIFY(lines[3].startsWith(QStringLiteral("Linia: ")));
    }

    // A stylesheet is only a hint and a document type declaration alone does
    // not fail the load: the invoice loads, and nothing is even asked for.
    void harmlessDeclarationsLoadAndFetchNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("stylesheets") << invoiceWith(QStringLiteral(
            "<?xml-stylesheet type=\"text/xsl\" href=\"http://127.0.0.1:9/velkor.xsl\"?>\n<?xml-stylesheet href=\"%1\"?>\n")
                                                        .arg(decoy("evil.dtd", true)));
        const QString external = QStringLiteral("<!DOCTYPE Faktura SYSTEM \"%1\">\n");
        QTest::newRow("external DTD, local file") << invoiceWith(external.arg(decoy("evil.dtd", true)));
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
        QTest::newRow("empty file") << writeFile(QStringLiteral("pusty.xml"), {}) << "Plik jest pusty.";
        // Refused by its size before a byte is read; sparse, so it costs no disk.
        const QString huge = writeFile(QStringLiteral("ogromny.xml"), "<");
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
        const LoadSource source = fromFile ? LoadSource::File : LoadSource::Clipboard;
        offer(source, bytes);
        const auto document = load(source);
        QVERIFY2(document, qPrintable(m_desktop.messages.value(0).text));
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
