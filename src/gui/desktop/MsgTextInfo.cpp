#include "MsgTextInfo.h"

#include "core/window/WindowPlacement.h"
#include "gui/widgets/WindowGeometry.h"
#include "gui/widgets/WindowStyle.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>

namespace velkor {

namespace {

const QString Section = QStringLiteral("MsgTextInfo");

// Twips of the window's layout.
constexpr int Margin = 60;
constexpr int PoleTop = 525;
constexpr int ButtonWidth = 1065;
constexpr int ButtonHeight = 435;
constexpr int MinimumSize = 500;

} // namespace

MsgTextInfo::MsgTextInfo(QSettings &settings, const QString &text, const QString &caption, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_settings(settings)
    , m_placement(new FramePlacement(this))
    , m_pole(new QPlainTextEdit(this))
    , m_close(new QPushButton(QStringLiteral("Zamknij Esc"), this))
{
    setObjectName(QStringLiteral("MsgTextInfo"));
    setFont(dialogFont()); // the main window's, which the button's size is made for
    m_pole->setObjectName(QStringLiteral("Pole"));
    m_pole->setReadOnly(true);
    m_pole->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_pole->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pole->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_close->setObjectName(QStringLiteral("Command0"));
    m_close->setAutoDefault(false);
    setTabOrder(m_pole, m_close);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    const Twips twips = twipsFor(this);
    setMinimumSize(twips.toPixels(MinimumSize), twips.toPixels(MinimumSize));
    m_placement->restore(settings, Section, false);

    m_pole->setPlainText(text);
    setWindowTitle(caption);
    layoutControls();
}

void MsgTextInfo::Edit(QSettings &settings, const QString &pText, const QString &pCaption)
{
    MsgTextInfo window(settings, pText, pCaption);
    window.setWindowModality(Qt::ApplicationModal);
    window.m_pole->setFocus();
    window.exec();
}

void MsgTextInfo::done(int result)
{
    writeStoredTexts(m_settings, Section,
                     placementToSave(PlacementKind::InfoWindow, WindowState::Normal, m_placement->outerRect()));
    m_settings.sync();
    QDialog::done(result);
}

void MsgTextInfo::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layoutControls();
}

void MsgTextInfo::layoutControls()
{
    const Twips twips = twipsFor(this);
    const int clientWidth = twips.fromPixels(width());
    const int clientHeight = twips.fromPixels(height());
    m_close->setGeometry(twips.toPixels({clientWidth - ButtonWidth - Margin, 0, ButtonWidth, ButtonHeight}));
    const TwipRect pole{Margin, PoleTop, clientWidth - 2 * Margin, clientHeight - PoleTop - Margin};
    if (pole.width >= 0 && pole.height >= 0)
        m_pole->setGeometry(twips.toPixels(pole));
}

} // namespace velkor
