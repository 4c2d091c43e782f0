#pragma once

#include "core/load/XmlErrors.h"

#include <QString>

namespace velkor {

// What libxml2 found wrong with an invoice, as a Polish sentence: the
// element by the path the tree writes, its value, and what the schema
// wants there; for a text that is no well-formed XML, what breaks it and in
// which element.
QString polishReason(const XmlError &error);

// The reason a failed load reports: the Polish sentence, then on a second
// line libxml2's own text, shortened, for support.
QString loadFailureReason(const XmlError &error);

} // namespace velkor
