#pragma once

#include "core/check/CheckReport.h"
#include "core/load/InvoiceDocument.h"

#include <vector>

namespace velkor {

// The file as the national system sees it: UTF-8 without a byte-order
// mark, no processing instructions, none of the characters it refuses
// (U+007F-U+0084, U+0086-U+009F, U+FDD0-U+FDEF, U+nFFFE-U+nFFFF) and at most
// 1,000,000 bytes, or 3,000,000 with an attachment. For a pasted invoice the
// rules apply to its text encoded as UTF-8, and a note says so.
std::vector<Finding> checkFileRules(const InvoiceDocument &document);

// Whether the national system refuses a character in an invoice.
bool isRefusedCharacter(char32_t codePoint);

} // namespace velkor
