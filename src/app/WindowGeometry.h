#pragma once

#include "app/Layout.h"
#include "support/Twips.h"

class QWidget;

namespace velkor {

// The screen's logical resolution for twips, and its size in twips.
Twips twipsFor(const QWidget *widget);
QSize screenSizeInTwips(const QWidget *widget);

// A top-level window's outer rectangle (frame included) in twips, and
// placing a window by its outer rectangle. Before the window manager has
// framed the window its frame counts as nothing.
TwipRect outerRectOf(const QWidget *window);
void placeWindow(QWidget *window, const TwipRect &outer);

} // namespace velkor
