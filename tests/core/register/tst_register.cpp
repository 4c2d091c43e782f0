#include "core/check/InvoiceCheck.h"
#include "core/invoice/InvoiceLines.h"
#include "core/load/InvoiceLoader.h"
#include "core/load/InvoiceParser.h"
#include "core/load/InvoiceSchema.h"
#include "core/load/OfflineResources.h"
#include "core/register/RegisterPackage.h"
#include "core/register/RegisterReading.h"
#include "core/register/RegisterSet.h"

#include "fixtures/TestInvoices.h"
#include "fixtures/TestPaths.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

using namespace velkor;
using namespace velkor::test;

namespace {

const QString K1 = QStringLiteral("5265877635-20250826-0100001AF629-AF");

QString line100()
{
    return invoiceLine(QStringLiteral("1"), {{"P_7", QStringLiteral("Towar")}, {"P_8A", QStringLiteral("szt.")},
                                             {"P_8B", QStringLiteral("1")}, {"P_9A", QStringLiteral("100.00")},
                                             {"P_11", QStringLiteral("100.00")}, {"P_12", QStringLiteral("23")}});
}

TestInvoice invoice(const char *number, const char *date)
{
    TestInvoice invoice;
    invoice.faStart = QStringLiteral("<KodWaluty>PLN</KodWaluty>\n<P_1>%1</P_1>\n<P_2>%2</P_2>\n")
                          .arg(QLatin1String(date), QLatin1String(number));
    invoice.totals = QStringLiteral("<P_13_1>100.00</P_13_1><P_14_1>23.00</P_14_1><P_15>123.00</P_15>\n");
    invoice.lines = line100();
    return invoice;
}

// Every case of the notes, as files of one folder.
void writeCases(const QString &folder)
{
    const QByteArray a = invoice("FV/1/2026", "2026-01-31").toXml().toUtf8();
    writeTestFile(folder, QStringLiteral("a.xml"), a);
    writeTestFile(folder, QStringLiteral("b.xml"), a); // the same bytes
    writeTestFile(folder, QStringLiteral("c.xml"), invoice("FV/1/2026", "2026-01-30").toXml().toUtf8());
    TestInvoice euro = invoice("FV/3/2026", "2026-02-03");
    euro.faStart.replace(QStringLiteral("PLN"), QStringLiteral("EUR"));
    euro.totals = QStringLiteral("<P_13_1>100.00</P_13_1><P_14_1>23.00</P_14_1><P_14_1W>97.75</P_14_1W>"
                                 "<P_15>123.00</P_15>\n");
    euro.lines.replace(QStringLiteral("</P_12>"), QStringLiteral("</P_12><KursWaluty>4.2500</KursWaluty>"));
    writeTestFile(folder, QStringLiteral("eur.xml"), euro.toXml().toUtf8());
    TestInvoice correction = invoice("KOR/1/2026", "2026-02-10");
    correction.correcting(2);
    correction.totals = QStringLiteral("<P_13_1>-10.00</P_13_1><P_14_1>-2.30</P_14_1><P_15>-12.30</P_15>\n");
    correction.lines = invoiceLine(QStringLiteral("1"),
                                   {{"P_7", QStringLiteral("Rabat; \"zimowy\"")}, {"P_11", QStringLiteral("-10.00")},
                                    {"P_12", QStringLiteral("23")}});
    writeTestFile(folder, QStringLiteral("k.xml"), correction.toXml().toUtf8());
    writeTestFile(folder, QStringLiteral("ksef/") + K1 + QStringLiteral(".xml"),
                  invoice("FV/4/2026", "2026-02-04").toXml().toUtf8());
    writeTestFile(folder, QStringLiteral("ksef2/") + K1 + QStringLiteral(".xml"),
                  invoice("FV/5/2026", "2026-02-05").toXml().toUtf8());
    writeTestFile(folder, QStringLiteral("zly.xml"), "to nie XML");
}

// The CSV of writeCases(), worked out by hand.
const char *const ExpectedCsv =
    "\xEF\xBB\xBFPlik;Numer KSeF;Rodzaj;Numer faktury;Data wystawienia;Data dostawy;NIP sprzedawcy;Sprzedawca;"
    "NIP nabywcy;Nabywca;Waluta;P_13_1;P_14_1;P_14_1W;P_13_2;P_14_2;P_14_2W;P_13_3;P_14_3;P_14_3W;P_13_4;P_14_4;"
    "P_14_4W;P_13_5;P_14_5;P_13_6_1;P_13_6_2;P_13_6_3;P_13_7;P_13_8;P_13_9;P_13_10;P_13_11;P_15;Kontrola;Uwagi\r\n"
    "a.xml;;VAT;FV/1/2026;2026-01-31;;6891152920;Sprzedawca Sp. z o.o.;3935777054;Nabywca s.c.;PLN;100,00;23,00;"
    ";;;;;;;;;;;;;;;;;;;;123,00;bez uwag;korygowana przez k.xml\r\n"
    "b.xml;;VAT;FV/1/2026;2026-01-31;;6891152920;Sprzedawca Sp. z o.o.;3935777054;Nabywca s.c.;PLN;100,00;23,00;"
    ";;;;;;;;;;;;;;;;;;;;123,00;bez uwag;duplikat: a.xml\r\n"
    "c.xml;;VAT;FV/1/2026;2026-01-30;;6891152920;Sprzedawca Sp. z o.o.;3935777054;Nabywca s.c.;PLN;100,00;23,00;"
    ";;;;;;;;;;;;;;;;;;;;123,00;bez uwag;duplikat: a.xml\r\n"
    "eur.xml;;VAT;FV/3/2026;2026-02-03;;6891152920;Sprzedawca Sp. z o.o.;3935777054;Nabywca s.c.;EUR;100,00;"
    "23,00;97,75;;;;;;;;;;;;;;;;;;;;123,00;bez uwag;\r\n"
    "k.xml;;KOR;KOR/1/2026;2026-02-10;;6891152920;Sprzedawca Sp. z o.o.;3935777054;Nabywca s.c.;PLN;-10,00;"
    "-2,30;;;;;;;;;;;;;;;;;;;;;-12,30;bez uwag;\"koryguje FV/1/2026 (a.xml); koryguje FV/2/2026: brak jej w zestawie\"\r\n"
    "ksef/5265877635-20250826-0100001AF629-AF.xml;5265877635-20250826-0100001AF629-AF;VAT;FV/4/2026;2026-02-04;;"
    "6891152920;Sprzedawca Sp. z o.o.;3935777054;Nabywca s.c.;PLN;100,00;23,00;;;;;;;;;;;;;;;;;;;;;123,00;"
    "bez uwag;\r\n"
    "ksef2/5265877635-20250826-0100001AF629-AF.xml;5265877635-20250826-0100001AF629-AF;VAT;FV/5/2026;2026-02-05;;"
    "6891152920;Sprzedawca Sp. z o.o.;3935777054;Nabywca s.c.;PLN;100,00;23,00;;;;;;;;;;;;;;;;;;;;;123,00;"
    "bez uwag;duplikat: ksef/5265877635-20250826-0100001AF629-AF.xml\r\n"
    "zly.xml;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;Błąd walidacji FA3: To nie jest dokument XML: nie zaczyna się znacznikiem „<”. (linia 1)\r\n";

// Writes a ZIP package of (name, bytes) entries, as libarchive deflates them.
void writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
{
    archive *zip = archive_write_new();
    archive_write_set_format_zip(zip);
    QVERIFY(archive_write_open_filename(zip, QFile::encodeName(path).constData()) == ARCHIVE_OK);
    for (const auto &[name, bytes] : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, name.toUtf8().constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, bytes.size());
        archive_write_header(zip, entry);
        archive_write_data(zip, bytes.constData(), size_t(bytes.size()));
        archive_entry_free(entry);
    }
    archive_write_close(zip);
    archive_write_free(zip);
}

QString metadataOf(const QString &ksef, const char *number, const char *gross, const QByteArray &bytes)
{
    return QStringLiteral("{\"ksefNumber\":\"%1\",\"invoiceNumber\":\"%2\",\"seller\":{\"nip\":\"6891152920\","
                          "\"name\":\"Sprzedawca\"},\"grossAmount\":%3,\"currency\":\"PLN\",\"invoiceHash\":\"%4\"}")
        .arg(ksef, QLatin1String(number), QLatin1String(gross),
             QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toBase64()));
}

// Reads a source to its rows in the set's order, linked.
std::vector<RegisterRow> readAll(std::unique_ptr<RegisterSource> source, int threads = 2)
{
    auto schema = std::make_shared<const InvoiceSchema>(InvoiceSchema::compile(schemaFile()));
    RegisterReading reading(std::move(source), schema, threads);
    std::vector<RegisterRow> rows(std::size_t(reading.total()));
    while (!reading.finished())
        QThread::msleep(5);
    for (auto &[index, row] : reading.take())
        rows[std::size_t(index)] = std::move(row);
    reading.source().finish(rows, true);
    linkRegisterRows(rows);
    return rows;
}

std::vector<const RegisterRow *> pointers(const std::vector<RegisterRow> &rows)
{
    std::vector<const RegisterRow *> result;
    for (const RegisterRow &row : rows)
        result.push_back(&row);
    return result;
}

} // namespace

class TestRegister : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    void folderToCsv()
    {
        QTemporaryDir folder;
        writeCases(folder.path());
        const std::vector<RegisterRow> rows = readAll(folderSource(folder.path()));
        const QByteArray csv = registerCsv(pointers(rows));
        const QStringList got = QString::fromUtf8(csv).split(QStringLiteral("\r\n"));
        const QStringList expected = QString::fromUtf8(ExpectedCsv).split(QStringLiteral("\r\n"));
        for (qsizetype k = 0; k < std::min(got.size(), expected.size()); ++k)
            QCOMPARE(got[k], expected[k]);
        QCOMPARE(csv, QByteArray(ExpectedCsv));
        // The original names its correction; duplicates and invalid files are not summed.
        QCOMPARE(rows[0].notes(), QStringLiteral("korygowana przez k.xml"));
        // Reading stopped: an original not found may just not have been read.
        std::vector<RegisterRow> stopped = rows;
        linkRegisterRows(stopped, false);
        QCOMPARE(stopped[4].notes(),
                 QStringLiteral("koryguje FV/1/2026 (a.xml); koryguje FV/2/2026: brak jej wśród odczytanych"));
        QCOMPARE(totalsText(registerTotals(pointers(rows))),
                 QStringLiteral("EUR: 1 faktura; P_13_1 100,00; P_14_1 23,00; P_14_1W 97,75; P_15 123,00\n"
                                "PLN: 3 faktury; P_13_1 190,00; P_14_1 43,70; P_15 233,70"));
    }

    // Every header figure of the public examples and of our own, as the invoice states it.
    void examplesFiguresAsStated_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("public") << examplesFolder();
        QTest::newRow("own") << QStringLiteral(VELKOR_TEST_OWN_EXAMPLES_DIR);
    }
    void examplesFiguresAsStated()
    {
        QFETCH(QString, folder);
        const std::vector<RegisterRow> rows = readAll(folderSource(folder));
        QVERIFY(rows.size() >= 5);
        int figures = 0;
        for (const RegisterRow &row : rows) {
            if (!row.valid)
                continue;
            QFile file(QDir(folder).filePath(row.file));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString xml = QString::fromUtf8(file.readAll());
            const QStringList cells = registerCells(row);
            for (std::size_t k = 0; k < RegisterTotalCount; ++k) {
                const QString name = QLatin1String(RegisterTotalNames[k]);
                const QRegularExpression element(QStringLiteral("<(?:\\w+:)?%1>\\s*([^<]*?)\\s*</").arg(name));
                const QRegularExpressionMatch match = element.match(xml);
                QString stated = match.hasMatch() ? match.captured(1) : QString();
                if (!stated.isEmpty() && !stated.contains(u'.'))
                    stated += QStringLiteral(".00");
                else if (stated.indexOf(u'.') == stated.size() - 2)
                    stated += u'0';
                QCOMPARE(cells[11 + qsizetype(k)], stated.replace(u'.', u','));
                figures += !stated.isEmpty();
            }
        }
        QVERIFY(figures > 10);
    }

    // The register's verdict and check agree with the single-invoice load: on
    // every example, and where the only text of an element is a space after a
    // comment, which the register's reading drops and the load keeps.
    void agreesWithTheLoad_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("public") << examplesFolder();
        QTest::newRow("own") << QStringLiteral(VELKOR_TEST_OWN_EXAMPLES_DIR);
        QTest::newRow("space after a comment") << QString();
    }
    void agreesWithTheLoad()
    {
        QFETCH(QString, folder);
        QTemporaryDir written;
        if (folder.isEmpty()) {
            TestInvoice spaced = invoice("FV/1/2026", "2026-01-31");
            spaced.stopka = QStringLiteral("<Informacje><StopkaFaktury><!-- stopka --> </StopkaFaktury></Informacje>");
            writeTestFile(written.path(), QStringLiteral("spacja.xml"), spaced.toXml().toUtf8());
            folder = written.path();
        }
        const InvoiceSchema schema = InvoiceSchema::compile(schemaFile());
        int valid = 0;
        for (const RegisterRow &row : readAll(folderSource(folder))) {
            QString reason;
            const ParseOutcome loaded = parseInvoice(readInvoiceFile(QDir(folder).filePath(row.file), reason),
                                                     TextEncoding::Declared, schema);
            QCOMPARE(row.valid, loaded.document && CheckInvoiceHeader(*loaded.document));
            if (!row.valid)
                continue;
            ++valid;
            const InvoiceDocument &document = *loaded.document;
            const CheckReport report = checkInvoice(document, buildInvoiceLines(document, QStringLiteral(",")), QString(),
                                                    QStringLiteral(","));
            QCOMPARE(QStringLiteral("Kontrola: ") + row.checkText(), checkStatusText(report));
        }
        QVERIFY(valid > 0);
    }

    void checkWording_data()
    {
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("remarks");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << 0 << "bez uwag";
        QTest::newRow("one remark") << 0 << 1 << "1 uwaga";
        QTest::newRow("errors and a remark") << 2 << 1 << "2 błędy, 1 uwaga";
        QTest::newRow("5 errors") << 5 << 0 << "5 błędów";
        QTest::newRow("22 remarks, 1 error") << 1 << 22 << "1 błąd, 22 uwagi";
        QTest::newRow("12 remarks") << 0 << 12 << "12 uwag";
    }
    void checkWording()
    {
        QFETCH(int, errors);
        QFETCH(int, remarks);
        QFETCH(QString, text);
        QCOMPARE(checkCountText(errors, remarks), text);
    }

    void csvQuoting()
    {
        RegisterRow row;
        row.file = QStringLiteral("a;b.xml");
        row.seller = QStringLiteral("Firma \"X\"\nOddział");
        row.ownNotes << QStringLiteral("powód");
        const QString csv = QString::fromUtf8(registerCsv({&row})).section(QStringLiteral("\r\n"), 1);
        QVERIFY(csv.startsWith(QStringLiteral("\"a;b.xml\";;;;;;;\"Firma \"\"X\"\"\nOddział\";")));
        QVERIFY(csv.endsWith(QStringLiteral(";;powód\r\n")));
    }

    // Hostile and odd files each get a row with a reason; nothing stops the reading.
    void hostileFiles()
    {
        QTemporaryDir folder, outside;
        const QString secret = writeTestFile(outside.path(), QStringLiteral("secret.xml"),
                                             invoice("FV/9/2026", "2026-01-01").toXml().toUtf8());
        QString laughs = QStringLiteral("<!ENTITY a0 \"haha\">");
        for (int k = 1; k <= 15; ++k)
            laughs += QStringLiteral("<!ENTITY a%1 \"&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;\">").arg(k).arg(k - 1);
        TestInvoice bomb = invoice("FV/1/2026", "2026-01-31");
        bomb.prolog += QStringLiteral("<!DOCTYPE Faktura [%1]>\n").arg(laughs);
        bomb.faStart.replace(QStringLiteral("FV/1/2026"), QStringLiteral("&a15;"));
        writeTestFile(folder.path(), QStringLiteral("bomb.xml"), bomb.toXml().toUtf8());
        TestInvoice external = invoice("FV/1/2026", "2026-01-31");
        external.prolog += QStringLiteral("<!DOCTYPE Faktura [<!ENTITY x SYSTEM \"file://%1\">]>\n").arg(secret);
        external.faStart.replace(QStringLiteral("FV/1/2026"), QStringLiteral("&x;"));
        writeTestFile(folder.path(), QStringLiteral("xxe.xml"), external.toXml().toUtf8());
        writeTestFile(folder.path(), QStringLiteral("deep.xml"),
                      (QStringLiteral("<a>").repeated(5000) + QStringLiteral("</a>").repeated(5000)).toUtf8());
        writeTestFile(folder.path(), QStringLiteral("utf.xml"), invoice("FV/\xC3\x28", "2026-01-31").toXml().toLatin1());
        writeTestFile(folder.path(), QStringLiteral("empty.xml"), QByteArray());
#if defined(Q_OS_UNIX)
        QVERIFY(QFile::link(secret, folder.filePath(QStringLiteral("link.xml"))));
        QVERIFY(QFile::link(folder.path(), folder.filePath(QStringLiteral("loop"))));
        QCOMPARE(mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("fifo.xml"))).constData(), 0600), 0);
#endif

        writeTestFile(folder.path(), QStringLiteral("znika.xml"), "<a/>"); // gone between listing and reading
        // Read last, by the parser that read every hostile file before it.
        writeTestFile(folder.path(), QStringLiteral("zz-dobra.xml"), invoice("FV/2/2026", "2026-01-31").toXml().toUtf8());
        std::unique_ptr<RegisterSource> source = folderSource(folder.path());
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("znika.xml"))));

        QElapsedTimer timer;
        timer.start();
        std::vector<RegisterRow> rows = readAll(std::move(source), 1);
        QVERIFY(timer.elapsed() < 30000);
        QVERIFY(!rows.empty() && rows.back().file == QStringLiteral("zz-dobra.xml"));
        QVERIFY2(rows.back().valid && rows.back().notes().isEmpty(), qPrintable(rows.back().notes()));
        rows.pop_back();
        QMap<QString, QString> notes;
        for (const RegisterRow &row : rows) {
            QVERIFY2(!row.valid, qPrintable(row.file));
            QVERIFY2(!row.ownNotes.isEmpty(), qPrintable(row.file));
            QVERIFY(!row.notes().contains(QStringLiteral("FV/9/2026")));
            notes.insert(row.file, row.notes());
        }
        QCOMPARE(notes.value(QStringLiteral("znika.xml")), QStringLiteral("Plik nie istnieje."));
#if defined(Q_OS_UNIX)
        QCOMPARE(int(rows.size()), 9);
        QCOMPARE(notes.value(QStringLiteral("link.xml")), QStringLiteral("Dowiązanie symboliczne: pominięte."));
        QCOMPARE(notes.value(QStringLiteral("loop")), QStringLiteral("Dowiązanie symboliczne: pominięte."));
        QCOMPARE(notes.value(QStringLiteral("fifo.xml")), QStringLiteral("Wskazana ścieżka nie jest zwykłym plikiem."));
#else
        QCOMPARE(int(rows.size()), 6);
#endif
    }

    // A package that inflates past its bound: what lies beyond is refused, not held.
    void inflatedLimit()
    {
        QTemporaryDir folder;
        const QString zip = folder.filePath(QStringLiteral("bomba.zip"));
        const QByteArray spaces(700 * 1024, ' ');
        writeZip(zip, {{QStringLiteral("a.xml"), spaces}, {QStringLiteral("b.xml"), spaces}, {QStringLiteral("c.xml"), spaces}});
        QVERIFY(QFileInfo(zip).size() < 64 * 1024);
        const std::vector<RegisterRow> rows = readAll(packageSource(zip, 1024 * 1024));
        QCOMPARE(int(rows.size()), 3);
        QVERIFY2(rows[0].notes().startsWith(QStringLiteral("Błąd walidacji FA3")), qPrintable(rows[0].notes()));
        for (std::size_t k : {1, 2})
            QCOMPARE(rows[k].notes(), QStringLiteral("Paczka po rozpakowaniu przekracza 1 MB: pliku nie odczytano."));
    }

    void package()
    {
        QTemporaryDir folder;
        const QString k2 = QStringLiteral("5261040567-20260201-0400A072354A-27");
        const QString k3 = QStringLiteral("7740001454-20260204-58008099DD6C-9D");
        const QByteArray first = invoice("FV/1/2026", "2026-01-31").toXml().toUtf8();
        const QByteArray second = invoice("FV/2/2026", "2026-02-01").toXml().toUtf8();
        const QString missing = QStringLiteral("9999999999-20260205-000000000000-00");
        const QString metadata = QStringLiteral("{\"invoices\":[%1,%2,%3,%4]}")
                                     .arg(metadataOf(K1, "FV/1/2026", "123", first),
                                          metadataOf(k2, "FV/7/2026", "124.5", first),
                                          metadataOf(k3, "FV/3/2026", "1", "x"), metadataOf(missing, "FV/5/2026", "1", "y"));
        const QString zip = folder.filePath(QStringLiteral("paczka.zip"));
        writeZip(zip, {{K1 + QStringLiteral(".xml"), first},
                       {k2 + QStringLiteral(".xml"), second},
                       {QStringLiteral("bez-metadanych.xml"), invoice("FV/4/2026", "2026-02-02").toXml().toUtf8()},
                       {QStringLiteral("../wyjscie.xml"), first},
                       {QStringLiteral("pusty.xml"), QByteArray()},
                       {QStringLiteral("/etc/bezwzgledna.xml"), first},
                       {k3 + QStringLiteral(".xml"), QByteArray(MaxInvoiceSize + 1, ' ')}, // refused unread
                       {QStringLiteral("_metadata.json"), metadata.toUtf8()}});
        const std::vector<RegisterRow> rows = readAll(packageSource(zip));
        QStringList got;
        for (const RegisterRow &row : rows)
            got << row.file + u'|' + row.ksefNumber + u'|' + row.notes();
        const QString refused = QStringLiteral("Niedozwolona nazwa pliku w paczce (ścieżka bezwzględna lub „..”).");
        QCOMPARE(got, QStringList({
            K1 + QStringLiteral(".xml|") + K1 + QStringLiteral("|"),
            k2 + QStringLiteral(".xml|") + k2 + QStringLiteral("|metadane: inny skrót SHA-256; metadane: inny numer faktury (FV/7/2026); metadane: inna kwota brutto (124,50)"),
            QStringLiteral("bez-metadanych.xml||brak w metadanych"),
            QStringLiteral("../wyjscie.xml||") + refused,
            QStringLiteral("pusty.xml||Plik jest pusty."),
            QStringLiteral("/etc/bezwzgledna.xml||") + refused,
            k3 + QStringLiteral(".xml|") + k3 + QStringLiteral("|Plik w paczce jest zbyt duży (ponad 64 MB)."),
            QStringLiteral("|") + missing + QStringLiteral("|w metadanych, brak pliku"),
        }));
        QString reason;
        QCOMPARE(packageSource(zip)->entryBytes(k2 + QStringLiteral(".xml"), reason), second);
        {
            // Once read, a file is found again where the reading saw it.
            RegisterReading reading(packageSource(zip), std::make_shared<const InvoiceSchema>(InvoiceSchema::compile(schemaFile())), 1);
            QTRY_VERIFY(reading.finished());
            const std::unique_ptr<RegisterSource> read = reading.releaseSource();
            QCOMPARE(read->entryBytes(K1 + QStringLiteral(".xml"), reason), first);
            QCOMPARE(read->entryBytes(k2 + QStringLiteral(".xml"), reason), second);
            QVERIFY(reason.isEmpty());
        }
        QVERIFY(packageSource(zip)->entryBytes(QStringLiteral("../wyjscie.xml"), reason).isEmpty());
        // Reading stopped before any file: none of them is missing from the package.
        std::vector<RegisterRow> stopped;
        packageSource(zip)->finish(stopped, false);
        QVERIFY(stopped.empty());

        // A corrupt metadata file is reported; the invoices are still listed.
        writeZip(zip, {{K1 + QStringLiteral(".xml"), first}, {QStringLiteral("_metadata.json"), "[{\"ksefNumber\":"}});
        const std::vector<RegisterRow> corrupt = readAll(packageSource(zip));
        QCOMPARE(int(corrupt.size()), 2);
        QVERIFY(corrupt[0].valid && corrupt[0].notes().isEmpty());
        QVERIFY(corrupt[1].notes().startsWith(QStringLiteral("Uszkodzony plik metadanych: ")));
        // Not a ZIP at all: one row with the reason.
        writeTestFile(folder.path(), QStringLiteral("zly.zip"), "PK nie");
        const std::vector<RegisterRow> broken = readAll(packageSource(folder.filePath(QStringLiteral("zly.zip"))));
        QCOMPARE(int(broken.size()), 1);
        QVERIFY(!broken[0].notes().isEmpty());
    }

    void metadataForms_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("summary"); // ksef|number|nip|gross|hash bytes, or the reason's start
        const QByteArray hash = QByteArray(32, '\xfb').toBase64();
        QTest::newRow("array") << QByteArray("[{\"ksefNumber\":\"K\",\"invoiceNumber\":\"F/1\",\"seller\":{\"nip\":\"1\"},"
                                             "\"grossAmount\":12.5,\"invoiceHash\":\"" + hash + "\"}]")
                               << "K|F/1|1|12,50|32";
        QTest::newRow("object, base64url, gross as text")
            << QByteArray("{\"invoices\":[{\"ksefNumber\":\"K\",\"grossAmount\":\"0.10\",\"invoiceHash\":\""
                          + QByteArray(32, '\xfb').toBase64(QByteArray::Base64UrlEncoding) + "\"}]}")
            << "K|||0,10|32";
        QTest::newRow("no gross") << QByteArray("[{\"ksefNumber\":\"K\"}]") << "K|||-|0";
        QTest::newRow("not JSON") << QByteArray("[{") << "!";
        QTest::newRow("no array") << QByteArray("{\"faktury\":[]}") << "!brak tablicy";
    }
    void metadataForms()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, summary);
        QString reason;
        const std::vector<InvoiceMetadata> entries = parseInvoiceMetadata(json, reason);
        if (summary.startsWith(u'!')) {
            QVERIFY(entries.empty());
            QVERIFY(reason.startsWith(summary.mid(1)) && !reason.isEmpty());
            return;
        }
        QCOMPARE(int(entries.size()), 1);
        const InvoiceMetadata &m = entries[0];
        QCOMPARE(QStringList({m.ksefNumber, m.invoiceNumber, m.sellerNip,
                              m.grossAmount ? m.grossAmount->format(2, u",") : QStringLiteral("-"),
                              QString::number(m.invoiceHash.size())})
                     .join(u'|'),
                 summary);
    }

    void freeNames()
    {
        QTemporaryDir folder;
        QCOMPARE(freeFilePath(folder.path(), QStringLiteral("FV_1"), QStringLiteral(".pdf")), folder.filePath(QStringLiteral("FV_1.pdf")));
        writeTestFile(folder.path(), QStringLiteral("FV_1.pdf"), "1");
        writeTestFile(folder.path(), QStringLiteral("FV_1 (2).pdf"), "2");
        QCOMPARE(freeFilePath(folder.path(), QStringLiteral("FV_1"), QStringLiteral(".pdf")), folder.filePath(QStringLiteral("FV_1 (3).pdf")));
    }

    void cancelStops()
    {
        QTemporaryDir folder;
        const QByteArray bytes = invoice("FV/1/2026", "2026-01-31").toXml().toUtf8();
        for (int k = 0; k < 400; ++k)
            writeTestFile(folder.path(), QStringLiteral("f%1.xml").arg(k, 3, 10, QLatin1Char('0')), bytes);
        auto schema = std::make_shared<const InvoiceSchema>(InvoiceSchema::compile(schemaFile()));
        RegisterReading reading(folderSource(folder.path()), schema, 2);
        QCOMPARE(reading.total(), 400);
        reading.cancel();
        QTRY_VERIFY(reading.finished());
        QVERIFY(reading.done() < 400);
        QCOMPARE(int(reading.take().size()), reading.done());
    }
};

QTEST_GUILESS_MAIN(TestRegister)
#include "tst_register.moc"
