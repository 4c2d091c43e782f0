#pragma once

#include "support/Desktop.h"

#include <QPointer>
#include <QWidget>

namespace velkor {

// Message boxes, the open-file dialog and the clipboard of the running Qt
// application, owned by the main window.
class QtDesktop : public Desktop
{
public:
    explicit QtDesktop(QWidget *owner) : m_owner(owner) {}

    MessageAnswer showMessage(const Message &message) override;
    QString chooseOpenFile(const QString &filterPairs, const QString &folder, const QString &title) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;

private:
    QPointer<QWidget> m_owner;
};

// "description|pattern|description|pattern" as a Qt name filter list.
QString qtNameFilters(const QString &filterPairs);

} // namespace velkor
