#pragma once

#include "core/commands/KeyTable.h"
#include "core/load/InvoiceLoader.h"
#include "gui/panes/PaneFrames.h"

#include <QObject>
#include <QString>

#include <memory>

class QSettings;
class QWidget;

namespace velkor {

class ClipboardExport;
class Desktop;
class InvoicePanes;
class ListView;
class NodeDescription;
class PrintCommand;
class RegisterCommand;
class TextAndReveal;
struct CheckReport;
struct InvoiceState;

// The buttons and function keys of the main window: one handler for the
// button array and one for the keys the window sees before its controls.
class CommandDispatch : public QObject
{
    Q_OBJECT
public:
    // The commands act on the lists, the tree and the text; the toggles are
    // turned through the panes that own their effect.
    CommandDispatch(QWidget *window, const ListPanes &lists, TreePane &tree, TextPane &text, InvoiceState &state,
                    InvoicePanes &panes, TextAndReveal &textAndReveal, ClipboardExport &clipboard, Desktop &desktop,
                    QSettings &settings, QString schemaFile);
    ~CommandDispatch() override;

    // A click on any of these buttons runs Command_Click with its index.
    void connectButtons(const IndexedButtons &buttons);

    // Runs the action of button `index`; a failing step is skipped.
    void Command_Click(int index);
    // Runs the row matching the key and returns true when one matched; the
    // key is then consumed whether or not the row's condition held.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);

    // Opens a file chosen outside the dialog (dropped on the window, named
    // at start) as F5 opens the file chosen in it.
    void openFile(const QString &path);
    // The register of invoices: a folder, a package or several files.
    void openRegister(const QStringList &paths);
    RegisterCommand &registerCommand() { return *m_register; }
    // True while a load, its messages and its display refresh are running.
    bool isLoading() const { return m_loading; }

private:
    void exitWithConfirmation();
    // The invoice check's report with the verification link, in its window.
    void showCheck();
    // The check's report with its verification link, computed once per
    // invoice; none when the check did not run.
    CheckReport *checkWithLink();
    // The printout of the shown invoice, through the print dialog or into a
    // PDF file; nothing without an invoice.
    void printInvoice(bool toPdf);
    void loadInvoice(LoadSource source, const QString &chosenFile = QString());
    // A file of a register's package, from its bytes, as F5 opens a file.
    void loadInvoiceBytes(const QString &name, const QByteArray &bytes);
    // Copies the second column of the list's selected row, if any, and
    // focuses the list; nothing at all when the list is empty.
    void copySelectedValue(ListView *list);

    QWidget *m_window;
    ListPanes m_lists;
    TreePane &m_tree;
    TextPane &m_text;
    InvoiceState &m_state;
    InvoicePanes &m_panes;
    TextAndReveal &m_textAndReveal;
    ClipboardExport &m_clipboard;
    Desktop &m_desktop;
    QSettings &m_settings;
    QString m_schemaFile;
    std::unique_ptr<NodeDescription> m_nodeDescription;
    std::unique_ptr<PrintCommand> m_print;
    std::unique_ptr<RegisterCommand> m_register;
    bool m_loading = false;
};

} // namespace velkor
