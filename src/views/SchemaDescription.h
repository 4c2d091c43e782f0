#pragma once

#include "support/XmlHandles.h"
#include "views/XmlTree.h"

#include <QString>

#include <memory>

namespace velkor {

// The FA(3) schema file as a plain document, for reading its element
// declarations and their documentation. Loaded without validation and
// without following its imports.
class SchemaDocument
{
public:
    // The parsed file, or nullptr when it is missing or not well-formed XML.
    static std::unique_ptr<SchemaDocument> load(const QString &schemaFile);

    xmlDoc *doc() const { return m_doc.get(); }

private:
    explicit SchemaDocument(XmlDocHandle doc) : m_doc(std::move(doc)) {}
    XmlDocHandle m_doc;
};

// The description of an element: the first line "Opis węzła : " + name, then
// the declaration's documentation, its child elements and the allowed values
// of its simple type, each block after an empty line. The first declaration
// of that name in document order is described; a name without declaration
// gives the first line alone.
QString describeElement(const SchemaDocument &schema, const QString &elementName);

// The caption of the information window for an element.
QString descriptionCaption(const QString &elementName);

// The element a tree node stands for: the node's own text when it has
// children, else its parent's (a value, or an element whose content was
// blank). Empty when there is no such element.
QString describedElementName(const XmlTree &tree, int node);

} // namespace velkor
