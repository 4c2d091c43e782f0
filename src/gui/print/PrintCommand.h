#pragma once

#include "core/print/PrintDocument.h"

#include <QByteArray>
#include <QString>

class QSettings;

namespace velkor {

class Desktop;

// The printout of the shown invoice: through the print dialog (Ctrl+P) or
// straight into a PDF file chosen in the save dialog (Ctrl+Shift+P), whose
// folder is remembered in the settings ("Okno/PathPdf") once a PDF has been
// written there.
class PrintCommand
{
public:
    PrintCommand(Desktop &desktop, QSettings &settings) : m_desktop(desktop), m_settings(settings) {}

    // `invoiceBytes`: the file the invoice was read from, which neither
    // writes over.
    void print(const print::PrintDocument &document, const QByteArray &invoiceBytes);
    // Returns the path of the PDF written (".pdf" added to a name without
    // it), or an empty text when none was.
    QString savePdf(const print::PrintDocument &document, const QByteArray &invoiceBytes);

    // Writes the document as a PDF file, replacing the file only once it is
    // whole. Returns an empty text, or why it could not.
    static QString writePdf(const print::PrintDocument &document, const QString &path);

    // A file name (without its extension) for a text such as the invoice
    // number: characters no file name may hold become "_".
    static QString fileName(const QString &text);

private:
    QString startPath(const print::PrintDocument &document) const;

    Desktop &m_desktop;
    QSettings &m_settings;
};

} // namespace velkor
