#include "PrintGeometry.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPaintDevice>

namespace velkor::print {

namespace {

// Millimetres of the sheet.
constexpr double SideMargin = 14, TopMargin = 12, FooterHeight = 8, BottomMargin = 8;

} // namespace

PageGeometry::PageGeometry(const QPaintDevice &device) : m_unitsPerPoint(device.logicalDpiY() / 72.0)
{
    const double width = device.width(), height = device.height();
    const double side = millimetres(SideMargin);
    const double footerTop = height - millimetres(BottomMargin + FooterHeight);
    m_content = QRectF(side, millimetres(TopMargin), width - 2 * side, footerTop - millimetres(TopMargin));
    m_footer = QRectF(side, footerTop, width - 2 * side, millimetres(FooterHeight));
}

QString PrintFonts::family()
{
    static const QString loaded = [] {
        // Beside the program (a copy for Windows), else where Debian's
        // fonts-dejavu-core puts it.
        const QStringList folders{QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"),
                                  QStringLiteral("/usr/share/fonts/truetype/dejavu")};
        QString family;
        for (const QString &folder : folders) {
            const int regular = QFontDatabase::addApplicationFont(folder + QStringLiteral("/DejaVuSans.ttf"));
            if (regular < 0)
                continue;
            QFontDatabase::addApplicationFont(folder + QStringLiteral("/DejaVuSans-Bold.ttf"));
            family = QFontDatabase::applicationFontFamilies(regular).value(0);
            break;
        }
        if (family.isEmpty()) {
            const QStringList installed = QFontDatabase::families();
            for (const QString &candidate : {QStringLiteral("DejaVu Sans"), QStringLiteral("Arial"),
                                             QStringLiteral("Liberation Sans")}) {
                if (installed.contains(candidate))
                    return candidate;
            }
        }
        return family;
    }();
    return loaded;
}

PrintFonts::PrintFonts(QPaintDevice &device)
{
    const auto make = [&](PrintFont font, double points, bool bold) {
        QFont f(family());
        f.setPointSizeF(points);
        f.setBold(bold);
        // No ligatures: "fi" drawn as one glyph reads back from the PDF as
        // "ﬁ", which no search for the word finds.
        f.setStyleStrategy(QFont::PreferNoShaping);
        // Kerning and hinting follow the device, so measuring and painting agree.
        m_fonts[std::size_t(font)] = QFont(f, &device);
    };
    make(PrintFont::Body, 8, false);
    make(PrintFont::Bold, 8, true);
    make(PrintFont::Small, 7, false);
    make(PrintFont::SmallBold, 7, true);
    make(PrintFont::Title, 16, true);
    make(PrintFont::Number, 11, true);
    make(PrintFont::SectionTitle, 10, true);
}

} // namespace velkor::print
