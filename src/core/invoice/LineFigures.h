#pragma once

#include "core/load/InvoiceDocument.h"
#include "core/support/Decimal.h"
#include "core/support/ExactFigure.h"

namespace velkor {

// The children of one FaWiersz that the panes read, found in one pass over
// its children; each is the first of its name, as a selection would give.
// A line of an order (ZamowienieWiersz) is read the same way, each of its
// elements in the place of the invoice line's of the same meaning.
struct LineElements
{
    const xmlNode *line = nullptr; // the FaWiersz itself
    const xmlNode *nrWierszaFa = nullptr;
    const xmlNode *indeks = nullptr, *p8a = nullptr, *p8b = nullptr, *p9a = nullptr, *p9b = nullptr;
    const xmlNode *p11 = nullptr, *p11a = nullptr, *p12 = nullptr, *p12xii = nullptr, *kursWaluty = nullptr;
    const xmlNode *p7 = nullptr, *gtin = nullptr, *gtu = nullptr, *pkwiu = nullptr;
    bool hasStanPrzed = false; // not(n:StanPrzed) fails
    bool beforeState = false;  // some StanPrzed is set (its value is 1)

    LineElements() = default;
    LineElements(const InvoiceDocument &document, const xmlNode *line);
};

// One state of an invoice line as exact figures in the invoice's currency.
struct LineFigures
{
    Decimal quantity;  // P_8B
    ExactFigure price; // net unit price: P_9A, else P_9B over the VAT factor
    ExactFigure value; // net value: P_11, else P_11A over the VAT factor
    Decimal rate;      // KursWaluty; 1 when absent or 0

    bool hasRate() const { return rate != Decimal::fromInt(1); }
    // In PLN at the state's own rate.
    ExactFigure pricePln() const { return price.times(rate); }
    ExactFigure valuePln() const { return value.times(rate); }
};

// The invoice line's element an order line's element stands for ("P_7Z":
// "P_7", "NrWierszaZam": "NrWierszaFa"), and back; any other name is
// returned as it is.
const char *invoiceLineName(const char *orderLineName);
const char *orderLineName(const char *invoiceLineName);
bool isOrderLine(const xmlNode *line);

// Every number is read exactly as written. The VAT factor is 1 + P_12 / 100
// (1 for zw, np, oo, "0 KR" and a missing rate); a line without P_12 takes
// its rate from P_12_XII (the OSS procedure).
LineFigures figuresOf(const LineElements &line);

// The number an element's text starts with, read exactly: in place when the
// element holds a single text.
Decimal numberOf(const xmlNode *element);

} // namespace velkor
