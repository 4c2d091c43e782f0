#include "core/invoice/LineFigures.h"
#include "core/print/FieldWriter.h"
#include "core/print/PrintLabels.h"
#include "core/tree/XmlNavigation.h"

#include "fixtures/WindowFixture.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

using namespace velkor;
using namespace velkor::test;

namespace {

// The standard output of a tool of poppler-utils or zbar-tools; empty when
// it fails.
QString toolOutput(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &pdf)
{
    // In the order it is drawn: a cell's lines one after another.
    return toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                    pdf, QStringLiteral("-")});
}

// Where a page of the PDF has ink within 10 mm of the sheet's edge (words,
// rules, fills, the QR code): "page N at x,y px" at 72 dpi, or empty.
QString inkNearTheEdge(const QString &pdf, const QString &folder)
{
    const QString prefix = QDir(folder).filePath(QStringLiteral("m") + QString::number(QDateTime::currentMSecsSinceEpoch()));
    toolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"), QStringLiteral("-png"), pdf, prefix});
    const QFileInfoList pages = QFileInfo(prefix).dir().entryInfoList({QFileInfo(prefix).fileName() + QStringLiteral("*.png")});
    constexpr int Edge = 28; // pixels of 0.35 mm: short of 10 mm
    for (int n = 0; n < pages.size(); ++n) {
        const QImage page = QImage(pages[n].filePath()).convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const bool edge = y < Edge || y >= page.height() - Edge || x < Edge || x >= page.width() - Edge;
                if (edge && page.constScanLine(y)[x] < 250)
                    return QStringLiteral("page %1 at %2,%3 px").arg(n + 1).arg(x).arg(y);
            }
        }
    }
    return pages.isEmpty() ? QStringLiteral("no page rendered") : QString();
}

// The elements and attributes of the invoice whose value, as printed (a code
// by its meaning, the VAT totals in the summary), the PDF's text lacks, white
// space aside. Not printed, as the README lists them: the form's code and
// variant with its attributes, the marks of absence and a "no" of a yes/no
// flag, the states and the kind, the type of an attachment's columns.
QStringList missingFromPdf(const InvoiceDocument &document, const QString &pdfText, const QString &separator)
{
    static const QSet<QString> notPrinted{"KodFormularza", "kodSystemowy", "wersjaSchemy", "WariantFormularza", "P_19N",
                                          "P_22N", "P_PMarzyN", "StanPrzed", "StanPrzedZ", "RodzajFaktury", "Typ"};
    const auto bare = [](QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); };
    const QString text = bare(pdfText);
    QStringList missing;
    const auto check = [&](const QString &name, const QString &written, const QString &printed, bool flag) {
        if (!written.isEmpty() && !notPrinted.contains(name) && !(flag && printed.isEmpty())
            && (printed.isEmpty() || !text.contains(bare(printed))))
            missing << name + QStringLiteral(" = ") + written;
    };
    std::vector<const xmlNode *> pending{document.root()};
    while (!pending.empty()) {
        const xmlNode *element = pending.back();
        pending.pop_back();
        for (const xmlAttr *attribute = element->properties; attribute; attribute = attribute->next) {
            const QString value = NodeText(reinterpret_cast<const xmlNode *>(attribute)).trimmed();
            check(fromXml(attribute->name), value, value, false);
        }
        const std::vector<const xmlNode *> children = print::faChildren(document, element);
        pending.insert(pending.end(), children.begin(), children.end());
        const QString name = fromXml(element->name);
        const print::ElementLabel *label = print::elementLabel(reinterpret_cast<const char *>(element->name));
        const bool total = name.startsWith(QStringLiteral("P_13_")) || name.startsWith(QStringLiteral("P_14_"));
        if (children.empty())
            check(name, NodeText(element).trimmed(), total ? numberOf(element).format(2, separator) : print::printedValue(element, separator),
                  label && label->kind == print::ValueKind::Flag);
    }
    return missing;
}

} // namespace

class TestPrintPdf : public QObject
{
    Q_OBJECT
    WindowFixture f;
    QTemporaryDir m_temp;

    void key(int k, Qt::KeyboardModifiers modifiers) { QTest::keyClick(f.c().lista, Qt::Key(k), modifiers); }
    void savePdf() { key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier); }

    // A new window over empty settings, the invoice handed over at start.
    bool handOver(const QString &xml, const QString &ksefNumber)
    {
        WindowFixture::clearSettings();
        f.desktop = FakeDesktop();
        f.desktop.clipboard = xml;
        return f.start(QStringLiteral("ksef¤¤") + ksefNumber) && f.window->state().invoiceDoc;
    }

private Q_SLOTS:
    void initTestCase()
    {
        initializeXmlLibrary();
        for (const char *tool : {"pdftotext", "pdftoppm"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
    }

    // Ctrl+Shift+P writes the invoice as a PDF whose text holds it, in
    // every Polish letter (its QR code is read by e2e_print_pdf).
    void savedPdfShowsTheInvoice()
    {
        const QString ksef = QStringLiteral("6891152920-20260302-0A1B2C3D4E5F-41"), seller = QStringLiteral("Żółw, ąęćłńóśźż");
        QVERIFY(handOver(QString::fromUtf8(fileBytes(ownExample("faktura-podmioty-zalacznik.xml")))
                             .replace(QStringLiteral("Hurtownia Żółw Sp. z o.o."), seller), ksef));
        f.desktop.saveDialogResult = m_temp.filePath(QStringLiteral("wydruk")); // the extension is added
        savePdf();
        const QString pdf = m_temp.filePath(QStringLiteral("wydruk.pdf"));
        const QString text = pdfText(pdf);
        for (const QString &expected : {seller, ksef, QStringLiteral("strona 1 z 2"), QStringLiteral("strona 2 z 2")})
            QVERIFY2(text.contains(expected), qPrintable(expected));
        // The KSeF number under the code as well as everything else.
        QCOMPARE(inkNearTheEdge(pdf, m_temp.path()), QString());
    }

    // Every example prints by either key; an invoice that does not load
    // leaves both keys without effect.
    void everyExamplePrints_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("valid");
        // Two public examples break the schema (text in TerminOpis, a KSeF
        // number of nine digits).
        const QStringList broken{"korygujaca__FA_3_Przyklad_1.xml", "korygujaca__FA_3_Przyklad_3.xml"};
        for (const QString &folder : {QStringLiteral(VELKOR_TEST_OWN_EXAMPLES_DIR), examplesFolder()}) {
            for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(file.fileName())) << file.filePath() << !broken.contains(file.fileName());
        }
    }
    void everyExamplePrints()
    {
        QFETCH(QString, path);
        QFETCH(bool, valid);
        QVERIFY(f.startFresh());
        const QString pdf = m_temp.filePath(QStringLiteral("przyklad.pdf"));
        QFile::remove(pdf);
        f.desktop.saveDialogResult = pdf;
        f.desktop.printDialog = [pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        f.paste(QString::fromUtf8(fileBytes(path)));
        const bool loaded = f.window->state().invoiceDoc != nullptr;
        QCOMPARE(loaded, valid);
        for (const auto &[keyModifiers, button] : {std::pair{Qt::ControlModifier | Qt::ShiftModifier, false},
                                                   std::pair{Qt::KeyboardModifiers(Qt::ControlModifier), false},
                                                   std::pair{Qt::KeyboardModifiers(), true}}) {
            QFile::remove(pdf);
            if (button)
                f.c().command[13]->click();
            else
                key(Qt::Key_P, keyModifiers);
            QCOMPARE(QFileInfo::exists(pdf), loaded);
            if (loaded) {
                const QString text = pdfText(pdf);
                QVERIFY(text.contains(QStringLiteral("strona 1 z")));
                QVERIFY(text.contains(NodeText(f.window->state().invoiceDoc->selectSingle(QStringLiteral("n:Faktura/n:Fa/n:P_2")))));
                if (!button)
                    QCOMPARE(inkNearTheEdge(pdf, m_temp.path()), QString());
                // Nothing of the invoice is hidden.
                const QStringList missing = missingFromPdf(*f.window->state().invoiceDoc, text, InvoicePanes::decimalSeparator());
                QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
            }
        }
        QCOMPARE(f.desktop.printDialogs, loaded ? 2 : 0);
        QCOMPARE(f.desktop.saveDialogCalls.size(), loaded ? 1 : 0);
    }

    // The save dialog starts in the folder of the last PDF, else the
    // invoice's, with the invoice number as the name; neither key writes
    // over the invoice's own file.
    void pdfFolderIsRememberedAndTheInvoiceKept()
    {
        QVERIFY(f.startFresh());
        const QByteArray invoice = fileBytes(ownExample("faktura-podstawowa.xml"));
        const QString invoicePath = writeTestFile(m_temp.path(), QStringLiteral("faktury/faktura.pdf"), invoice);
        f.desktop.dialogResult = invoicePath;
        key(Qt::Key_F5, Qt::NoModifier);
        f.desktop.saveDialogResult = invoicePath;
        savePdf();
        f.desktop.printDialog = [invoicePath](QPrinter &printer) {
            printer.setOutputFileName(invoicePath);
            return true;
        };
        key(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(f.desktop.messages.size(), 2);
        QCOMPARE(f.desktop.messages[0].title, QStringLiteral("Zapisz PDF - błąd"));
        QCOMPARE(f.desktop.messages[1].title, QStringLiteral("Drukuj - błąd"));
        QCOMPARE(fileBytes(invoicePath), invoice);

        f.desktop.saveDialogResult = m_temp.filePath(QStringLiteral("wydruki/inna.PDF"));
        QDir().mkpath(m_temp.filePath(QStringLiteral("wydruki")));
        savePdf();
        QVERIFY(QFileInfo::exists(f.desktop.saveDialogResult));
        savePdf();
        const QStringList starts{f.desktop.saveDialogCalls[0][1], f.desktop.saveDialogCalls[2][1]};
        QCOMPARE(starts, (QStringList{m_temp.filePath(QStringLiteral("faktury/FV_2026_03_017.pdf")),
                                      m_temp.filePath(QStringLiteral("wydruki/FV_2026_03_017.pdf"))}));
    }

    // The status bar says what a command did: "Brak faktury" for the check,
    // the printout and the PDF without an invoice, the PDF's path once it
    // is written; a PDF that could not be written leaves the folder of the
    // next save dialog as it was.
    void statusBarSaysWhatHappened()
    {
        QVERIFY(f.startFresh());
        for (const auto &[k, modifiers] : {std::pair{Qt::Key_F9, Qt::KeyboardModifiers()},
                                            std::pair{Qt::Key_P, Qt::KeyboardModifiers(Qt::ControlModifier)},
                                            std::pair{Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier}}) {
            f.c().infoPanel->clear();
            key(k, modifiers);
            QCOMPARE(f.c().infoPanel->text(), QStringLiteral("Brak faktury"));
        }
        f.paste(QString::fromUtf8(fileBytes(ownExample("faktura-podstawowa.xml"))));
        f.desktop.saveDialogResult = QStringLiteral("/proc/velkor-nie-ma/wydruk");
        savePdf();
        QCOMPARE(f.desktop.messages.size(), 1);
        QVERIFY(!f.c().infoPanel->text().startsWith(QStringLiteral("Zapisano")));
        QVERIFY(!f.window->settings().contains(QStringLiteral("Okno/PathPdf")));
        f.desktop.saveDialogResult = m_temp.filePath(QStringLiteral("faktura.xml"));
        savePdf();
        QCOMPARE(f.c().infoPanel->text(),
                 QStringLiteral("Zapisano PDF: ") + QDir::toNativeSeparators(m_temp.filePath(QStringLiteral("faktura.xml.pdf"))));
        QCOMPARE(f.window->settings().value(QStringLiteral("Okno/PathPdf")).toString(), QDir::toNativeSeparators(m_temp.path()));
    }
};

QTEST_MAIN(TestPrintPdf)
#include "tst_printpdf.moc"
