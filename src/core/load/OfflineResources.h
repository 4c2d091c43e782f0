#pragma once

#include <QString>
#include <QStringList>

namespace velkor {

// Keeps libxml2 off the network and out of the file system. Once installed,
// every external resource libxml2 asks for (external entities, DTDs, schema
// imports and includes) goes through one loader that serves only files of
// the schema folder currently being compiled, maps the national definitions
// namespace's http address onto that folder, and refuses everything else.
// Initialises libxml2 and installs the loader. Call once at start-up, on the
// main thread, before any other XML work.
void initializeXmlLibrary();

// The national definitions-and-types namespace; schemaFA3.xsd imports its
// schema from an http address under this prefix.
extern const char *const DefinitionsNamespace;

// While alive, files inside `folder` may be read by libxml2 (schema imports
// and includes). Outside such a scope nothing is served at all.
class SchemaFolderScope
{
public:
    explicit SchemaFolderScope(const QString &folder);
    ~SchemaFolderScope();
    SchemaFolderScope(const SchemaFolderScope &) = delete;
    SchemaFolderScope &operator=(const SchemaFolderScope &) = delete;

    // The files served while the scope was alive, in the order read.
    QStringList servedFiles() const;

private:
    QString m_previous;
    QStringList m_previousServed;
};

// How many resource requests the loader has refused since the process
// started; tests use it to see that a hostile document asked for something.
int refusedResourceCount();

// A file name as libxml2 opens it: UTF-8 on Windows, where it converts to
// wide characters itself, the local encoding elsewhere.
QByteArray libxmlFileName(const QString &path);

} // namespace velkor
