#include "InvoicePanes.h"

#include "core/check/InvoiceCheck.h"
#include "core/commands/InvoiceState.h"
#include "core/commands/KeyTable.h"
#include "core/commands/StatusText.h"
#include "core/invoice/CorrectedDocuments.h"
#include "core/invoice/HeaderFields.h"
#include "core/invoice/InvoiceLines.h"
#include "core/invoice/LineDetails.h"
#include "core/invoice/ListModel.h"
#include "core/support/Failure.h"
#include "core/support/ReportError.h"
#include "core/tree/TreeModel.h"
#include "gui/panes/ClipboardExport.h"
#include "gui/panes/PaneFrames.h"
#include "gui/panes/StatusPanels.h"
#include "gui/panes/TextAndReveal.h"
#include "gui/widgets/ListView.h"

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

InvoicePanes::InvoicePanes(const ListPanes &lists, TreePane &tree, QCheckBox &korygowane, StatusPanels &status,
                           InvoiceState &state, Desktop &desktop, TextAndReveal &textAndReveal,
                           ClipboardExport &clipboard, QObject *parent)
    : QObject(parent)
    , m_lists(lists)
    , m_tree(tree)
    , m_korygowane(korygowane)
    , m_status(status)
    , m_state(state)
    , m_desktop(desktop)
    , m_textAndReveal(textAndReveal)
    , m_clipboard(clipboard)
{
    connect(&korygowane, &QCheckBox::toggled, this, &InvoicePanes::ToggleCorrections);
    connect(tree.tree(), &QTreeView::clicked, this, &InvoicePanes::onTreeClicked);
    for (ListView *list : {lists.lines.list(), lists.header.list(), lists.details.list(), lists.corrected.list()})
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
    m_status.setCheck({});
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
        m_status.setCheck(checkStatusText(*m_state.check));
    } catch (...) {
        // The panes stand; F9 shows why the check is not there.
        const Failure failure = failureFromCurrentException();
        m_state.check = failedCheck(failure.description());
        m_status.setCheck(QStringLiteral("Kontrola: nie wykonano"));
    }
}

void InvoicePanes::FillTree()
{
    try {
        m_state.refreshing = true;
        if (m_korygowane.isChecked())
            m_korygowane.setChecked(false);
        m_korygowane.setEnabled(false);
        m_textAndReveal.showStructureView();

        m_tree.model()->setTree(nullptr);
        m_state.tree = std::make_shared<XmlTree>();
        m_lists.header.model()->clear();
        m_lists.details.model()->clear();
        m_lists.corrected.model()->clear();
        m_lists.lines.model()->clear();
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
            m_tree.model()->setTree(m_state.tree);
        }
        m_state.refreshing = false;
    } catch (...) {
        report(m_desktop, failureFromCurrentException(), "FillTree");
        return;
    }

    if (!m_lists.lines.model()->isEmpty() && isShown(m_lists.lines.list()))
        focusList(m_lists.lines.list());
    else if (!m_lists.header.model()->isEmpty() && isShown(m_lists.header.list()))
        focusList(m_lists.header.list());
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
    m_lists.lines.model()->clear();
    m_state.commonRate.clear();
    m_status.setCount({});
    // An order's lines shown before are not this invoice's.
    if (m_lists.lines.frame()->title() == OrderLinesCaption)
        m_lists.lines.frame()->setTitle(QStringLiteral("Pozycje faktury  F6"));
    m_lists.details.frame()->setTitle(QStringLiteral("Pozycja faktury  F7"));
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
    if (!showRows(m_lists.lines.list(), std::move(rows), failure, "FillList") || m_lists.lines.model()->isEmpty())
        return;
    m_state.commonRate = commonRate;
    m_lists.lines.frame()->setTitle(orderLines ? OrderLinesCaption : QStringLiteral("Pozycje faktury netto  F6"));
    if (orderLines)
        m_lists.details.frame()->setTitle(QStringLiteral("Pozycja zamówienia  F7"));
    m_lists.lines.list()->selectRow(0);
    m_status.setCount(QString::number(m_lists.lines.model()->rowCount()));
    // No figure is cut short by widths fitted to another invoice.
    QList<int> figures{0};
    for (int column = 1; column < m_lists.lines.model()->columnCount(); ++column) {
        if (m_lists.lines.model()->columns()[std::size_t(column)].alignment & Qt::AlignRight)
            figures << column;
    }
    m_lists.lines.list()->widenToFit(figures);
}

void InvoicePanes::FillListS()
{
    if (!m_state.invoiceDoc)
        return;
    HeaderFields fields = buildHeaderFields(*m_state.invoiceDoc, m_state.commonRate, decimalSeparator());
    if (showRows(m_lists.header.list(), std::move(fields.rows), fields.failure, "FillListS")) {
        m_lists.header.list()->fitNamesColumn();
        m_lists.header.list()->selectRow(0);
    }
}

void InvoicePanes::FillListK()
{
    if (!m_state.invoiceDoc)
        return;
    CorrectedDocuments corrected = buildCorrectedDocuments(*m_state.invoiceDoc);
    if (!showRows(m_lists.corrected.list(), std::move(corrected.rows), corrected.failure, "FillListK") || m_lists.corrected.model()->isEmpty())
        return;
    m_korygowane.setEnabled(true);
    m_lists.corrected.list()->fitNamesColumn();
    m_lists.corrected.list()->selectRow(0);
}

void InvoicePanes::showInfo(const QString &text)
{
    m_status.setInfo(text);
}

void InvoicePanes::toggleCorrections()
{
    if (m_korygowane.isEnabled())
        m_korygowane.setChecked(!m_korygowane.isChecked());
    ToggleCorrections();
}

void InvoicePanes::ToggleCorrections()
{
    if (m_korygowane.isChecked()) {
        m_lists.header.frame()->hide();
        m_lists.corrected.frame()->show();
        if (!m_lists.corrected.model()->isEmpty() && isShown(m_lists.corrected.list()) && m_lists.corrected.list()->isEnabled())
            focusList(m_lists.corrected.list());
    } else {
        m_lists.corrected.frame()->hide();
        m_lists.header.frame()->show();
        if (!m_lists.header.model()->isEmpty() && isShown(m_lists.header.list()))
            focusList(m_lists.header.list());
    }
}

void InvoicePanes::UpdateStatus(ListView *list, QTreeView *tree)
{
    m_status.setInfo({});
    if (list) {
        const ListModel *model = list->listModel();
        const int row = list->selectedRow();
        if (model->isEmpty() || row < 0)
            return;
        const bool allColumns = list == m_lists.lines.list() || list == m_lists.corrected.list();
        m_status.setInfo(listRowStatus(allColumns ? StatusStyle::AllColumns : StatusStyle::FieldValue,
                                           model->headers(), model->row(row)));
        return;
    }
    if (tree && !m_state.tree->isEmpty()) {
        const int node = m_tree.model()->nodeOf(tree->currentIndex());
        if (node != XmlTree::NoNode)
            m_status.setInfo(m_state.tree->fullPath(node));
    }
}

void InvoicePanes::onTreeFocus()
{
    UpdateStatus(nullptr, m_tree.tree());
}

void InvoicePanes::onTreeClicked(const QModelIndex &index)
{
    UpdateStatus(nullptr, m_tree.tree());
    if (!index.isValid())
        return;
    QTreeView *tree = m_tree.tree();
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
    if (list == m_lists.lines.list()) {
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
    if (list == m_lists.lines.list()) {
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
    if (m_state.refreshing)
        return;
    m_lists.details.model()->clear();
    if (row < 0 || row >= m_lists.lines.model()->rowCount() || !m_state.invoiceDoc)
        return;
    try {
        LineDetails details = buildLineDetails(*m_state.invoiceDoc, *m_state.tree, m_lists.lines.model()->headers(),
                                               m_lists.lines.model()->row(row), row + 1);
        m_textAndReveal.ScheduleReveal(details.lineRequest);
        m_lists.details.model()->setRows(std::move(details.rows));
        m_lists.details.list()->fitNamesColumn();
    } catch (...) {
        // Whatever was listed stays; nothing is reported.
    }
    m_lists.details.list()->selectRow(0);
    UpdateStatus(m_lists.lines.list(), nullptr);
}

} // namespace velkor
