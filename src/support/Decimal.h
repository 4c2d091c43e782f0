#pragma once

#include <QString>
#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <cstdint>

namespace velkor {

enum class Rounding { HalfEven, HalfAwayFromZero };

// An exact decimal number: a signed integer of up to 256 bits and a count of
// decimal places. Invoice values are read into four decimal places; sums,
// differences and products stay exact, and rounding happens only where a rule
// asks for it. 256 bits hold every product of two values the FA(3) schema
// admits (22 digits each, with their decimals); anything larger throws a
// Failure instead of wrapping around.
class Decimal
{
public:
    static constexpr int ReadDecimals = 4;
    static constexpr int MaxDecimals = 24;

    Decimal() = default;
    static Decimal fromInt(std::int64_t value);

    // Reads the leading numeric part of text: blanks, an optional sign,
    // digits, optionally the separator and more digits. Reading stops at the
    // first character that cannot continue the number; text without a leading
    // number reads as 0. The result is rounded to `decimals` decimals (four
    // unless asked otherwise), halves to even.
    static Decimal read(QStringView text, QStringView separator = u".", int decimals = ReadDecimals);
    // The same for UTF-8 text with "." as the separator, read in place.
    static Decimal readUtf8(QByteArrayView text, int decimals = ReadDecimals);

    bool isZero() const;
    bool isNegative() const { return m_negative; }
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
    // rounds to zero is written without a sign.
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

    struct Magnitude
    {
        std::array<std::uint32_t, 8> limbs{}; // least significant first
    };

private:
    Decimal(bool negative, Magnitude magnitude, int decimals);
    Decimal withDecimals(int decimals) const; // exact rescaling to more decimals

    bool m_negative = false;
    Magnitude m_magnitude;
    int m_decimals = 0;
};

// The number rounded to two decimals, halves away from zero: an amount in
// grosze, as the pattern "#0.00" shows it.
inline Decimal RoundAmount(const Decimal &number)
{
    return number.rounded(2, Rounding::HalfAwayFromZero);
}

} // namespace velkor
