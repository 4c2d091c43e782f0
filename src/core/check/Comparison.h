#pragma once

#include "core/check/CheckReport.h"
#include "core/load/InvoiceDocument.h"
#include "core/support/Decimal.h"

#include <functional>
#include <optional>
#include <vector>

namespace velkor {

// One way of working out a figure the invoice states. `value` is worked out
// only when the ways before it disagree with the invoice, and gives nothing
// where the way does not apply.
struct Way
{
    QString how;
    std::function<std::optional<Decimal>()> value;
    QString note = {}; // said (INFO) when the invoice agrees in this way
    // Where known, a figure the value lies within `reach` of: a way that
    // cannot come within the tolerance is then not worked out at all.
    std::optional<Decimal> centre = {};
    Decimal reach = {};
};

// A way that is a figure already known.
Way figure(const QString &how, const Decimal &value);

// The findings of one part of the check, as they are written.
class Findings
{
public:
    explicit Findings(QString separator) : m_separator(std::move(separator)) {}

    // Compares what the invoice states with each way in turn: the first
    // that agrees exactly makes it "OK" (and says its note); otherwise the
    // nearest decides: a difference up to `allowed` is marked `near` (UWAGA,
    // or INFO with `explained` where the difference has a known cause),
    // more is BŁĄD. A missing field counts as 0. Nothing is written when no
    // way applies.
    void compare(const QString &label, const QString &field, const std::optional<Decimal> &stated,
                 const std::vector<Way> &ways, const Decimal &allowed = Decimal(), Mark near = Mark::Remark,
                 const QString &explained = {});
    void add(Mark mark, const QString &text) { m_findings.push_back({mark, text}); }
    void note(const QString &text) { add(Mark::Info, text); }
    QString amount(const Decimal &value) const { return value.format(2, m_separator); }
    const QString &separator() const { return m_separator; }
    std::vector<Finding> take() { return std::move(m_findings); }

private:
    QString m_separator;
    std::vector<Finding> m_findings;
};

// Rounded to grosze, halves away from zero.
Decimal grosze(const Decimal &value);
Decimal distance(const Decimal &a, const Decimal &b);
// The number in the first element at n:Faktura/n:Fa/ + `path`, or none.
std::optional<Decimal> faAmount(const InvoiceDocument &document, const char *path);
// The sum of the numbers in every element at n:Faktura/n:Fa/ + `path`.
Decimal faSum(const InvoiceDocument &document, const char *path);

} // namespace velkor
