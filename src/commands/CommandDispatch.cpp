#include "CommandDispatch.h"

#include "app/InvoiceState.h"
#include "app/MainWindowControls.h"
#include "app/ReportError.h"
#include "check/InvoiceCheck.h"
#include "commands/ClipboardExport.h"
#include "load/InvoiceLoader.h"
#include "print/InvoicePrint.h"
#include "print/PrintCommand.h"
#include "gui/register/RegisterCommand.h"
#include "support/Desktop.h"
#include "support/Failure.h"
#include "views/InvoicePanes.h"
#include "views/ListModel.h"
#include "views/ListView.h"
#include "views/NodeDescription.h"
#include "views/TextAndReveal.h"
#include "views/TextLinesView.h"
#include "views/TreeModel.h"

#include <QCheckBox>
#include <QGroupBox>
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

} // namespace

CommandDispatch::CommandDispatch(QWidget *window, MainWindowControls &controls, InvoiceState &state,
                                 InvoicePanes &panes, TextAndReveal &textAndReveal, ClipboardExport &clipboard,
                                 Desktop &desktop, QSettings &settings, QString schemaFile)
    : QObject(window)
    , m_window(window)
    , m_controls(controls)
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
    for (std::size_t index = 0; index < controls.command.size(); ++index) {
        if (QPushButton *button = controls.command[index])
            connect(button, &QPushButton::clicked, this, [this, index] { Command_Click(int(index)); });
    }
}

CommandDispatch::~CommandDispatch() = default;

void CommandDispatch::Command_Click(int index)
{
    auto &c = m_controls;
    switch (index) {
    case 0:
        exitWithConfirmation();
        break;
    case 1:
        copySelectedValue(c.listaS);
        break;
    case 2:
        if (!isEmpty(c.lista)) {
            m_clipboard.CopyListView(*c.lista, true, true);
            focus(c.lista);
        }
        break;
    case 3:
        copySelectedValue(c.listaE);
        break;
    case 4:
        if (isShown(c.ramkaK))
            copySelectedValue(c.listaK);
        break;
    case 5:
        if (m_state.invoiceDoc)
            m_clipboard.CopyTextToClipboard(m_state.invoiceDoc->serialize());
        focus(isShown(c.ramkaT) ? static_cast<QWidget *>(c.struktura) : c.drzewo);
        break;
    case 6:
        if (isShown(c.ramkaD) && !m_state.tree->isEmpty()) {
            const QModelIndex current = c.drzewo->currentIndex();
            if (current.isValid())
                m_clipboard.CopyTextToClipboard(current.data().toString());
            focus(c.drzewo);
        }
        break;
    case 7:
        if (m_textAndReveal.isTextBuilt()) {
            m_clipboard.CopyTextToClipboard(m_textAndReveal.builtText());
            focus(c.struktura);
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
        if (!isEmpty(c.lista)) {
            ClipboardExport::AutoFitColumns(*c.lista);
            focus(c.lista);
        }
        break;
    case 12:
        if (!m_state.tree->isEmpty() && isShown(c.drzewo))
            m_nodeDescription->ShowNodeDescription(*m_state.tree, c.treeModel->nodeOf(c.drzewo->currentIndex()));
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
    auto &c = m_controls;
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
        if (isShown(c.ramkaD)) {
            if (!m_state.tree->isEmpty())
                focus(c.drzewo);
        } else if (isShown(c.ramkaT)) {
            focus(c.struktura);
        }
        break;
    case KeyCommand::CopyTreeOrText:
        if (isShown(c.ramkaD))
            Command_Click(6);
        else if (isShown(c.ramkaT))
            Command_Click(7);
        break;
    case KeyCommand::CopyXml:
        if (isShown(c.ramkaD))
            Command_Click(5);
        break;
    case KeyCommand::FocusHeader:
        if (isShown(c.ramkaS)) {
            if (!isEmpty(c.listaS))
                focus(c.listaS);
        } else if (isShown(c.ramkaK)) {
            if (!isEmpty(c.listaK))
                focus(c.listaK);
        }
        break;
    case KeyCommand::CopyHeader:
        if (isShown(c.ramkaS))
            Command_Click(1);
        else if (isShown(c.ramkaK))
            Command_Click(4);
        break;
    case KeyCommand::FocusLines:
        if (isShown(c.ramka) && !isEmpty(c.lista))
            focus(c.lista);
        break;
    case KeyCommand::CopyTable:
        if (isShown(c.ramka))
            Command_Click(2);
        break;
    case KeyCommand::FocusDetails:
        if (!isEmpty(c.listaE))
            focus(c.listaE);
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
        c.strukturaOn->setChecked(!c.strukturaOn->isChecked());
        m_textAndReveal.StrukturaOn_Click();
        break;
    case KeyCommand::ToggleCorrections:
        if (c.korygowane->isEnabled())
            c.korygowane->setChecked(!c.korygowane->isChecked());
        m_panes.ToggleCorrections();
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
    try {
        if (const CheckReport *check = checkWithLink())
            m_desktop.showCheckReport(*check);
    } catch (...) {
        // Nothing to show; nothing is reported.
    }
}

void CommandDispatch::printInvoice(bool toPdf)
{
    if (!m_state.invoiceDoc || m_loading)
        return;
    try {
        const InvoiceDocument &document = *m_state.invoiceDoc;
        const QString separator = InvoicePanes::decimalSeparator();
        const InvoiceLines lines = buildInvoiceLines(document, separator);
        print::PrintSources sources{lines, {}, {}, {}, m_state.ksefNumber, separator};
        CheckReport linkOnly;
        const CheckReport *check = checkWithLink();
        if (check) {
            sources.vatFindings = check->sections.at(VatSummarySection).findings;
        } else {
            // Without the check the printout still carries the link.
            addVerificationLink(linkOnly, document, m_state.ksefNumber);
            check = &linkOnly;
        }
        sources.link = check->link;
        sources.qrCaption = check->caption;
        const print::PrintDocument printout = print::buildPrintDocument(document, sources);
        if (toPdf)
            m_print->savePdf(printout, document.sourceBytes());
        else
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
