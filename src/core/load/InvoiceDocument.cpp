#include "InvoiceDocument.h"

#include "core/load/OfflineResources.h"
#include "core/load/XmlErrors.h"
#include "core/support/Failure.h"

#include <libxml/xpathInternals.h>
#include <libxml/xmlsave.h>

#include <cstring>

namespace velkor {

InvoiceDocument::InvoiceDocument(XmlDocHandle doc, QString faNamespace)
    : m_doc(std::move(doc))
    , m_faNamespace(std::move(faNamespace))
    , m_faNamespaceUtf8(m_faNamespace.toUtf8())
{
}

xmlNode *InvoiceDocument::root() const
{
    return xmlDocGetRootElement(m_doc.get());
}

std::vector<xmlNode *> InvoiceDocument::select(const QString &xpath, xmlNode *context) const
{
    XmlErrorCollector errors;
    // Made at the first selection: most documents (a register reads thousands)
    // are navigated without XPath, and a context registers all its functions.
    if (!m_xpath) {
        m_xpath.reset(xmlXPathNewContext(m_doc.get()));
        if (!m_xpath)
            throw Failure(7, QStringLiteral("Brak pamięci."));
        xmlXPathRegisterNs(m_xpath.get(), toXml("n"), toXml(m_faNamespaceUtf8.constData()));
        xmlXPathRegisterNs(m_xpath.get(), toXml("etd"), toXml(DefinitionsNamespace));
        xmlXPathRegisterNs(m_xpath.get(), toXml("xsi"), toXml("http://www.w3.org/2001/XMLSchema-instance"));
        xmlXPathRegisterNs(m_xpath.get(), toXml("xsd"), toXml("http://www.w3.org/2001/XMLSchema"));
    }
    m_xpath->node = context ? context : reinterpret_cast<xmlNode *>(m_doc.get());
    const QByteArray expression = xpath.toUtf8();
    XmlXPathObjectHandle result(xmlXPathEvalExpression(toXml(expression.constData()), m_xpath.get()));
    if (!result) {
        const XmlError &error = errors.first();
        throw Failure(error.code, error.message.isEmpty()
                                      ? QStringLiteral("Nieprawidłowe wyrażenie XPath: %1").arg(xpath)
                                      : error.message);
    }
    std::vector<xmlNode *> nodes;
    if (result->type == XPATH_NODESET && result->nodesetval) {
        const xmlNodeSet *set = result->nodesetval;
        nodes.assign(set->nodeTab, set->nodeTab + set->nodeNr);
    }
    return nodes;
}

xmlNode *InvoiceDocument::selectSingle(const QString &xpath, xmlNode *context) const
{
    const std::vector<xmlNode *> nodes = select(xpath, context);
    return nodes.empty() ? nullptr : nodes.front();
}

bool InvoiceDocument::isFaElement(const xmlNode *node) const
{
    if (!node || node->type != XML_ELEMENT_NODE || !node->ns)
        return false;
    if (node->ns == m_lastFaNamespace.load(std::memory_order_relaxed))
        return true;
    if (!node->ns->href || m_faNamespaceUtf8 != reinterpret_cast<const char *>(node->ns->href))
        return false;
    m_lastFaNamespace.store(node->ns, std::memory_order_relaxed);
    return true;
}

const InvoiceDocument::ChildIndex &InvoiceDocument::indexOf(const xmlNode *parent) const
{
    const auto found = m_childIndexes.find(parent);
    if (found != m_childIndexes.end())
        return found->second;
    ChildIndex &index = m_childIndexes[parent];
    for (xmlNode *child = parent->children; child; child = child->next) {
        if (isFaElement(child))
            index[reinterpret_cast<const char *>(child->name)].push_back(child);
    }
    return index;
}

const std::vector<xmlNode *> *InvoiceDocument::indexedFaChildren(const xmlNode *parent, const char *localName,
                                                                 bool &indexed) const
{
    constexpr int IndexedFrom = 64;
    int count = 0;
    for (const xmlNode *child = parent ? parent->children : nullptr; child && count < IndexedFrom; child = child->next)
        ++count;
    indexed = count >= IndexedFrom;
    if (!indexed)
        return nullptr;
    const ChildIndex &index = indexOf(parent);
    const auto found = index.find(localName);
    return found != index.end() ? &found->second : nullptr;
}

std::vector<xmlNode *> InvoiceDocument::faChildren(const xmlNode *parent, const char *localName) const
{
    std::vector<xmlNode *> children;
    if (!parent)
        return children;
    bool indexed = false;
    if (const std::vector<xmlNode *> *found = indexedFaChildren(parent, localName, indexed))
        children = *found;
    if (indexed)
        return children;
    for (xmlNode *child = parent->children; child; child = child->next) {
        if (isFaElement(child) && std::strcmp(reinterpret_cast<const char *>(child->name), localName) == 0)
            children.push_back(child);
    }
    return children;
}

QString InvoiceDocument::serialize() const
{
    XmlBufferHandle buffer(xmlBufferCreate());
    if (!buffer)
        throw Failure(7, QStringLiteral("Brak pamięci."));
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer.get(), "UTF-8", 0);
    if (!save)
        throw Failure(7, QStringLiteral("Brak pamięci."));
    xmlSaveDoc(save, m_doc.get());
    xmlSaveClose(save);
    return QString::fromUtf8(reinterpret_cast<const char *>(xmlBufferContent(buffer.get())),
                             xmlBufferLength(buffer.get()));
}

} // namespace velkor
