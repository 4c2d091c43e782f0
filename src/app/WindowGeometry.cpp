#include "WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace velkor {

namespace {

const QScreen *screenOf(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

Twips twipsFor(const QWidget *widget)
{
    const QScreen *screen = screenOf(widget);
    return Twips(screen ? screen->logicalDotsPerInchX() : 96.0);
}

QSize screenSizeInTwips(const QWidget *widget)
{
    const QScreen *screen = screenOf(widget);
    const Twips twips = twipsFor(widget);
    const QSize pixels = screen ? screen->geometry().size() : QSize(1024, 768);
    return QSize(twips.fromPixels(pixels.width()), twips.fromPixels(pixels.height()));
}

TwipRect outerRectOf(const QWidget *window)
{
    return twipsFor(window).fromPixels(window->frameGeometry());
}

void placeWindow(QWidget *window, const TwipRect &outer)
{
    const QRect pixels = twipsFor(window).toPixels(outer);
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    window->move(pixels.topLeft());
    window->resize((pixels.size() - frame).expandedTo(QSize(1, 1)));
}

} // namespace velkor
