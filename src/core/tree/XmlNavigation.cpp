#include "XmlNavigation.h"

#include <QList>
#include <QStringDecoder>

#include <cstdint>
#include <cstring>

namespace velkor {

namespace {

// Depth-first in document order; stops once `limit` nodes are found.
void collect(const InvoiceDocument &document, xmlNode *node, const std::vector<QByteArray> &steps,
             std::size_t step, std::size_t limit, std::vector<xmlNode *> &out)
{
    for (xmlNode *child : document.faChildren(node, steps[step].constData())) {
        if (out.size() >= limit)
            return;
        if (step + 1 == steps.size())
            out.push_back(child);
        else
            collect(document, child, steps, step + 1, limit, out);
    }
}

} // namespace

FaPath::FaPath(const InvoiceDocument &document, const char *path) : m_document(document)
{
    for (const QByteArray &step : QByteArray(path).split('/'))
        m_steps.push_back(step.startsWith("n:") ? step.mid(2) : step);
}

std::vector<xmlNode *> FaPath::select(xmlNode *context, std::size_t limit) const
{
    std::vector<xmlNode *> nodes;
    xmlNode *start = context ? context : reinterpret_cast<xmlNode *>(m_document.doc());
    if (start && !m_steps.empty())
        collect(m_document, start, m_steps, 0, limit, nodes);
    return nodes;
}

std::vector<xmlNode *> FaPath::selectAll(xmlNode *context) const
{
    return select(context, SIZE_MAX);
}

xmlNode *FaPath::selectFirst(xmlNode *context) const
{
    const std::vector<xmlNode *> nodes = select(context, 1);
    return nodes.empty() ? nullptr : nodes.front();
}

bool isFaElement(const InvoiceDocument &document, const xmlNode *node, const char *localName)
{
    return node && node->type == XML_ELEMENT_NODE
        && std::strcmp(reinterpret_cast<const char *>(node->name), localName) == 0 && document.isFaElement(node);
}

xmlNode *firstFaChild(const InvoiceDocument &document, const xmlNode *parent, const char *localName)
{
    if (!parent)
        return nullptr;
    for (xmlNode *child = parent->children; child; child = child->next) {
        if (isFaElement(document, child, localName))
            return child;
    }
    return nullptr;
}

const xmlChar *soleText(const xmlNode *node)
{
    const xmlNode *only = node ? node->children : nullptr;
    if (node && node->type == XML_ELEMENT_NODE && only && !only->next
        && (only->type == XML_TEXT_NODE || only->type == XML_CDATA_SECTION_NODE))
        return only->content;
    return nullptr;
}

void appendNodeText(QString &out, const xmlNode *node)
{
    if (const xmlChar *text = soleText(node)) {
        // Decoded straight onto the end: UTF-16 never needs more units than
        // UTF-8 has bytes.
        const QByteArrayView bytes(reinterpret_cast<const char *>(text));
        const qsizetype start = out.size();
        out.resize(start + bytes.size());
        QStringDecoder decoder(QStringDecoder::Utf8);
        QChar *end = decoder.appendToBuffer(out.data() + start, bytes);
        out.truncate(end - out.constData());
    } else if (node) {
        out += NodeText(node);
    }
}

QString NodeText(const xmlNode *node)
{
    if (!node)
        return {};
    if (const xmlChar *text = soleText(node))
        return fromXml(text); // without a copy by libxml2
    XmlCharsHandle content(xmlNodeGetContent(node));
    return fromXml(content);
}

bool isYes(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'+'))
        text = text.mid(1);
    while (text.size() > 1 && text.front() == u'0')
        text = text.mid(1);
    return text == u"1";
}

} // namespace velkor
