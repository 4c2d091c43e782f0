#pragma once

#include "core/invoice/ListModel.h"

#include <QString>
#include <QStringList>

namespace velkor {

enum class StatusStyle {
    AllColumns, // "Lp: 3   KodDostawcy: A-17   ..." (the lines and corrected documents)
    FieldValue, // "label: value" (the two-column field lists)
};

// The status bar's summary of one list row.
QString listRowStatus(StatusStyle style, const QStringList &headers, const ListRow &row);

} // namespace velkor
