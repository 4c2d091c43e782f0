#pragma once

#include "core/support/Desktop.h"

#include <QPointer>
#include <QWidget>

class QCoreApplication;
class QSettings;

namespace velkor {

// Message boxes, the file and print dialogs and the clipboard of the running
// Qt application, owned by the main window.
class QtDesktop : public Desktop
{
public:
    QtDesktop(QWidget *owner, QSettings &settings) : m_owner(owner), m_settings(settings) {}

    MessageAnswer showMessage(const Message &message) override;
    QString chooseOpenFile(const QString &filterPairs, const QString &folder, const QString &title) override;
    QString chooseSaveFile(const QString &filterPairs, const QString &path, const QString &title) override;
    QString chooseFolder(const QString &folder, const QString &title) override;
    QStringList chooseOpenFiles(const QString &filterPairs, const QString &folder, const QString &title) override;
    bool choosePrinter(QPrinter &printer) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
    void showTextInfo(const QString &text, const QString &caption) override;
    void showCheckReport(const CheckReport &report) override;

private:
    QPointer<QWidget> m_owner;
    QSettings &m_settings;
};

// "description|pattern|description|pattern" as a Qt name filter list.
QString qtNameFilters(const QString &filterPairs);

// Loads Qt's own texts in Polish (the file dialog, standard buttons, the
// text boxes' menus) whatever the machine's locale: the interface is Polish
// by design, while numbers keep following the regional settings. Returns
// false when the translation is not installed; Qt's texts then stay English.
bool installPolishQtTexts(QCoreApplication &application);

} // namespace velkor
