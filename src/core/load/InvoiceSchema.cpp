#include "InvoiceSchema.h"

#include "core/load/OfflineResources.h"
#include "core/load/XmlErrors.h"
#include "core/support/Failure.h"

#include <libxml/schemasInternals.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velkor {

namespace {

QString localName(const QString &qualified)
{
    return qualified.mid(qualified.indexOf(u':') + 1);
}

const xmlNode *firstSchemaChild(const xmlNode *parent, const char *name)
{
    for (const xmlNode *child = parent ? parent->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && xmlStrEqual(child->name, toXml(name)))
            return child;
    }
    return nullptr;
}

QString attribute(const xmlNode *element, const char *name)
{
    return element ? fromXml(XmlCharsHandle(xmlGetProp(element, toXml(name)))) : QString();
}

// The names of the elements the schema files declare of `typeName`, or of a
// simple type restricted from it, directly or through an anonymous type.
// Names are compared without their namespace prefixes.
QStringList elementsOfType(const QStringList &files, const QString &typeName)
{
    struct Declaration
    {
        QString name, type;
        bool isType;
    };
    std::vector<Declaration> declarations;
    for (const QString &file : files) {
        const XmlDocHandle doc(
            xmlReadFile(libxmlFileName(file).constData(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
        const xmlNode *node = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
        while (node) {
            const bool isType = xmlStrEqual(node->name, toXml("simpleType"));
            if (node->type == XML_ELEMENT_NODE && (isType || xmlStrEqual(node->name, toXml("element")))) {
                const xmlNode *restriction =
                    firstSchemaChild(isType ? node : firstSchemaChild(node, "simpleType"), "restriction");
                QString type = attribute(isType ? restriction : node, isType ? "base" : "type");
                if (type.isEmpty())
                    type = attribute(restriction, "base");
                if (!type.isEmpty())
                    declarations.push_back({attribute(node, "name"), localName(type), isType});
            }
            // Document order, without recursion.
            if (node->children && node->type == XML_ELEMENT_NODE) {
                node = node->children;
                continue;
            }
            while (node && !node->next)
                node = node->parent && node->parent->type == XML_ELEMENT_NODE ? node->parent : nullptr;
            if (node)
                node = node->next;
        }
    }
    QStringList types{typeName};
    for (bool grown = true; grown;) {
        grown = false;
        for (const Declaration &declaration : declarations) {
            if (declaration.isType && types.contains(declaration.type) && !types.contains(declaration.name)) {
                types << declaration.name;
                grown = true;
            }
        }
    }
    QStringList names;
    for (const Declaration &declaration : declarations) {
        if (!declaration.isType && !declaration.name.isEmpty() && types.contains(declaration.type)
            && !names.contains(declaration.name))
            names << declaration.name;
    }
    return names;
}

} // namespace

InvoiceSchema InvoiceSchema::compile(const QString &schemaFile)
{
    const QFileInfo info(schemaFile);
    if (!info.isFile()) {
        // 53 is the classic run-time error number for a missing file.
        throw Failure(53, QStringLiteral("Nie znaleziono pliku schematu FA(3): %1")
                              .arg(QDir::toNativeSeparators(schemaFile)));
    }
    const SchemaFolderScope scope(info.absolutePath());
    XmlErrorCollector errors;
    const QString mainFile = info.canonicalFilePath();
    XmlSchemaParserCtxtHandle parser(
        xmlSchemaNewParserCtxt(libxmlFileName(info.absoluteFilePath()).constData()));
    if (!parser)
        throw Failure(7, QStringLiteral("Brak pamięci."));
    XmlSchemaHandle schema(xmlSchemaParse(parser.get()));
    if (!schema || errors.first().occurred) {
        const XmlError &error = errors.first();
        QString reason = error.message;
        if (reason.isEmpty())
            reason = QStringLiteral("plik nie jest poprawnym schematem XML");
        throw Failure(error.code,
                      QStringLiteral("Nie można wczytać schematu FA(3) %1: %2")
                          .arg(QDir::toNativeSeparators(schemaFile), reason));
    }
    // Remember what was compiled, so an unchanged set need not be compiled again.
    std::vector<SourceFile> sources;
    QStringList files = scope.servedFiles();
    if (!files.contains(mainFile))
        files.prepend(mainFile);
    for (const QString &path : files)
        sources.push_back(SourceFile::of(path));
    InvoiceSchema compiled(std::move(schema), std::move(sources));
    compiled.m_ksefNumberElements = elementsOfType(files, QStringLiteral("TNumerKSeF"));
    return compiled;
}

InvoiceSchema::SourceFile InvoiceSchema::SourceFile::of(const QString &path)
{
    const QFileInfo info(path);
    SourceFile file;
    file.path = path;
    if (info.isFile()) {
        file.size = info.size();
        file.modified = info.lastModified();
        file.statusChanged = info.metadataChangeTime();
    }
    return file;
}

bool InvoiceSchema::SourceFile::operator==(const SourceFile &other) const
{
    return path == other.path && size == other.size && size >= 0 && modified == other.modified
        && statusChanged == other.statusChanged;
}

bool InvoiceSchema::sourcesUnchanged() const
{
    for (const SourceFile &source : m_sources) {
        if (!(SourceFile::of(source.path) == source))
            return false;
    }
    return !m_sources.empty();
}

std::shared_ptr<const InvoiceSchema> InvoiceSchema::current(const QString &schemaFile)
{
    // The user-interface thread is the only one that loads invoices.
    static QString cachedFile;
    static std::shared_ptr<const InvoiceSchema> cached;
    const QString canonical = QFileInfo(schemaFile).canonicalFilePath();
    if (cached && !canonical.isEmpty() && canonical == cachedFile && cached->sourcesUnchanged())
        return cached;
    cached.reset();
    auto schema = std::make_shared<const InvoiceSchema>(compile(schemaFile));
    cached = schema;
    cachedFile = canonical;
    return schema;
}

QString InvoiceSchema::targetNamespace() const
{
    return m_schema ? fromXml(m_schema->targetNamespace) : QString();
}

} // namespace velkor
