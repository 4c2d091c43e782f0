#include "PrintCommand.h"

#include "core/load/InvoiceLoader.h"
#include "core/support/Desktop.h"
#include "gui/print/InvoiceRenderer.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSettings>

namespace velkor {

namespace {

const QString PdfPathKey = QStringLiteral("Okno/PathPdf");
const QString OpenPathKey = QStringLiteral("Okno/Path");
const QString CRLF = QStringLiteral("\r\n");
// Fine enough for print, small enough for the coordinates of large pages.
constexpr int PdfResolution = 600;

// The wait cursor while a long printout is laid out and written.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

QString documentName(const print::PrintDocument &document)
{
    return document.title + QStringLiteral(" nr ") + document.number;
}

Message failure(const QString &title, const QString &path, const QString &reason)
{
    QString text = QStringLiteral("Nie zapisano pliku PDF.");
    if (!path.isEmpty())
        text += CRLF + QStringLiteral("Plik: ") + QDir::toNativeSeparators(path);
    return {title, text + CRLF + QStringLiteral("Powód: ") + reason, MessageIcon::Exclamation};
}

// Whether `path` is the invoice's own file (or a copy of it): a printout
// must never take its place.
bool holdsInvoice(const QString &path, const QByteArray &invoiceBytes)
{
    const QFileInfo info(path);
    if (invoiceBytes.isEmpty() || !info.isFile() || info.size() != invoiceBytes.size())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == invoiceBytes;
}

} // namespace

QString PrintCommand::fileName(const QString &text)
{
    QString name = text.trimmed();
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    return name.isEmpty() ? QStringLiteral("faktura") : name;
}

QString PrintCommand::startPath(const print::PrintDocument &document) const
{
    // The folder of the last PDF, else the invoices' folder, else home.
    QString folder = m_settings.value(PdfPathKey).toString();
    if (folder.isEmpty())
        folder = m_settings.value(OpenPathKey).toString();
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(QDir::fromNativeSeparators(folder)).filePath(fileName(document.number) + QStringLiteral(".pdf"));
}

void PrintCommand::print(const print::PrintDocument &document, const QByteArray &invoiceBytes)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    // The printout keeps its own margins, measured from the sheet's edge.
    printer.setFullPage(true);
    // Also the name of the file a print to PDF offers.
    printer.setDocName(fileName(documentName(document)));
    printer.setCreator(QStringLiteral("Velkor"));
    if (!m_desktop.choosePrinter(printer))
        return;
    // The dialog's "print to file" may name any file.
    if (printer.outputFormat() == QPrinter::PdfFormat && holdsInvoice(printer.outputFileName(), invoiceBytes)) {
        m_desktop.showMessage(failure(QStringLiteral("Drukuj - błąd"), printer.outputFileName(),
                                      QStringLiteral("To plik faktury; wybierz inną nazwę.")));
        return;
    }
    const BusyCursor busy;
    if (!print::renderDocument(document, printer, printer.fromPage(), printer.toPage())) {
        m_desktop.showMessage({QStringLiteral("Drukuj - błąd"), QStringLiteral("Nie udało się wydrukować faktury."),
                               MessageIcon::Exclamation});
    }
}

QString PrintCommand::savePdf(const print::PrintDocument &document, const QByteArray &invoiceBytes)
{
    QString path = m_desktop.chooseSaveFile(QStringLiteral("Pliki PDF|*.pdf"), startPath(document),
                                            QStringLiteral("Zapisz PDF"));
    if (path.isEmpty())
        return {};
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    const QString title = QStringLiteral("Zapisz PDF - błąd");
    if (holdsInvoice(path, invoiceBytes)) {
        m_desktop.showMessage(failure(title, path, QStringLiteral("To plik faktury; wybierz inną nazwę.")));
        return {};
    }
    const BusyCursor busy;
    const QString problem = writePdf(document, path);
    if (!problem.isEmpty()) {
        m_desktop.showMessage(failure(title, path, problem));
        return {};
    }
    // A folder the PDF could not be written to (a device, a folder of the
    // system) is not where the next save dialog opens.
    m_settings.setValue(PdfPathKey, folderOfPath(path));
    m_settings.sync();
    return path;
}

QString PrintCommand::writePdf(const print::PrintDocument &document, const QString &path)
{
    if (QFileInfo(path).isDir())
        return QStringLiteral("Wskazana ścieżka jest folderem.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(PdfResolution);
        writer.setTitle(documentName(document));
        writer.setCreator(QStringLiteral("Velkor"));
        if (!print::renderDocument(document, writer)) {
            file.cancelWriting();
            return QStringLiteral("Nie można utworzyć dokumentu PDF.");
        }
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace velkor
