// Measures the register of invoices on a package-sized set: generates 10,000
// schema-valid invoices of 1 to 20 lines (some corrections, some in euro, a
// few invalid, a few duplicates) into a temporary folder, and the same files
// into a ZIP package in another, then times
//   the floor: libxml2 parsing and validating every file against the schema
//              compiled once, on as many threads as the register uses;
//   the register: reading the folder to its rows (validation, fields, check),
//              linking duplicates and corrections;
//   the CSV export of every row;
// then reads the same folder in the register window of an offscreen main
// window, timing it, the longest wait between two repaints of the window, the
// peak memory of the process, Ctrl+S of every row, and Enter on a row against
// F5 of the same file; then the same again for the package;
// and prints them with whether the targets are met.
//
//   build/bin/velkor_register_bench [invoices [threads [rounds]]]
//
// Exits with 2 when a target is missed.
#include "BenchDesktop.h"
#include "InvoiceGenerator.h"
#include "Measure.h"

#include "core/load/InvoiceParser.h"
#include "core/load/InvoiceSchema.h"
#include "core/load/OfflineResources.h"
#include "core/load/XmlHandles.h"
#include "core/register/LocalTimeZone.h"
#include "core/register/RegisterReading.h"
#include "core/register/RegisterSet.h"
#include "core/support/Desktop.h"
#include "gui/commands/CommandDispatch.h"
#include "gui/register/RegisterModel.h"
#include "gui/register/RegisterWindow.h"
#include "gui/window/MainWindow.h"

#include <archive.h>
#include <archive_entry.h>
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <limits>
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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


// When each widget of the register window was painted.
class PaintClock : public QObject
{
public:
    QElapsedTimer clock;
    std::vector<double> paints; // ms since the clock started
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType()
            && static_cast<QWidget *>(object)->window()->objectName() == QLatin1String("Rejestr"))
            paints.push_back(double(clock.nsecsElapsed()) / 1e6);
        return false;
    }
};

struct WindowFigures
{
    double readMs = -1;     // from F8's folder to the title without "(k / N)"
    double longestGap = -1; // between two repaints, from the start to the first repaint after the end
    double gapEnd = 0;
    std::size_t paints = 0;
    double peakMiB = 0;
    double csvMs = -1;
    double enterMs = -1, f5Ms = -1;
    int rows = 0;
};

WindowFigures measureWindow(const QString &folder, const QString &file, const QString &csv)
{
    WindowFigures figures;
    bench::BenchDesktop desktop;
    desktop.file = file;
    desktop.saveFile = csv;
    MainWindow window(&desktop);
    window.Edit(QString());
    window.show();
    QApplication::processEvents();
    PaintClock paints;
    qApp->installEventFilter(&paints);
    bench::resetPeakResident();
    paints.clock.start();
    window.commands().openRegister({folder});
    auto *reg = window.findChild<RegisterWindow *>();
    if (!reg)
        return figures;
    const QRegularExpression reading(QStringLiteral("  \\(\\d+ / \\d+\\)$"));
    QEventLoop loop;
    QObject::connect(reg, &QWidget::windowTitleChanged, &loop, [&](const QString &title) {
        if (!reading.match(title).hasMatch())
            loop.quit();
    });
    if (reading.match(reg->windowTitle()).hasMatch())
        loop.exec();
    figures.readMs = double(paints.clock.nsecsElapsed()) / 1e6;
    QTest::qWait(300);
    qApp->removeEventFilter(&paints);
    figures.peakMiB = double(bench::peakResidentBytes()) / (1024.0 * 1024.0);
    double previous = 0;
    for (double paint : paints.paints) {
        if (paint - previous > figures.longestGap) {
            figures.longestGap = paint - previous;
            figures.gapEnd = paint;
        }
        previous = paint;
        ++figures.paints;
        if (paint > figures.readMs)
            break;
    }
    figures.rows = reg->filter().rowCount();
    figures.csvMs = bench::medianMilliseconds(3, [&] { QFile::remove(csv); }, [&] { reg->exportCsv(); });

    // Enter on the row of `file`, and F5 of it, taking turns.
    int row = -1;
    for (int k = 0; k < reg->filter().rowCount() && row < 0; ++k) {
        if (QFileInfo(reg->filter().index(k, 0).data().toString()).fileName() == QFileInfo(file).fileName())
            row = k;
    }
    if (row < 0)
        return figures;
    std::vector<double> enter, f5;
    for (int repetition = 0; repetition < 15; ++repetition) {
        QElapsedTimer timer;
        reg->table()->setCurrentIndex(reg->filter().index(row, 0));
        timer.start();
        QTest::keyClick(reg->table(), Qt::Key_Return);
        QApplication::processEvents();
        enter.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        window.commands().Form_KeyDown(Qt::Key_F5, Qt::NoModifier);
        QApplication::processEvents();
        f5.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(enter.begin(), enter.end());
    std::sort(f5.begin(), f5.end());
    figures.enterMs = enter[enter.size() / 2];
    figures.f5Ms = f5[f5.size() / 2];
    if (!window.windowTitle().endsWith(QFileInfo(file).fileName()))
        std::fprintf(stderr, "the main window does not show %s\n", qPrintable(file));
    return figures;
}

void printWindow(const QString &title, const WindowFigures &window, double floor)
{
    std::printf("%s\n", qPrintable(title));
    std::printf("%-44s %10.0f %10.0f %s\n", "  reading until the title is complete", window.readMs, 1.5 * floor,
                window.readMs <= 1.5 * floor ? "yes" : "NO");
    std::printf("%-44s %10.0f %10d %s\n", "  longest wait between two repaints", window.longestGap, 100,
                window.longestGap <= 100 ? "yes" : "NO");
    std::printf("    (it ended %.0f ms after reading began; %zu repaints)\n", window.gapEnd, window.paints);
    std::printf("%-44s %10.0f %10d %s\n", "  peak resident memory, whole process (MiB)", window.peakMiB, 300,
                window.peakMiB < 300 ? "yes" : "NO");
    std::printf("%-44s %10.1f %10d %s\n", "  Eksport CSV of every row, file written", window.csvMs, 1000,
                window.csvMs < 1000 ? "yes" : "NO");
    std::printf("%-44s %10.1f %10.1f %s\n", "  Enter on a row, invoice shown (median of 15)", window.enterMs,
                window.f5Ms, window.enterMs <= 1.1 * window.f5Ms + 1 ? "yes" : "NO");
    std::printf("%-44s %10.1f\n", "  F5 of the same file (median of 15)", window.f5Ms);
    std::fflush(stdout);
}

// Every file deflated into one ZIP package, named below the folder.
bool writePackage(const QString &zip, const QString &folder, const QStringList &files)
{
    archive *package = archive_write_new();
    archive_write_set_format_zip(package);
    bool written = archive_write_open_filename(package, QFile::encodeName(zip).constData()) == ARCHIVE_OK;
    for (const QString &path : files) {
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, QDir(folder).relativeFilePath(path).toUtf8().constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, bytes.size());
        written = written && archive_write_header(package, entry) == ARCHIVE_OK
                  && archive_write_data(package, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
        archive_entry_free(entry);
    }
    written = archive_write_close(package) == ARCHIVE_OK && written;
    archive_write_free(package);
    return written;
}

} // namespace

int main(int argc, char *argv[])
{
    nameLocalTimeZoneOnce(); // as the program does
    QTemporaryDir configuration;
    bench::prepareApplication(configuration);
    QApplication application(argc, argv);
    initializeXmlLibrary();
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int threads = argc > 2 ? std::atoi(argv[2]) : std::max(1, QThread::idealThreadCount());
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    const QString schemaFile = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("sql/schemaFA3.xsd"));
    auto schema = std::make_shared<const InvoiceSchema>(InvoiceSchema::compile(schemaFile));

    QTemporaryDir folder;
    QStringList files;
    qint64 bytes = 0;
    qsizetype smallest = std::numeric_limits<qsizetype>::max(), largest = 0;
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
        smallest = std::min(smallest, invoice.size());
        largest = std::max(largest, invoice.size());
        previous = invoice;
    }
    std::printf("%d invoices, %.1f MB (%.1f to %.1f KB), %d threads, medians of %d rounds\n", count,
                double(bytes) / 1e6, double(smallest) / 1e3, double(largest) / 1e3, threads, rounds);
    // The same files as the national system's package delivers them, written
    // now with the files, so that neither is read while the system is still
    // writing it out; in a folder of its own, so the folder's set stays the files.
    QTemporaryDir packageFolder;
    const QString zip = packageFolder.filePath(QStringLiteral("paczka.zip"));
    if (!writePackage(zip, folder.path(), files))
        return 1;

    // The floor and the register take turns, so that both meet the same load
    // of the machine; the medians are compared.
    std::vector<double> floors, registers, floorCpu, registerCpu;
    std::vector<RegisterRow> rows;
    double peakMiB = 0;
    std::size_t before = 0;
    for (int round = 0; round < rounds; ++round) {
        std::clock_t cpu = std::clock();
        floors.push_back(floorMs(files, *schema, threads));
        floorCpu.push_back(double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        rows.clear();
        bench::resetPeakResident();
        before = bench::residentBytes();
        QElapsedTimer timer;
        timer.start();
        cpu = std::clock();
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
        registers.push_back(double(timer.nsecsElapsed()) / 1e6);
        registerCpu.push_back(double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        peakMiB = std::max(peakMiB, double(bench::peakResidentBytes()) / (1024.0 * 1024.0));
    }
    const double floor = median(floors);
    const double registerMs = median(registers);
    const double listingMs = bench::medianMilliseconds(1, {}, [&] { folderSource(folder.path()); });

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

    const std::size_t sampled = sample.size();
    sample.clear();
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

    std::printf("rows %zu (valid %d, duplicates %d), CSV %.1f MB, resident before reading %.0f MiB\n", rows.size(), valid,
                duplicates, double(csv.size()) / 1e6, double(before) / (1024.0 * 1024.0));
    std::printf("%-44s %10s %10s %s\n", "step", "ms", "target", "met");
    std::printf("%-44s %10.0f %10s\n", "floor: libxml2 parse + validate", floor, "");
    std::printf("%-44s %10.0f %10.0f %s\n", "register: read, validate, check, link", registerMs, 1.5 * floor,
                registerMs <= 1.5 * floor ? "yes" : "NO");
    std::printf("%-44s %10.0f\n", "floor, processor time of all threads", median(floorCpu));
    std::printf("%-44s %10.0f %10.0f %s\n", "register, processor time of all threads", median(registerCpu),
                1.5 * median(floorCpu), median(registerCpu) <= 1.5 * median(floorCpu) ? "yes" : "NO");
    std::printf("%-44s %10.1f %10d %s\n", "CSV export of every row", csvMs, 1000, csvMs < 1000 ? "yes" : "NO");
    std::printf("%-44s %10.0f %10d %s\n", "peak resident memory while reading (MiB)", peakMiB, 300,
                peakMiB < 300 ? "yes" : "NO");
    std::printf("listing the folder alone: %.0f ms\n", listingMs);
    std::printf("one thread, %zu files: the load's parse and validation %.0f ms, the whole row %.0f ms\n",
                sampled, parseSample, rowSample);
    std::fflush(stdout);
    // The window reads on its own; what the measures above kept goes first.
    shown.clear();
    csv.clear();
    rows = std::vector<RegisterRow>();
    const QString file = files[std::max(0, count - 3)]; // late in the package, and valid
    const QString csvFile = folder.filePath(QStringLiteral("rejestr.csv"));
    const WindowFigures window = measureWindow(folder.path(), file, csvFile);
    printWindow(QStringLiteral("in the window, the folder (%1 rows):").arg(window.rows), window, floor);
    // The package, read in memory.
    const WindowFigures packaged = measureWindow(zip, file, csvFile);
    printWindow(QStringLiteral("in the window, a ZIP package of the same files (%1 rows, %2 MB):")
                    .arg(packaged.rows)
                    .arg(double(QFileInfo(zip).size()) / 1e6, 0, 'f', 1),
                packaged, floor);

    const bool registerOk = registerMs <= 1.5 * floor;
    bool windowsOk = true;
    for (const WindowFigures *figures : {&window, &packaged}) {
        windowsOk = windowsOk && figures->rows == count && figures->readMs <= 1.5 * floor && figures->peakMiB < 300
                    && figures->csvMs < 1000 && figures->longestGap <= 100
                    && figures->enterMs <= 1.1 * figures->f5Ms + 1;
    }
    const bool memoryOk = peakMiB < 300;
    const bool csvOk = csvMs < 1000;
    return registerOk && memoryOk && csvOk && windowsOk ? 0 : 2;
}
