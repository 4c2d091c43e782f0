#pragma once

#include "support/XmlHandles.h"

#include <QString>

#include <vector>

namespace velkor {

// One parsed, schema-valid FA(3) invoice. It owns the libxml2 document and is
// never modified after loading. XPath selections see the prefixes n (the
// FA(3) namespace), etd (the national definitions), xsi and xsd.
class InvoiceDocument
{
public:
    InvoiceDocument(XmlDocHandle doc, QString faNamespace);

    xmlDoc *doc() const { return m_doc.get(); }
    xmlNode *root() const;
    const QString &faNamespace() const { return m_faNamespace; }
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

private:
    XmlDocHandle m_doc;
    QString m_faNamespace;
    QByteArray m_faNamespaceUtf8;
    XmlXPathContextHandle m_xpath;
};

} // namespace velkor
