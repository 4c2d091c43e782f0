#include "CommandDispatch.h"

#include "core/check/InvoiceCheck.h"
#include "core/commands/InvoiceState.h"
#include "core/invoice/ListModel.h"
#include "core/load/InvoiceLoader.h"
#include "core/print/InvoicePrint.h"
#include "core/schema/NodeDescription.h"
#include "core/support/Desktop.h"
#include "core/support/Failure.h"
#include "core/support/ReportError.h"
#include "core/tree/TreeModel.h"
#include "gui/panes/ClipboardExport.h"
#include "gui/panes/InvoicePanes.h"
#include "gui/panes/PaneFrames.h"
#include "gui/panes/TextAndReveal.h"
#include "gui/print/PrintCommand.h"
#include "gui/register/RegisterCommand.h"
#include "gui/widgets/ListView.h"
#include "gui/widgets/TextLinesView.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeView>
#include <QWidget>

namespace velkor {

namespace {

// Shown in the window as the toggles left it.
bool isShown(const QWidget *widget)
{
    return widget->isVisibleTo(widget->window());
}

void focus(QWidget *widget)
{
    widget->setFocus(Qt::ShortcutFocusReason);
}

bool isEmpty(const ListView *list)
{
    return list->listModel()->isEmpty();
}

// What the status bar says to a command that needs an invoice, without one.
const QString NoInvoice = QStringLiteral("Brak faktury");

} // namespace

CommandDispatch::CommandDispatch(QWidget *window, const ListPanes &lists, TreePane &tree, TextPane &text,
                                 InvoiceState &state, InvoicePanes &panes, TextAndReveal &textAndReveal,
                                 ClipboardExport &clipboard, Desktop &desktop, QSettings &settings,
                                 QString schemaFile)
    : QObject(window)
    , m_window(window)
    , m_lists(lists)
    , m_tree(tree)
    , m_text(text)
    , m_state(state)
    , m_panes(panes)
    , m_textAndReveal(textAndReveal)
    , m_clipboard(clipboard)
    , m_desktop(desktop)
    , m_settings(settings)
    , m_schemaFile(std::move(schemaFile))
    , m_nodeDescription(std::make_unique<NodeDescription>(desktop, m_schemaFile))
    , m_print(std::make_unique<PrintCommand>(desktop, settings))
    , m_register(std::make_unique<RegisterCommand>(window, desktop, settings, m_schemaFile,
                                                   [this](const QString &path, const QByteArray &bytes) {
                                                       if (bytes.isEmpty())
                                                           openFile(path);
                                                       else
                                                           loadInvoiceBytes(path, bytes);
                                                       m_window->raise();
                                                       m_window->activateWindow();
                                                   }))
{
}

void CommandDispatch::connectButtons(const IndexedButtons &buttons)
{
    for (const auto &[index, button] : buttons)
        connect(button, &QPushButton::clicked, this, [this, index = index] { Command_Click(index); });
}

CommandDispatch::~CommandDispatch() = default;

void CommandDispatch::Command_Click(int index)
{
    switch (index) {
    case 0:
        exitWithConfirmation();
        break;
    case 1:
        copySelectedValue(m_lists.header.list());
        break;
    case 2:
        if (!isEmpty(m_lists.lines.list())) {
            m_clipboard.CopyListView(*m_lists.lines.list(), true, true);
            focus(m_lists.lines.list());
        }
        break;
    case 3:
        copySelectedValue(m_lists.details.list());
        break;
    case 4:
        if (m_lists.corrected.isShown())
            copySelectedValue(m_lists.corrected.list());
        break;
    case 5:
        if (m_state.invoiceDoc)
            m_clipboard.CopyTextToClipboard(m_state.invoiceDoc->serialize());
        focus(m_text.isShown() ? static_cast<QWidget *>(m_text.text()) : m_tree.tree());
        break;
    case 6:
        if (m_tree.isShown() && !m_state.tree->isEmpty()) {
            const QModelIndex current = m_tree.tree()->currentIndex();
            if (current.isValid())
                m_clipboard.CopyTextToClipboard(current.data().toString());
            focus(m_tree.tree());
        }
        break;
    case 7:
        if (m_textAndReveal.isTextBuilt()) {
            m_clipboard.CopyTextToClipboard(m_textAndReveal.builtText());
            focus(m_text.text());
        }
        break;
    case 8:
        loadInvoice(LoadSource::File);
        break;
    case 9:
        loadInvoice(LoadSource::Clipboard);
        break;
    case 10:
        showCheck();
        break;
    case 11:
        if (!isEmpty(m_lists.lines.list())) {
            ClipboardExport::AutoFitColumns(*m_lists.lines.list());
            focus(m_lists.lines.list());
        }
        break;
    case 12:
        if (!m_state.tree->isEmpty() && isShown(m_tree.tree()))
            m_nodeDescription->ShowNodeDescription(*m_state.tree, m_tree.model()->nodeOf(m_tree.tree()->currentIndex()));
        break;
    case 13:
        printInvoice(false);
        break;
    case 14:
        m_register->chooseAndOpen();
        break;
    default:
        break;
    }
}

void CommandDispatch::copySelectedValue(ListView *list)
{
    if (isEmpty(list))
        return;
    const int row = list->selectedRow();
    if (row >= 0)
        m_clipboard.CopyTextToClipboard(list->listModel()->row(row).cell(1));
    focus(list);
}

bool CommandDispatch::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    switch (keyCommand(key, modifiers)) {
    case KeyCommand::None:
        return false;
    case KeyCommand::Exit:
        Command_Click(0);
        break;
    case KeyCommand::OpenFile:
        Command_Click(8);
        break;
    case KeyCommand::Paste:
        Command_Click(9);
        break;
    case KeyCommand::Info:
        Command_Click(12);
        break;
    case KeyCommand::FocusTree:
        if (m_tree.isShown()) {
            if (!m_state.tree->isEmpty())
                focus(m_tree.tree());
        } else if (m_text.isShown()) {
            focus(m_text.text());
        }
        break;
    case KeyCommand::CopyTreeOrText:
        if (m_tree.isShown())
            Command_Click(6);
        else if (m_text.isShown())
            Command_Click(7);
        break;
    case KeyCommand::CopyXml:
        if (m_tree.isShown())
            Command_Click(5);
        break;
    case KeyCommand::FocusHeader:
        if (m_lists.header.isShown()) {
            if (!isEmpty(m_lists.header.list()))
                focus(m_lists.header.list());
        } else if (m_lists.corrected.isShown()) {
            if (!isEmpty(m_lists.corrected.list()))
                focus(m_lists.corrected.list());
        }
        break;
    case KeyCommand::CopyHeader:
        if (m_lists.header.isShown())
            Command_Click(1);
        else if (m_lists.corrected.isShown())
            Command_Click(4);
        break;
    case KeyCommand::FocusLines:
        if (m_lists.lines.isShown() && !isEmpty(m_lists.lines.list()))
            focus(m_lists.lines.list());
        break;
    case KeyCommand::CopyTable:
        if (m_lists.lines.isShown())
            Command_Click(2);
        break;
    case KeyCommand::FocusDetails:
        if (!isEmpty(m_lists.details.list()))
            focus(m_lists.details.list());
        break;
    case KeyCommand::CopyDetails:
        Command_Click(3);
        break;
    case KeyCommand::Check:
        Command_Click(10);
        break;
    case KeyCommand::Print:
        Command_Click(13);
        break;
    case KeyCommand::SavePdf:
        printInvoice(true);
        break;
    case KeyCommand::Register:
        Command_Click(14);
        break;
    case KeyCommand::RegisterFiles:
        m_register->chooseFilesAndOpen();
        break;
    case KeyCommand::ToggleView:
        m_textAndReveal.toggleView();
        break;
    case KeyCommand::ToggleCorrections:
        m_panes.toggleCorrections();
        break;
    }
    return true;
}

CheckReport *CommandDispatch::checkWithLink()
{
    if (!m_state.invoiceDoc || !m_state.check)
        return nullptr;
    // The link hashes the whole file: done when asked for, once per invoice.
    if (m_state.check->link.isEmpty())
        addVerificationLink(*m_state.check, *m_state.invoiceDoc, m_state.ksefNumber);
    return &*m_state.check;
}

void CommandDispatch::showCheck()
{
    if (!m_state.invoiceDoc) {
        m_panes.showInfo(NoInvoice);
        return;
    }
    try {
        if (const CheckReport *check = checkWithLink())
            m_desktop.showCheckReport(*check);
    } catch (...) {
        // Nothing to show; nothing is reported.
    }
}

void CommandDispatch::printInvoice(bool toPdf)
{
    if (!m_state.invoiceDoc) {
        m_panes.showInfo(NoInvoice);
        return;
    }
    if (m_loading)
        return;
    try {
        const InvoiceDocument &document = *m_state.invoiceDoc;
        const print::PrintDocument printout =
            print::buildInvoicePrintout(document, m_state.ksefNumber, InvoicePanes::decimalSeparator(), checkWithLink());
        if (toPdf) {
            const QString saved = m_print->savePdf(printout, document.sourceBytes());
            if (!saved.isEmpty())
                m_panes.showInfo(QStringLiteral("Zapisano PDF: ") + QDir::toNativeSeparators(saved));
        } else
            m_print->print(printout, document.sourceBytes());
    } catch (...) {
        const Failure failure = failureFromCurrentException();
        ReportError(m_desktop, failure.number(), failure.description(), QStringLiteral("Drukowanie"));
    }
}

void CommandDispatch::exitWithConfirmation()
{
    const Message question{QStringLiteral("Zakończ?"), QStringLiteral("Zakończyć program Velkor?"),
                           MessageIcon::Question, MessageButtons::OkCancel, true};
    if (m_desktop.showMessage(question) == MessageAnswer::Ok)
        m_window->close();
}

void CommandDispatch::openFile(const QString &path)
{
    if (!path.isEmpty())
        loadInvoice(LoadSource::File, path);
}

void CommandDispatch::loadInvoice(LoadSource source, const QString &chosenFile)
{
    // A load started from within another (a drop while the panes refresh)
    // would replace the document the first one is showing.
    if (m_loading)
        return;
    const QScopedValueRollback<bool> loading(m_loading, true);
    LoadEnvironment environment{m_desktop, m_settings, m_schemaFile};
    QString fileName;
    std::unique_ptr<InvoiceDocument> document = PobierzFA3(environment, source, fileName, chosenFile);
    if (!document)
        return;
    m_window->setWindowTitle(source == LoadSource::Clipboard ? QStringLiteral("Velkor")
                                                             : QStringLiteral("Velkor  ") + fileName);
    m_panes.showInvoice(std::move(document));
}

void CommandDispatch::openRegister(const QStringList &paths)
{
    m_register->open(paths);
}

void CommandDispatch::loadInvoiceBytes(const QString &name, const QByteArray &bytes)
{
    if (m_loading)
        return;
    const QScopedValueRollback<bool> loading(m_loading, true);
    std::unique_ptr<InvoiceDocument> document = RegisterCommand::loadInvoiceBytes(m_desktop, m_schemaFile, name, bytes);
    if (!document)
        return;
    m_window->setWindowTitle(QStringLiteral("Velkor  ") + name);
    m_panes.showInvoice(std::move(document));
}

} // namespace velkor
