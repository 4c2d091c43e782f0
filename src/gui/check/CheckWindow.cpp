#include "CheckWindow.h"

#include "core/window/WindowPlacement.h"
#include "gui/widgets/QrImage.h"
#include "gui/widgets/WindowGeometry.h"
#include "gui/widgets/WindowStyle.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace velkor {

namespace {

const QString Section = QStringLiteral("Kontrola");
// Pixels a module of the QR code: large enough for a phone's camera held
// to the screen.
constexpr int QrModulePixels = 3;

} // namespace

CheckWindow::CheckWindow(QSettings &settings, const CheckReport &report,
                         std::function<void(const QString &)> copyText, std::function<void()> printReport,
                         QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_settings(settings)
    , m_placement(new FramePlacement(this))
    , m_report(new QPlainTextEdit(this))
    , m_qr(new QLabel(this))
    , m_caption(new QLabel(this))
    , m_copyLink(new QPushButton(QStringLiteral("Kopiuj link"), this))
    , m_print(new QPushButton(QStringLiteral("Drukuj raport"), this))
    , m_close(new QPushButton(QStringLiteral("Zamknij Esc"), this))
{
    setObjectName(QStringLiteral("Kontrola"));
    setWindowTitle(QStringLiteral("Kontrola faktury"));
    setFont(dialogFont());
    m_report->setObjectName(QStringLiteral("Raport"));
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_report->setPlainText(report.text());
    m_qr->setObjectName(QStringLiteral("KodQR"));
    m_qr->setPixmap(QPixmap::fromImage(qrImage(QrCode::encode(report.link), QrModulePixels)));
    m_qr->setToolTip(report.link);
    m_caption->setObjectName(QStringLiteral("PodpisQR"));
    m_caption->setText(report.caption);
    m_caption->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_caption->setAlignment(Qt::AlignHCenter);
    for (QPushButton *button : {m_copyLink, m_print, m_close})
        button->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject); // Esc does the same
    connect(m_copyLink, &QPushButton::clicked, this, [copyText, link = report.link] { copyText(link); });
    connect(m_print, &QPushButton::clicked, this, [printReport] { printReport(); });

    auto *side = new QVBoxLayout;
    side->addWidget(m_qr, 0, Qt::AlignHCenter);
    side->addWidget(m_caption);
    side->addStretch();
    side->addWidget(m_copyLink);
    side->addWidget(m_print);
    side->addWidget(m_close);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_report, 1);
    layout->addLayout(side);

    // At its first use the report gets more room than the 6000 twips of
    // the information window; later, the size the user gave it.
    m_placement->restore(settings, Section, false, QSize(13500, 9000));
    m_report->setFocus();
}

void CheckWindow::Edit(QSettings &settings, const CheckReport &report, std::function<void(const QString &)> copyText,
                       std::function<void()> printReport)
{
    CheckWindow window(settings, report, std::move(copyText), std::move(printReport));
    window.setWindowModality(Qt::ApplicationModal);
    window.exec();
}

void CheckWindow::done(int result)
{
    writeStoredTexts(m_settings, Section,
                     placementToSave(PlacementKind::InfoWindow, WindowState::Normal, m_placement->outerRect()));
    m_settings.sync();
    QDialog::done(result);
}

} // namespace velkor
