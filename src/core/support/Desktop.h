#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

namespace velkor {

struct CheckReport;

enum class MessageIcon { Critical, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

struct Message
{
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::Exclamation;
    MessageButtons buttons = MessageButtons::Ok;
    bool cancelIsDefault = false;

    friend bool operator==(const Message &a, const Message &b)
    {
        return a.title == b.title && a.text == b.text && a.icon == b.icon
            && a.buttons == b.buttons && a.cancelIsDefault == b.cancelIsDefault;
    }
};

// The captions of a message box's buttons: "OK", and "Anuluj" for OK/Cancel.
inline QStringList buttonCaptions(MessageButtons buttons)
{
    if (buttons == MessageButtons::OkCancel)
        return {QStringLiteral("OK"), QStringLiteral("Anuluj")};
    return {QStringLiteral("OK")};
}

// What Ctrl+C in a message box puts on the clipboard, laid out as message
// boxes on Windows copy theirs: the title, the text and the buttons'
// captions, each between rules of 27 dashes, with CR LF line breaks.
inline QString messageBoxText(const Message &message)
{
    const QString rule = QStringLiteral("---------------------------\r\n");
    const QString crlf = QStringLiteral("\r\n");
    return rule + message.title + crlf + rule + message.text + crlf + rule
           + buttonCaptions(message.buttons).join(QStringLiteral("   ")) + crlf + rule;
}

// The modal or shared services of the desktop the program talks to: message
// boxes, the file and print dialogs, the clipboard and its own windows. The
// GUI implements it with Qt; tests use a recording fake, so no test ever
// waits on a modal box.
class Desktop
{
public:
    virtual ~Desktop() = default;

    virtual MessageAnswer showMessage(const Message &message) = 0;

    // filterPairs: description and pattern pairs, every part separated by "|".
    // Returns the chosen file's full path, or an empty text on cancel.
    virtual QString chooseOpenFile(const QString &filterPairs, const QString &folder,
                                   const QString &title) = 0;

    // The save-file dialog, starting at `path` (a folder and a suggested
    // name); a name typed without the filter's extension gets it. Returns the
    // chosen full path, or an empty text on cancel.
    virtual QString chooseSaveFile(const QString &filterPairs, const QString &path, const QString &title) = 0;

    // The folder dialog, starting at `folder`. Returns the chosen folder, or
    // an empty text on cancel.
    virtual QString chooseFolder(const QString &folder, const QString &title)
    {
        (void)folder;
        (void)title;
        return {};
    }

    // The open dialog for one file or several. Returns their full paths, or
    // nothing on cancel.
    virtual QStringList chooseOpenFiles(const QString &filterPairs, const QString &folder, const QString &title)
    {
        (void)filterPairs;
        (void)folder;
        (void)title;
        return {};
    }

    // The print dialog for `printer`; true when the user chose to print, the
    // printer then set up as chosen.
    virtual bool choosePrinter(QPrinter &printer) = 0;

    virtual QString clipboardText() = 0;
    // Replaces the clipboard's contents with plain text; an empty text leaves
    // the clipboard empty.
    virtual void setClipboardText(const QString &text) = 0;

    // Shows a long read-only text under a caption in the modal information
    // window and returns when the user has closed it.
    virtual void showTextInfo(const QString &text, const QString &caption) = 0;

    // Shows the invoice check's report and QR code in its modal window and
    // returns when the user has closed it.
    virtual void showCheckReport(const CheckReport &report) = 0;
};

} // namespace velkor
