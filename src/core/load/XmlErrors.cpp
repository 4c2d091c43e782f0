#include "XmlErrors.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

namespace velkor {

XmlErrorCollector::XmlErrorCollector()
    : m_previousContext(xmlStructuredErrorContext)
    , m_previousHandler(xmlStructuredError)
    , m_previousGenericContext(xmlGenericErrorContext)
    , m_previousGenericHandler(xmlGenericError)
{
    xmlSetStructuredErrorFunc(this, &XmlErrorCollector::onError);
    // Some messages bypass the structured channel; they must not reach stderr.
    xmlSetGenericErrorFunc(nullptr, &XmlErrorCollector::ignoreGeneric);
}

XmlErrorCollector::~XmlErrorCollector()
{
    xmlSetStructuredErrorFunc(m_previousContext, m_previousHandler);
    xmlSetGenericErrorFunc(m_previousGenericContext, m_previousGenericHandler);
}

void XmlErrorCollector::onError(void *self, xmlErrorPtr error)
{
    auto *collector = static_cast<XmlErrorCollector *>(self);
    if (!error || error->level < XML_ERR_ERROR || collector->m_first.occurred)
        return;
    collector->m_first.occurred = true;
    collector->m_first.code = error->code;
    collector->m_first.line = error->line;
    if (collector->m_first.line <= 0 && collector->m_parser && collector->m_parser->input)
        collector->m_first.line = collector->m_parser->input->line;
    // A validation error comes from inside the parser's element callbacks,
    // where stopping is safe; other errors stop the parser by themselves (and
    // stopping it from inside, say, an encoding switch would pull the input
    // from under it).
    if (collector->m_parser && error->domain == XML_FROM_SCHEMASV)
        xmlStopParser(collector->m_parser);
    collector->m_first.message = QString::fromUtf8(error->message ? error->message : "").trimmed();
}

} // namespace velkor
