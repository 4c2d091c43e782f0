#include "FieldWriter.h"

#include "core/print/PrintLabels.h"
#include "core/tree/XmlNavigation.h"

#include <algorithm>
#include <cstring>

namespace velkor::print {

namespace {

const char *nameOf(const xmlNode *element)
{
    return reinterpret_cast<const char *>(element->name);
}

ValueKind kindOf(const xmlNode *element)
{
    const ElementLabel *entry = elementLabel(nameOf(element));
    if (entry)
        return entry->kind;
    for (const xmlNode *child = element->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE)
            return ValueKind::Group;
    }
    return ValueKind::Text;
}

bool isRightAligned(const char *name)
{
    const ElementLabel *entry = elementLabel(name);
    return entry
        && (entry->kind == ValueKind::Amount || entry->kind == ValueKind::Number || entry->kind == ValueKind::Percent);
}

} // namespace

std::vector<const xmlNode *> faChildren(const InvoiceDocument &document, const xmlNode *parent)
{
    std::vector<const xmlNode *> children;
    for (const xmlNode *child = parent ? parent->children : nullptr; child; child = child->next) {
        if (document.isFaElement(child))
            children.push_back(child);
    }
    return children;
}

Fields &FieldWriter::fields()
{
    if (m_items.empty() || !std::holds_alternative<Fields>(m_items.back()))
        m_items.emplace_back(Fields());
    return std::get<Fields>(m_items.back());
}

void FieldWriter::writeField(const QString &label, const QString &value)
{
    if (!value.isEmpty())
        fields().push_back({label, value});
}

void FieldWriter::writeChildren(const xmlNode *parent)
{
    for (const xmlNode *child = parent ? parent->children : nullptr; child; child = child->next) {
        if (m_document.isFaElement(child))
            child = write(child);
    }
}

void FieldWriter::writeElement(const xmlNode *element)
{
    if (element)
        write(element);
}

const xmlNode *FieldWriter::write(const xmlNode *element)
{
    switch (kindOf(element)) {
    case ValueKind::Bundle:
        writeChildren(element);
        return element;
    case ValueKind::Group: {
        fields().push_back({labelIn(m_document, element), QString(), true});
        const std::size_t items = m_items.size();
        const std::size_t headingAt = std::get<Fields>(m_items.back()).size();
        writeChildren(element);
        // A group none of whose fields is printed leaves no heading behind.
        if (m_items.size() == items && std::get<Fields>(m_items.back()).size() == headingAt)
            std::get<Fields>(m_items.back()).pop_back();
        return element;
    }
    case ValueKind::Rows: {
        std::vector<const xmlNode *> rows{element};
        const xmlNode *last = element;
        for (const xmlNode *next = element->next; next; next = next->next) {
            if (next->type != XML_ELEMENT_NODE)
                continue;
            if (!m_document.isFaElement(next) || std::strcmp(nameOf(next), nameOf(element)) != 0)
                break;
            rows.push_back(next);
            last = next;
        }
        writeTable(labelIn(m_document, element), rows);
        return last;
    }
    default:
        writeField(labelIn(m_document, element), valueOf(element));
        return element;
    }
}

QString FieldWriter::valueOf(const xmlNode *element) const
{
    const ValueKind kind = kindOf(element);
    if (kind == ValueKind::Address) {
        // The lines of the address, then its country and location number.
        QStringList lines;
        for (const char *part : {"AdresL1", "AdresL2", "KodKraju"}) {
            const QString text = NodeText(firstFaChild(m_document, element, part)).trimmed();
            if (!text.isEmpty())
                lines << text;
        }
        if (const xmlNode *gln = firstFaChild(m_document, element, "GLN"))
            lines << labelOf(gln) + QStringLiteral(" ") + NodeText(gln).trimmed();
        return lines.join(u'\n');
    }
    if (kind == ValueKind::Joined) {
        QStringList parts;
        for (const xmlNode *child : faChildren(m_document, element))
            parts << printedValue(child, m_separator);
        parts.removeAll(QString());
        return parts.join(u' ');
    }
    return printedValue(element, m_separator);
}

void FieldWriter::collectCells(const xmlNode *element, std::vector<std::pair<QByteArray, QString>> &cells) const
{
    for (const xmlNode *child : faChildren(m_document, element)) {
        const ValueKind kind = kindOf(child);
        if (kind == ValueKind::Bundle || kind == ValueKind::Group || kind == ValueKind::Rows) {
            collectCells(child, cells);
            continue;
        }
        const QByteArray name(nameOf(child));
        const QString value = valueOf(child);
        const auto same = std::find_if(cells.begin(), cells.end(), [&](const auto &cell) { return cell.first == name; });
        if (same == cells.end())
            cells.emplace_back(name, value);
        else if (!value.isEmpty())
            same->second += (same->second.isEmpty() ? QString() : QStringLiteral("\n")) + value;
    }
}

void FieldWriter::writeTable(const QString &title, const std::vector<const xmlNode *> &rows)
{
    // The columns are the fields any row has, in the order they first appear;
    // a column no row has a printed value in is left out.
    std::vector<std::vector<std::pair<QByteArray, QString>>> rowCells(rows.size());
    std::vector<QByteArray> columns;
    std::vector<bool> used;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        collectCells(rows[r], rowCells[r]);
        for (const auto &[name, value] : rowCells[r]) {
            auto column = std::find(columns.begin(), columns.end(), name);
            if (column == columns.end()) {
                columns.push_back(name);
                used.push_back(false);
                column = columns.end() - 1;
            }
            if (!value.isEmpty())
                used[std::size_t(column - columns.begin())] = true;
        }
    }
    Table table;
    table.title = title;
    std::vector<std::size_t> shown;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (!used[c])
            continue;
        shown.push_back(c);
        table.header << labelOf(columns[c].constData());
        table.align.push_back(isRightAligned(columns[c].constData()) ? Align::Right : Align::Left);
    }
    if (shown.empty())
        return;
    for (const auto &cells : rowCells) {
        TableRow row;
        for (std::size_t c : shown) {
            const auto cell = std::find_if(cells.begin(), cells.end(), [&](const auto &p) { return p.first == columns[c]; });
            row.cells << (cell == cells.end() ? QString() : cell->second);
        }
        table.rows.push_back(std::move(row));
    }
    m_items.emplace_back(std::move(table));
}

Fields FieldWriter::fieldsOf(const InvoiceDocument &document, const QString &separator, const xmlNode *element)
{
    std::vector<Item> items;
    FieldWriter(document, separator, items).writeChildren(element);
    Fields all;
    for (Item &item : items) {
        if (Fields *list = std::get_if<Fields>(&item)) {
            all.insert(all.end(), list->begin(), list->end());
        } else if (const Table *table = std::get_if<Table>(&item)) {
            // A block has no room for a table: its rows become fields.
            all.push_back({table->title, QString(), true});
            for (const TableRow &row : table->rows) {
                for (int c = 0; c < row.cells.size(); ++c) {
                    if (!row.cells[c].isEmpty())
                        all.push_back({table->header[c], row.cells[c]});
                }
            }
        }
    }
    return all;
}

} // namespace velkor::print
