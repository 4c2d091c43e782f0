#include "CommandDispatch.h"

#include "app/InvoiceState.h"
#include "app/MainWindowControls.h"
#include "load/InvoiceLoader.h"
#include "support/Desktop.h"
#include "views/InvoicePanes.h"
#include "views/TextAndReveal.h"

#include <QCheckBox>
#include <QPushButton>
#include <QWidget>

namespace velkor {

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
{
    for (std::size_t index = 0; index < controls.command.size(); ++index) {
        if (QPushButton *button = controls.command[index])
            connect(button, &QPushButton::clicked, this, [this, index] { Command_Click(int(index)); });
    }
}

void CommandDispatch::Command_Click(int index)
{
    switch (index) {
    case 0:
        exitWithConfirmation();
        break;
    case 8:
        loadInvoice(false);
        break;
    case 9:
        loadInvoice(true);
        break;
    default:
        break;
    }
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
    case KeyCommand::ToggleView:
        m_controls.strukturaOn->setChecked(!m_controls.strukturaOn->isChecked());
        m_textAndReveal.StrukturaOn_Click();
        break;
    default:
        return false;
    }
    return true;
}

void CommandDispatch::exitWithConfirmation()
{
    const Message question{QStringLiteral("Zakończ?"), QStringLiteral("Zakończyć program Velkor?"),
                           MessageIcon::Question, MessageButtons::OkCancel, true};
    if (m_desktop.showMessage(question) == MessageAnswer::Ok)
        m_window->close();
}

void CommandDispatch::loadInvoice(bool fromClipboard)
{
    LoadEnvironment environment{m_desktop, m_settings, m_schemaFile};
    QString fileName;
    std::unique_ptr<InvoiceDocument> document =
        PobierzFA3(environment, fromClipboard ? LoadSource::Clipboard : LoadSource::File, fileName);
    if (!document)
        return;
    m_window->setWindowTitle(fromClipboard ? QStringLiteral("Velkor") : QStringLiteral("Velkor  ") + fileName);
    m_state.invoiceDoc = std::move(document);
    m_panes.FillTree();
}

} // namespace velkor
