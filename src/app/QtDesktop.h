#pragma once

#include "support/Desktop.h"

#include <QPointer>
#include <QWidget>

class QSettings;

namespace velkor {

// Message boxes, the open-file dialog and the clipboard of the running Qt
// application, owned by the main window.
class QtDesktop : public Desktop
{
public:
    QtDesktop(QWidget *owner, QSettings &settings) : m_owner(owner), m_settings(settings) {}

    MessageAnswer showMessage(const Message &message) override;
    QString chooseOpenFile(const QString &filterPairs, const QString &folder, const QString &title) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
    void showTextInfo(const QString &text, const QString &caption) override;

private:
    QPointer<QWidget> m_owner;
    QSettings &m_settings;
};

// "description|pattern|description|pattern" as a Qt name filter list.
QString qtNameFilters(const QString &filterPairs);

} // namespace velkor
