#include "ReportError.h"

namespace velkor {

namespace {

// Error numbers relative to this base are the application's own.
constexpr std::int64_t ApplicationErrorBase = -2147221504; // -0x7FFC0000

const QString Title = QStringLiteral("Wystąpił błąd");
const QString Paragraph = QStringLiteral("\r\n\r\n");

} // namespace

QString standardErrorText(std::int64_t number)
{
    return QStringLiteral("Błąd zdefiniowany przez aplikację lub obiekt (numer %1).").arg(number);
}

std::optional<Message> errorReportMessage(std::int32_t number, const QString &description,
                                          const QString &procedure)
{
    if (number == 0 || number == -1) {
        if (description.isEmpty())
            return std::nullopt;
        return Message{Title,
                       QStringLiteral("Wystąpił błąd w procedurze: ") + procedure + Paragraph + description,
                       MessageIcon::Critical};
    }
    const std::int64_t relative = std::int64_t(number) - ApplicationErrorBase;
    if (relative > 0 && relative < 65535) {
        const QString text = description.isEmpty() ? standardErrorText(relative) : description;
        return Message{Title,
                       QStringLiteral("Wystąpił błąd ") + QString::number(relative)
                           + QStringLiteral(" w procedurze: ") + procedure + Paragraph + text,
                       MessageIcon::Critical};
    }
    const QString text = description.isEmpty() ? standardErrorText(number) : description;
    return Message{Title, QStringLiteral("Wystąpił błąd w procedurze: ") + procedure + Paragraph + text,
                   MessageIcon::Exclamation};
}

void ReportError(Desktop &desktop, std::int32_t number, const QString &description, const QString &procedure)
{
    if (const std::optional<Message> message = errorReportMessage(number, description, procedure))
        desktop.showMessage(*message);
}

} // namespace velkor
