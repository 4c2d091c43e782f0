#include "XmlErrors.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <QStringList>

namespace velkor {

namespace {

constexpr int MaxContent = 200; // characters of an element's text kept for the reason

// libxml2's texts quote values whole; a few kilobytes say all there is to say.
QString bounded(const char *text)
{
    return text ? QString::fromUtf8(text, qsizetype(qstrnlen(text, 4096))) : QString();
}

bool isNamed(const xmlNode *node, const QByteArray &name)
{
    return node && node->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char *>(node->name);
}

// The element a validity error's text names ("Element '{ns}P_1': ..."). It
// is the parser's open element when the error arises at its start, the last
// element closed in it when the error arises at an end (a value is checked
// once the element is complete), or an ancestor of the open element.
const xmlNode *namedElement(const xmlNode *open, const QString &message)
{
    if (!message.startsWith(QLatin1String("Element '")))
        return open;
    QString name = message.mid(9).section(u'\'', 0, 0);
    name = name.mid(name.lastIndexOf(u'}') + 1);
    const QByteArray utf8 = name.toUtf8();
    if (open && isNamed(open->last, utf8))
        return open->last;
    for (const xmlNode *node = open; node; node = node->parent) {
        if (isNamed(node, utf8))
            return node;
    }
    return nullptr;
}

// The local names from below the root down to the element, joined by " / ";
// the root's own name for the root.
QString treePath(const xmlNode *element)
{
    QStringList names;
    for (const xmlNode *node = element; node && node->type == XML_ELEMENT_NODE; node = node->parent)
        names.prepend(QString::fromUtf8(reinterpret_cast<const char *>(node->name)));
    if (names.size() > 1)
        names.removeFirst();
    return names.join(QStringLiteral(" / "));
}

} // namespace

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
    XmlError &first = collector->m_first;
    first.domain = error->domain;
    first.message = bounded(error->message).trimmed();
    first.str1 = bounded(error->str1);
    first.str2 = bounded(error->str2);
    const xmlNode *open = collector->m_parser ? collector->m_parser->node : nullptr;
    const xmlNode *element = error->domain == XML_FROM_SCHEMASV ? namedElement(open, first.message) : open;
    first.path = treePath(element);
    // The beginning of a value the element has completed: its own texts.
    for (const xmlNode *child = element && element != open ? element->children : nullptr;
         child && first.content.size() <= MaxContent; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            first.content += bounded(reinterpret_cast<const char *>(child->content)).left(MaxContent + 1);
    }
}

} // namespace velkor
