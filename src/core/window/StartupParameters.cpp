#include "StartupParameters.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace velkor {

QString ksefNumberFromParameters(const QString &parameters)
{
    QString number;
    const QStringList pieces = parameters.split(QStringLiteral("«»"));
    for (const QString &piece : pieces) {
        if (piece.isEmpty())
            continue;
        const QStringList parts = piece.split(QStringLiteral("¤¤"));
        if (parts.size() != 2)
            continue;
        if (parts[0].compare(QStringLiteral("ksef"), Qt::CaseInsensitive) == 0)
            number = parts[1];
    }
    return number;
}

QString startupTitle(const QString &ksefNumber)
{
    if (ksefNumber.isEmpty())
        return QStringLiteral("Velkor");
    return QStringLiteral("Velkor »» KSEF: ") + ksefNumber;
}

QString startupFile(const QString &parameters)
{
    if (parameters.contains(QStringLiteral("¤¤")) || parameters.contains(QStringLiteral("«»"))
        || !QDir::isAbsolutePath(parameters))
        return {};
    return QFileInfo(parameters).absoluteFilePath();
}

QString startupRegisterPath(const QString &parameters)
{
    if (parameters.isEmpty() || !QFileInfo(parameters).isAbsolute() || parameters.contains(QStringLiteral("¤¤"))
        || parameters.contains(QStringLiteral("«»")))
        return {};
    const QFileInfo info(parameters);
    const bool package = info.isFile() && info.suffix().compare(QStringLiteral("zip"), Qt::CaseInsensitive) == 0;
    return info.isDir() || package ? info.absoluteFilePath() : QString();
}

QString parameterStringFromArguments(const QStringList &arguments)
{
    return arguments.join(u' ');
}

} // namespace velkor
