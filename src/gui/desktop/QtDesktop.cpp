#include "QtDesktop.h"

#include "core/print/InvoicePrint.h"
#include "gui/check/CheckWindow.h"
#include "gui/desktop/MsgTextInfo.h"
#include "gui/print/PrintCommand.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTranslator>

#include <functional>

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

// A message box whose Ctrl+C copies its title and text, so that a reason
// can go into an e-mail, whichever of its buttons has the focus.
class CopyingMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    std::function<void()> copyText;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Copy) && copyText)
            copyText();
        else
            QMessageBox::keyPressEvent(event);
    }
};

// The width a message box needs for its frame to show the whole title: a
// window manager sets it in bold, beside an icon and three buttons of about
// a line's height each.
int messageBoxTitleRoom(const QString &title, const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(title) + 8 * metrics.height();
}

// Texts of Qt's print and file dialogs that its Polish translation lacks.
class PolishQtSupplement : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char * = nullptr, int = -1) const override
    {
        struct Text
        {
            const char *context, *source, *polish;
        };
        static const Text texts[] = {
            {"QPrintSettingsOutput", "Pages", "Wybrane strony"},
            {"QPrintSettingsOutput",
             "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
             "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
             "Podaj strony lub zakresy stron oddzielone przecinkami; zakres to dwie liczby połączone kreską. Na "
             "przykład 3,5-7,9 drukuje strony 3, 5, 6, 7 i 9."},
            {"QPrintSettingsOutput", "Double Sided Printing", "Druk dwustronny"},
            {"QPrintSettingsOutput", "Off", "Wyłączony"},
            {"QPrintSettingsOutput", "Long side binding", "Wzdłuż dłuższej krawędzi"},
            {"QPrintSettingsOutput", "Short side binding", "Wzdłuż krótszej krawędzi"},
            {"QPrintPropertiesWidget", "Advanced", "Zaawansowane"},
            {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
             "Niektóre ustawienia wykluczają się nawzajem. Popraw je."},
            {"QAbstractFileIconProvider", "Drive", "Dysk"},
            {"QAbstractFileIconProvider", "Unknown", "Nieznany"},
        };
        for (const Text &text : texts) {
            if (qstrcmp(context, text.context) == 0 && qstrcmp(sourceText, text.source) == 0)
                return QString::fromUtf8(text.polish);
        }
        return {};
    }
};

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
    CopyingMessageBox box(qtIcon(message.icon), message.title, QString(message.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::NoButton, m_owner);
    const QStringList captions = buttonCaptions(message.buttons);
    QPushButton *ok = box.addButton(captions.value(0), QMessageBox::AcceptRole);
    QPushButton *cancel = nullptr;
    if (message.buttons == MessageButtons::OkCancel) {
        cancel = box.addButton(captions.value(1), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(ok);
    }
    box.setDefaultButton(message.cancelIsDefault && cancel ? cancel : ok);
    // Qt sizes a box to its text; a short text would leave the frame too
    // narrow for the title, which the window manager then cuts short.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(new QSpacerItem(messageBoxTitleRoom(message.title, box.font()), 0, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.copyText = [this, &message] { setClipboardText(messageBoxText(message)); };
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
            if (translator->load(name, folder)) {
                // Consulted first, for what Qt's translation lacks.
                return QCoreApplication::installTranslator(translator)
                       && QCoreApplication::installTranslator(new PolishQtSupplement(&application));
            }
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
    CheckWindow::Edit(
        m_settings, report, [this](const QString &text) { setClipboardText(text); },
        [this, &report] { PrintCommand(*this, m_settings).print(print::checkReportPrintout(report), {}); });
}

void QtDesktop::showTextInfo(const QString &text, const QString &caption)
{
    MsgTextInfo::Edit(m_settings, text, caption);
}

} // namespace velkor
