#include "core/register/RegisterSet.h"

#include "core/check/CheckReport.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <iterator>
#include <map>

namespace velkor {

namespace {

QString duplicateKey(const RegisterRow &row)
{
    return row.sellerNip + u'\x1f' + row.number + u'\x1f' + row.kind;
}

QString invoiceKey(const QString &sellerNip, const QString &number)
{
    return sellerNip + u'\x1f' + number;
}

// Remembers the first row of a key; returns the first row before `index`, or -1.
template <typename Key>
int firstOf(QHash<Key, int> &firsts, const Key &key, int index)
{
    if (key.isEmpty())
        return -1;
    const auto found = firsts.constFind(key);
    if (found != firsts.constEnd())
        return *found;
    firsts.insert(key, index);
    return -1;
}

QString csvField(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

void linkRegisterRows(std::vector<RegisterRow> &rows, bool complete)
{
    QHash<QByteArray, int> byHash;
    QHash<QString, int> byKsef, byKey, invoices, ksefInvoices;
    for (auto *hash : {&byKsef, &byKey, &invoices, &ksefInvoices})
        hash->reserve(qsizetype(rows.size()));
    byHash.reserve(qsizetype(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        RegisterRow &row = rows[std::size_t(i)];
        row.linkNotes.clear();
        row.duplicate = false;
        int first = -1;
        const auto consider = [&first](int candidate) {
            if (candidate >= 0 && (first < 0 || candidate < first))
                first = candidate;
        };
        consider(firstOf(byHash, row.sha256, i));
        consider(firstOf(byKsef, row.ksefNumber, i));
        if (row.valid)
            consider(firstOf(byKey, duplicateKey(row), i));
        if (first >= 0) {
            row.duplicate = true;
            row.linkNotes << QStringLiteral("duplikat: ") + rows[std::size_t(first)].file;
        } else if (row.valid) {
            invoices.insert(invoiceKey(row.sellerNip, row.number), i);
            if (!row.ksefNumber.isEmpty())
                ksefInvoices.insert(row.ksefNumber, i);
        }
    }
    for (RegisterRow &row : rows) {
        if (!row.valid || row.duplicate)
            continue;
        for (const CorrectedReference &reference : row.corrects) {
            int target = -1;
            if (!reference.ksefNumber.isEmpty())
                target = ksefInvoices.value(reference.ksefNumber, -1);
            if (target < 0)
                target = invoices.value(invoiceKey(row.sellerNip, reference.number), -1);
            const QString name = reference.number.isEmpty() ? reference.ksefNumber : reference.number;
            if (target < 0 || &rows[std::size_t(target)] == &row) {
                row.linkNotes << (complete ? QStringLiteral("koryguje %1: brak jej w zestawie")
                                           : QStringLiteral("koryguje %1: brak jej wśród odczytanych"))
                                     .arg(name);
                continue;
            }
            RegisterRow &corrected = rows[std::size_t(target)];
            row.linkNotes << QStringLiteral("koryguje %1 (%2)").arg(name, corrected.file);
            corrected.linkNotes << QStringLiteral("korygowana przez ") + row.file;
        }
    }
}

std::vector<CurrencyTotals> registerTotals(const std::vector<const RegisterRow *> &rows)
{
    std::map<QString, CurrencyTotals> byCurrency;
    for (const RegisterRow *row : rows) {
        if (!row->valid || row->duplicate)
            continue;
        CurrencyTotals &totals = byCurrency[row->currency];
        totals.currency = row->currency;
        ++totals.count;
        for (std::size_t k = 0; k < RegisterTotalCount; ++k) {
            if (row->totals[k]) {
                totals.sums[k] = totals.sums[k] + *row->totals[k];
                totals.present[k] = true;
            }
        }
    }
    std::vector<CurrencyTotals> result;
    for (auto &entry : byCurrency)
        result.push_back(std::move(entry.second));
    return result;
}

QString totalsText(const std::vector<CurrencyTotals> &totals)
{
    QStringList lines;
    for (const CurrencyTotals &currency : totals) {
        QString line = currency.currency + QStringLiteral(": ") + countOf(currency.count, "faktura", "faktury", "faktur");
        for (std::size_t k = 0; k < RegisterTotalCount; ++k) {
            if (currency.present[k])
                line += QStringLiteral("; ") + QLatin1String(RegisterTotalNames[k]) + u' '
                        + currency.sums[k].format(2, u",");
        }
        lines << line;
    }
    return lines.join(u'\n');
}

QStringList registerColumns()
{
    QStringList columns{QStringLiteral("Plik"),          QStringLiteral("Numer KSeF"),
                        QStringLiteral("Rodzaj"),        QStringLiteral("Numer faktury"),
                        QStringLiteral("Data wystawienia"), QStringLiteral("Data dostawy"),
                        QStringLiteral("NIP sprzedawcy"), QStringLiteral("Sprzedawca"),
                        QStringLiteral("NIP nabywcy"),   QStringLiteral("Nabywca"),
                        QStringLiteral("Waluta")};
    for (const char *name : RegisterTotalNames)
        columns << QLatin1String(name);
    columns << QStringLiteral("Kontrola") << QStringLiteral("Uwagi");
    return columns;
}

namespace {

// The row's own texts come first, then its totals, the check and the notes.
constexpr int TextCount = 11;
constexpr int ColumnCount = TextCount + int(RegisterTotalCount) + 2;

} // namespace

QString registerCell(const RegisterRow &row, int column)
{
    const QString *const texts[] = {&row.file,      &row.ksefNumber, &row.kind,     &row.number, &row.issueDate,
                                    &row.deliveryDate, &row.sellerNip, &row.seller, &row.buyerNip, &row.buyer,
                                    &row.currency};
    static_assert(std::size(texts) == TextCount);
    if (column >= 0 && column < TextCount)
        return *texts[column];
    if (const int total = column - TextCount; total >= 0 && total < int(RegisterTotalCount)) {
        const std::optional<Decimal> &value = row.totals[std::size_t(total)];
        return value ? value->format(2, u",") : QString();
    }
    if (column == TextCount + int(RegisterTotalCount))
        return row.checkText();
    if (column == TextCount + int(RegisterTotalCount) + 1)
        return row.notes();
    return {};
}

QStringList registerCells(const RegisterRow &row)
{
    QStringList cells;
    cells.reserve(ColumnCount);
    for (int column = 0; column < ColumnCount; ++column)
        cells << registerCell(row, column);
    return cells;
}

QByteArray registerCsv(const std::vector<const RegisterRow *> &rows)
{
    QString text;
    text.reserve(qsizetype(rows.size() + 1) * 200);
    const auto append = [&text](const QStringList &cells) {
        for (qsizetype k = 0; k < cells.size(); ++k) {
            if (k > 0)
                text += u';';
            text += csvField(cells[k]);
        }
        text += QStringLiteral("\r\n");
    };
    append(registerColumns());
    for (const RegisterRow *row : rows)
        append(registerCells(*row));
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QString freeFilePath(const QString &folder, const QString &base, const QString &extension)
{
    const QDir dir(folder);
    QString path = dir.filePath(base + extension);
    for (int k = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++k)
        path = dir.filePath(QStringLiteral("%1 (%2)%3").arg(base).arg(k).arg(extension));
    return path;
}

} // namespace velkor
