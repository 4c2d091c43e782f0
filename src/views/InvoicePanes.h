#pragma once

#include <QObject>

class QModelIndex;
class QTreeView;

namespace velkor {

class Desktop;
class ListView;
struct InvoiceState;
struct MainWindowControls;

// Fills the panes from the current invoice and handles their events: the
// display refresh, the tree's focus and clicks, the status bar.
class InvoicePanes : public QObject
{
    Q_OBJECT
public:
    InvoicePanes(MainWindowControls &controls, InvoiceState &state, Desktop &desktop, QObject *parent = nullptr);

    // The display refresh after a successful load: resets the toggles,
    // empties every pane, builds the tree, fills the lists and places the focus.
    void FillTree();

    // The summary of the focused pane's selection in the status bar: a list,
    // the tree, or neither (which clears it).
    void UpdateStatus(ListView *list, QTreeView *tree);

    void onTreeFocus();
    void onTreeClicked(const QModelIndex &index);

private:
    MainWindowControls &m_controls;
    InvoiceState &m_state;
    Desktop &m_desktop;
};

} // namespace velkor
