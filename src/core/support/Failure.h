#pragma once

#include <QString>

#include <cstdint>
#include <exception>

namespace velkor {

// An unexpected failure inside a procedure that reports its own errors (the
// loader, the pane fills, the table copy). It carries a signed 32-bit number
// and the description the failing component gave:
//  - 0 with a description for failures this program detects itself;
//  - the error code of libxml2 (a positive number) for failures libxml2
//    reports, with its message as the description.
// Failures are thrown inside a procedure and caught at its boundary, where
// they become one error report; they never cross that boundary.
class Failure : public std::exception
{
public:
    Failure(std::int32_t number, QString description)
        : m_number(number), m_description(std::move(description)) {}

    explicit Failure(QString description) : Failure(0, std::move(description)) {}

    std::int32_t number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return "velkor::Failure"; }

private:
    std::int32_t m_number;
    QString m_description;
};

// Converts whatever a procedure caught into a Failure, so that out-of-memory
// and other library exceptions are reported the same way.
Failure failureFromCurrentException();

} // namespace velkor
