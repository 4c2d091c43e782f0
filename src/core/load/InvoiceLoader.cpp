#include "InvoiceLoader.h"

#include "core/load/InvoiceParser.h"
#include "core/load/InvoiceSchema.h"
#include "core/support/Failure.h"
#include "core/support/ReportError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace velkor {

const char *const OpenDialogFilter = "Pliki {.xml)|*.xml";
const char *const OpenDialogTitle = "Importuj FA3 z pliku XML";

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString PathKey = QStringLiteral("Okno/Path");

QString tooLarge(const char *what)
{
    return QStringLiteral("%1 jest zbyt duży (ponad %2 MB).").arg(QLatin1String(what)).arg(MaxInvoiceSize / (1024 * 1024));
}

} // namespace

QByteArray readInvoiceFile(const QString &path, QString &reason)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        reason = QStringLiteral("Wskazana ścieżka jest folderem, nie plikiem.");
        return {};
    }
    if (!info.exists()) {
        reason = QStringLiteral("Plik nie istnieje.");
        return {};
    }
    // A pipe or a device would block or never end.
    if (!info.isFile()) {
        reason = QStringLiteral("Wskazana ścieżka nie jest zwykłym plikiem.");
        return {};
    }
    if (info.size() > MaxInvoiceSize) {
        reason = tooLarge("Plik");
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("Nie można otworzyć pliku: %1").arg(file.errorString());
        return {};
    }
    // As much as the file holds: a buffer of the limit would be allocated
    // whole for every file. A file that grew since it was measured is read on.
    QByteArray bytes = file.read(std::min(info.size(), MaxInvoiceSize) + 1);
    if (bytes.size() > info.size() && bytes.size() <= MaxInvoiceSize && file.error() == QFileDevice::NoError)
        bytes += file.read(MaxInvoiceSize + 1 - bytes.size());
    if (file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("Nie można odczytać pliku: %1").arg(file.errorString());
        return {};
    }
    if (bytes.size() > MaxInvoiceSize) {
        reason = tooLarge("Plik");
        return {};
    }
    if (bytes.isEmpty())
        reason = QStringLiteral("Plik jest pusty.");
    return bytes;
}

namespace {

bool equalsIgnoringCase(const xmlChar *value, const QString &expected)
{
    return value && fromXml(value).compare(expected, Qt::CaseInsensitive) == 0;
}

} // namespace

QString folderOfPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

Message parseFailureMessage(LoadSource source, const QString &path, const QString &reason, int line)
{
    if (source == LoadSource::Clipboard) {
        return {QStringLiteral("Wklej XML - błąd"),
                QStringLiteral("Błąd FA3") + CRLF + QStringLiteral("Powód: ") + reason + CRLF
                    + QStringLiteral("Linia: ") + QString::number(line),
                MessageIcon::Exclamation};
    }
    return {QStringLiteral("Otwórz z pliku - błąd"),
            QStringLiteral("Błąd walidacji FA3") + CRLF + QStringLiteral("Plik: ") + path + CRLF
                + QStringLiteral("Powód: ") + reason + CRLF + QStringLiteral("Linia: ") + QString::number(line),
            MessageIcon::Exclamation};
}

Message headerFailureMessage(LoadSource source, const QString &path)
{
    if (source == LoadSource::Clipboard)
        return {QStringLiteral("Wklej XML - błąd"), QStringLiteral("Błąd walidacji FA3"), MessageIcon::Exclamation};
    return {QStringLiteral("Otwórz z pliku - błąd"),
            QStringLiteral("Błąd walidacji FA3") + CRLF + QStringLiteral("Plik: ") + path,
            MessageIcon::Exclamation};
}

bool CheckInvoiceHeader(const InvoiceDocument &document)
{
    try {
        // The first n:Faktura/n:Naglowek/n:KodFormularza, found without an XPath.
        xmlNode *code = nullptr;
        const xmlNode *root = document.root();
        if (document.isFaElement(root) && xmlStrEqual(root->name, toXml("Faktura"))) {
            for (const xmlNode *header : document.faChildren(root, "Naglowek")) {
                const std::vector<xmlNode *> codes = document.faChildren(header, "KodFormularza");
                if (!codes.empty()) {
                    code = codes.front();
                    break;
                }
            }
        }
        if (!code)
            return false;
        XmlCharsHandle system(xmlGetNoNsProp(code, toXml("kodSystemowy")));
        XmlCharsHandle version(xmlGetNoNsProp(code, toXml("wersjaSchemy")));
        return equalsIgnoringCase(system.get(), QStringLiteral("FA (3)"))
            && equalsIgnoringCase(version.get(), QStringLiteral("1-0E"));
    } catch (...) {
        return false;
    }
}

std::unique_ptr<InvoiceDocument> PobierzFA3(LoadEnvironment &environment, LoadSource source, QString &fileName,
                                           const QString &chosenFile)
{
    fileName.clear();
    try {
        QByteArray bytes;
        QString path;
        QString readFailure;
        if (source == LoadSource::Clipboard) {
            const QString text = environment.desktop.clipboardText();
            if (text.isEmpty())
                return nullptr;
            if (text.size() > MaxInvoiceSize)
                readFailure = tooLarge("Tekst w schowku");
            else
                bytes = text.toUtf8();
        } else {
            path = chosenFile;
            if (path.isEmpty()) {
                const QString folder = environment.settings.value(PathKey).toString();
                path = environment.desktop.chooseOpenFile(QString::fromUtf8(OpenDialogFilter), folder,
                                                          QString::fromUtf8(OpenDialogTitle));
            }
            if (path.isEmpty())
                return nullptr;
            path = QDir::toNativeSeparators(path);
            environment.settings.setValue(PathKey, folderOfPath(path));
            environment.settings.sync();
        }

        const std::shared_ptr<const InvoiceSchema> schema = InvoiceSchema::current(environment.schemaFile);

        if (source == LoadSource::File)
            bytes = readInvoiceFile(QDir::fromNativeSeparators(path), readFailure);
        if (!readFailure.isEmpty()) {
            environment.desktop.showMessage(parseFailureMessage(source, path, readFailure, 0));
            return nullptr;
        }

        ParseOutcome outcome = parseInvoice(
            bytes, source == LoadSource::Clipboard ? TextEncoding::Utf8 : TextEncoding::Declared, *schema);
        if (!outcome.document) {
            environment.desktop.showMessage(parseFailureMessage(source, path, outcome.reason, outcome.line));
            return nullptr;
        }
        if (!CheckInvoiceHeader(*outcome.document)) {
            environment.desktop.showMessage(headerFailureMessage(source, path));
            return nullptr;
        }
        if (source == LoadSource::File)
            fileName = path;
        return std::move(outcome.document);
    } catch (...) {
        const Failure failure = failureFromCurrentException();
        ReportError(environment.desktop, failure.number(), failure.description(), QStringLiteral("PobierzFA3"));
        return nullptr;
    }
}

} // namespace velkor
