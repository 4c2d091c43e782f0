#include "XmlNavigation.h"

#include <QList>
#include <QStringDecoder>

#include <cstdint>
#include <cstring>

namespace velkor {

FaPath::FaPath(const InvoiceDocument &document, const char *path) : m_document(document)
{
    for (const char *at = path;; ++at) {
        const char *end = std::strchr(at, '/');
        const std::size_t length = end ? std::size_t(end - at) : std::strlen(at);
        const std::size_t prefix = length >= 2 && at[0] == 'n' && at[1] == ':' ? 2 : 0;
        m_starts.push_back(m_names.size());
        m_names.append(at + prefix, length - prefix);
        m_names.push_back('\0');
        if (!end)
            break;
        at = end;
    }
}

// Depth-first in document order; stops once `limit` nodes are found.
void FaPath::collect(xmlNode *node, std::size_t k, std::size_t limit, std::vector<xmlNode *> &out) const
{
    const char *name = step(k);
    const bool last = k + 1 == m_starts.size();
    const auto visit = [&](xmlNode *child) {
        if (out.size() >= limit)
            return false;
        if (last)
            out.push_back(child);
        else
            collect(child, k + 1, limit, out);
        return true;
    };
    bool indexed = false;
    if (const std::vector<xmlNode *> *children = m_document.indexedFaChildren(node, name, indexed)) {
        for (xmlNode *child : *children) {
            if (!visit(child))
                return;
        }
    }
    if (indexed)
        return;
    for (xmlNode *child = node->children; child; child = child->next) {
        if (isFaElement(m_document, child, name) && !visit(child))
            return;
    }
}

std::vector<xmlNode *> FaPath::select(xmlNode *context, std::size_t limit) const
{
    std::vector<xmlNode *> nodes;
    // A step no element is named by selects nothing: the walk is spared.
    for (std::size_t k = 0; k < m_starts.size(); ++k) {
        if (!mayBeNamed(m_document, step(k)))
            return nodes;
    }
    xmlNode *start = context ? context : reinterpret_cast<xmlNode *>(m_document.doc());
    if (start)
        collect(start, 0, limit, nodes);
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

bool mayBeNamed(const InvoiceDocument &document, const char *localName)
{
    xmlDict *dictionary = document.doc() ? document.doc()->dict : nullptr;
    return !dictionary || xmlDictExists(dictionary, toXml(localName), -1);
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
