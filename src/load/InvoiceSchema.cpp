#include "InvoiceSchema.h"

#include "load/OfflineResources.h"
#include "load/XmlErrors.h"
#include "support/Failure.h"

#include <libxml/schemasInternals.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velkor {

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
    XmlSchemaParserCtxtHandle parser(
        xmlSchemaNewParserCtxt(QFile::encodeName(info.absoluteFilePath()).constData()));
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
    return InvoiceSchema(std::move(schema));
}

QString InvoiceSchema::targetNamespace() const
{
    return m_schema ? fromXml(m_schema->targetNamespace) : QString();
}

} // namespace velkor
