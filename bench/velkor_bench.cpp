// Measures how Velkor handles the largest invoices: generates schema-valid
// FA(3) invoices of 1,000, 5,000 and 9,090 lines (every tenth corrected),
// then times the load, the display refresh, the heavier pane operations and
// the printout to PDF against the floor of a bare libxml2 parse and
// validation, and prints one table with the medians and whether the targets
// are met.
//
//   build/bin/velkor_bench [repetitions [line counts...]]
//
// The schema set is read from sql/ beside the executable. With the
// environment variable VELKOR_BENCH_VERBOSE set, every timed run is printed.
// Exits with 2 when a target is missed.
#include "BenchDesktop.h"
#include "InvoiceGenerator.h"
#include "Measure.h"

#include "core/check/InvoiceCheck.h"
#include "core/invoice/InvoiceLines.h"
#include "core/invoice/ListModel.h"
#include "core/load/InvoiceLoader.h"
#include "core/load/InvoiceParser.h"
#include "core/load/InvoiceSchema.h"
#include "core/load/OfflineResources.h"
#include "core/load/XmlHandles.h"
#include "core/support/Desktop.h"
#include "core/tree/RevealRequest.h"
#include "core/tree/XmlTree.h"
#include "gui/commands/CommandDispatch.h"
#include "gui/panes/ClipboardExport.h"
#include "gui/panes/InvoicePanes.h"
#include "gui/panes/TextAndReveal.h"
#include "gui/widgets/ListView.h"
#include "gui/window/MainWindow.h"

#include <libxml/parserInternals.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <map>

using namespace velkor;

namespace {


struct Row
{
    int lines = 0;
    int faWiersz = 0;
    qsizetype bytes = 0;
    std::map<char, double> ms; // by step letter
    double openPeakMiB = 0;   // opening it in an empty window, then every step
    double reopenPeakMiB = 0; // the same, opening it again over itself
    double pdfPeakMiB = 0;    // the whole process while it writes the PDF
    double pdfAboveMiB = 0;   // the same, above what it held before
};

const char Steps[] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'p'};
const char *const StepNames[] = {
    "(a) floor: bare libxml2 parse + validation",
    "(b) load as the program does it",
    "(c) display refresh until panes filled and focus placed",
    "(d) building the text view",
    "(e) reveal of the last line (tree and text)",
    "(f) choosing the last line (line details)",
    "(g) table text of Ctrl+F6",
    "(h) pane switch: to the built text view and back",
    "(i) the column fit button: every column to every row",
    "(p) PDF by Ctrl+Shift+P: printout built, laid out, written",
};

// Ctrl+Shift+P into `pdf`, as the user saves the printout.
void savePdf(MainWindow &window, bench::BenchDesktop &desktop, const QString &pdf)
{
    desktop.saveFile = pdf;
    QFile::remove(pdf);
    window.commands().Form_KeyDown(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    if (!QFile::exists(pdf))
        std::fprintf(stderr, "no PDF was written\n");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The floor: the faster of libxml2's two ways to parse and validate with a
// compiled schema, building the document either way. Like the program, which
// keeps the shown invoice until the next one has loaded, each run keeps the
// previous run's document until it has finished.
double floorParseAndValidate(const QByteArray &bytes, const InvoiceSchema &schema, int repetitions)
{
    XmlDocHandle previous;
    const double parseThenValidate = bench::medianMilliseconds(repetitions, nullptr, [&] {
        XmlDocHandle doc(xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr,
                                       XML_PARSE_NONET | XML_PARSE_BIG_LINES));
        XmlSchemaValidCtxtHandle validator(xmlSchemaNewValidCtxt(schema.get()));
        if (!doc || xmlSchemaValidateDoc(validator.get(), doc.get()) != 0)
            std::fprintf(stderr, "the floor run failed\n");
        std::swap(previous, doc);
    });
    const double validateWhileParsing = bench::medianMilliseconds(repetitions, nullptr, [&] {
        XmlParserCtxtHandle parser(xmlCreateMemoryParserCtxt(bytes.constData(), int(bytes.size())));
        XmlSchemaValidCtxtHandle validator(xmlSchemaNewValidCtxt(schema.get()));
        xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET | XML_PARSE_BIG_LINES);
        xmlSchemaSAXPlugPtr plug = xmlSchemaSAXPlug(validator.get(), &parser->sax, &parser->userData);
        xmlParseDocument(parser.get());
        xmlSchemaSAXUnplug(plug);
        XmlDocHandle doc(parser->myDoc);
        parser->myDoc = nullptr;
        if (!doc || xmlSchemaIsValid(validator.get()) != 1)
            std::fprintf(stderr, "the floor run failed\n");
        std::swap(previous, doc);
    });
    return std::min(parseThenValidate, validateWhileParsing);
}

// The median time of Ctrl+Shift+P for an invoice of ten lines.
double normalInvoicePdf(bench::BenchDesktop &desktop, const QTemporaryDir &folder, int repetitions)
{
    desktop.file = folder.filePath(QStringLiteral("faktura-10.xml"));
    QFile file(desktop.file);
    const QByteArray bytes = bench::generateInvoice(10);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return -1;
    file.close();
    MainWindow window(&desktop);
    window.Edit(QString());
    window.commands().Command_Click(8);
    return bench::medianMilliseconds(repetitions, nullptr, [&] {
        savePdf(window, desktop, folder.filePath(QStringLiteral("faktura-10.pdf")));
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir configuration;
    bench::prepareApplication(configuration);
    QApplication application(argc, argv);
    initializeXmlLibrary();

    // Arguments: the number of repetitions (5), then the line counts to
    // measure (1000 5000 9090); the first and last are compared.
    const int repetitions = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 5;
    QList<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {1000, 5000, 9090};

    const InvoiceSchema schema = InvoiceSchema::compile(MainWindow::schemaFile());
    QTemporaryDir folder;
    bench::BenchDesktop desktop;

    std::vector<Row> rows;
    for (int lines : sizes) {
        Row row;
        row.lines = lines;
        row.faWiersz = lines + lines / 10;
        const QByteArray bytes = bench::generateInvoice(lines);
        row.bytes = bytes.size();
        {
            const ParseOutcome check = parseInvoice(bytes, TextEncoding::Declared, schema);
            if (!check.document) {
                std::fprintf(stderr, "generated invoice of %d lines is not valid: %s (line %d)\n", lines,
                             qPrintable(check.reason), check.line);
                return 1;
            }
        }
        desktop.file = folder.filePath(QStringLiteral("faktura-%1.xml").arg(lines));
        QFile file(desktop.file);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
        file.close();

        row.ms['a'] = floorParseAndValidate(bytes, schema, repetitions);

        // Every size starts from an empty window; its first repetition opens
        // the invoice there, the later ones open it again over itself.
        auto window = std::make_unique<MainWindow>(&desktop);
        window->Edit(QString());
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get()))
            std::fprintf(stderr, "the window did not become active\n");
        QApplication::processEvents();
        auto *strukturaOn = window->findChild<QCheckBox *>(QStringLiteral("StrukturaOn"));
        auto *lista = window->findChild<ListView *>(QStringLiteral("Lista"));
        bench::resetPeakResident();
        const std::size_t emptyWindow = bench::residentBytes();

        std::map<char, std::vector<double>> times;
        for (int repetition = 0; repetition < repetitions; ++repetition) {
            const auto timed = [&times](char step, const std::function<void()> &run) {
                QElapsedTimer timer;
                timer.start();
                run();
                times[step].push_back(double(timer.nsecsElapsed()) / 1e6);
                if (qEnvironmentVariableIsSet("VELKOR_BENCH_VERBOSE"))
                    std::fprintf(stderr, "%c %.1f ms\n", step, times[step].back());
            };
            std::unique_ptr<InvoiceDocument> document;
            timed('b', [&] {
                LoadEnvironment environment{desktop, window->settings(), MainWindow::schemaFile()};
                QString fileName;
                document = PobierzFA3(environment, LoadSource::File, fileName);
            });
            if (!document)
                return 1;
            timed('c', [&] {
                window->panes().showInvoice(std::move(document));
                QApplication::processEvents();
            });
            timed('d', [&] { strukturaOn->setChecked(true); });
            strukturaOn->setChecked(false);
            const int lastRow = lista->listModel()->rowCount() - 1;
            const QString lastLine = RevealRequest::make(QStringLiteral("Fa / FaWiersz"), row.faWiersz);
            timed('e', [&] {
                window->textAndReveal().RevealInTree(lastLine);
                window->textAndReveal().RevealInText(lastLine);
            });
            timed('f', [&] { window->panes().ShowLineDetails(lastRow); });
            timed('g', [&] {
                ClipboardExport clipboard(desktop);
                clipboard.CopyListView(*lista, true, true);
            });
            // For reference only: the structure tree alone, which (c)
            // builds on a second thread while it fills the lists.
            timed('t', [&] { XmlTree::build(*window->state().invoiceDoc); });
            // Also for reference: the invoice lines alone, every figure of
            // every line computed and written.
            InvoiceLines lines;
            timed('l', [&] { lines = buildInvoiceLines(*window->state().invoiceDoc, InvoicePanes::decimalSeparator()); });
            // The invoice check, which runs once the panes are filled, on the
            // figures the lines list has read.
            timed('k', [&] { checkInvoice(*window->state().invoiceDoc, lines, QString(), InvoicePanes::decimalSeparator()); });
            timed('h', [&] {
                strukturaOn->setChecked(true);
                strukturaOn->setChecked(false);
            });
            timed('i', [&] { ClipboardExport::AutoFitColumns(*lista); });
            QApplication::processEvents();
            const double peak = double(bench::peakResidentBytes() - std::min(emptyWindow, bench::peakResidentBytes()));
            if (repetition == 0)
                row.openPeakMiB = peak / (1024.0 * 1024.0);
            row.reopenPeakMiB = std::max(row.reopenPeakMiB, peak / (1024.0 * 1024.0));

            // The printout has a peak of its own: from what the window holds.
            bench::resetPeakResident();
            const std::size_t beforePdf = bench::residentBytes();
            timed('p', [&] { savePdf(*window, desktop, folder.filePath(QStringLiteral("faktura.pdf"))); });
            const std::size_t pdfPeak = bench::peakResidentBytes();
            row.pdfPeakMiB = std::max(row.pdfPeakMiB, double(pdfPeak) / (1024.0 * 1024.0));
            row.pdfAboveMiB = std::max(row.pdfAboveMiB, double(pdfPeak - std::min(beforePdf, pdfPeak)) / (1024.0 * 1024.0));
            bench::resetPeakResident();
        }
        for (const auto &[step, values] : times)
            row.ms[step] = median(values);
        rows.push_back(row);
    }

    std::printf("Velkor benchmark: medians of %d runs, milliseconds (ratio to the floor (a))\n\n", repetitions);
    std::printf("%-58s", "step");
    for (const Row &row : rows)
        std::printf(" | %7d lines, %5.2f MB       ", row.lines, double(row.bytes) / 1e6);
    std::printf("\n");
    for (std::size_t i = 0; i < sizeof(Steps); ++i) {
        std::printf("%-58s", StepNames[i]);
        for (const Row &row : rows) {
            const double ms = row.ms.at(Steps[i]);
            std::printf(" | %9.1f ms (%6.2f x)   ", ms, ms / row.ms.at('a'));
        }
        std::printf("\n");
    }
    std::printf("%-58s", "  within (c): the structure tree alone");
    for (const Row &row : rows)
        std::printf(" | %9.1f ms                ", row.ms.at('t'));
    std::printf("\n");
    std::printf("%-58s", "  within (c): the invoice lines alone");
    for (const Row &row : rows)
        std::printf(" | %9.1f ms                ", row.ms.at('l'));
    std::printf("\n");
    std::printf("%-58s", "(k) the invoice check (after the panes are filled)");
    for (const Row &row : rows)
        std::printf(" | %9.1f ms (%6.2f x)   ", row.ms.at('k'), row.ms.at('k') / row.ms.at('a'));
    std::printf("\n");
    std::printf("%-58s", "peak memory above the empty window: open");
    for (const Row &row : rows)
        std::printf(" | %9.1f MiB (%5.1f x file)", row.openPeakMiB, row.openPeakMiB * 1024 * 1024 / double(row.bytes));
    std::printf("\n%-58s", "peak memory above the empty window: open again over it");
    for (const Row &row : rows)
        std::printf(" | %9.1f MiB (%5.1f x file)", row.reopenPeakMiB, row.reopenPeakMiB * 1024 * 1024 / double(row.bytes));
    std::printf("\n%-58s", "peak memory of the process while writing the PDF");
    for (const Row &row : rows)
        std::printf(" | %9.1f MiB (%5.1f above)  ", row.pdfPeakMiB, row.pdfAboveMiB);
    const double normalPdf = normalInvoicePdf(desktop, folder, repetitions);
    std::printf("\n%-58s | %9.1f ms\n", "(p) PDF of a normal invoice (10 lines)", normalPdf);
    std::printf("\n\nTargets at %d lines:\n", rows.back().lines);

    const Row &small = rows.front();
    const Row &large = rows.back();
    bool allMet = true;
    const auto target = [&allMet](bool met, const QString &text) {
        std::printf("  %s  %s\n", met ? "met    " : "MISSED ", qPrintable(text));
        allMet = allMet && met;
    };
    const double openAndDisplay = large.ms.at('b') + large.ms.at('c');
    target(openAndDisplay <= 2 * large.ms.at('a'),
           QStringLiteral("open and display (b)+(c) = %1 ms <= 2 x floor = %2 ms")
               .arg(openAndDisplay, 0, 'f', 1)
               .arg(2 * large.ms.at('a'), 0, 'f', 1));
    for (std::size_t i = 0; i < sizeof(Steps); ++i) {
        const char step = Steps[i];
        const double perLineSmall = small.ms.at(step) / small.lines;
        const double perLineLarge = large.ms.at(step) / large.lines;
        target(perLineLarge <= 1.3 * perLineSmall,
               QStringLiteral("%1 grows linearly: %2 us per line at %3 lines, %4 us at %5")
                   .arg(QLatin1Char(step))
                   .arg(perLineLarge * 1000, 0, 'f', 2)
                   .arg(large.lines)
                   .arg(perLineSmall * 1000, 0, 'f', 2)
                   .arg(small.lines));
    }
    target(large.ms.at('k') < 0.1 * openAndDisplay,
           QStringLiteral("(k) the check takes %1 ms, under 10 % of open and display").arg(large.ms.at('k'), 0, 'f', 1));
    for (char step : {'e', 'f', 'h'})
        target(large.ms.at(step) < 50, QStringLiteral("(%1) under 50 ms: %2 ms").arg(QLatin1Char(step)).arg(large.ms.at(step), 0, 'f', 1));
    target(large.ms.at('p') < 10000, QStringLiteral("(p) the PDF in under 10 s: %1 ms").arg(large.ms.at('p'), 0, 'f', 1));
    target(large.pdfPeakMiB < 300,
           QStringLiteral("the process under 300 MiB while writing the PDF: %1 MiB").arg(large.pdfPeakMiB, 0, 'f', 1));
    target(normalPdf < 500, QStringLiteral("(p) a normal invoice's PDF well under a second: %1 ms").arg(normalPdf, 0, 'f', 1));
    const double memoryRatio = large.openPeakMiB * 1024 * 1024 / double(large.bytes);
    target(memoryRatio <= 25, QStringLiteral("peak memory on opening %1 x the file size <= 25 x").arg(memoryRatio, 0, 'f', 1));
    return allMet ? 0 : 2;
}
