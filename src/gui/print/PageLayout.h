#pragma once

#include "core/print/PrintDocument.h"
#include "gui/print/PrintGeometry.h"

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

class QPaintDevice;

namespace velkor::print {

// What one page shows, placed in the device's units: the renderer paints it
// once the number of pages is known.
struct PageContent
{
    struct Text
    {
        QPointF baseline;
        QString text;
        PrintFont font;
        QRgb colour;
    };
    struct Fill
    {
        QRectF rect;
        QRgb colour;
    };
    std::vector<Fill> fills;
    std::vector<QLineF> lines;
    std::vector<Text> texts;
};

// The pages of a printout and where the last one leaves room for the
// verification code.
struct PageLayoutResult
{
    std::vector<PageContent> pages;
    QRectF codeArea; // on the last page; empty when the document has no link
};

// Lays the document out on pages of the device: flows the sections down
// each page, breaks tables between rows (a row taller than a page between
// its lines) and repeats their header on every page they span.
PageLayoutResult layOutPages(const PrintDocument &document, QPaintDevice &device);

} // namespace velkor::print
