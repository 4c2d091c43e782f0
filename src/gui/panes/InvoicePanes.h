#pragma once

#include "core/invoice/InvoiceLines.h"
#include "core/invoice/ListModel.h"
#include "core/load/DocumentDisposal.h"
#include "core/support/Failure.h"
#include "gui/panes/PaneFrames.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class QCheckBox;
class QModelIndex;
class QTreeView;

namespace velkor {

class ClipboardExport;
class Desktop;
class ListView;
class StatusPanels;
class TextAndReveal;
class TreePane;
struct InvoiceState;

// Fills the panes from the current invoice and handles their events: the
// display refresh, the corrections toggle, focus and row choices in the
// lists, the tree's focus and clicks, the status bar.
class InvoicePanes : public QObject
{
    Q_OBJECT
public:
    InvoicePanes(const ListPanes &lists, TreePane &tree, QCheckBox &korygowane, StatusPanels &status,
                 InvoiceState &state, Desktop &desktop, TextAndReveal &textAndReveal, ClipboardExport &clipboard,
                 QObject *parent = nullptr);

    // Makes a newly loaded document the current invoice and refreshes the
    // display, then checks it; the previous document is released afterwards,
    // in the background. `ksefNumber` is the number handed over with it.
    void showInvoice(std::unique_ptr<InvoiceDocument> document, const QString &ksefNumber = {});

    // The display refresh after a successful load: resets the toggles,
    // empties every pane, builds the tree, fills the lists and places the focus.
    void FillTree();
    void FillList();
    void FillListS();
    void FillListK();

    // Shows the header pane or the corrected-documents pane, as the
    // Korygowane box says.
    void ToggleCorrections();
    // Turns Korygowane over, when it can be, and shows the pane it then names.
    // A word to the user in the status bar's info panel.
    void showInfo(const QString &text);
    void toggleCorrections();

    // The summary of the focused pane's selection in the status bar: a list,
    // the tree, or neither (which clears it).
    void UpdateStatus(ListView *list, QTreeView *tree);

    void onTreeFocus();
    void onTreeClicked(const QModelIndex &index);
    void onListFocus(ListView *list);
    // A row of a list was clicked or chosen with the keyboard; -1 for none.
    void onListItemClick(ListView *list, int row);
    // Ctrl+C in a list; returns true when the key was the list's copy key.
    bool onListKey(ListView *list, int key, Qt::KeyboardModifiers modifiers);

    // Lists every field of a line of the lines list (-1: none) in the line
    // details and asks to reveal the line.
    void ShowLineDetails(int row);

    // The decimal separator of the user's regional settings.
    static QString decimalSeparator();

private:
    // The invoice check on the figures the lines list has read; its count of
    // remarks goes to the status bar.
    void runCheck();
    // Moves the focus into a list and runs its focus handling, also when the
    // list has the focus already or its window is not active.
    void focusList(ListView *list);
    // Puts a fill's rows into its list, the rows before a failure included;
    // reports the failure under the procedure's name and then returns false.
    bool showRows(ListView *list, std::vector<ListRow> rows, const std::optional<Failure> &failure,
                  const char *procedure);

    ListPanes m_lists;
    TreePane &m_tree;
    QCheckBox &m_korygowane;
    StatusPanels &m_status;
    InvoiceState &m_state;
    Desktop &m_desktop;
    TextAndReveal &m_textAndReveal;
    ClipboardExport &m_clipboard;
    DocumentDisposal m_disposal;
    InvoiceLines m_lineFigures; // the lines' figures, from the fill until the check
};

} // namespace velkor
