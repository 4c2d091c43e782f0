#include "WindowStyle.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QPushButton>

namespace velkor {

namespace {

// The first installed family of `families`, else the fallback's, in the given size.
QFont fontOrFallback(const QStringList &families, double pointSize, const QFont &fallback)
{
    const QStringList installed = QFontDatabase::families();
    QFont font = fallback;
    for (const QString &family : families) {
        if (installed.contains(family)) {
            font = QFont(family);
            break;
        }
    }
    font.setPointSizeF(pointSize);
    font.setBold(false); // stated explicitly, so children do not inherit a frame's bold
    return font;
}

} // namespace

QFont dialogFont()
{
    return fontOrFallback({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                           QStringLiteral("Liberation Sans"), QStringLiteral("Arial")},
                          8.25, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

QFont monospaceFont()
{
    return fontOrFallback({QStringLiteral("Consolas")}, 9.75, QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

QGroupBox *paneFrame(QWidget *parent, const char *name, const QString &title, bool visible)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    QFont font = dialogFont();
    font.setBold(true);
    box->setFont(font);
    box->setVisible(visible);
    return box;
}

QPushButton *commandButton(QWidget *parent, int index, const QString &caption, const QString &tooltip)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QStringLiteral("Command%1").arg(index));
    button->setToolTip(tooltip);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    button->setFont(dialogFont());
    return button;
}

} // namespace velkor
