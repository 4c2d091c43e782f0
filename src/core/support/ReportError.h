#pragma once

#include "core/support/Desktop.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace velkor {

// The message box of an unexpected failure, or nothing when there is nothing
// to say (number 0 or -1 without a description).
std::optional<Message> errorReportMessage(std::int32_t number, const QString &description,
                                          const QString &procedure);

// Shows the report of an unexpected failure trapped by `procedure`. Never
// ends the program and changes no window state.
void ReportError(Desktop &desktop, std::int32_t number, const QString &description, const QString &procedure);

// The fixed text shown for an error number when its description is empty.
QString standardErrorText(std::int64_t number);

} // namespace velkor
