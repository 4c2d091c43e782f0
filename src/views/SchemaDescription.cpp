#include "SchemaDescription.h"

#include "load/XmlErrors.h"
#include "support/ExtraString.h"
#include "support/TrimSpaces.h"

#include <QFile>

#include <climits>
#include <optional>
#include <cstring>

namespace velkor {

namespace {

const char *const XsdNamespace = "http://www.w3.org/2001/XMLSchema";

bool isXsd(const xmlNode *node, const char *localName)
{
    return node && node->type == XML_ELEMENT_NODE && node->ns && node->ns->href
        && std::strcmp(reinterpret_cast<const char *>(node->ns->href), XsdNamespace) == 0
        && std::strcmp(reinterpret_cast<const char *>(node->name), localName) == 0;
}

const xmlNode *firstXsdChild(const xmlNode *parent, const char *localName)
{
    for (const xmlNode *child = parent ? parent->children : nullptr; child; child = child->next) {
        if (isXsd(child, localName))
            return child;
    }
    return nullptr;
}

// The first element of the given xsd kind anywhere below `from`, in document
// order, whose name attribute equals `name`.
const xmlNode *findDeclaration(const xmlNode *from, const char *kind, const QByteArray &name)
{
    for (const xmlNode *node = from; node; node = node->next) {
        if (isXsd(node, kind)) {
            XmlCharsHandle value(xmlGetNoNsProp(node, toXml("name")));
            if (value && name == reinterpret_cast<const char *>(value.get()))
                return node;
        }
        if (const xmlNode *found = findDeclaration(node->children, kind, name))
            return found;
    }
    return nullptr;
}

QString attribute(const xmlNode *node, const char *name)
{
    XmlCharsHandle value(xmlGetNoNsProp(node, toXml(name)));
    return fromXml(value.get());
}

bool hasAttribute(const xmlNode *node, const char *name)
{
    return xmlHasNsProp(node, toXml(name), nullptr) != nullptr;
}

// The text of xsd:annotation/xsd:documentation below a declaration, if any.
std::optional<QString> documentationOf(const xmlNode *declaration)
{
    const xmlNode *documentation = firstXsdChild(firstXsdChild(declaration, "annotation"), "documentation");
    if (!documentation)
        return std::nullopt;
    XmlCharsHandle text(xmlNodeGetContent(documentation));
    return fromXml(text.get());
}

// A block "name: documentation" followed by a line break.
void addNamedBlock(ExtraString &builder, const QString &name, const xmlNode *declaration)
{
    builder.Adn(name + QStringLiteral(": "));
    if (const std::optional<QString> documentation = documentationOf(declaration))
        builder.Add(*documentation);
    builder.Adn(QString());
}

} // namespace

std::unique_ptr<SchemaDocument> SchemaDocument::load(const QString &schemaFile)
{
    QFile file(schemaFile);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    if (bytes.size() > INT_MAX)
        return nullptr;
    XmlErrorCollector errors;
    XmlDocHandle doc(xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR));
    if (!doc || errors.first().occurred)
        return nullptr;
    return std::unique_ptr<SchemaDocument>(new SchemaDocument(std::move(doc)));
}

QString describeElement(const SchemaDocument &schema, const QString &elementName)
{
    ExtraString builder;
    builder.Add(QStringLiteral("Opis węzła : ") + elementName);
    builder.Adn(QString());

    const xmlNode *root = xmlDocGetRootElement(schema.doc());
    const xmlNode *declaration = findDeclaration(root, "element", elementName.toUtf8());
    if (!declaration)
        return builder.Text();

    if (const std::optional<QString> documentation = documentationOf(declaration)) {
        builder.Adn(trimSpaces(*documentation).toString());
        builder.Adn(QString());
    }

    const xmlNode *sequence = firstXsdChild(firstXsdChild(declaration, "complexType"), "sequence");
    for (const xmlNode *child = sequence ? sequence->children : nullptr; child; child = child->next) {
        if (isXsd(child, "element") && hasAttribute(child, "name"))
            addNamedBlock(builder, attribute(child, "name"), child);
    }

    if (hasAttribute(declaration, "type")) {
        const QString type = attribute(declaration, "type");
        const QString typeName = type.mid(type.indexOf(u':') + 1);
        const xmlNode *simpleType = findDeclaration(root, "simpleType", typeName.toUtf8());
        const xmlNode *restriction = firstXsdChild(simpleType, "restriction");
        for (const xmlNode *value = restriction ? restriction->children : nullptr; value; value = value->next) {
            if (isXsd(value, "enumeration") && hasAttribute(value, "value"))
                addNamedBlock(builder, attribute(value, "value"), value);
        }
    }
    return builder.Text();
}

QString descriptionCaption(const QString &elementName)
{
    return QStringLiteral("Informacje dla: ") + elementName;
}

QString describedElementName(const XmlTree &tree, int node)
{
    if (node < 0 || node >= tree.nodeCount())
        return {};
    if (tree.childCount(node) > 0)
        return tree.text(node).toString();
    const int parent = tree.parent(node);
    return parent == XmlTree::NoNode ? QString() : tree.text(parent).toString();
}

} // namespace velkor
