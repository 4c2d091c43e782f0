#include "InvoiceParser.h"

#include "core/load/ErrorReasons.h"
#include "core/load/XmlErrors.h"
#include "core/support/Failure.h"

#include <libxml/parserInternals.h>

#include <climits>

namespace velkor {

namespace {

// Entities are substituted so the tree holds plain text; external ones are
// refused by the offline resource loader. XML_PARSE_HUGE stays off: it would
// disable libxml2's protection against entity expansion bombs.
// The document is never changed after loading, so short texts may be kept
// inside their nodes (XML_PARSE_COMPACT).
constexpr int ParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_BIG_LINES
                             | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;

// The outcome of a valid text: its document, knowing where it came from.
ParseOutcome validOutcome(XmlDocHandle doc, const QByteArray &bytes, TextEncoding encoding,
                          const InvoiceSchema &schema)
{
    ParseOutcome outcome;
    outcome.document = std::make_unique<InvoiceDocument>(std::move(doc), schema.targetNamespace());
    outcome.document->setSource(bytes, encoding == TextEncoding::Utf8 ? InvoiceDocument::SourceKind::Text
                                                                      : InvoiceDocument::SourceKind::File);
    outcome.document->setKsefNumberElements(schema.ksefNumberElements());
    return outcome;
}

} // namespace

ParseOutcome parseInvoice(const QByteArray &bytes, TextEncoding encoding, const InvoiceSchema &schema)
{
    ParseOutcome outcome;
    if (bytes.size() > INT_MAX) {
        outcome.reason = QStringLiteral("Dokument jest zbyt duży.");
        return outcome;
    }

    XmlErrorCollector errors;
    XmlParserCtxtHandle parser(xmlCreateMemoryParserCtxt(bytes.constData(), int(bytes.size())));
    XmlSchemaValidCtxtHandle validator(xmlSchemaNewValidCtxt(schema.get()));
    if (!parser || !validator)
        throw Failure(7, QStringLiteral("Brak pamięci."));
    errors.setParser(parser.get());

    int options = ParseOptions;
    if (encoding == TextEncoding::Utf8) {
        options |= XML_PARSE_IGNORE_ENC;
    }
    xmlCtxtUseOptions(parser.get(), options);
    if (encoding == TextEncoding::Utf8)
        xmlSwitchEncoding(parser.get(), XML_CHAR_ENCODING_UTF8);

    xmlSchemaSAXPlugPtr plug = xmlSchemaSAXPlug(validator.get(), &parser->sax, &parser->userData);
    if (!plug)
        throw Failure(7, QStringLiteral("Brak pamięci."));
    xmlParseDocument(parser.get());
    xmlSchemaSAXUnplug(plug);

    XmlDocHandle doc(parser->myDoc);
    parser->myDoc = nullptr;
    const bool wellFormed = parser->wellFormed && doc;
    const bool valid = wellFormed && xmlSchemaIsValid(validator.get()) == 1 && !errors.first().occurred;
    if (!valid) {
        const XmlError &error = errors.first();
        outcome.reason = error.occurred ? loadFailureReason(error)
                                        : QStringLiteral("Dokument nie jest poprawnym dokumentem XML.");
        outcome.line = error.occurred ? error.line : 0;
        return outcome;
    }
    return validOutcome(std::move(doc), bytes, encoding, schema);
}

FileValidator::FileValidator(const InvoiceSchema &schema) : m_schema(schema) {}

ParseOutcome FileValidator::parse(const QByteArray &bytes)
{
    if (!m_validator)
        m_validator.reset(xmlSchemaNewValidCtxt(m_schema.get()));
    if (m_validator && bytes.size() <= INT_MAX) {
        XmlErrorCollector errors;
        // One parser context per validator, so its dictionary of names serves
        // file after file; a set of hostile files cannot grow it for ever.
        if (!m_parser || (m_parser->dict && xmlDictSize(m_parser->dict) > 100000))
            m_parser.reset(xmlNewParserCtxt());
        // The indentation between elements is left out of the tree: far
        // fewer nodes to build, validate and free. No verdict changes: the
        // schema ignores blanks between elements, and an element whose only
        // text is a blank after a comment loses it here, is refused, and is
        // read again below as the load reads it.
        XmlDocHandle doc(m_parser ? xmlCtxtReadMemory(m_parser.get(), bytes.constData(), int(bytes.size()), nullptr,
                                                      nullptr, ParseOptions | XML_PARSE_NOBLANKS)
                                  : nullptr);
        if (doc && !errors.first().occurred && xmlSchemaValidateDoc(m_validator.get(), doc.get()) == 0
            && !errors.first().occurred)
            return validOutcome(std::move(doc), bytes, TextEncoding::Declared, m_schema);
    }
    // Refused: the reason is the one the one-pass reading gives.
    return parseInvoice(bytes, TextEncoding::Declared, m_schema);
}

} // namespace velkor
