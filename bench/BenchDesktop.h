#pragma once

#include "core/support/Desktop.h"

#include <QTemporaryDir>

#include <cstdio>

namespace velkor::bench {

// Answers the dialogs with the benchmark's files and keeps the clipboard in
// memory; a message is unexpected and printed.
class BenchDesktop : public Desktop
{
public:
    QString file;     // the open dialog's answer
    QString saveFile; // the save dialog's answer
    QString clipboard;
    MessageAnswer showMessage(const Message &message) override
    {
        std::fprintf(stderr, "unexpected message: %s\n%s\n", qPrintable(message.title), qPrintable(message.text));
        return MessageAnswer::Ok;
    }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return file; }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override { return saveFile; }
    bool choosePrinter(QPrinter &) override { return false; }
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString &text) override { clipboard = text; }
    void showTextInfo(const QString &, const QString &) override {}
    void showCheckReport(const CheckReport &) override {}
};

// Before the application: offscreen unless a platform is named, and settings
// in `configuration`, which go when the benchmark ends.
inline void prepareApplication(const QTemporaryDir &configuration)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", configuration.path().toUtf8());
}

} // namespace velkor::bench
