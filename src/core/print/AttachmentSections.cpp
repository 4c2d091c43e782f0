#include "AttachmentSections.h"

#include "core/print/FieldWriter.h"
#include "core/tree/XmlNavigation.h"

#include <algorithm>

namespace velkor::print {

namespace {

QString textOf(const InvoiceDocument &document, const xmlNode *parent, const char *child)
{
    return NodeText(firstFaChild(document, parent, child)).trimmed();
}

// Key and value pairs (MetaDane, TMetaDane) as fields labelled by their keys.
Fields keyValueFields(const InvoiceDocument &document, const xmlNode *parent, const char *pairName, const char *key,
                      const char *value)
{
    Fields fields;
    for (const xmlNode *pair : faChildren(document, parent)) {
        if (isFaElement(document, pair, pairName))
            fields.push_back({textOf(document, pair, key), textOf(document, pair, value)});
    }
    return fields;
}

// The texts of the children named `cell` of every child of `parent` named `row`.
std::vector<QStringList> cellRows(const InvoiceDocument &document, const xmlNode *parent, const char *row,
                                  const char *cell)
{
    std::vector<QStringList> rows;
    for (const xmlNode *element : faChildren(document, parent)) {
        if (!isFaElement(document, element, row))
            continue;
        QStringList cells;
        for (const xmlNode *value : faChildren(document, element)) {
            if (isFaElement(document, value, cell))
                cells << NodeText(value).trimmed();
        }
        rows.push_back(cells);
    }
    return rows;
}

// One Tabela: its header (TNaglowek/Kol/NKom, numbers to the right), its
// rows (Wiersz/WKom) and its sums (Suma/SKom). Rows shorter than the
// widest get empty cells.
Table attachmentTable(const InvoiceDocument &document, const xmlNode *element)
{
    Table table;
    const xmlNode *header = firstFaChild(document, element, "TNaglowek");
    for (const xmlNode *column : faChildren(document, header)) {
        table.header << textOf(document, column, "NKom");
        XmlCharsHandle type(xmlGetNoNsProp(column, toXml("Typ")));
        const QString kind = fromXml(type);
        table.align.push_back(kind == u"dec" || kind == u"int" ? Align::Right : Align::Left);
    }
    for (const QStringList &cells : cellRows(document, element, "Wiersz", "WKom"))
        table.rows.push_back({cells, RowKind::Plain});
    for (const QStringList &cells : cellRows(document, element, "Suma", "SKom"))
        table.rows.push_back({cells, RowKind::Total});
    qsizetype columns = table.header.size();
    for (const TableRow &row : table.rows)
        columns = std::max(columns, row.cells.size());
    while (table.header.size() < columns) {
        table.header << QString();
        table.align.push_back(Align::Left);
    }
    for (TableRow &row : table.rows) {
        while (row.cells.size() < columns)
            row.cells << QString();
    }
    return table;
}

void addTable(Section &section, const InvoiceDocument &document, const xmlNode *element, int number)
{
    const Fields data = keyValueFields(document, element, "TMetaDane", "TKlucz", "TWartosc");
    const QString description = textOf(document, element, "Opis");
    Table table = attachmentTable(document, element);
    table.title = QStringLiteral("Tabela %1").arg(number);
    if (!description.isEmpty())
        table.title += QStringLiteral(": ") + description;
    if (!data.empty())
        section.items.emplace_back(data);
    for (Table &part : splitColumns(table, MaxTableColumns))
        section.items.emplace_back(std::move(part));
}

} // namespace

std::vector<Table> splitColumns(const Table &table, int maxColumns)
{
    const int columns = int(table.header.size());
    if (columns <= maxColumns || maxColumns < 2)
        return {table};
    const int perPart = maxColumns - 1; // besides the first column
    const int parts = (columns - 1 + perPart - 1) / perPart;
    std::vector<Table> result;
    for (int part = 0; part < parts; ++part) {
        std::vector<int> chosen{0};
        for (int c = 1 + part * perPart; c < std::min(columns, 1 + (part + 1) * perPart); ++c)
            chosen.push_back(c);
        Table piece;
        piece.title = QStringLiteral("%1 (część %2 z %3)").arg(table.title).arg(part + 1).arg(parts);
        for (int c : chosen) {
            piece.header << table.header[c];
            piece.align.push_back(table.align[std::size_t(c)]);
        }
        for (const TableRow &row : table.rows) {
            TableRow cells;
            cells.kind = row.kind;
            for (int c : chosen)
                cells.cells << row.cells.value(c);
            piece.rows.push_back(std::move(cells));
        }
        result.push_back(std::move(piece));
    }
    return result;
}

std::vector<Section> attachmentSections(const InvoiceDocument &document)
{
    std::vector<Section> sections;
    int blockNumber = 0;
    for (const xmlNode *block : FaPath(document, "n:Faktura/n:Zalacznik/n:BlokDanych").selectAll()) {
        ++blockNumber;
        Section section;
        const QString header = textOf(document, block, "ZNaglowek");
        section.title = QStringLiteral("Załącznik: ")
                        + (header.isEmpty() ? QStringLiteral("blok danych %1").arg(blockNumber) : header);
        const Fields data = keyValueFields(document, block, "MetaDane", "ZKlucz", "ZWartosc");
        if (!data.empty())
            section.items.emplace_back(data);
        int tableNumber = 0;
        for (const xmlNode *element : faChildren(document, block)) {
            if (isFaElement(document, element, "Tekst")) {
                for (const xmlNode *paragraph : faChildren(document, element))
                    section.items.emplace_back(Paragraph{NodeText(paragraph).trimmed(), false});
            } else if (isFaElement(document, element, "Tabela")) {
                addTable(section, document, element, ++tableNumber);
            }
        }
        sections.push_back(std::move(section));
    }
    return sections;
}

} // namespace velkor::print
