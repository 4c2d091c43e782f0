#pragma once

#include "check/CheckReport.h"
#include "support/Desktop.h"

#include <QList>
#include <QString>

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
