#pragma once

#include <QByteArray>

namespace velkor::bench {

// A schema-valid FA(3) invoice with `lines` after-state lines, every tenth of
// them corrected by a before-state line, additional descriptions for some
// lines and a full header with payment data. The same arguments always give
// the same bytes.
QByteArray generateInvoice(int lines);

} // namespace velkor::bench
