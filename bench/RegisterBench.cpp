// Measures the register of invoices on a package-sized set: generates 10,000
// schema-valid invoices of 1 to 20 lines (some corrections, some in euro, a
// few invalid, a few duplicates) into a temporary folder, then times
//   the floor: libxml2 parsing and validating every file against the schema
//              compiled once, on as many threads as the register uses;
//   the register: reading the folder to its rows (validation, fields, check),
//              linking duplicates and corrections;
//   the CSV export of every row;
// and prints them with the peak memory and whether the targets are met.
//
//   build/bin/velkor_register_bench [invoices [threads]]
//
// Exits with 2 when a target is missed.
#include "InvoiceGenerator.h"
#include "Measure.h"

#include "core/register/RegisterReading.h"
#include "core/register/RegisterSet.h"
#include "load/InvoiceParser.h"
#include "load/InvoiceSchema.h"
#include "load/OfflineResources.h"
#include "support/XmlHandles.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <thread>

using namespace velkor;

namespace {

QByteArray generated(int k)
{
    QByteArray bytes = bench::generateInvoice(1 + k % 20);
    bytes.replace("FV/2026/03/BENCH", QStringLiteral("FV/2026/%1").arg(k).toUtf8());
    if (k % 4 != 0)
        bytes.replace("<KodWaluty>EUR</KodWaluty>", "<KodWaluty>PLN</KodWaluty>");
    if (k % 6 != 0)
        bytes.replace("<RodzajFaktury>KOR</RodzajFaktury>", "<RodzajFaktury>VAT</RodzajFaktury>");
    if (k % 500 == 7)
        bytes.truncate(bytes.size() / 2); // invalid
    return bytes;
}

void silence(void *, xmlErrorPtr) {}

// libxml2 alone: parse and validate each file, nothing else.
double floorMs(const QStringList &files, const InvoiceSchema &schema, int threads)
{
    std::atomic<int> next{0};
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            xmlSetStructuredErrorFunc(nullptr, silence);
            XmlSchemaValidCtxtHandle validator(xmlSchemaNewValidCtxt(schema.get()));
            for (int k; (k = next++) < files.size();) {
                QFile file(files[k]);
                if (!file.open(QIODevice::ReadOnly))
                    continue;
                const QByteArray bytes = file.readAll();
                XmlDocHandle doc(xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr,
                                               XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_BIG_LINES));
                if (doc)
                    xmlSchemaValidateDoc(validator.get(), doc.get());
            }
        });
    }
    for (std::thread &worker : workers)
        worker.join();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    initializeXmlLibrary();
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int threads = argc > 2 ? std::atoi(argv[2]) : std::max(1, QThread::idealThreadCount());
    const QString schemaFile = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("sql/schemaFA3.xsd"));
    auto schema = std::make_shared<const InvoiceSchema>(InvoiceSchema::compile(schemaFile));

    QTemporaryDir folder;
    QStringList files;
    qint64 bytes = 0;
    QByteArray previous;
    for (int k = 0; k < count; ++k) {
        const QByteArray invoice = k % 1000 == 999 ? previous : generated(k); // a few duplicates
        const QString path = folder.filePath(QStringLiteral("%1/%2.xml").arg(k / 1000).arg(k, 5, 10, QLatin1Char('0')));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(invoice) != invoice.size())
            return 1;
        files << path;
        bytes += invoice.size();
        previous = invoice;
    }
    std::printf("%d invoices, %.1f MB, %d threads\n", count, double(bytes) / 1e6, threads);

    const double floor = floorMs(files, *schema, threads);
    bench::resetPeakResident();
    const std::size_t before = bench::residentBytes();
    QElapsedTimer timer;
    timer.start();
    std::vector<RegisterRow> rows;
    {
        RegisterReading reading(folderSource(folder.path()), schema, threads);
        rows.resize(std::size_t(reading.total()));
        while (!reading.finished()) {
            QThread::msleep(20);
            for (auto &[index, row] : reading.take())
                rows[std::size_t(index)] = std::move(row);
        }
        for (auto &[index, row] : reading.take())
            rows[std::size_t(index)] = std::move(row);
        linkRegisterRows(rows);
    }
    const double registerMs = double(timer.nsecsElapsed()) / 1e6;
    const double listingMs = bench::medianMilliseconds(1, {}, [&] { folderSource(folder.path()); });
    const double peakMiB = double(bench::peakResidentBytes()) / (1024.0 * 1024.0);

    // Where the time goes, on one thread over the first thousand files.
    std::vector<QByteArray> sample;
    for (int k = 0; k < std::min(count, 1000); ++k) {
        QFile file(files[k]);
        sample.push_back(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    const double parseSample = bench::medianMilliseconds(1, {}, [&] {
        for (const QByteArray &bytes : sample)
            parseInvoice(bytes, TextEncoding::Declared, *schema);
    });
    const double rowSample = bench::medianMilliseconds(1, {}, [&] {
        for (const QByteArray &bytes : sample)
            readRegisterRow(QString(), bytes, *schema);
    });

    std::vector<const RegisterRow *> shown;
    for (const RegisterRow &row : rows)
        shown.push_back(&row);
    QByteArray csv;
    const double csvMs = bench::medianMilliseconds(3, {}, [&] { csv = registerCsv(shown); });
    int valid = 0, duplicates = 0;
    for (const RegisterRow &row : rows) {
        valid += row.valid;
        duplicates += row.duplicate;
    }

    const bool registerOk = registerMs <= 1.5 * floor;
    const bool memoryOk = peakMiB < 300;
    const bool csvOk = csvMs < 1000;
    std::printf("rows %zu (valid %d, duplicates %d), CSV %.1f MB, resident before reading %.0f MiB\n", rows.size(), valid,
                duplicates, double(csv.size()) / 1e6, double(before) / (1024.0 * 1024.0));
    std::printf("%-44s %10s %10s %s\n", "step", "ms", "target", "met");
    std::printf("%-44s %10.0f %10s\n", "floor: libxml2 parse + validate", floor, "");
    std::printf("%-44s %10.0f %10.0f %s\n", "register: read, validate, check, link", registerMs, 1.5 * floor,
                registerOk ? "yes" : "NO");
    std::printf("%-44s %10.1f %10d %s\n", "CSV export of every row", csvMs, 1000, csvOk ? "yes" : "NO");
    std::printf("%-44s %10.0f %10d %s\n", "peak resident memory while reading (MiB)", peakMiB, 300,
                memoryOk ? "yes" : "NO");
    std::printf("listing the folder alone: %.0f ms\n", listingMs);
    std::printf("one thread, %zu files: the load's parse and validation %.0f ms, the whole row %.0f ms\n",
                sample.size(), parseSample, rowSample);
    return registerOk && memoryOk && csvOk ? 0 : 2;
}
