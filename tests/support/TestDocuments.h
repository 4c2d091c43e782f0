#pragma once

#include "load/InvoiceDocument.h"
#include "load/InvoiceParser.h"
#include "load/InvoiceSchema.h"
#include "support/XmlHandles.h"

#include "support/TestInvoices.h"
#include "support/TestPaths.h"

#include <QtTest>

#include <memory>

namespace velkor::test {

// A document parsed without validation, for code that works on any XML.
inline std::unique_ptr<InvoiceDocument> unvalidatedDocument(const QString &xml)
{
    const QByteArray bytes = xml.toUtf8();
    XmlDocHandle doc(xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, "UTF-8",
                                   XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc)
        return nullptr;
    return std::make_unique<InvoiceDocument>(std::move(doc), FaNamespace);
}

// A document loaded as the program loads one: validated against the schema,
// from pasted text or, with `fromFile`, from the bytes of a file. Warns (and
// returns nullptr) when the text is not valid.
inline std::unique_ptr<InvoiceDocument> validDocument(const QByteArray &bytes, bool fromFile)
{
    static const InvoiceSchema schema = InvoiceSchema::compile(schemaFile());
    ParseOutcome outcome = parseInvoice(bytes, fromFile ? TextEncoding::Declared : TextEncoding::Utf8, schema);
    if (!outcome.document)
        qWarning("invalid test invoice: %s (line %d)", qPrintable(outcome.reason), outcome.line);
    return std::move(outcome.document);
}

inline std::unique_ptr<InvoiceDocument> validDocument(const QString &xml)
{
    return validDocument(xml.toUtf8(), false);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace velkor::test
