#pragma once

#include "support/XmlHandles.h"

#include <QString>

namespace velkor {

// The compiled FA(3) schema set a load validates against.
class InvoiceSchema
{
public:
    // Compiles the schema file and whatever it imports from its own folder.
    // Throws a Failure naming the reason when the file is missing, unreadable
    // or not a usable schema.
    static InvoiceSchema compile(const QString &schemaFile);

    xmlSchema *get() const { return m_schema.get(); }
    // The schema's targetNamespace: the FA(3) namespace invoices are written in.
    QString targetNamespace() const;

private:
    explicit InvoiceSchema(XmlSchemaHandle schema) : m_schema(std::move(schema)) {}
    XmlSchemaHandle m_schema;
};

} // namespace velkor
