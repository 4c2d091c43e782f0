#include "StatusPanels.h"

#include "gui/widgets/WindowGeometry.h"

#include <QLabel>
#include <QStatusBar>

namespace velkor {

namespace {

constexpr int CountPanelWidth = 500; // twips

QLabel *panel(QStatusBar *bar, const char *name, const QString &tooltip)
{
    auto *label = new QLabel(bar);
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
    m_info = panel(m_bar, "info", {});
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
