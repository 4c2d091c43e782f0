#include "InvoiceRenderer.h"

#include "core/check/QrCode.h"
#include "gui/print/PageLayout.h"
#include "gui/widgets/QrImage.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace velkor::print {

namespace {

// Pixels a module of the QR code in its image: the image is scaled to the
// code's place, and a large one keeps its edges sharp however it is scaled.
constexpr int QrModulePixels = 8;
constexpr QRgb RuleColour = 0xffb4b4b4;

} // namespace

bool renderDocument(const PrintDocument &document, QPagedPaintDevice &device, int fromPage, int toPage)
{
    const PageLayoutResult layout = layOutPages(document, device);
    const PrintFonts fonts(device);
    const PageGeometry geometry(device);
    const int count = int(layout.pages.size());
    const int first = fromPage > 0 ? std::min(fromPage, count) : 1;
    const int last = toPage > 0 ? std::min(toPage, count) : count;

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QPen rule{QColor(RuleColour)};
    rule.setWidthF(geometry.points(0.5));
    for (int n = first; n <= last; ++n) {
        if (n > first)
            device.newPage();
        const PageContent &page = layout.pages[std::size_t(n - 1)];
        for (const PageContent::Fill &fill : page.fills)
            painter.fillRect(fill.rect, QColor(fill.colour));
        painter.setPen(rule);
        for (const QLineF &line : page.lines)
            painter.drawLine(line);
        // Fonts and colours change seldom between texts: set only on a change.
        int font = -1;
        QRgb colour = 0;
        for (const PageContent::Text &text : page.texts) {
            if (int(text.font) != font) {
                font = int(text.font);
                painter.setFont(fonts[text.font]);
            }
            if (text.colour != colour) {
                colour = text.colour;
                painter.setPen(QColor(colour));
            }
            painter.drawText(text.baseline, text.text);
        }
        if (n == count && !layout.codeArea.isEmpty()) {
            const QImage code = qrImage(QrCode::encode(document.link), QrModulePixels);
            painter.drawImage(layout.codeArea, code.convertToFormat(QImage::Format_Mono));
        }
    }
    return painter.end();
}

} // namespace velkor::print
