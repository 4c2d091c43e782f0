#include "ClipboardExport.h"

#include "core/commands/TableText.h"
#include "core/invoice/ListModel.h"
#include "core/support/Desktop.h"
#include "core/support/Failure.h"
#include "core/support/ReportError.h"
#include "gui/widgets/ListView.h"

#include <QHeaderView>

#include <numeric>

namespace velkor {

void ClipboardExport::CopyTextToClipboard(const QString &text)
{
    try {
        m_desktop.setClipboardText(text);
    } catch (...) {
    }
}

bool ClipboardExport::CopyListView(const ListView &list, bool allRows, bool withHeader)
{
    const ListModel *model = list.listModel();
    if (model->isEmpty() || model->columnCount() == 0)
        return false;
    try {
        QList<int> rows;
        if (allRows) {
            rows.resize(model->rowCount());
            std::iota(rows.begin(), rows.end(), 0);
        } else {
            rows = list.selectedRows();
        }
        m_desktop.setClipboardText(tableText(model->headers(), model->rows(), rows, withHeader));
        return true;
    } catch (...) {
        const Failure failure = failureFromCurrentException();
        ReportError(m_desktop, failure.number(), failure.description(), QStringLiteral("Kopiowanie tabeli"));
        return false;
    }
}

void ClipboardExport::AutoFitColumns(ListView &list)
{
    // Qt takes the wider of the contents and the header text for each column.
    for (int column = 0; column < list.listModel()->columnCount(); ++column)
        list.resizeColumnToContents(column);
}

} // namespace velkor
