#pragma once

#include "core/load/XmlHandles.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace velkor {

// The compiled FA(3) schema set a load validates against.
class InvoiceSchema
{
public:
    // Compiles the schema file and whatever it imports from its own folder.
    // Throws a Failure naming the reason when the file is missing, unreadable
    // or not a usable schema.
    static InvoiceSchema compile(const QString &schemaFile);

    // The schema set as the files now stand: the last compiled one when every
    // file it was compiled from is unchanged (the same size, modification and
    // status-change times), else a new compilation. The files are looked at
    // on every call, so a replaced schema takes effect at the next load; only
    // the costly compilation is saved. Throws like compile().
    static std::shared_ptr<const InvoiceSchema> current(const QString &schemaFile);

    xmlSchema *get() const { return m_schema.get(); }
    // The schema's targetNamespace: the FA(3) namespace invoices are written in.
    QString targetNamespace() const;
    // The names of the elements that hold a KSeF number: those the schema
    // files declare of its type TNumerKSeF or of a type restricted from it.
    const QStringList &ksefNumberElements() const { return m_ksefNumberElements; }

private:
    struct SourceFile
    {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        QDateTime statusChanged;

        static SourceFile of(const QString &path);
        bool operator==(const SourceFile &other) const;
    };

    InvoiceSchema(XmlSchemaHandle schema, std::vector<SourceFile> sources)
        : m_schema(std::move(schema)), m_sources(std::move(sources)) {}
    bool sourcesUnchanged() const;

    XmlSchemaHandle m_schema;
    std::vector<SourceFile> m_sources;
    QStringList m_ksefNumberElements;
};

} // namespace velkor
