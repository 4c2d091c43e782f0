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
    if (collector->m_first.line <= 0 && collector->m_lineSource && collector->m_lineSource->input)
        collector->m_first.line = collector->m_lineSource->input->line;
    collector->m_first.message = QString::fromUtf8(error->message ? error->message : "").trimmed();
}

} // namespace velkor
