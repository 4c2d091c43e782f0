#pragma once

#include "core/support/Decimal.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace velkor {

class FileValidator;
class InvoiceSchema;

// The header totals a register row carries, in the order of its columns.
constexpr std::array<const char *, 23> RegisterTotalNames = {
    "P_13_1", "P_14_1", "P_14_1W", "P_13_2", "P_14_2", "P_14_2W", "P_13_3", "P_14_3",
    "P_14_3W", "P_13_4", "P_14_4", "P_14_4W", "P_13_5", "P_14_5", "P_13_6_1", "P_13_6_2",
    "P_13_6_3", "P_13_7", "P_13_8", "P_13_9", "P_13_10", "P_13_11", "P_15"};
constexpr std::size_t RegisterTotalCount = RegisterTotalNames.size();

// A correction's reference to the invoice it corrects.
struct CorrectedReference
{
    QString ksefNumber; // NrKSeFFaKorygowanej, when the invoice has one
    QString number;     // NrFaKorygowanej
};

// One file of a register: what its invoice states, with the result of the
// check, or why it is not a valid invoice. Nothing of the document is kept.
struct RegisterRow
{
    QString file;       // the path below the folder, or the name in the package
    QString path;       // the file's full path; empty for a file of a package
    QString ksefNumber; // from the package's metadata, else from the file name
    QString kind, number, issueDate, deliveryDate;
    QString sellerNip, seller, buyerNip, buyer, currency;
    // Held apart from the row, so that rows move cheaply on their way from the
    // reading threads to the table.
    std::vector<std::optional<Decimal>> totals = std::vector<std::optional<Decimal>>(RegisterTotalCount);
    std::vector<CorrectedReference> corrects;
    QByteArray sha256;
    bool valid = false;
    int errors = 0;  // findings of the check marked BŁĄD
    int remarks = 0; // marked UWAGA
    bool checked = false;
    QStringList ownNotes;  // about the file itself (why it is invalid, the metadata)
    QStringList linkNotes; // about other files (duplicates, corrections)
    bool duplicate = false;

    // "bez uwag", "1 uwaga", "2 błędy, 1 uwaga"; empty for an invalid file.
    QString checkText() const;
    // The notes, joined by "; ".
    QString notes() const;
};

// The check's count as the status bar words it after "Kontrola: ".
QString checkCountText(int errors, int remarks);

// Reads one file of a register from its bytes: validates it against the
// compiled schema exactly as a single invoice is loaded, checks it and keeps
// only the row. Safe to call on several threads at once with one schema.
RegisterRow readRegisterRow(const QString &file, const QByteArray &bytes, const InvoiceSchema &schema);
// The same with the validator of the reading thread, for file after file.
RegisterRow readRegisterRow(const QString &file, const QByteArray &bytes, FileValidator &validator);
// The row of a file that could not be read, with the reason.
RegisterRow unreadableRow(const QString &file, const QString &reason);

// The KSeF number a file name is, when its base name is a valid one.
QString ksefNumberFromFileName(const QString &file);

} // namespace velkor
