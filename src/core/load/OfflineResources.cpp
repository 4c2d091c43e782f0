#include "OfflineResources.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/uri.h>

#include "core/load/CodePages.h"
#include "core/load/XmlHandles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <atomic>

namespace velkor {

const char *const DefinitionsNamespace =
    "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2022/01/05/eD/DefinicjeTypy/";

namespace {

QString g_allowedFolder; // canonical path, empty outside a SchemaFolderScope
QStringList g_served;    // files served inside the current scope
std::atomic<int> g_refused{0}; // counted on every thread that parses

// The local file a request may be served from, or an empty text.
QString localFileFor(const QString &url)
{
    if (g_allowedFolder.isEmpty())
        return {};
    QString fileName;
    const QString definitionsPrefix = QString::fromLatin1(DefinitionsNamespace);
    if (url.startsWith(definitionsPrefix, Qt::CaseInsensitive)) {
        fileName = QDir(g_allowedFolder).filePath(url.mid(definitionsPrefix.size()));
    } else if (url.startsWith(u"file:", Qt::CaseInsensitive)) {
        fileName = QUrl(url).toLocalFile();
    } else if (!url.contains(u"://")) {
        fileName = url;
    } else {
        return {};
    }
    const QFileInfo info(fileName);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty() || !info.isFile())
        return {};
    if (QFileInfo(canonical).absolutePath() != g_allowedFolder)
        return {};
    return canonical;
}

xmlParserInputPtr offlineLoader(const char *url, const char * /*id*/, xmlParserCtxtPtr ctxt)
{
    const QString request = url ? QString::fromUtf8(url) : QString();
    const QString local = request.isEmpty() ? QString() : localFileFor(request);
    if (local.isEmpty()) {
        ++g_refused;
        return nullptr;
    }
    g_served << local;
    return xmlNewInputFromFile(ctxt, libxmlFileName(local).constData());
}

} // namespace

void initializeXmlLibrary()
{
    xmlInitParser();
    registerWindowsCodePages();
    xmlSetExternalEntityLoader(offlineLoader);
}

SchemaFolderScope::SchemaFolderScope(const QString &folder) : m_previous(g_allowedFolder), m_previousServed(g_served)
{
    g_served.clear();
    // A folder that cannot be resolved comes out empty and allows nothing.
    g_allowedFolder = QFileInfo(folder).canonicalFilePath();
}

SchemaFolderScope::~SchemaFolderScope()
{
    g_allowedFolder = m_previous;
    g_served = m_previousServed;
}

QStringList SchemaFolderScope::servedFiles() const
{
    return g_served;
}

int refusedResourceCount()
{
    return g_refused;
}

QByteArray libxmlFileName(const QString &path)
{
#if defined(Q_OS_WIN)
    return QDir::toNativeSeparators(path).toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

} // namespace velkor
