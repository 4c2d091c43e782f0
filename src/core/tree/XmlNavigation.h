#pragma once

#include "core/load/InvoiceDocument.h"

#include <QString>

#include <string>
#include <vector>

namespace velkor {

// Plain child-axis selections on an invoice, written as the FA(3) XPath
// paths the panes use ("n:Faktura/n:Fa/n:P_1", "n:P_8B"): every step names
// an element of the FA(3) namespace by its local name. They return what the
// XPath would, in document order, without compiling an expression, so a pane
// can run thousands of them per load.
class FaPath
{
public:
    FaPath(const InvoiceDocument &document, const char *path);

    // From the document node (the first step names the root element) or, for
    // a relative path, from `context`.
    std::vector<xmlNode *> selectAll(xmlNode *context = nullptr) const;
    xmlNode *selectFirst(xmlNode *context = nullptr) const;

private:
    std::vector<xmlNode *> select(xmlNode *context, std::size_t limit) const;
    void collect(xmlNode *node, std::size_t step, std::size_t limit, std::vector<xmlNode *> &out) const;
    const char *step(std::size_t k) const { return m_names.c_str() + m_starts[k]; }

    const InvoiceDocument &m_document;
    std::string m_names;               // the steps' local names, each ended by a NUL
    std::vector<std::size_t> m_starts; // where each begins in m_names
};

// Whether `node` is the FA(3) element `localName`; the first such child of
// `parent`, or nullptr.
bool isFaElement(const InvoiceDocument &document, const xmlNode *node, const char *localName);
xmlNode *firstFaChild(const InvoiceDocument &document, const xmlNode *parent, const char *localName);

// Whether any element of the document may be named `localName`: the parser
// keeps every element name in the document's dictionary, and a name it does
// not hold is on no element. True when the document has no dictionary.
bool mayBeNamed(const InvoiceDocument &document, const char *localName);

// The text content of a node (its own text and that of its descendants), or
// an empty text when the node is absent.
QString NodeText(const xmlNode *node);

// The UTF-8 text of an element whose only child is one text: the common case,
// read in place. Null for anything else.
const xmlChar *soleText(const xmlNode *node);

// Appends the node's text (as NodeText gives it) to `out`.
void appendNodeText(QString &out, const xmlNode *node);

// Whether a yes/no flag of the schema (an xsd:byte, "1" for yes) is set. Its
// value counts, not its text: "1", "01", "+1" and " 1 " all say yes.
bool isYes(QStringView text);

} // namespace velkor
