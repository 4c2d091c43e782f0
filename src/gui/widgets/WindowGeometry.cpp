#include "WindowGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace velkor {

namespace {

// How long after a window is first shown in the normal state its window
// manager may still be framing it.
constexpr int FrameSettleMilliseconds = 10000;
constexpr int FramePollMilliseconds = 100;

const QScreen *screenOf(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

QSize frameOf(const QWidget *window)
{
    return window->frameGeometry().size() - window->size();
}

bool isNormal(const QWidget *window)
{
    return !(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

} // namespace

Twips twipsFor(const QWidget *widget)
{
    const QScreen *screen = screenOf(widget);
    return Twips(screen ? screen->logicalDotsPerInchX() : 96.0);
}

ScreenTwips screenInTwips(const QWidget *widget)
{
    const QScreen *screen = screenOf(widget);
    const Twips twips = twipsFor(widget);
    const QSize whole = screen ? screen->geometry().size() : QSize(1024, 768);
    const QSize available = screen ? screen->availableGeometry().size() : whole;
    return {twips.fromPixels(whole.width()), twips.fromPixels(whole.height()), twips.fromPixels(available.width()),
            twips.fromPixels(available.height())};
}

TwipRect outerRectOf(const QWidget *window)
{
    return twipsFor(window).fromPixels(window->frameGeometry());
}

FramePlacement::FramePlacement(QWidget *window, std::function<void()> beforePlacing)
    : QObject(window), m_window(window), m_beforePlacing(std::move(beforePlacing))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(FrameSettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        m_outer.reset();
        m_poll.stop();
    });
    // Not every window manager's change of the frame reaches the window as an event.
    m_poll.setInterval(FramePollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &FramePlacement::follow);
    window->installEventFilter(this);
}

RestoredPlacement FramePlacement::restore(QSettings &settings, const QString &section, bool withState,
                                          QSize missingSize)
{
    const RestoredPlacement placement =
        restorePlacement(readStoredPlacement(settings, section), screenInTwips(m_window), withState, missingSize);
    m_restored = placement.rect;
    m_outer = placement.rect;
    apply();
    return placement;
}

void FramePlacement::apply()
{
    if (m_beforePlacing)
        m_beforePlacing();
    // A window is moved by its outer corner but sized by its inside.
    m_appliedFrame = frameOf(m_window);
    const QRect pixels = twipsFor(m_window).toPixels(*m_outer);
    m_window->move(pixels.topLeft());
    m_window->resize((pixels.size() - m_appliedFrame).expandedTo(QSize(1, 1)));
}

void FramePlacement::follow()
{
    if (!m_outer)
        return;
    if (!m_window->isVisible() || !isNormal(m_window)) {
        m_poll.stop();
        return;
    }
    if (!m_poll.isActive())
        m_poll.start();
    if (frameOf(m_window) != m_appliedFrame)
        apply();
    if (!m_settle.isActive())
        m_settle.start();
}

TwipRect FramePlacement::outerRect() const
{
    // A window nobody moved or resized keeps the numbers it was restored
    // with, which the conversion to pixels and back would round.
    if (twipsFor(m_window).toPixels(m_restored) == m_window->frameGeometry())
        return m_restored;
    return outerRectOf(m_window);
}

bool FramePlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            follow();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velkor
