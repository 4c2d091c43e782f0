#include "views/XmlNavigation.h"

#include "support/WindowFixture.h"

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
    return toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

// What the QR code on the PDF's last page decodes to.
QString lastPageCode(const QString &pdf, const QString &folder)
{
    const QString pages = toolOutput(QStringLiteral("pdfinfo"), {pdf}).section(QStringLiteral("Pages:"), 1).section(u'\n', 0, 0).trimmed();
    const QString prefix = QDir(folder).filePath(QStringLiteral("strona"));
    toolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-f"), pages,
                                            QStringLiteral("-l"), pages, QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                            pdf, prefix});
    return toolOutput(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), prefix + QStringLiteral(".png")}).trimmed();
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
        for (const char *tool : {"pdftotext", "pdftoppm", "pdfinfo", "zbarimg"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
    }

    // Ctrl+Shift+P writes the invoice as a PDF whose text holds it, in
    // every Polish letter, and whose last page's QR code is the link.
    void savedPdfShowsTheInvoice_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("seller");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("ordinary") << "faktura-podstawowa.xml" << "Hurtownia Żółw Sp. z o.o."
                                  << QStringList{"FV/2026/03/017", "6891152920", "3935777054", "Krzesło ogrodowe „Łabędź”",
                                                 "Poduszka na krzesło", "Nasiona trawy", "1626,44 PLN", "strona 1 z 1"};
        QTest::newRow("attachment") << "faktura-podmioty-zalacznik.xml" << "Żółw, ąęćłńóśźż"
                                    << QStringList{"FV/2026/04/031", "Pompa ciepła „Żubr” 12 kW", "26979,00 PLN",
                                                   "strona 1 z 2", "strona 2 z 2", "Protokół odbioru urządzeń"};
    }
    void savedPdfShowsTheInvoice()
    {
        QFETCH(QString, file);
        QFETCH(QString, seller);
        QFETCH(QStringList, texts);
        const QString ksef = QStringLiteral("6891152920-20260302-0A1B2C3D4E5F-41");
        const QString xml = QString::fromUtf8(fileBytes(ownExample(file.toUtf8().constData())))
                                .replace(QStringLiteral("Hurtownia Żółw Sp. z o.o."), seller);
        QVERIFY(handOver(xml, ksef));
        f.desktop.saveDialogResult = m_temp.filePath(QStringLiteral("wydruk")); // the extension is added
        savePdf();
        const QString pdf = m_temp.filePath(QStringLiteral("wydruk.pdf"));
        QVERIFY(QFileInfo::exists(pdf));
        const QString text = pdfText(pdf);
        for (const QString &expected : texts + QStringList{seller, ksef})
            QVERIFY2(text.contains(expected), qPrintable(expected));
        QVERIFY(f.window->state().check);
        QCOMPARE(lastPageCode(pdf, m_temp.path()), f.window->state().check->link);
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
