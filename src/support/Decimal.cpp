#include "Decimal.h"

#include "Failure.h"

#include <algorithm>
#include <vector>

namespace velkor {

namespace {

using Magnitude = Decimal::Magnitude;
constexpr int LimbCount = 8;

[[noreturn]] void overflow()
{
    // 6 is the classic run-time error number of an arithmetic overflow.
    throw Failure(6, QStringLiteral("Przepełnienie: liczba w fakturze jest zbyt duża."));
}

bool isZero(const Magnitude &m)
{
    return std::all_of(m.limbs.begin(), m.limbs.end(), [](std::uint32_t limb) { return limb == 0; });
}

int compareMagnitudes(const Magnitude &a, const Magnitude &b)
{
    for (int i = LimbCount - 1; i >= 0; --i) {
        if (a.limbs[i] != b.limbs[i])
            return a.limbs[i] < b.limbs[i] ? -1 : 1;
    }
    return 0;
}

Magnitude add(const Magnitude &a, const Magnitude &b)
{
    Magnitude sum;
    std::uint64_t carry = 0;
    for (int i = 0; i < LimbCount; ++i) {
        const std::uint64_t s = std::uint64_t(a.limbs[i]) + b.limbs[i] + carry;
        sum.limbs[i] = std::uint32_t(s);
        carry = s >> 32;
    }
    if (carry)
        overflow();
    return sum;
}

// a - b modulo 2^256; callers ensure a >= b unless they rely on the wrap.
Magnitude subtract(const Magnitude &a, const Magnitude &b)
{
    Magnitude difference;
    std::int64_t borrow = 0;
    for (int i = 0; i < LimbCount; ++i) {
        std::int64_t d = std::int64_t(a.limbs[i]) - b.limbs[i] - borrow;
        borrow = d < 0 ? 1 : 0;
        if (d < 0)
            d += std::int64_t(1) << 32;
        difference.limbs[i] = std::uint32_t(d);
    }
    return difference;
}

Magnitude multiplySmall(const Magnitude &a, std::uint32_t factor, std::uint32_t addend = 0)
{
    Magnitude product;
    std::uint64_t carry = addend;
    for (int i = 0; i < LimbCount; ++i) {
        const std::uint64_t p = std::uint64_t(a.limbs[i]) * factor + carry;
        product.limbs[i] = std::uint32_t(p);
        carry = p >> 32;
    }
    if (carry)
        overflow();
    return product;
}

Magnitude multiply(const Magnitude &a, const Magnitude &b)
{
    std::array<std::uint32_t, 2 * LimbCount> wide{};
    for (int i = 0; i < LimbCount; ++i) {
        if (a.limbs[i] == 0)
            continue;
        std::uint64_t carry = 0;
        for (int j = 0; j < LimbCount; ++j) {
            const std::uint64_t t = std::uint64_t(a.limbs[i]) * b.limbs[j] + wide[i + j] + carry;
            wide[i + j] = std::uint32_t(t);
            carry = t >> 32;
        }
        wide[i + LimbCount] = std::uint32_t(carry);
    }
    for (int i = LimbCount; i < 2 * LimbCount; ++i) {
        if (wide[i])
            overflow();
    }
    Magnitude product;
    std::copy(wide.begin(), wide.begin() + LimbCount, product.limbs.begin());
    return product;
}

Magnitude divideSmall(const Magnitude &a, std::uint32_t divisor, std::uint32_t &remainder)
{
    Magnitude quotient;
    std::uint64_t rest = 0;
    for (int i = LimbCount - 1; i >= 0; --i) {
        const std::uint64_t current = (rest << 32) | a.limbs[i];
        quotient.limbs[i] = std::uint32_t(current / divisor);
        rest = current % divisor;
    }
    remainder = std::uint32_t(rest);
    return quotient;
}

bool fitsInOneLimb(const Magnitude &m)
{
    return std::all_of(m.limbs.begin() + 1, m.limbs.end(), [](std::uint32_t limb) { return limb == 0; });
}

void divide(const Magnitude &a, const Magnitude &b, Magnitude &quotient, Magnitude &remainder)
{
    if (fitsInOneLimb(b)) {
        std::uint32_t rest = 0;
        quotient = divideSmall(a, b.limbs[0], rest);
        remainder = Magnitude();
        remainder.limbs[0] = rest;
        return;
    }
    quotient = Magnitude();
    remainder = Magnitude();
    for (int bit = LimbCount * 32 - 1; bit >= 0; --bit) {
        // remainder = remainder * 2 + next bit of a; the bit shifted out on the
        // left means the true remainder exceeds b, and the wrapping subtraction
        // below still yields the right result.
        const bool carry = remainder.limbs[LimbCount - 1] >> 31;
        for (int i = LimbCount - 1; i > 0; --i)
            remainder.limbs[i] = (remainder.limbs[i] << 1) | (remainder.limbs[i - 1] >> 31);
        remainder.limbs[0] = (remainder.limbs[0] << 1) | ((a.limbs[bit / 32] >> (bit % 32)) & 1u);
        if (carry || compareMagnitudes(remainder, b) >= 0) {
            remainder = subtract(remainder, b);
            quotient.limbs[bit / 32] |= 1u << (bit % 32);
        }
    }
}

// 10^0 to 10^77 (the largest below 2^256), computed once.
const Magnitude &powerOfTen(int exponent)
{
    static const std::vector<Magnitude> powers = [] {
        std::vector<Magnitude> table(78);
        table[0].limbs[0] = 1;
        for (std::size_t i = 1; i < table.size(); ++i)
            table[i] = multiplySmall(table[i - 1], 10);
        return table;
    }();
    if (exponent < 0 || std::size_t(exponent) >= powers.size())
        overflow();
    return powers[std::size_t(exponent)];
}

// The decimal digits of a magnitude, most significant first, into `buffer`
// (room for 78 digits); returns how many were written.
int digitsOf(Magnitude m, char16_t *buffer)
{
    char16_t reversed[80];
    int count = 0;
    do {
        std::uint32_t chunk = 0;
        m = divideSmall(m, 1000000000u, chunk);
        for (int i = 0; i < 9; ++i) {
            reversed[count++] = char16_t(u'0' + chunk % 10);
            chunk /= 10;
            if (isZero(m) && chunk == 0)
                break;
        }
    } while (!isZero(m));
    for (int i = 0; i < count; ++i)
        buffer[i] = reversed[count - 1 - i];
    return count;
}

// Rounds magnitude / divisor to a whole number; `negative` matters only for
// the direction of halves, which is symmetric for both modes here.
Magnitude roundQuotient(const Magnitude &numerator, const Magnitude &divisor, Rounding rounding)
{
    Magnitude quotient, remainder;
    divide(numerator, divisor, quotient, remainder);
    if (isZero(remainder))
        return quotient;
    const int half = compareMagnitudes(remainder, subtract(divisor, remainder));
    const bool odd = quotient.limbs[0] & 1u;
    const bool up = half > 0 || (half == 0 && (rounding == Rounding::HalfAwayFromZero || odd));
    if (up) {
        Magnitude one;
        one.limbs[0] = 1;
        quotient = add(quotient, one);
    }
    return quotient;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

int digitValue(QChar c)
{
    return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : -1;
}

// The leading numeric part of a text: blanks, a sign, digits, the separator
// and more digits, rounded to `decimalsWanted` decimals halves to even.
// `at(i)` gives the i-th character, `startsWithSeparator(i)` says whether the
// separator begins there.
template <typename At, typename StartsWithSeparator>
void readLeadingNumber(qsizetype n, At at, StartsWithSeparator startsWithSeparator, qsizetype separatorLength,
                       int decimalsWanted, bool &negative, Magnitude &m)
{
    qsizetype i = 0;
    while (i < n && isBlank(at(i)))
        ++i;
    if (i < n && (at(i) == u'-' || at(i) == u'+')) {
        negative = at(i) == u'-';
        ++i;
    }
    for (; i < n && digitValue(at(i)) >= 0; ++i)
        m = multiplySmall(m, 10, std::uint32_t(digitValue(at(i))));

    int decimals = 0;
    int roundingDigit = 0;
    bool stickyDigits = false;
    if (separatorLength > 0 && startsWithSeparator(i)) {
        i += separatorLength;
        for (; i < n && digitValue(at(i)) >= 0; ++i) {
            const int digit = digitValue(at(i));
            if (decimals < decimalsWanted) {
                m = multiplySmall(m, 10, std::uint32_t(digit));
                ++decimals;
            } else if (decimals == decimalsWanted) {
                roundingDigit = digit;
                ++decimals;
            } else if (digit != 0) {
                stickyDigits = true;
            }
        }
    }
    for (int d = std::min(decimals, decimalsWanted); d < decimalsWanted; ++d)
        m = multiplySmall(m, 10);

    const bool odd = m.limbs[0] & 1u;
    if (roundingDigit > 5 || (roundingDigit == 5 && (stickyDigits || odd)))
        m = multiplySmall(m, 1, 1);
}


} // namespace

Decimal::Decimal(bool negative, Magnitude magnitude, int decimals)
    : m_negative(negative && !velkor::isZero(magnitude)), m_magnitude(magnitude), m_decimals(decimals)
{
}

Decimal Decimal::fromInt(std::int64_t value)
{
    Magnitude m;
    const std::uint64_t absolute = value < 0 ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
    m.limbs[0] = std::uint32_t(absolute);
    m.limbs[1] = std::uint32_t(absolute >> 32);
    return Decimal(value < 0, m, 0);
}

Decimal Decimal::read(QStringView text, QStringView separator, int decimalsWanted)
{
    decimalsWanted = std::clamp(decimalsWanted, 0, MaxDecimals);
    bool negative = false;
    Magnitude m;
    readLeadingNumber(
        text.size(), [&text](qsizetype i) { return text[i]; },
        [&](qsizetype i) { return text.mid(i).startsWith(separator); }, separator.size(), decimalsWanted, negative, m);
    return Decimal(negative, m, decimalsWanted);
}

Decimal Decimal::readUtf8(QByteArrayView text, int decimalsWanted)
{
    decimalsWanted = std::clamp(decimalsWanted, 0, MaxDecimals);
    bool negative = false;
    Magnitude m;
    // Bytes above 0x7F are never digits, blanks, signs or the separator, so
    // reading UTF-8 byte by byte finds the same number.
    readLeadingNumber(
        text.size(), [&text](qsizetype i) { return QChar(char16_t(static_cast<unsigned char>(text[i]))); },
        [&text](qsizetype i) { return i < text.size() && text[i] == '.'; }, 1, decimalsWanted, negative, m);
    return Decimal(negative, m, decimalsWanted);
}

bool Decimal::isZero() const
{
    return velkor::isZero(m_magnitude);
}

Decimal Decimal::withDecimals(int decimals) const
{
    if (decimals <= m_decimals)
        return *this;
    return Decimal(m_negative, multiply(m_magnitude, powerOfTen(decimals - m_decimals)), decimals);
}

Decimal Decimal::operator-() const
{
    return Decimal(!m_negative, m_magnitude, m_decimals);
}

Decimal Decimal::operator+(const Decimal &other) const
{
    const int decimals = std::max(m_decimals, other.m_decimals);
    const Decimal a = withDecimals(decimals);
    const Decimal b = other.withDecimals(decimals);
    if (a.m_negative == b.m_negative)
        return Decimal(a.m_negative, add(a.m_magnitude, b.m_magnitude), decimals);
    if (compareMagnitudes(a.m_magnitude, b.m_magnitude) >= 0)
        return Decimal(a.m_negative, subtract(a.m_magnitude, b.m_magnitude), decimals);
    return Decimal(b.m_negative, subtract(b.m_magnitude, a.m_magnitude), decimals);
}

Decimal Decimal::operator-(const Decimal &other) const
{
    return *this + (-other);
}

Decimal Decimal::operator*(const Decimal &other) const
{
    const int decimals = m_decimals + other.m_decimals;
    if (decimals > 3 * MaxDecimals)
        overflow();
    return Decimal(m_negative != other.m_negative, multiply(m_magnitude, other.m_magnitude), decimals);
}

Decimal Decimal::dividedBy(const Decimal &divisor, int decimals, Rounding rounding) const
{
    if (divisor.isZero())
        throw Failure(11, QStringLiteral("Dzielenie przez zero."));
    decimals = std::clamp(decimals, 0, MaxDecimals);
    // this / divisor * 10^decimals = A * 10^(s + decimals - p) / B
    const int exponent = divisor.m_decimals + decimals - m_decimals;
    Magnitude numerator = m_magnitude;
    Magnitude denominator = divisor.m_magnitude;
    if (exponent >= 0)
        numerator = multiply(numerator, powerOfTen(exponent));
    else
        denominator = multiply(denominator, powerOfTen(-exponent));
    return Decimal(m_negative != divisor.m_negative, roundQuotient(numerator, denominator, rounding), decimals);
}

Decimal Decimal::rounded(int decimals, Rounding rounding) const
{
    decimals = std::max(decimals, 0);
    if (decimals >= m_decimals)
        return *this;
    return Decimal(m_negative,
                   roundQuotient(m_magnitude, powerOfTen(m_decimals - decimals), rounding), decimals);
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
    char16_t digits[80];
    int count = digitsOf(value.m_magnitude, digits);
    if (count <= decimals) { // at least one integer digit
        const int missing = decimals + 1 - count;
        std::copy_backward(digits, digits + count, digits + count + missing);
        std::fill(digits, digits + missing, u'0');
        count += missing;
    }
    if (value.m_negative)
        out += u'-';
    out += QStringView(digits, count - decimals);
    if (decimals > 0) {
        out += separator;
        out += QStringView(digits + count - decimals, decimals);
    }
}

QString Decimal::wholeText() const
{
    const Decimal value = rounded(0, Rounding::HalfEven);
    char16_t digits[80];
    const int count = digitsOf(value.m_magnitude, digits);
    QString text;
    if (value.m_negative)
        text += u'-';
    text += QStringView(digits, count);
    return text;
}

int Decimal::compare(const Decimal &other) const
{
    if (m_negative != other.m_negative)
        return m_negative ? -1 : 1;
    const int decimals = std::max(m_decimals, other.m_decimals);
    const int byMagnitude =
        compareMagnitudes(withDecimals(decimals).m_magnitude, other.withDecimals(decimals).m_magnitude);
    return m_negative ? -byMagnitude : byMagnitude;
}

std::int32_t Decimal::toInt32(std::int32_t fallback) const
{
    const Decimal value = rounded(0, Rounding::HalfEven);
    const Magnitude &m = value.m_magnitude;
    if (!std::all_of(m.limbs.begin() + 1, m.limbs.end(), [](std::uint32_t limb) { return limb == 0; }))
        return fallback;
    const std::int64_t magnitude = m.limbs[0];
    const std::int64_t signedValue = value.m_negative ? -magnitude : magnitude;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return fallback;
    return std::int32_t(signedValue);
}

} // namespace velkor
