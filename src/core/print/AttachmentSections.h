#pragma once

#include "core/load/InvoiceDocument.h"
#include "core/print/PrintDocument.h"

#include <vector>

namespace velkor::print {

// The widest table part a page of A4 holds readably.
constexpr int MaxTableColumns = 7;

// The attachment (Zalacznik): a section for every data block, with its
// header, its key and value data, its paragraphs and its tables.
std::vector<Section> attachmentSections(const InvoiceDocument &document);

// A table of more than `maxColumns` columns as parts of at most that many,
// each repeating the first column; a narrower table as it is.
std::vector<Table> splitColumns(const Table &table, int maxColumns);

} // namespace velkor::print
