#pragma once

#include "core/load/InvoiceDocument.h"
#include "core/load/InvoiceSchema.h"
#include "core/load/XmlHandles.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace velkor {

// The outcome of parsing one invoice text while validating it.
struct ParseOutcome
{
    std::unique_ptr<InvoiceDocument> document; // set only when the text is valid
    QString reason;                            // the parser's or validator's first error
    int line = 0;                              // its line number
};

enum class TextEncoding {
    Declared, // bytes from a file: BOM and XML declaration decide
    Utf8,     // text that is already Unicode (the clipboard): the declaration is ignored
};

// Parses and validates in one pass: the schema validator sees the document
// while it is parsed, so the first error in document order wins, whether it
// breaks well-formedness or validity. Never fetches anything: no DTD, no
// external entity, no network.
ParseOutcome parseInvoice(const QByteArray &bytes, TextEncoding encoding, const InvoiceSchema &schema);

// Parses and validates files one after another, on one thread, against one
// schema, with parseInvoice's outcome and faster when most files are small
// and valid: the tree is built first and validated whole, by a validator kept
// from file to file. A text refused either way is read again as parseInvoice
// reads it, so that its reason and line are the ones the single-invoice load
// gives. Its documents leave out the blank text between elements: they are
// for reading figures, not for showing the tree.
class FileValidator
{
public:
    explicit FileValidator(const InvoiceSchema &schema); // the schema outlives it
    ParseOutcome parse(const QByteArray &bytes);
    const InvoiceSchema &schema() const { return m_schema; }

private:
    const InvoiceSchema &m_schema;
    XmlSchemaValidCtxtHandle m_validator;
    XmlParserCtxtHandle m_parser;
};

} // namespace velkor
