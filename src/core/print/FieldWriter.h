#pragma once

#include "core/load/InvoiceDocument.h"
#include "core/print/PrintDocument.h"

#include <QString>

#include <vector>

namespace velkor::print {

// Writes FA(3) elements as the printed items of a section, as the label
// table says: a value as a labelled field, a group under its heading, an
// address as one value, the elements printed as rows as one table. An
// element the table does not know is printed under its own name, so nothing
// is left out.
class FieldWriter
{
public:
    FieldWriter(const InvoiceDocument &document, const QString &separator, std::vector<Item> &items)
        : m_document(document), m_separator(separator), m_items(items)
    {
    }

    // Every FA(3) child of `parent` in document order.
    void writeChildren(const xmlNode *parent);
    // One element; one printed as rows takes its following siblings of the
    // same name into its table.
    void writeElement(const xmlNode *element);
    // The elements as the rows of one table.
    void writeTable(const QString &title, const std::vector<const xmlNode *> &rows);
    // A field that no element holds as such.
    void writeField(const QString &label, const QString &value);

    // The fields of an element as one list, for a block.
    static Fields fieldsOf(const InvoiceDocument &document, const QString &separator, const xmlNode *element);

private:
    // Writes `element`; returns the last sibling it took.
    const xmlNode *write(const xmlNode *element);
    Fields &fields();
    // The element's value as one cell: a value, an address, a joined line.
    QString valueOf(const xmlNode *element) const;
    // The cells of one table row by the name of the element they come from.
    void collectCells(const xmlNode *element, std::vector<std::pair<QByteArray, QString>> &cells) const;

    const InvoiceDocument &m_document;
    QString m_separator;
    std::vector<Item> &m_items;
};

// The FA(3) children of an element in document order.
std::vector<const xmlNode *> faChildren(const InvoiceDocument &document, const xmlNode *parent);

} // namespace velkor::print
