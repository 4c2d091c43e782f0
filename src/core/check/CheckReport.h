#pragma once

#include "core/support/PolishCount.h"

#include <QString>

#include <vector>

namespace velkor {

// How a finding of the invoice check is marked.
enum class Mark {
    Ok,     // "OK": agrees
    Remark, // "UWAGA": within a tolerance, or a rule the national system does not enforce yet
    Error,  // "BŁĄD": does not agree, a wrong check digit, a file the national system refuses
    Info,   // "INFO": a note
};

struct Finding
{
    Mark mark;
    QString text; // a short sentence and the figures it compares
};

struct CheckSection
{
    QString title;
    std::vector<Finding> findings;
};

// What the invoice check found, and the verification link with its caption.
struct CheckReport
{
    QString title;
    QString number; // the invoice's number P_2
    std::vector<CheckSection> sections;
    QString link;    // the verification link (KOD I)
    QString caption; // under its QR code: the KSeF number or "OFFLINE"

    // Findings marked UWAGA or BŁĄD.
    int remarkCount() const;
    // Findings of one mark.
    int count(Mark mark) const;
    // The whole report as text: the title, then each section's title and its
    // findings, one per line, each led by its mark; CR LF line breaks.
    QString text() const;
};

QString markText(Mark mark);

// What the check found, errors and remarks counted apart: "bez uwag",
// "1 uwaga", "2 błędy", "2 błędy, 1 uwaga", "5 błędów, 3 uwagi".
QString findingsCountText(int errors, int remarks);

// The status bar's summary: "Kontrola: " and the count above.
QString checkStatusText(const CheckReport &report);

} // namespace velkor
