#pragma once

#include "core/load/XmlHandles.h"
#include "core/tree/XmlTree.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace velkor {

// The FA(3) schema file as a plain document, for reading its element
// declarations and their documentation, together with the schema files it
// imports and includes from its own folder (their other addresses are never
// followed). Loaded without validation.
class SchemaDocument
{
public:
    // The parsed file, or nullptr when it is missing or not well-formed XML.
    // An imported file that cannot be read is left out.
    static std::unique_ptr<SchemaDocument> load(const QString &schemaFile);

    xmlDoc *doc() const { return m_files.front().doc.get(); }

    // The declaration an element path leads to from the invoice's root
    // element: each name is looked up among the elements its parent's
    // content declares, through named types, their base types and the
    // imported files. Null when the path leaves the schema.
    const xmlNode *declarationAt(const QStringList &path) const;

private:
    struct File
    {
        XmlDocHandle doc;
        QByteArray targetNamespace;
        QString path;
    };
    SchemaDocument() = default;
    void loadImports(const QString &folder, const xmlNode *schema);
    const xmlNode *namedType(const xmlNode *reference, const QByteArray &qualifiedName) const;
    const xmlNode *childDeclaration(const xmlNode *content, const QByteArray &name, int depth) const;
    const xmlNode *elementInDeclaration(const xmlNode *declaration, const QByteArray &name) const;

    std::vector<File> m_files; // the main file first
};

// The description of an element: the first line "Opis węzła : " + name, then
// the declaration's documentation, its child elements and the allowed values
// of its simple type, each block after an empty line. `path` names the
// element and its ancestors below the root, ending with the element: the
// declaration it leads to is described, else the first declaration of that
// name in document order; a name without declaration gives the first line
// alone.
QString describeElement(const SchemaDocument &schema, const QStringList &path);

// The caption of the information window for an element.
QString descriptionCaption(const QString &elementName);

// The element a tree node stands for, as the path of element names from the
// top level down: the node itself when it has children, else its parent (a
// value, or an element whose content was blank). Empty when there is no
// such element.
QStringList describedElementPath(const XmlTree &tree, int node);

} // namespace velkor
