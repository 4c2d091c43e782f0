#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <boost/multiprecision/cpp_int.hpp>

#include <cstdint>

namespace velkor {

enum class Rounding { HalfEven, HalfAwayFromZero };

// An exact decimal number: a signed integer of up to 256 bits and a count of
// decimal places. Invoice values are read exactly as written; sums,
// differences and products stay exact, and rounding happens only where a
// figure is shown or a rule asks for it. 256 bits hold every product of two
// values the FA(3) schema admits (22 digits each, with their decimals);
// anything larger throws a Failure (number 6) instead of wrapping around.
class Decimal
{
public:
    // No value of the schema has as many decimals; a text with more is read
    // rounded to this many, halves to even.
    static constexpr int MaxDecimals = 24;

    Decimal() = default;
    static Decimal fromInt(std::int64_t value);
    // unscaled / 10^decimals: fromScaled(1, 2) is 0.01.
    static Decimal fromScaled(std::int64_t unscaled, int decimals);

    // Reads the leading numeric part of text: blanks, an optional sign,
    // digits, optionally the separator and more digits. Reading stops at the
    // first character that cannot continue the number; text without a leading
    // number reads as 0. Every decimal written is kept.
    static Decimal read(QStringView text, QStringView separator = u".");
    // The same for UTF-8 text with "." as the separator, read in place.
    static Decimal readUtf8(QByteArrayView text);

    bool isZero() const { return m_value.is_zero(); }
    bool isNegative() const { return m_value.sign() < 0; }
    int decimals() const { return m_decimals; }

    Decimal operator-() const;
    Decimal operator+(const Decimal &other) const;
    Decimal operator-(const Decimal &other) const;
    Decimal operator*(const Decimal &other) const;

    // The quotient rounded to the given number of decimals. Division by zero
    // throws a Failure.
    Decimal dividedBy(const Decimal &divisor, int decimals, Rounding rounding) const;
    Decimal rounded(int decimals, Rounding rounding) const;

    // Fixed-point text with exactly `decimals` decimals, halves away from
    // zero, no digit grouping, a leading "-" for negative values. A value that
    // rounds to zero is written without a sign: a spreadsheet or a booking
    // takes "-0,00" for a figure that differs from "0,00".
    QString format(int decimals, QStringView separator) const;
    // The same, appended to `out`.
    void appendFormatted(QString &out, int decimals, QStringView separator) const;
    // The value rounded to a whole number (halves to even) in decimal.
    QString wholeText() const;

    int compare(const Decimal &other) const;
    bool operator==(const Decimal &other) const { return compare(other) == 0; }
    bool operator!=(const Decimal &other) const { return compare(other) != 0; }
    bool operator<(const Decimal &other) const { return compare(other) < 0; }
    bool operator>(const Decimal &other) const { return compare(other) > 0; }

    // Integer value if it fits into 32 bits after rounding half to even;
    // otherwise `fallback`.
    std::int32_t toInt32(std::int32_t fallback) const;

    // Overflow-checked: arithmetic beyond 256 bits throws instead of wrapping.
    using Integer = boost::multiprecision::checked_int256_t;

private:
    Decimal(Integer value, int decimals) : m_value(std::move(value)), m_decimals(decimals) {}
    Decimal withDecimals(int decimals) const; // exact rescaling to more decimals

    Integer m_value; // the number times 10^m_decimals
    int m_decimals = 0;
};

} // namespace velkor
