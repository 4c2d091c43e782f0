#include "ExactFigure.h"

#include "core/support/Failure.h"

namespace velkor {

ExactFigure ExactFigure::quotient(Decimal numerator, Decimal divisor)
{
    if (divisor.isZero() || divisor.isNegative())
        throw Failure(11, QStringLiteral("Dzielenie przez zero."));
    return ExactFigure(std::move(numerator), std::move(divisor));
}

ExactFigure ExactFigure::operator+(const ExactFigure &other) const
{
    if (m_divisor == other.m_divisor)
        return ExactFigure(m_numerator + other.m_numerator, m_divisor);
    return ExactFigure(m_numerator * other.m_divisor + other.m_numerator * m_divisor, m_divisor * other.m_divisor);
}

ExactFigure ExactFigure::operator-(const ExactFigure &other) const
{
    return *this + ExactFigure(-other.m_numerator, other.m_divisor);
}

int ExactFigure::compare(const ExactFigure &other) const
{
    if (m_divisor == other.m_divisor)
        return m_numerator.compare(other.m_numerator);
    // Both divisors are positive, so cross-multiplying keeps the order.
    return (m_numerator * other.m_divisor).compare(other.m_numerator * m_divisor);
}

Decimal ExactFigure::rounded(int decimals) const
{
    if (hasUnitDivisor())
        return m_numerator.rounded(decimals, Rounding::HalfAwayFromZero);
    return m_numerator.dividedBy(m_divisor, decimals, Rounding::HalfAwayFromZero);
}

void ExactFigure::appendFormatted(QString &out, int decimals, QStringView separator) const
{
    if (hasUnitDivisor())
        m_numerator.appendFormatted(out, decimals, separator); // rounds once, as the quotient would
    else
        rounded(decimals).appendFormatted(out, decimals, separator);
}

QString ExactFigure::format(int decimals, QStringView separator) const
{
    QString text;
    appendFormatted(text, decimals, separator);
    return text;
}

void ExactSum::add(const ExactFigure &figure)
{
    for (ExactFigure &sum : m_byDivisor) {
        if (sum.m_divisor == figure.m_divisor) {
            sum.m_numerator = sum.m_numerator + figure.m_numerator;
            return;
        }
    }
    m_byDivisor.push_back(figure);
}

ExactFigure ExactSum::total() const
{
    ExactFigure total;
    for (const ExactFigure &sum : m_byDivisor)
        total = total + sum;
    return total;
}

} // namespace velkor
