#pragma once

#include "gui/register/RegisterWindow.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace velkor {

class Desktop;
class InvoiceDocument;

// Opens the register from the main window: F8 chooses a folder; a folder,
// a package or several files dropped on the window or named at start open
// at once. The register stays one window, reused.
class RegisterCommand
{
public:
    RegisterCommand(QWidget *owner, Desktop &desktop, QSettings &settings, QString schemaFile,
                    RegisterWindow::OpenInvoice openInvoice);
    ~RegisterCommand();

    // F8: the folder dialog, starting in the folder read last.
    void chooseAndOpen();
    // Shift+F8: the open dialog for several invoice files or a package.
    void chooseFilesAndOpen();
    // A folder, a package (.zip) or several files.
    void open(const QStringList &paths);
    RegisterWindow *window() const { return m_window; }

    // Whether a path opens the register rather than one invoice: a folder or a ZIP package.
    static bool isRegisterPath(const QString &path);

    // An invoice of a package, from its bytes, as a file is loaded: validated,
    // its header checked, a failure told in the load's own message.
    static std::unique_ptr<InvoiceDocument> loadInvoiceBytes(Desktop &desktop, const QString &schemaFile,
                                                             const QString &name, const QByteArray &bytes);

private:
    QWidget *m_owner;
    Desktop &m_desktop;
    QSettings &m_settings;
    QString m_schemaFile;
    RegisterWindow::OpenInvoice m_openInvoice;
    QPointer<RegisterWindow> m_window;
};

} // namespace velkor
