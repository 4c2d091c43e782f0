#include "InvoicePanes.h"

#include "app/InvoiceState.h"
#include "app/MainWindowControls.h"
#include "app/ReportError.h"
#include "support/Failure.h"
#include "views/ListModel.h"
#include "views/ListView.h"
#include "views/TreeModel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeView>

namespace velkor {

InvoicePanes::InvoicePanes(MainWindowControls &controls, InvoiceState &state, Desktop &desktop, QObject *parent)
    : QObject(parent), m_controls(controls), m_state(state), m_desktop(desktop)
{
}

void InvoicePanes::FillTree()
{
    auto &c = m_controls;
    try {
        m_state.refreshing = true;
        if (c.korygowane->isChecked())
            c.korygowane->setChecked(false);
        c.korygowane->setEnabled(false);
        if (c.strukturaOn->isChecked())
            c.strukturaOn->setChecked(false);

        c.treeModel->setTree(nullptr);
        m_state.tree = std::make_shared<XmlTree>();
        c.listaSModel->clear();
        c.listaEModel->clear();
        c.listaKModel->clear();
        c.listaModel->clear();
        c.struktura->clear();

        // Repaint once before the heavy work. Input stays queued until the
        // refresh is over, so no command can start a load inside this one.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

        if (m_state.invoiceDoc) {
            m_state.tree = std::make_shared<XmlTree>(XmlTree::build(*m_state.invoiceDoc));
            c.treeModel->setTree(m_state.tree);
        }
        m_state.refreshing = false;

        if (!c.listaModel->isEmpty() && c.lista->isVisibleTo(c.lista->window())) {
            c.lista->setFocus(Qt::OtherFocusReason);
        } else if (!c.listaSModel->isEmpty() && c.listaS->isVisibleTo(c.listaS->window())) {
            c.listaS->setFocus(Qt::OtherFocusReason);
        }
    } catch (...) {
        const Failure failure = failureFromCurrentException();
        ReportError(m_desktop, failure.number(), failure.description(), QStringLiteral("FillTree"));
    }
}

void InvoicePanes::UpdateStatus(ListView *list, QTreeView *tree)
{
    auto &c = m_controls;
    c.infoPanel->clear();
    if (list) {
        return;
    }
    if (tree && !m_state.tree->isEmpty()) {
        const int node = c.treeModel->nodeOf(tree->currentIndex());
        if (node != XmlTree::NoNode)
            c.infoPanel->setText(m_state.tree->fullPath(node));
    }
}

void InvoicePanes::onTreeFocus()
{
    UpdateStatus(nullptr, m_controls.drzewo);
}

void InvoicePanes::onTreeClicked(const QModelIndex &index)
{
    UpdateStatus(nullptr, m_controls.drzewo);
    if (!index.isValid())
        return;
    QTreeView *tree = m_controls.drzewo;
    if (tree->isExpanded(index) || !tree->model()->hasChildren(index))
        tree->collapse(index);
    else
        tree->expand(index);
}

} // namespace velkor
