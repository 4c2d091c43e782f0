#pragma once

#include "core/load/XmlHandles.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <string>
#include <unordered_map>
#include <vector>

namespace velkor {

// One parsed, schema-valid FA(3) invoice. It owns the libxml2 document and is
// never modified after loading. XPath selections see the prefixes n (the
// FA(3) namespace), etd (the national definitions), xsi and xsd; an XPath
// selection is for one thread at a time.
class InvoiceDocument
{
public:
    InvoiceDocument(XmlDocHandle doc, QString faNamespace);

    xmlDoc *doc() const { return m_doc.get(); }
    xmlNode *root() const;
    const QString &faNamespace() const { return m_faNamespace; }
    // What the document was parsed from: the bytes of the file as read, or
    // the pasted text encoded as UTF-8. Empty when unknown.
    enum class SourceKind { File, Text };
    void setSource(QByteArray bytes, SourceKind kind)
    {
        m_source = std::move(bytes);
        m_sourceKind = kind;
    }
    const QByteArray &sourceBytes() const { return m_source; }
    SourceKind sourceKind() const { return m_sourceKind; }
    // A hint for sizing what is built from the document.
    qsizetype sourceSize() const { return m_source.size(); }
    // The names of the elements that hold a KSeF number, as the schema the
    // document was validated against declares them; empty when not validated.
    void setKsefNumberElements(QStringList names) { m_ksefNumberElements = std::move(names); }
    const QStringList &ksefNumberElements() const { return m_ksefNumberElements; }
    // The FA(3) namespace as libxml2 stores namespace names, for fast checks.
    const QByteArray &faNamespaceUtf8() const { return m_faNamespaceUtf8; }

    // Evaluates an XPath expression on the document node or on `context`.
    // Returns the selected nodes in document order; throws a Failure when
    // the expression cannot be evaluated.
    std::vector<xmlNode *> select(const QString &xpath, xmlNode *context = nullptr) const;
    // The first selected node, or nullptr.
    xmlNode *selectSingle(const QString &xpath, xmlNode *context = nullptr) const;

    // The whole document as text, with its XML declaration.
    QString serialize() const;

    // Whether a node is an element of the FA(3) namespace.
    bool isFaElement(const xmlNode *node) const;
    // The FA(3) child elements of `parent` named `localName`, in document
    // order. A parent with many children (Fa, with every invoice line) is
    // indexed on first use, so repeated selections below it stay cheap.
    std::vector<xmlNode *> faChildren(const xmlNode *parent, const char *localName) const;
    // The same from the index, when `parent` has enough children to be
    // indexed: `indexed` tells, and the result (nullptr for none) is valid as
    // long as the document. Nothing is copied.
    const std::vector<xmlNode *> *indexedFaChildren(const xmlNode *parent, const char *localName, bool &indexed) const;

private:
    using ChildIndex = std::unordered_map<std::string, std::vector<xmlNode *>>;
    const ChildIndex &indexOf(const xmlNode *parent) const;

    XmlDocHandle m_doc;
    QString m_faNamespace;
    QByteArray m_faNamespaceUtf8;
    mutable XmlXPathContextHandle m_xpath; // made by the first XPath selection
    QByteArray m_source;
    SourceKind m_sourceKind = SourceKind::File;
    QStringList m_ksefNumberElements;
    // Caches for the selections above; the document itself never changes.
    mutable std::atomic<const xmlNs *> m_lastFaNamespace{nullptr}; // read from several threads
    mutable std::unordered_map<const xmlNode *, ChildIndex> m_childIndexes;
};

} // namespace velkor
