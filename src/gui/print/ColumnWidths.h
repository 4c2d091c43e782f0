#pragma once

#include "core/print/PrintDocument.h"

#include <QFontMetricsF>

#include <vector>

namespace velkor::print {

// The columns' widths, in three steps of comfort: `need` breaks text
// between words and headers into their words (a number never breaks),
// `fit` breaks only headers, `want` breaks nothing. The widest step that
// fits is taken and the room left goes to the text columns; the room
// between two steps is shared in proportion to what each column lacks.
// `plain` and `bold` measure the cells and the header; `padding` is the
// room a cell keeps beside its text.
std::vector<double> columnWidths(const Table &table, const QFontMetricsF &plain, const QFontMetricsF &bold,
                                 double available, double padding);

} // namespace velkor::print
