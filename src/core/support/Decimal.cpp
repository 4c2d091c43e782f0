#include "Decimal.h"

#include "core/support/Failure.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>
#include <string>

namespace velkor {

namespace {

using Integer = Decimal::Integer;

// 10^77 is the largest power of ten below 2^256.
constexpr int LargestPowerOfTen = 77;
// Products of read values have at most twice the decimals a value is read
// with; more than that only comes from chains nothing in the program builds.
constexpr int MaxScale = 3 * Decimal::MaxDecimals;

[[noreturn]] void overflow()
{
    // 6 is the classic run-time error number of an arithmetic overflow.
    throw Failure(6, QStringLiteral("Przepełnienie: liczba w fakturze jest zbyt duża."));
}

// Runs `operation`, turning the checked integer's overflow into a Failure.
template <typename Operation>
auto checked(Operation operation) -> decltype(operation())
{
    try {
        return operation();
    } catch (const std::overflow_error &) {
        overflow();
    } catch (const std::range_error &) {
        overflow();
    }
}

const Integer &powerOfTen(int exponent)
{
    static const std::array<Integer, LargestPowerOfTen + 1> powers = [] {
        std::array<Integer, LargestPowerOfTen + 1> table;
        table[0] = 1;
        for (std::size_t i = 1; i < table.size(); ++i)
            table[i] = table[i - 1] * 10;
        return table;
    }();
    if (exponent < 0 || exponent > LargestPowerOfTen)
        overflow();
    return powers[std::size_t(exponent)];
}

// value / divisor rounded to a whole number; divisor > 0.
Integer roundQuotient(const Integer &value, const Integer &divisor, Rounding rounding)
{
    Integer quotient, remainder;
    divide_qr(value, divisor, quotient, remainder); // truncates toward zero
    if (remainder.is_zero())
        return quotient;
    const Integer twiceRemainder = abs(remainder) * 2;
    const int half = twiceRemainder.compare(divisor);
    const bool odd = bit_test(abs(quotient), 0);
    if (half > 0 || (half == 0 && (rounding == Rounding::HalfAwayFromZero || odd)))
        quotient += value.sign() < 0 ? -1 : 1;
    return quotient;
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Collects decimal digits into a 256-bit integer, eighteen at a time in a
// machine word: most numbers never leave it.
class DigitAccumulator
{
public:
    void push(int digit)
    {
        m_chunk = m_chunk * 10 + std::uint64_t(digit);
        if (++m_chunkDigits == 18)
            flush();
    }

    Integer take()
    {
        flush();
        return m_value;
    }

private:
    void flush()
    {
        if (m_chunkDigits == 0)
            return;
        if (m_value.is_zero())
            m_value = m_chunk;
        else
            m_value = m_value * powerOfTen(m_chunkDigits) + m_chunk;
        m_chunk = 0;
        m_chunkDigits = 0;
    }

    Integer m_value;
    std::uint64_t m_chunk = 0;
    int m_chunkDigits = 0;
};

// The leading numeric part of a text: blanks, a sign, digits, the separator
// and more digits. `at(i)` gives the i-th character, `startsWithSeparator(i)`
// says whether the separator begins there.
template <typename At, typename StartsWithSeparator>
void readLeadingNumber(qsizetype n, At at, StartsWithSeparator startsWithSeparator, qsizetype separatorLength,
                          Integer &value, int &decimals)
{
    qsizetype i = 0;
    while (i < n && isBlank(at(i)))
        ++i;
    bool negative = false;
    if (i < n && (at(i) == u'-' || at(i) == u'+')) {
        negative = at(i) == u'-';
        ++i;
    }
    DigitAccumulator digits;
    for (; i < n && isDigit(at(i)); ++i)
        digits.push(at(i) - u'0');

    // Decimals beyond MaxDecimals are rounded away, halves to even.
    decimals = 0;
    int roundingDigit = -1;
    bool stickyDigits = false;
    if (separatorLength > 0 && startsWithSeparator(i)) {
        for (i += separatorLength; i < n && isDigit(at(i)); ++i) {
            const int digit = at(i) - u'0';
            if (decimals < Decimal::MaxDecimals) {
                digits.push(digit);
                ++decimals;
            } else if (roundingDigit < 0) {
                roundingDigit = digit;
            } else if (digit != 0) {
                stickyDigits = true;
            }
        }
    }
    value = digits.take();
    if (roundingDigit > 5 || (roundingDigit == 5 && (stickyDigits || bit_test(value, 0))))
        value += 1;
    if (negative)
        value = -value;
}

// Unsigned decimal digits of a magnitude, most significant first.
std::string digitsOf(const Integer &magnitude)
{
    if (magnitude <= std::numeric_limits<std::uint64_t>::max()) {
        char buffer[24];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude.convert_to<std::uint64_t>()).ptr;
        return std::string(buffer, end);
    }
    return magnitude.str();
}

} // namespace

Decimal Decimal::fromInt(std::int64_t value)
{
    return Decimal(Integer(value), 0);
}

Decimal Decimal::fromScaled(std::int64_t unscaled, int decimals)
{
    return Decimal(Integer(unscaled), std::clamp(decimals, 0, MaxDecimals));
}

Decimal Decimal::read(QStringView text, QStringView separator)
{
    Integer value;
    int decimals = 0;
    checked([&] {
        return readLeadingNumber(
            text.size(), [&text](qsizetype i) { return text[i].unicode(); },
            [&](qsizetype i) { return text.mid(i).startsWith(separator); }, separator.size(), value, decimals);
    });
    return Decimal(std::move(value), decimals);
}

Decimal Decimal::readUtf8(QByteArrayView text)
{
    Integer value;
    int decimals = 0;
    // Bytes above 0x7F are never digits, blanks, signs or the separator, so
    // reading UTF-8 byte by byte finds the same number.
    checked([&] {
        return readLeadingNumber(
            text.size(), [&text](qsizetype i) { return char16_t(static_cast<unsigned char>(text[i])); },
            [&text](qsizetype i) { return i < text.size() && text[i] == '.'; }, 1, value, decimals);
    });
    return Decimal(std::move(value), decimals);
}

Decimal Decimal::withDecimals(int decimals) const
{
    if (decimals <= m_decimals)
        return *this;
    return checked([&] { return Decimal(m_value * powerOfTen(decimals - m_decimals), decimals); });
}

Decimal Decimal::operator-() const
{
    return Decimal(-m_value, m_decimals);
}

Decimal Decimal::operator+(const Decimal &other) const
{
    if (m_decimals == other.m_decimals)
        return checked([&] { return Decimal(m_value + other.m_value, m_decimals); });
    const int decimals = std::max(m_decimals, other.m_decimals);
    return checked([&] { return Decimal(withDecimals(decimals).m_value + other.withDecimals(decimals).m_value, decimals); });
}

Decimal Decimal::operator-(const Decimal &other) const
{
    return *this + (-other);
}

Decimal Decimal::operator*(const Decimal &other) const
{
    const int decimals = m_decimals + other.m_decimals;
    if (decimals > MaxScale)
        overflow();
    return checked([&] { return Decimal(m_value * other.m_value, decimals); });
}

Decimal Decimal::dividedBy(const Decimal &divisor, int decimals, Rounding rounding) const
{
    if (divisor.isZero())
        throw Failure(11, QStringLiteral("Dzielenie przez zero."));
    decimals = std::clamp(decimals, 0, MaxDecimals);
    return checked([&] {
        // this / divisor * 10^decimals = A * 10^(s + decimals - p) / B
        const int exponent = divisor.m_decimals + decimals - m_decimals;
        Integer numerator = m_value;
        Integer denominator = divisor.m_value;
        if (exponent >= 0)
            numerator *= powerOfTen(exponent);
        else
            denominator *= powerOfTen(-exponent);
        if (denominator.sign() < 0) {
            numerator = -numerator;
            denominator = -denominator;
        }
        return Decimal(roundQuotient(numerator, denominator, rounding), decimals);
    });
}

Decimal Decimal::rounded(int decimals, Rounding rounding) const
{
    decimals = std::max(decimals, 0);
    if (decimals >= m_decimals)
        return *this;
    return checked([&] { return Decimal(roundQuotient(m_value, powerOfTen(m_decimals - decimals), rounding), decimals); });
}

QString Decimal::format(int decimals, QStringView separator) const
{
    QString text;
    appendFormatted(text, decimals, separator);
    return text;
}

void Decimal::appendFormatted(QString &out, int decimals, QStringView separator) const
{
    decimals = std::clamp(decimals, 0, MaxDecimals);
    const Decimal value = rounded(decimals, Rounding::HalfAwayFromZero).withDecimals(decimals);
    std::string digits = digitsOf(abs(value.m_value));
    if (int(digits.size()) <= decimals) // at least one integer digit
        digits.insert(0, std::size_t(decimals + 1) - digits.size(), '0');
    if (value.isNegative())
        out += u'-';
    const std::size_t integerDigits = digits.size() - std::size_t(decimals);
    out += QLatin1StringView(digits.data(), qsizetype(integerDigits));
    if (decimals > 0) {
        out += separator;
        out += QLatin1StringView(digits.data() + integerDigits, decimals);
    }
}

QString Decimal::wholeText() const
{
    const Decimal value = rounded(0, Rounding::HalfEven);
    QString text = value.isNegative() ? QStringLiteral("-") : QString();
    text += QString::fromStdString(digitsOf(abs(value.m_value)));
    return text;
}

int Decimal::compare(const Decimal &other) const
{
    if (m_decimals == other.m_decimals)
        return m_value.compare(other.m_value);
    const int decimals = std::max(m_decimals, other.m_decimals);
    return withDecimals(decimals).m_value.compare(other.withDecimals(decimals).m_value);
}

std::int32_t Decimal::toInt32(std::int32_t fallback) const
{
    const Integer value = rounded(0, Rounding::HalfEven).m_value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return value.convert_to<std::int32_t>();
}

} // namespace velkor
