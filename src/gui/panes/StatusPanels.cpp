#include "StatusPanels.h"

#include "gui/widgets/WindowGeometry.h"

#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QToolTip>

namespace velkor {

namespace {

constexpr int CountPanelWidth = 500; // twips
constexpr int InfoPanelMinimumWidth = 1440; // twips

// A status panel that gives way to its neighbours: a text too long for the
// room left is cut short with "…" (the whole of it in the tool tip), down to
// the panel's minimum width. text() keeps the whole text.
class ElidingLabel : public QLabel
{
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override { return {minimumWidth(), QLabel::minimumSizeHint().height()}; }
    QSize sizeHint() const override { return minimumSizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect room = contentsRect();
        painter.drawText(room, int(alignment()), fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
    }
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip) {
            const bool cut = fontMetrics().horizontalAdvance(text()) > contentsRect().width();
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), cut ? text() : QString(), this);
            return true;
        }
        return QLabel::event(event);
    }
};

template<typename Label = QLabel>
QLabel *panel(QStatusBar *bar, const char *name, const QString &tooltip)
{
    auto *label = new Label(bar);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setToolTip(tooltip);
    return label;
}

} // namespace

StatusPanels::StatusPanels(QWidget *window)
    : m_bar(new QStatusBar(window))
{
    m_bar->setObjectName(QStringLiteral("Status"));
    m_bar->setSizeGripEnabled(true);
    m_count = panel(m_bar, "count", QStringLiteral("Liczba pozycji faktury"));
    // Wide enough to point at, whatever the number.
    m_count->setFixedWidth(twipsFor(window).toPixels(CountPanelWidth));
    m_info = panel<ElidingLabel>(m_bar, "info", {});
    m_info->setMinimumWidth(twipsFor(window).toPixels(InfoPanelMinimumWidth));
    m_check = panel(m_bar, "kontrola", QStringLiteral("Wynik kontroli faktury (F9)"));
    m_bar->addWidget(m_count);
    m_bar->addWidget(m_info, 1);
    m_bar->addWidget(m_check);
}

void StatusPanels::setCount(const QString &text)
{
    m_count->setText(text);
}

void StatusPanels::setInfo(const QString &text)
{
    m_info->setText(text);
}

void StatusPanels::setCheck(const QString &text)
{
    m_check->setText(text);
}

} // namespace velkor
