#include "QtDesktop.h"

#include "check/CheckWindow.h"
#include "support/MsgTextInfo.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTranslator>

namespace velkor {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        break;
    }
    return QMessageBox::Warning;
}

} // namespace

QString qtNameFilters(const QString &filterPairs)
{
    const QStringList parts = filterPairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + u')';
    return filters.join(QStringLiteral(";;"));
}

MessageAnswer QtDesktop::showMessage(const Message &message)
{
    QMessageBox box(qtIcon(message.icon), message.title, QString(message.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::NoButton, m_owner);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = nullptr;
    if (message.buttons == MessageButtons::OkCancel) {
        cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(ok);
    }
    box.setDefaultButton(message.cancelIsDefault && cancel ? cancel : ok);
    box.exec();
    return box.clickedButton() == ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

bool installPolishQtTexts(QCoreApplication &application)
{
    auto *translator = new QTranslator(&application);
    // Where Qt keeps its translations, or beside the program where windeployqt
    // puts them, combined into one file per language.
    for (const QString &folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        for (const QString &name : {QStringLiteral("qtbase_pl"), QStringLiteral("qt_pl")}) {
            if (translator->load(name, folder))
                return QCoreApplication::installTranslator(translator);
        }
    }
    delete translator;
    return false;
}

QString QtDesktop::chooseOpenFile(const QString &filterPairs, const QString &folder, const QString &title)
{
    const QString start = folder.isEmpty() ? QDir::rootPath() : QDir::fromNativeSeparators(folder);
    QFileDialog dialog(m_owner, title, start, qtNameFilters(filterPairs));
    // The dialog does not insist that the file exists: a typed name of a
    // missing file is returned, and the load reports it like any file that fails.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDesktop::chooseSaveFile(const QString &filterPairs, const QString &path, const QString &title)
{
    QFileDialog dialog(m_owner, title, QDir::fromNativeSeparators(path), qtNameFilters(filterPairs));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // "*.pdf" of the first filter: a name typed without it gets it before the
    // dialog asks whether to replace an existing file.
    const QString pattern = filterPairs.section(u'|', 1, 1);
    if (pattern.startsWith(QStringLiteral("*.")))
        dialog.setDefaultSuffix(pattern.mid(2));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDesktop::chooseFolder(const QString &folder, const QString &title)
{
    return QFileDialog::getExistingDirectory(m_owner, title, QDir::fromNativeSeparators(folder));
}

QStringList QtDesktop::chooseOpenFiles(const QString &filterPairs, const QString &folder, const QString &title)
{
    QFileDialog dialog(m_owner, title, QDir::fromNativeSeparators(folder), qtNameFilters(filterPairs));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

bool QtDesktop::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, m_owner);
    return dialog.exec() == QDialog::Accepted;
}

QString QtDesktop::clipboardText()
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

void QtDesktop::setClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (text.isEmpty())
        clipboard->clear(QClipboard::Clipboard);
    else
        clipboard->setText(text, QClipboard::Clipboard);
}

} // namespace velkor

namespace velkor {

void QtDesktop::showCheckReport(const CheckReport &report)
{
    CheckWindow::Edit(m_settings, report, [this](const QString &text) { setClipboardText(text); });
}

void QtDesktop::showTextInfo(const QString &text, const QString &caption)
{
    MsgTextInfo::Edit(m_settings, text, caption);
}

} // namespace velkor
