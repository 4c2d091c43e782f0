#include "InvoicePanes.h"

#include "app/InvoiceState.h"
#include "app/MainWindowControls.h"
#include "app/ReportError.h"
#include "check/InvoiceCheck.h"
#include "commands/ClipboardExport.h"
#include "commands/KeyTable.h"
#include "commands/StatusText.h"
#include "support/Failure.h"
#include "views/CorrectedDocuments.h"
#include "views/HeaderFields.h"
#include "views/InvoiceLines.h"
#include "views/LineDetails.h"
#include "views/ListModel.h"
#include "views/ListView.h"
#include "views/TextAndReveal.h"
#include "views/TreeModel.h"

#include <QCheckBox>

#include <future>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QTreeView>

namespace velkor {

namespace {

void report(Desktop &desktop, const Failure &failure, const char *procedure)
{
    ReportError(desktop, failure.number(), failure.description(), QString::fromLatin1(procedure));
}

const QString OrderLinesCaption = QStringLiteral("Pozycje zamówienia  F6");

// Shown in its window, as the toggles leave it; true also before the
// window itself is first shown.
bool isShown(const QWidget *widget)
{
    return widget->isVisibleTo(widget->window());
}

} // namespace

InvoicePanes::InvoicePanes(MainWindowControls &controls, InvoiceState &state, Desktop &desktop,
                           TextAndReveal &textAndReveal, ClipboardExport &clipboard, QObject *parent)
    : QObject(parent)
    , m_controls(controls)
    , m_state(state)
    , m_desktop(desktop)
    , m_textAndReveal(textAndReveal)
    , m_clipboard(clipboard)
{
    connect(controls.korygowane, &QCheckBox::toggled, this, &InvoicePanes::ToggleCorrections);
    connect(controls.drzewo, &QTreeView::clicked, this, &InvoicePanes::onTreeClicked);
    for (ListView *list : {controls.lista, controls.listaS, controls.listaE, controls.listaK})
        connect(list, &ListView::rowChosen, this, [this, list](int row) { onListItemClick(list, row); });
}

QString InvoicePanes::decimalSeparator()
{
    return QLocale::system().decimalPoint();
}

void InvoicePanes::showInvoice(std::unique_ptr<InvoiceDocument> document, const QString &ksefNumber)
{
    // The old document stays alive until the refresh has emptied the panes
    // that point into it.
    std::unique_ptr<InvoiceDocument> previous = std::move(m_state.invoiceDoc);
    m_state.invoiceDoc = std::move(document);
    m_state.ksefNumber = ksefNumber;
    m_state.check.reset();
    m_controls.checkPanel->clear();
    FillTree();
    runCheck();
    m_disposal.dispose(std::move(previous));
}

void InvoicePanes::runCheck()
{
    InvoiceLines lines = std::move(m_lineFigures);
    m_lineFigures = InvoiceLines();
    if (!m_state.invoiceDoc || m_state.refreshing)
        return;
    try {
        m_state.check = checkInvoice(*m_state.invoiceDoc, lines, m_state.ksefNumber, decimalSeparator());
        m_controls.checkPanel->setText(checkStatusText(*m_state.check));
    } catch (...) {
        // The panes stand; F9 shows why the check is not there.
        const Failure failure = failureFromCurrentException();
        m_state.check = failedCheck(failure.description());
        m_controls.checkPanel->setText(QStringLiteral("Kontrola: nie wykonano"));
    }
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
        m_textAndReveal.clear();

        // Repaint once before the heavy work. Input stays queued until the
        // refresh is over, so no command can start a load inside this one.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

        // The tree is built on a second thread while the lists are filled
        // here: both only read the document, and the tree touches nothing
        // else of it.
        std::future<XmlTree> tree;
        if (const InvoiceDocument *document = m_state.invoiceDoc.get())
            tree = std::async(std::launch::async, [document] { return XmlTree::build(*document); });
        FillList();
        FillListS();
        FillListK();
        if (tree.valid()) {
            m_state.tree = std::make_shared<XmlTree>(tree.get());
            c.treeModel->setTree(m_state.tree);
        }
        m_state.refreshing = false;
    } catch (...) {
        report(m_desktop, failureFromCurrentException(), "FillTree");
        return;
    }

    if (!c.listaModel->isEmpty() && isShown(c.lista))
        focusList(c.lista);
    else if (!c.listaSModel->isEmpty() && isShown(c.listaS))
        focusList(c.listaS);
}

void InvoicePanes::focusList(ListView *list)
{
    // A focus event comes only to a list that lacks the focus, and only once
    // its window is active (a file dropped from another window, a load
    // before the window is shown); otherwise the handling runs here, so the
    // panes are complete at once.
    if (list->hasFocus() || !list->isActiveWindow())
        onListFocus(list);
    if (!list->hasFocus())
        list->setFocus(Qt::OtherFocusReason);
}

bool InvoicePanes::showRows(ListView *list, std::vector<ListRow> rows, const std::optional<Failure> &failure,
                            const char *procedure)
{
    list->listModel()->setRows(std::move(rows));
    if (!failure)
        return true;
    report(m_desktop, *failure, procedure);
    return false;
}

void InvoicePanes::FillList()
{
    auto &c = m_controls;
    c.listaModel->clear();
    m_state.commonRate.clear();
    c.countPanel->clear();
    // An order's lines shown before are not this invoice's.
    if (c.ramka->title() == OrderLinesCaption)
        c.ramka->setTitle(QStringLiteral("Pozycje faktury  F6"));
    c.ramkaE->setTitle(QStringLiteral("Pozycja faktury  F7"));
    if (!m_state.invoiceDoc)
        return;
    InvoiceLines lines = buildInvoiceLines(*m_state.invoiceDoc, decimalSeparator());
    // An advance invoice has no lines of its own, but the order's.
    std::optional<InvoiceLines> order;
    if (lines.rows.empty() && !lines.failure)
        order = buildInvoiceLines(*m_state.invoiceDoc, decimalSeparator(), OrderLinesPath);
    InvoiceLines &shown = order && !order->rows.empty() ? *order : lines;
    std::vector<ListRow> rows = std::move(shown.rows);
    const std::optional<Failure> failure = shown.failure;
    const QString commonRate = shown.commonRate;
    const bool orderLines = &shown != &lines;
    m_lineFigures = std::move(lines); // for the check, once the panes are filled
    if (!showRows(c.lista, std::move(rows), failure, "FillList") || c.listaModel->isEmpty())
        return;
    m_state.commonRate = commonRate;
    c.ramka->setTitle(orderLines ? OrderLinesCaption : QStringLiteral("Pozycje faktury netto  F6"));
    if (orderLines)
        c.ramkaE->setTitle(QStringLiteral("Pozycja zamówienia  F7"));
    c.lista->selectRow(0);
    c.countPanel->setText(QString::number(c.listaModel->rowCount()));
    // No figure is cut short by widths fitted to another invoice.
    QList<int> figures{0};
    for (int column = 1; column < c.listaModel->columnCount(); ++column) {
        if (c.listaModel->columns()[std::size_t(column)].alignment & Qt::AlignRight)
            figures << column;
    }
    c.lista->widenToFit(figures);
}

void InvoicePanes::FillListS()
{
    auto &c = m_controls;
    if (!m_state.invoiceDoc)
        return;
    HeaderFields fields = buildHeaderFields(*m_state.invoiceDoc, m_state.commonRate, decimalSeparator());
    if (showRows(c.listaS, std::move(fields.rows), fields.failure, "FillListS")) {
        c.listaS->fitNamesColumn();
        c.listaS->selectRow(0);
    }
}

void InvoicePanes::FillListK()
{
    auto &c = m_controls;
    if (!m_state.invoiceDoc)
        return;
    CorrectedDocuments corrected = buildCorrectedDocuments(*m_state.invoiceDoc);
    if (!showRows(c.listaK, std::move(corrected.rows), corrected.failure, "FillListK") || c.listaKModel->isEmpty())
        return;
    c.korygowane->setEnabled(true);
    c.listaK->fitNamesColumn();
    c.listaK->selectRow(0);
}

void InvoicePanes::ToggleCorrections()
{
    auto &c = m_controls;
    if (c.korygowane->isChecked()) {
        c.ramkaS->hide();
        c.ramkaK->show();
        if (!c.listaKModel->isEmpty() && isShown(c.listaK) && c.listaK->isEnabled())
            focusList(c.listaK);
    } else {
        c.ramkaK->hide();
        c.ramkaS->show();
        if (!c.listaSModel->isEmpty() && isShown(c.listaS))
            focusList(c.listaS);
    }
}

void InvoicePanes::UpdateStatus(ListView *list, QTreeView *tree)
{
    auto &c = m_controls;
    c.infoPanel->clear();
    if (list) {
        const ListModel *model = list->listModel();
        const int row = list->selectedRow();
        if (model->isEmpty() || row < 0)
            return;
        const bool allColumns = list == c.lista || list == c.listaK;
        c.infoPanel->setText(listRowStatus(allColumns ? StatusStyle::AllColumns : StatusStyle::FieldValue,
                                           model->headers(), model->row(row)));
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

void InvoicePanes::onListFocus(ListView *list)
{
    if (list->listModel()->isEmpty())
        return;
    UpdateStatus(list, nullptr);
    onListItemClick(list, list->selectedRow());
}

void InvoicePanes::onListItemClick(ListView *list, int row)
{
    if (list == m_controls.lista) {
        ShowLineDetails(row);
        return;
    }
    if (m_state.refreshing)
        return;
    UpdateStatus(list, nullptr);
    if (row >= 0)
        m_textAndReveal.ScheduleReveal(list->listModel()->row(row).tag);
}

bool InvoicePanes::onListKey(ListView *list, int key, Qt::KeyboardModifiers modifiers)
{
    if (!isListCopyKey(key, modifiers))
        return false;
    if (list == m_controls.lista) {
        if (!list->listModel()->isEmpty())
            m_clipboard.CopyListView(*list, false, false);
        return true;
    }
    const int row = list->selectedRow();
    if (row >= 0)
        m_clipboard.CopyTextToClipboard(list->listModel()->row(row).cell(1));
    return true;
}

void InvoicePanes::ShowLineDetails(int row)
{
    auto &c = m_controls;
    if (m_state.refreshing)
        return;
    c.listaEModel->clear();
    if (row < 0 || row >= c.listaModel->rowCount() || !m_state.invoiceDoc)
        return;
    try {
        LineDetails details = buildLineDetails(*m_state.invoiceDoc, *m_state.tree, c.listaModel->headers(),
                                               c.listaModel->row(row), row + 1);
        m_textAndReveal.ScheduleReveal(details.lineRequest);
        c.listaEModel->setRows(std::move(details.rows));
        c.listaE->fitNamesColumn();
    } catch (...) {
        // Whatever was listed stays; nothing is reported.
    }
    c.listaE->selectRow(0);
    UpdateStatus(c.lista, nullptr);
}

} // namespace velkor
