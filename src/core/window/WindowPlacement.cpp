#include "WindowPlacement.h"

#include <QLocale>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace velkor {

namespace {

constexpr int DefaultEdge = 200;
constexpr int ScreenMargin = 1000;
constexpr int MissingSize = 6000;
constexpr int UnusableWidth = 14000;
constexpr int UnusableHeight = 9000;
constexpr int DefaultColumnWidth = 100;

// A stored number: a plain decimal text, possibly with a fraction.
std::optional<double> numberOf(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text->trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int clampToInt(double value)
{
    return int(std::lround(std::clamp(value, -1e9, 1e9)));
}

int restoredEdge(const std::optional<QString> &stored, int screenExtent)
{
    const std::optional<double> number = stored ? numberOf(stored) : std::optional<double>(0.0);
    int edge = (!number || *number <= 0) ? DefaultEdge : clampToInt(*number);
    if (edge > screenExtent - ScreenMargin)
        edge = screenExtent - ScreenMargin;
    return edge;
}

int restoredSize(const std::optional<QString> &stored, int missing, int unusable)
{
    if (!stored)
        return missing;
    const std::optional<double> number = numberOf(stored);
    return (!number || *number <= 0) ? unusable : clampToInt(*number);
}

} // namespace

RestoredPlacement restorePlacement(const StoredPlacement &stored, const ScreenTwips &screen, bool withState,
                                   QSize missingSize)
{
    if (missingSize.isEmpty())
        missingSize = QSize(MissingSize, MissingSize);
    RestoredPlacement placement;
    // The size fits what the free part of the screen leaves right of and
    // below the corner.
    placement.rect.left = restoredEdge(stored.left, screen.width);
    placement.rect.width = std::min(restoredSize(stored.width, missingSize.width(), UnusableWidth),
                                    std::max(screen.availableWidth - placement.rect.left, 0));
    placement.rect.top = restoredEdge(stored.top, screen.height);
    placement.rect.height = std::min(restoredSize(stored.height, missingSize.height(), UnusableHeight),
                                     std::max(screen.availableHeight - placement.rect.top, 0));
    if (withState) {
        const std::optional<double> state = stored.state ? numberOf(stored.state) : std::optional<double>(2.0);
        if (state && (*state == 0 || *state == 1 || *state == 2))
            placement.state = WindowState(int(*state));
    }
    return placement;
}

QList<QPair<QString, QString>> placementToSave(PlacementKind kind, WindowState state, const TwipRect &outer)
{
    const auto number = [](int value) { return QString::number(value); };
    const QPair<QString, QString> left{QStringLiteral("Left"), number(outer.left)};
    const QPair<QString, QString> width{QStringLiteral("Width"), number(outer.width)};
    const QPair<QString, QString> top{QStringLiteral("Top"), number(outer.top)};
    const QPair<QString, QString> height{QStringLiteral("Height"), number(outer.height)};
    if (kind == PlacementKind::InfoWindow)
        return {left, width, top, height};
    switch (state) {
    case WindowState::Normal:
        return {left, width, top, height, {QStringLiteral("State"), QStringLiteral("0")}};
    case WindowState::Maximized:
        return {left, top, {QStringLiteral("State"), QStringLiteral("2")}};
    case WindowState::Minimized:
        break;
    }
    return {};
}

int restoredColumnWidth(const std::optional<QString> &stored)
{
    if (!stored)
        return DefaultColumnWidth;
    bool ok = false;
    const int width = stored->trimmed().toInt(&ok);
    return (ok && width >= 0) ? width : DefaultColumnWidth;
}

QString columnWidthKey(const QString &listName, int column)
{
    return listName + QStringLiteral("~col~") + QString::number(column);
}

std::optional<QString> readStoredText(QSettings &settings, const QString &section, const QString &key)
{
    const QString path = section + u'/' + key;
    if (!settings.contains(path))
        return std::nullopt;
    return settings.value(path).toString();
}

StoredPlacement readStoredPlacement(QSettings &settings, const QString &section)
{
    StoredPlacement stored;
    stored.left = readStoredText(settings, section, QStringLiteral("Left"));
    stored.top = readStoredText(settings, section, QStringLiteral("Top"));
    stored.width = readStoredText(settings, section, QStringLiteral("Width"));
    stored.height = readStoredText(settings, section, QStringLiteral("Height"));
    stored.state = readStoredText(settings, section, QStringLiteral("State"));
    return stored;
}

void writeStoredTexts(QSettings &settings, const QString &section, const QList<QPair<QString, QString>> &values)
{
    for (const auto &[key, value] : values)
        settings.setValue(section + u'/' + key, value);
}

} // namespace velkor
