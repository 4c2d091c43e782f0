#pragma once

#include "check/CheckReport.h"
#include "support/Desktop.h"

#include <QList>
#include <QString>

#include <functional>

namespace velkor::test {

// Records every message and answers the dialog and clipboard from scripted
// values, so tests can drive loads and commands without a modal box.
class FakeDesktop : public Desktop
{
public:
    QList<Message> messages;
    MessageAnswer nextAnswer = MessageAnswer::Ok;

    QString dialogResult;            // the path the "user" picks; empty = cancel
    QList<QStringList> dialogCalls;  // filter, folder, title of every dialog shown

    QString clipboard;
    int clipboardWrites = 0;

    QList<QPair<QString, QString>> textInfos; // text, caption of every information window

    MessageAnswer showMessage(const Message &message) override
    {
        messages << message;
        return nextAnswer;
    }

    QString chooseOpenFile(const QString &filterPairs, const QString &folder, const QString &title) override
    {
        dialogCalls << QStringList{filterPairs, folder, title};
        return dialogResult;
    }

    QString saveDialogResult;            // the path the "user" saves to; empty = cancel
    QList<QStringList> saveDialogCalls;  // filter, path, title of every save dialog shown
    QString chooseSaveFile(const QString &filterPairs, const QString &path, const QString &title) override
    {
        saveDialogCalls << QStringList{filterPairs, path, title};
        return saveDialogResult;
    }

    QString folderResult; // the folder the "user" picks; empty = cancel
    QString chooseFolder(const QString &, const QString &) override { return folderResult; }
    QStringList filesResult; // the files the "user" picks; empty = cancel
    QStringList chooseOpenFiles(const QString &, const QString &, const QString &) override { return filesResult; }

    // What the "user" does in the print dialog: sets the printer up and
    // returns true to print; none cancels.
    std::function<bool(QPrinter &)> printDialog;
    int printDialogs = 0;
    bool choosePrinter(QPrinter &printer) override
    {
        ++printDialogs;
        return printDialog && printDialog(printer);
    }

    QString clipboardText() override { return clipboard; }

    void setClipboardText(const QString &text) override
    {
        clipboard = text;
        ++clipboardWrites;
    }

    void showTextInfo(const QString &text, const QString &caption) override { textInfos.append({text, caption}); }

    QList<CheckReport> checkReports; // every report shown in the check window
    void showCheckReport(const CheckReport &report) override { checkReports << report; }
};

} // namespace velkor::test
