#pragma once

#include "core/support/Decimal.h"

#include <vector>

namespace velkor {

// A figure kept exact until it is shown: a decimal over a positive divisor.
// A net price derived from a gross one is the gross price over the VAT
// factor (123 / 1.23, 0.005 / 1.08), which seldom ends in a finite decimal;
// held as a quotient it is still exact when multiplied by a rate, compared
// or subtracted, and is rounded once, where it is shown.
class ExactFigure
{
public:
    ExactFigure() = default;
    ExactFigure(Decimal value) : m_numerator(std::move(value)) {} // NOLINT: a decimal is an exact figure
    // numerator / divisor; the divisor must be positive.
    static ExactFigure quotient(Decimal numerator, Decimal divisor);

    bool isZero() const { return m_numerator.isZero(); }
    ExactFigure operator-() const { return ExactFigure(-m_numerator, m_divisor); }
    ExactFigure times(const Decimal &factor) const { return ExactFigure(m_numerator * factor, m_divisor); }
    ExactFigure operator+(const ExactFigure &other) const;
    ExactFigure operator-(const ExactFigure &other) const;
    int compare(const ExactFigure &other) const;
    bool operator==(const ExactFigure &other) const { return compare(other) == 0; }
    bool operator!=(const ExactFigure &other) const { return compare(other) != 0; }

    // Rounded once to `decimals`, halves away from zero, as the patterns
    // "#0.00" and "#0.000000" show a figure.
    Decimal rounded(int decimals) const;
    void appendFormatted(QString &out, int decimals, QStringView separator) const;
    QString format(int decimals, QStringView separator) const;

private:
    friend class ExactSum;
    ExactFigure(Decimal numerator, Decimal divisor) : m_numerator(std::move(numerator)), m_divisor(std::move(divisor)) {}
    bool hasUnitDivisor() const { return m_divisor == Decimal::fromInt(1); }

    Decimal m_numerator;
    Decimal m_divisor = Decimal::fromInt(1);
};

// A sum of many exact figures. Figures over the same divisor are added as
// decimals, so a sum of ten thousand lines keeps one divisor per VAT
// factor instead of the product of them all.
class ExactSum
{
public:
    void add(const ExactFigure &figure);
    ExactFigure total() const;

private:
    std::vector<ExactFigure> m_byDivisor;
};

} // namespace velkor
