#pragma once

#include "core/invoice/ListModel.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velkor {

// A list as TAB-separated text for a spreadsheet: optionally the header
// line, then one line per row in list order; cells after the first lose
// their no-break spaces; CR LF between lines and none at the end.
// `rows` are the indexes of the rows to copy, in list order.
QString tableText(const QStringList &headers, const std::vector<ListRow> &allRows, const QList<int> &rows,
                  bool withHeader);

} // namespace velkor
