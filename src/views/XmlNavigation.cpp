#include "XmlNavigation.h"

#include <QList>

#include <cstdint>
#include <cstring>

namespace velkor {

namespace {

// Depth-first in document order; stops once `limit` nodes are found.
void collect(xmlNode *node, const std::vector<QByteArray> &steps, std::size_t step,
             const QByteArray &faNamespace, std::size_t limit, std::vector<xmlNode *> &out)
{
    for (xmlNode *child = node->children; child && out.size() < limit; child = child->next) {
        if (!isFaElement(child, faNamespace, steps[step].constData()))
            continue;
        if (step + 1 == steps.size())
            out.push_back(child);
        else
            collect(child, steps, step + 1, faNamespace, limit, out);
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
        collect(start, m_steps, 0, m_document.faNamespaceUtf8(), limit, nodes);
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

bool isFaElement(const xmlNode *node, const QByteArray &faNamespace, const char *localName)
{
    return node->type == XML_ELEMENT_NODE && node->ns && node->ns->href
        && std::strcmp(reinterpret_cast<const char *>(node->name), localName) == 0
        && faNamespace == reinterpret_cast<const char *>(node->ns->href);
}

xmlNode *firstFaChild(const xmlNode *parent, const QByteArray &faNamespace, const char *localName)
{
    if (!parent)
        return nullptr;
    for (xmlNode *child = parent->children; child; child = child->next) {
        if (isFaElement(child, faNamespace, localName))
            return child;
    }
    return nullptr;
}

QString NodeText(const xmlNode *node)
{
    if (!node)
        return {};
    const xmlNode *only = node->children;
    if (node->type == XML_ELEMENT_NODE && only && !only->next
        && (only->type == XML_TEXT_NODE || only->type == XML_CDATA_SECTION_NODE))
        return fromXml(only->content); // the common case, without a copy by libxml2
    XmlCharsHandle content(xmlNodeGetContent(node));
    return fromXml(content);
}

} // namespace velkor
