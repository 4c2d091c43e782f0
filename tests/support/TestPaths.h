#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace velkor::test {

// The schema set as the build placed it beside the executables.
inline QString schemaFile()
{
    return QStringLiteral(VELKOR_TEST_SCHEMA_DIR "/schemaFA3.xsd");
}

inline QString schemaFolder()
{
    return QStringLiteral(VELKOR_TEST_SCHEMA_DIR);
}

// The public example invoices, read in place.
inline QString examplesFolder()
{
    return QStringLiteral(VELKOR_TEST_EXAMPLES_DIR);
}

inline QString publicExample(const char *name)
{
    return QDir(examplesFolder()).filePath(QLatin1String(name));
}

inline QString dataFolder()
{
    return QStringLiteral(VELKOR_TEST_DATA_DIR);
}

// The project's own example invoices, written for the README.
inline QString ownExample(const char *name)
{
    return QStringLiteral(VELKOR_TEST_OWN_EXAMPLES_DIR "/") + QLatin1String(name);
}

// Writes `bytes` to `relative` under `folder`, making the folders on the
// way; the full path, or an empty string when the file cannot be written.
inline QString writeTestFile(const QString &folder, const QString &relative, const QByteArray &bytes)
{
    const QString path = QDir(folder).filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace velkor::test
