#pragma once

#include "core/print/PrintDocument.h"

class QPagedPaintDevice;

namespace velkor::print {

// Prints the document on the device (a printer or a PDF file): lays it out
// for the device's page, then paints pages `fromPage` to `toPage` (counted
// from 1; 0 for all). Returns false when the device cannot be painted on.
bool renderDocument(const PrintDocument &document, QPagedPaintDevice &device, int fromPage = 0, int toPage = 0);

} // namespace velkor::print
