#pragma once

#include "core/window/Layout.h"
#include "core/window/Twips.h"
#include "core/window/WindowPlacement.h"

#include <QObject>
#include <QSize>
#include <QTimer>

#include <functional>
#include <optional>

class QSettings;
class QWidget;

namespace velkor {

// The screen's logical resolution for twips, and the screen in twips.
Twips twipsFor(const QWidget *widget);
ScreenTwips screenInTwips(const QWidget *widget);

// A top-level window's outer rectangle (frame included) in twips. Before the
// window manager has framed the window its frame counts as nothing.
TwipRect outerRectOf(const QWidget *window);

// Restores a top-level window's outer rectangle from its section of the
// settings store and holds it there while the window manager frames the
// window. The frame is known only some time after the window is shown, so
// the rectangle is applied again whenever the frame differs from the one it
// was last applied with; a window restored maximised gets it the first time
// it is normal. Some seconds after that, the window's moves and resizes are
// the user's own.
class FramePlacement : public QObject
{
public:
    // `beforePlacing` runs before every placement, for whatever depends on
    // the frame (a minimum outer size).
    explicit FramePlacement(QWidget *window, std::function<void()> beforePlacing = {});

    // Reads the section, places the window and returns what was restored
    // (with the state when asked for; setting the state is the caller's).
    RestoredPlacement restore(QSettings &settings, const QString &section, bool withState, QSize missingSize = {});

    // The outer rectangle to save: the restored one while the window stands
    // where it was put, else the current one.
    TwipRect outerRect() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();
    void follow();

    QWidget *m_window;
    std::function<void()> m_beforePlacing;
    TwipRect m_restored;
    std::optional<TwipRect> m_outer; // until the frame has settled
    QSize m_appliedFrame;
    QTimer m_settle;
    QTimer m_poll;
};

} // namespace velkor
