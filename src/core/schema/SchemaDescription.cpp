#include "SchemaDescription.h"

#include "core/load/XmlErrors.h"
#include "core/support/ExtraString.h"
#include "core/support/TrimSpaces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

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

namespace {

// The root element every invoice path starts below.
const char *const InvoiceRoot = "Faktura";
// Type derivations and nested groups deeper than this are not followed.
constexpr int MaxContentDepth = 32;

XmlDocHandle parseSchemaFile(const QString &path)
{
    QFile file(path);
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
    return doc;
}

QByteArray attributeBytes(const xmlNode *node, const char *name)
{
    XmlCharsHandle value(xmlGetNoNsProp(node, toXml(name)));
    return value ? QByteArray(reinterpret_cast<const char *>(value.get())) : QByteArray();
}

} // namespace

std::unique_ptr<SchemaDocument> SchemaDocument::load(const QString &schemaFile)
{
    XmlDocHandle main = parseSchemaFile(schemaFile);
    if (!main)
        return nullptr;
    std::unique_ptr<SchemaDocument> schema(new SchemaDocument);
    const xmlNode *root = xmlDocGetRootElement(main.get());
    schema->m_files.push_back({std::move(main), attributeBytes(root, "targetNamespace"),
                               QFileInfo(schemaFile).absoluteFilePath()});
    schema->loadImports(QFileInfo(schemaFile).absolutePath(), root);
    return schema;
}

void SchemaDocument::loadImports(const QString &folder, const xmlNode *schema)
{
    for (const xmlNode *child = schema ? schema->children : nullptr; child; child = child->next) {
        if (!isXsd(child, "import") && !isXsd(child, "include"))
            continue;
        // Only the file's own name is used: a schema set is read from its
        // own folder, whatever address the reference gives.
        const QString name = QFileInfo(QString::fromUtf8(attributeBytes(child, "schemaLocation")).replace(u'\\', u'/'))
                                 .fileName();
        const QString path = QDir(folder).filePath(name);
        if (name.isEmpty()
            || std::any_of(m_files.begin(), m_files.end(), [&](const File &file) { return file.path == path; }))
            continue;
        XmlDocHandle doc = parseSchemaFile(path);
        if (!doc)
            continue;
        const xmlNode *root = xmlDocGetRootElement(doc.get());
        QByteArray ns = attributeBytes(root, "targetNamespace");
        if (ns.isEmpty()) // an included file without its own namespace takes the includer's
            ns = attributeBytes(schema, "targetNamespace");
        m_files.push_back({std::move(doc), ns, path});
        loadImports(folder, root);
    }
}

const xmlNode *SchemaDocument::namedType(const xmlNode *reference, const QByteArray &qualifiedName) const
{
    const qsizetype colon = qualifiedName.indexOf(':');
    const QByteArray prefix = colon < 0 ? QByteArray() : qualifiedName.left(colon);
    const QByteArray local = qualifiedName.mid(colon + 1);
    const xmlNs *ns = xmlSearchNs(reference->doc, const_cast<xmlNode *>(reference),
                                  prefix.isEmpty() ? nullptr : toXml(prefix.constData()));
    const QByteArray href = ns && ns->href ? QByteArray(reinterpret_cast<const char *>(ns->href)) : QByteArray();
    for (const File &file : m_files) {
        if (file.targetNamespace != href)
            continue;
        for (const xmlNode *node = xmlDocGetRootElement(file.doc.get())->children; node; node = node->next) {
            if (isXsd(node, "complexType") && attributeBytes(node, "name") == local)
                return node;
        }
    }
    return nullptr;
}

const xmlNode *SchemaDocument::childDeclaration(const xmlNode *content, const QByteArray &name, int depth) const
{
    if (!content || depth > MaxContentDepth)
        return nullptr;
    for (const xmlNode *child = content->children; child; child = child->next) {
        if (isXsd(child, "element")) {
            if (attributeBytes(child, "name") == name)
                return child;
        } else if (isXsd(child, "sequence") || isXsd(child, "choice") || isXsd(child, "all")) {
            if (const xmlNode *found = childDeclaration(child, name, depth + 1))
                return found;
        } else if (isXsd(child, "complexContent")) {
            for (const xmlNode *derivation = child->children; derivation; derivation = derivation->next) {
                if (!isXsd(derivation, "extension") && !isXsd(derivation, "restriction"))
                    continue;
                // An extension's content is its base type's, then its own.
                if (isXsd(derivation, "extension")) {
                    const xmlNode *base = namedType(derivation, attributeBytes(derivation, "base"));
                    if (const xmlNode *found = childDeclaration(base, name, depth + 1))
                        return found;
                }
                if (const xmlNode *found = childDeclaration(derivation, name, depth + 1))
                    return found;
            }
        }
    }
    return nullptr;
}

const xmlNode *SchemaDocument::elementInDeclaration(const xmlNode *declaration, const QByteArray &name) const
{
    if (const xmlNode *anonymous = firstXsdChild(declaration, "complexType"))
        return childDeclaration(anonymous, name, 0);
    if (hasAttribute(declaration, "type"))
        return childDeclaration(namedType(declaration, attributeBytes(declaration, "type")), name, 0);
    return nullptr;
}

const xmlNode *SchemaDocument::declarationAt(const QStringList &path) const
{
    const xmlNode *declaration = nullptr;
    for (const xmlNode *node = xmlDocGetRootElement(doc())->children; node && !declaration; node = node->next) {
        if (isXsd(node, "element") && attributeBytes(node, "name") == InvoiceRoot)
            declaration = node;
    }
    for (const QString &name : path) {
        if (!declaration)
            break;
        declaration = elementInDeclaration(declaration, name.toUtf8());
    }
    return path.isEmpty() ? nullptr : declaration;
}

QString describeElement(const SchemaDocument &schema, const QStringList &path)
{
    const QString elementName = path.isEmpty() ? QString() : path.last();
    ExtraString builder;
    builder.Add(QStringLiteral("Opis węzła : ") + elementName);
    builder.Adn(QString());

    const xmlNode *root = xmlDocGetRootElement(schema.doc());
    const xmlNode *declaration = schema.declarationAt(path);
    if (!declaration)
        declaration = findDeclaration(root, "element", elementName.toUtf8());
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

QStringList describedElementPath(const XmlTree &tree, int node)
{
    if (node < 0 || node >= tree.nodeCount())
        return {};
    if (tree.childCount(node) == 0)
        node = tree.parent(node);
    QStringList path;
    for (; node != XmlTree::NoNode; node = tree.parent(node))
        path.prepend(tree.text(node).toString());
    return path;
}

} // namespace velkor
