#pragma once

#include "core/window/Layout.h"

#include <QList>
#include <QPair>
#include <QSize>
#include <QString>

#include <optional>

class QSettings;

namespace velkor {

// Where a window was, as the settings store holds it: texts that should be
// decimal numbers of twips, each possibly missing.
struct StoredPlacement
{
    std::optional<QString> left, top, width, height, state;
};

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

struct RestoredPlacement
{
    TwipRect rect;                    // outer position and size, in twips
    std::optional<WindowState> state; // only when asked for and stored validly
};

// The screen a window opens on, in twips: its whole size and the part of it
// that panels and task bars leave free.
struct ScreenTwips
{
    int width = 0;
    int height = 0;
    int availableWidth = 0;
    int availableHeight = 0;
};

// The placement a window opens with. The left and top edges fall back to 200
// when missing, not numbers or not positive, and stay at least 1000 twips
// inside the screen's right and bottom edges; a missing width or height is
// 6000, an unusable one 14000 wide or 9000 high, and neither exceeds what the
// free part of the screen leaves right of and below the corner (a store left
// by a larger monitor would otherwise put the window's far edges out of
// reach). The state, when asked for,
// defaults to maximised; a text that is no valid state is ignored. A window
// of its own may open larger at its first use (`missingSize`, in twips).
RestoredPlacement restorePlacement(const StoredPlacement &stored, const ScreenTwips &screen, bool withState,
                                   QSize missingSize = {});

enum class PlacementKind { MainWindow, InfoWindow };

// The keys and values a closing window writes, in order: the main window
// writes everything with "State" 0 when normal, only "Left" and "Top" with
// "State" 2 when maximised (so the normal size survives) and nothing when
// minimised; the information window always writes its four edges.
QList<QPair<QString, QString>> placementToSave(PlacementKind kind, WindowState state, const TwipRect &outer);

// A list column's width as stored: the whole number of pixels, else 100.
int restoredColumnWidth(const std::optional<QString> &stored);
// "Lista~col~1" and the like; columns counted from 1.
QString columnWidthKey(const QString &listName, int column);

// Reading and writing the section of one window in the settings store.
StoredPlacement readStoredPlacement(QSettings &settings, const QString &section);
std::optional<QString> readStoredText(QSettings &settings, const QString &section, const QString &key);
void writeStoredTexts(QSettings &settings, const QString &section, const QList<QPair<QString, QString>> &values);

} // namespace velkor
