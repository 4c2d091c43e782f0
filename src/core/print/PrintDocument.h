#pragma once

#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace velkor::print {

// What a printed invoice holds, in the order it is printed: texts and
// figures already written as they appear on paper. The page layout is the
// renderer's business; nothing here knows about fonts or pages.

// A label and its value. A heading has no value and names the fields that
// follow it (one account, one means of transport).
struct Field
{
    QString label;
    QString value;
    bool heading = false;
};
using Fields = std::vector<Field>;

// Fields under a title: one party. Blocks are printed side by side.
struct Block
{
    QString title;
    Fields fields;
};
using Blocks = std::vector<Block>;

enum class Align { Left, Right };

// How a row stands out: the state of a corrected line before and after the
// correction, their difference, a total.
enum class RowKind { Plain, Before, After, Change, Total };

struct TableRow
{
    QStringList cells; // a cell may hold several lines, separated by '\n'
    RowKind kind = RowKind::Plain;
};

// A table whose header is repeated on every page it spans.
struct Table
{
    QString title;
    QStringList header;
    std::vector<Align> align; // one per column
    std::vector<TableRow> rows;
};

// A paragraph of text; a note stands out as a warning.
struct Paragraph
{
    QString text;
    bool note = false;
};

using Item = std::variant<Fields, Blocks, Table, Paragraph>;

struct Section
{
    QString title; // empty: the items follow without a heading
    std::vector<Item> items;
};

struct PrintDocument
{
    QString title;  // "Faktura VAT", "Faktura korygująca", ...
    QString number; // P_2
    Fields titleFields;
    std::vector<Section> sections;
    QString link;      // the verification link (KOD I)
    QString qrCaption; // under its QR code: the KSeF number or "OFFLINE"
};

} // namespace velkor::print
