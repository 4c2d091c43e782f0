#pragma once

#include "core/load/InvoiceDocument.h"
#include "core/support/Desktop.h"

#include <QString>

#include <memory>

class QSettings;

namespace velkor {

// What a load needs from its surroundings.
struct LoadEnvironment
{
    Desktop &desktop;
    QSettings &settings;   // the per-user store: section "Okno", key "Path"
    QString schemaFile;    // the program folder's sql/schemaFA3.xsd
};

enum class LoadSource { File, Clipboard };

// The program's only way to obtain an invoice: from a file chosen in the
// open-file dialog or from the clipboard's text. Validates against the
// schema, checks the header and returns the new document, or nullptr after
// telling the user why (a cancelled dialog and an empty clipboard are quiet).
// On success from a file, fileName receives the file's full path; it is
// emptied in every other case. A file chosen already (dropped on the window,
// named at start) is passed as chosenFile and takes the dialog's place.
std::unique_ptr<InvoiceDocument> PobierzFA3(LoadEnvironment &environment, LoadSource source,
                                           QString &fileName, const QString &chosenFile = QString());

// Passes when n:Faktura/n:Naglowek/n:KodFormularza carries kodSystemowy
// "FA (3)" and wersjaSchemy "1-0E", both compared ignoring letter case.
bool CheckInvoiceHeader(const InvoiceDocument &document);

// The messages of a failed load.
Message parseFailureMessage(LoadSource source, const QString &path, const QString &reason, int line);
Message headerFailureMessage(LoadSource source, const QString &path);

// Larger invoices are refused before parsing, so that a stray file cannot
// exhaust the memory. The national system's own limits are a few megabytes;
// even the largest invoice its schema allows stays far below this.
constexpr qint64 MaxInvoiceSize = 64 * 1024 * 1024;

// The bytes of an invoice file, or an empty array with the reason it cannot
// be read: a folder, a missing file, a pipe or device, a file over the size
// limit, an unreadable or empty file.
QByteArray readInvoiceFile(const QString &path, QString &reason);

// The folder part of a chosen path, as remembered for the next dialog.
QString folderOfPath(const QString &path);

extern const char *const OpenDialogFilter;
extern const char *const OpenDialogTitle;

} // namespace velkor
