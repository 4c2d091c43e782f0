#include "gui/register/RegisterCommand.h"

#include "core/load/InvoiceLoader.h"
#include "core/load/InvoiceParser.h"
#include "core/load/InvoiceSchema.h"
#include "core/register/RegisterPackage.h"
#include "core/support/Desktop.h"
#include "core/support/Failure.h"
#include "core/support/ReportError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace velkor {

namespace {

const QString FolderKey = QStringLiteral("Okno/PathRejestr");

} // namespace

RegisterCommand::RegisterCommand(QWidget *owner, Desktop &desktop, QSettings &settings, QString schemaFile,
                                 RegisterWindow::OpenInvoice openInvoice)
    : m_owner(owner)
    , m_desktop(desktop)
    , m_settings(settings)
    , m_schemaFile(std::move(schemaFile))
    , m_openInvoice(std::move(openInvoice))
{
}

RegisterCommand::~RegisterCommand() = default;

bool RegisterCommand::isRegisterPath(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() || (info.isFile() && info.suffix().compare(QStringLiteral("zip"), Qt::CaseInsensitive) == 0);
}

void RegisterCommand::chooseAndOpen()
{
    const QString folder = m_desktop.chooseFolder(m_settings.value(FolderKey).toString(),
                                                  QStringLiteral("Rejestr faktur z folderu"));
    if (folder.isEmpty())
        return;
    m_settings.setValue(FolderKey, QDir::toNativeSeparators(folder));
    open({folder});
}

void RegisterCommand::chooseFilesAndOpen()
{
    const QStringList files = m_desktop.chooseOpenFiles(
        QStringLiteral("Faktury XML i paczki ZIP|*.xml *.zip|Wszystkie pliki|*"), m_settings.value(FolderKey).toString(),
        QStringLiteral("Rejestr faktur z plików lub paczki ZIP"));
    if (files.isEmpty())
        return;
    m_settings.setValue(FolderKey, QDir::toNativeSeparators(QFileInfo(files.first()).absolutePath()));
    open(files);
}

void RegisterCommand::open(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    std::shared_ptr<const InvoiceSchema> schema;
    try {
        schema = InvoiceSchema::current(m_schemaFile);
    } catch (...) {
        const Failure failure = failureFromCurrentException();
        ReportError(m_desktop, failure.number(), failure.description(), QStringLiteral("Rejestr faktur"));
        return;
    }
    std::unique_ptr<RegisterSource> source;
    if (paths.size() == 1 && QFileInfo(paths.first()).isDir())
        source = folderSource(paths.first());
    else if (paths.size() == 1 && isRegisterPath(paths.first()))
        source = packageSource(paths.first());
    else
        source = filesSource(paths);
    if (!m_window) {
        m_window = new RegisterWindow(m_desktop, m_openInvoice, m_owner);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_window->open(std::move(source), std::move(schema));
}

std::unique_ptr<InvoiceDocument> RegisterCommand::loadInvoiceBytes(Desktop &desktop, const QString &schemaFile,
                                                                   const QString &name, const QByteArray &bytes)
{
    try {
        const std::shared_ptr<const InvoiceSchema> schema = InvoiceSchema::current(schemaFile);
        ParseOutcome outcome = parseInvoice(bytes, TextEncoding::Declared, *schema);
        if (!outcome.document) {
            desktop.showMessage(parseFailureMessage(LoadSource::File, name, outcome.reason, outcome.line));
            return nullptr;
        }
        if (!CheckInvoiceHeader(*outcome.document)) {
            desktop.showMessage(headerFailureMessage(LoadSource::File, name));
            return nullptr;
        }
        return std::move(outcome.document);
    } catch (...) {
        const Failure failure = failureFromCurrentException();
        ReportError(desktop, failure.number(), failure.description(), QStringLiteral("PobierzFA3"));
        return nullptr;
    }
}

} // namespace velkor
