#include "core/register/RegisterPackage.h"

#include "core/load/InvoiceLoader.h"

#include <archive.h>
#include <archive_entry.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <unordered_map>

namespace velkor {

namespace {

const QString MetadataName = QStringLiteral("_metadata.json");

struct ArchiveDeleter
{
    void operator()(archive *a) const { archive_read_free(a); }
};
using ArchiveHandle = std::unique_ptr<archive, ArchiveDeleter>;

// The one call that names the file: Windows takes its path in UTF-16, so a
// package named with letters outside the system's code page opens there too.
int openArchiveFile(archive *a, const QString &path)
{
#if defined(Q_OS_WIN)
    return archive_read_open_filename_w(a, reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                        64 * 1024);
#else
    return archive_read_open_filename(a, QFile::encodeName(path).constData(), 64 * 1024);
#endif
}

ArchiveHandle openArchive(const QString &path, QString &reason)
{
    ArchiveHandle a(archive_read_new());
    archive_read_support_format_zip(a.get());
    if (openArchiveFile(a.get(), path) != ARCHIVE_OK) {
        reason = QStringLiteral("Nie można otworzyć paczki ZIP: %1").arg(QString::fromUtf8(archive_error_string(a.get())));
        return nullptr;
    }
    return a;
}

QString entryName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char *raw = archive_entry_pathname(entry);
    return raw ? QString::fromLocal8Bit(raw) : QString();
}

QString refusedName(const QString &name)
{
    const QString slashed = QString(name).replace(u'\\', u'/');
    const bool absolute = slashed.startsWith(u'/') || (slashed.size() > 1 && slashed[1] == u':');
    if (absolute || slashed.split(u'/').contains(QStringLiteral("..")))
        return QStringLiteral("Niedozwolona nazwa pliku w paczce (ścieżka bezwzględna lub „..”).");
    return {};
}

QString tooLarge()
{
    return QStringLiteral("Plik w paczce jest zbyt duży (ponad %1 MB).").arg(MaxInvoiceSize / (1024 * 1024));
}

// The entry's data, never more than the single-file limit.
QByteArray readEntry(archive *a, archive_entry *entry, qint64 &inflated, qint64 limit, QString &reason)
{
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > MaxInvoiceSize) {
        reason = tooLarge();
        return {};
    }
    // Inflated straight into the bytes, sized by the entry's header when it
    // states a size, and grown in blocks when it does not or lies.
    constexpr qsizetype Block = 64 * 1024;
    QByteArray bytes;
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) >= 0)
        bytes.reserve(qsizetype(archive_entry_size(entry)) + 1);
    qsizetype used = 0;
    for (;;) {
        const qsizetype room = bytes.capacity() > used ? bytes.capacity() - used : Block;
        bytes.resize(used + room);
        const la_ssize_t got = archive_read_data(a, bytes.data() + used, std::size_t(room));
        if (got < 0) {
            reason = QStringLiteral("Uszkodzony plik w paczce: %1").arg(QString::fromUtf8(archive_error_string(a)));
            return {};
        }
        if (got == 0)
            break;
        used += qsizetype(got);
        inflated += got;
        if (inflated > limit) {
            reason = QStringLiteral("Paczka po rozpakowaniu przekracza %1 MB: pliku nie odczytano.")
                         .arg(limit / (1024 * 1024));
            return {};
        }
        if (used > MaxInvoiceSize) {
            reason = tooLarge();
            return {};
        }
    }
    bytes.resize(used);
    if (bytes.isEmpty())
        reason = QStringLiteral("Plik jest pusty.");
    return bytes;
}

// A package read from where its file stands, in blocks.
struct PackageStream
{
    QFile file;
    char block[64 * 1024];
};

la_ssize_t readPackageStream(archive *, void *data, const void **block)
{
    auto *stream = static_cast<PackageStream *>(data);
    *block = stream->block;
    const qint64 got = stream->file.read(stream->block, sizeof stream->block);
    return got < 0 ? la_ssize_t(ARCHIVE_FATAL) : la_ssize_t(got);
}

class PackageSource : public RegisterSource
{
public:
    PackageSource(QString path, qint64 limit) : m_path(std::move(path)), m_limit(limit)
    {
        // A first pass over the headers counts the files and reads the metadata.
        QString reason;
        ArchiveHandle a = openArchive(m_path, reason);
        if (!a) {
            m_openFailure = reason;
            m_count = 1;
            return;
        }
        archive_entry *entry = nullptr;
        int status;
        qint64 inflated = 0;
        while ((status = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN) {
            if (archive_entry_filetype(entry) == AE_IFDIR)
                continue;
            if (entryName(entry) == MetadataName) {
                m_hasMetadata = true;
                QString readFailure;
                const QByteArray json = readEntry(a.get(), entry, inflated, m_limit, readFailure);
                m_metadata = readFailure.isEmpty() ? parseInvoiceMetadata(json, m_metadataFailure) : std::vector<InvoiceMetadata>();
                if (!readFailure.isEmpty())
                    m_metadataFailure = readFailure;
                continue;
            }
            ++m_count;
        }
        if (status != ARCHIVE_EOF) {
            m_trailingFailure = QStringLiteral("Uszkodzona paczka ZIP: %1").arg(QString::fromUtf8(archive_error_string(a.get())));
            ++m_count;
        }
    }

    QString title() const override { return QDir::toNativeSeparators(QFileInfo(m_path).absoluteFilePath()); }
    int count() const override { return m_count; }

    bool next(RegisterItem &item) override
    {
        if (m_ended)
            return false;
        if (!m_openFailure.isEmpty())
            return endWith(item, QFileInfo(m_path).fileName(), m_openFailure);
        if (!m_archive) {
            QString reason;
            m_archive = openArchive(m_path, reason);
            if (!m_archive)
                return endWith(item, QFileInfo(m_path).fileName(), reason);
        }
        archive_entry *entry = nullptr;
        for (;;) {
            const int status = archive_read_next_header(m_archive.get(), &entry);
            if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
                if (status == ARCHIVE_EOF || m_trailingFailure.isEmpty())
                    return (m_ended = true, false);
                return endWith(item, QFileInfo(m_path).fileName(), m_trailingFailure);
            }
            if (archive_entry_filetype(entry) == AE_IFDIR || entryName(entry) == MetadataName)
                continue;
            break;
        }
        item.index = m_index++;
        item.name = entryName(entry);
        m_offsets.insert(item.name, archive_read_header_position(m_archive.get()));
        item.reason = refusedName(item.name);
        if (item.reason.isEmpty())
            item.bytes = readEntry(m_archive.get(), entry, m_inflated, m_limit, item.reason);
        return true;
    }

    void finish(std::vector<RegisterRow> &rows, bool complete) override
    {
        m_archive.reset();
        if (!m_hasMetadata)
            return;
        if (!m_metadataFailure.isEmpty()) {
            rows.push_back(unreadableRow(MetadataName, QStringLiteral("Uszkodzony plik metadanych: ") + m_metadataFailure));
            return;
        }
        compareWithMetadata(rows, m_metadata, complete);
    }

    QByteArray entryBytes(const QString &name, QString &reason) const override
    {
        if (refusedName(name).isEmpty()) {
            QByteArray bytes = entryAtItsOffset(name);
            if (!bytes.isEmpty())
                return bytes;
        }
        // Anything unusual: the package read again from its start.
        ArchiveHandle a = openArchive(m_path, reason);
        if (!a)
            return {};
        archive_entry *entry = nullptr;
        qint64 inflated = 0;
        int status;
        while ((status = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN) {
            if (entryName(entry) == name && refusedName(name).isEmpty())
                return readEntry(a.get(), entry, inflated, m_limit, reason);
        }
        reason = QStringLiteral("Brak pliku w paczce.");
        return {};
    }

private:
    // The entry read straight from its header, where the first reading found
    // it; empty when that does not give it whole.
    QByteArray entryAtItsOffset(const QString &name) const
    {
        const auto offset = m_offsets.constFind(name);
        if (offset == m_offsets.constEnd())
            return {};
        auto stream = std::make_unique<PackageStream>();
        stream->file.setFileName(m_path);
        if (!stream->file.open(QIODevice::ReadOnly) || !stream->file.seek(*offset))
            return {};
        ArchiveHandle a(archive_read_new());
        archive_read_support_format_zip_streamable(a.get());
        archive_entry *entry = nullptr;
        if (archive_read_open(a.get(), stream.get(), nullptr, readPackageStream, nullptr) != ARCHIVE_OK
            || archive_read_next_header(a.get(), &entry) != ARCHIVE_OK || entryName(entry) != name)
            return {};
        qint64 inflated = 0;
        QString reason;
        const QByteArray bytes = readEntry(a.get(), entry, inflated, m_limit, reason);
        return reason.isEmpty() ? bytes : QByteArray();
    }

    bool endWith(RegisterItem &item, const QString &name, const QString &reason)
    {
        m_ended = true;
        item.index = m_index++;
        item.name = name;
        item.reason = reason;
        return true;
    }

    QString m_path;
    qint64 m_limit;
    int m_count = 0;
    int m_index = 0;
    bool m_ended = false;
    QString m_openFailure, m_trailingFailure;
    bool m_hasMetadata = false;
    QString m_metadataFailure;
    std::vector<InvoiceMetadata> m_metadata;
    ArchiveHandle m_archive;
    qint64 m_inflated = 0;
    QHash<QString, qint64> m_offsets; // where each entry's header starts
};

std::optional<Decimal> amountOf(const QJsonValue &value)
{
    if (value.isDouble())
        return Decimal::read(QString::number(value.toDouble(), 'f', 2));
    if (value.isString())
        return Decimal::read(value.toString().trimmed());
    return std::nullopt;
}

} // namespace

std::vector<InvoiceMetadata> parseInvoiceMetadata(const QByteArray &json, QString &reason)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        reason = QStringLiteral("%1 (znak %2)").arg(error.errorString()).arg(error.offset);
        return {};
    }
    const QJsonArray entries = document.isArray() ? document.array() : document.object().value(QStringLiteral("invoices")).toArray();
    if (!document.isArray() && !document.object().value(QStringLiteral("invoices")).isArray()) {
        reason = QStringLiteral("brak tablicy metadanych faktur");
        return {};
    }
    std::vector<InvoiceMetadata> result;
    for (const QJsonValue &value : entries) {
        const QJsonObject object = value.toObject();
        InvoiceMetadata metadata;
        metadata.ksefNumber = object.value(QStringLiteral("ksefNumber")).toString().trimmed();
        metadata.invoiceNumber = object.value(QStringLiteral("invoiceNumber")).toString();
        metadata.sellerNip = object.value(QStringLiteral("seller")).toObject().value(QStringLiteral("nip")).toString().trimmed();
        metadata.grossAmount = amountOf(object.value(QStringLiteral("grossAmount")));
        const QByteArray hash = object.value(QStringLiteral("invoiceHash")).toString().toLatin1();
        metadata.invoiceHash = QByteArray::fromBase64(hash, hash.contains('-') || hash.contains('_')
                                                                ? QByteArray::Base64UrlEncoding
                                                                : QByteArray::Base64Encoding);
        result.push_back(std::move(metadata));
    }
    return result;
}

void compareWithMetadata(std::vector<RegisterRow> &rows, const std::vector<InvoiceMetadata> &metadata, bool listMissing)
{
    std::unordered_map<std::string, std::size_t> byKsef, byHash;
    for (std::size_t k = 0; k < metadata.size(); ++k) {
        if (!metadata[k].ksefNumber.isEmpty())
            byKsef.emplace(metadata[k].ksefNumber.toStdString(), k);
        if (!metadata[k].invoiceHash.isEmpty())
            byHash.emplace(metadata[k].invoiceHash.toStdString(), k);
    }
    std::vector<bool> used(metadata.size());
    for (RegisterRow &row : rows) {
        if (row.sha256.isEmpty() && row.ksefNumber.isEmpty())
            continue; // not read at all
        std::optional<std::size_t> match;
        if (const auto it = byKsef.find(row.ksefNumber.toStdString()); !row.ksefNumber.isEmpty() && it != byKsef.end())
            match = it->second;
        if (const auto it = byHash.find(row.sha256.toStdString()); !match && it != byHash.end())
            match = it->second;
        if (!match) {
            row.ownNotes << QStringLiteral("brak w metadanych");
            continue;
        }
        const InvoiceMetadata &meta = metadata[*match];
        used[*match] = true;
        if (!row.ksefNumber.isEmpty() && row.ksefNumber != meta.ksefNumber)
            row.ownNotes << QStringLiteral("metadane: inny numer KSeF (%1)").arg(meta.ksefNumber);
        if (!meta.ksefNumber.isEmpty())
            row.ksefNumber = meta.ksefNumber;
        // A file refused unread has no hash to compare.
        if (!row.sha256.isEmpty() && !meta.invoiceHash.isEmpty() && meta.invoiceHash != row.sha256)
            row.ownNotes << QStringLiteral("metadane: inny skrót SHA-256");
        if (!row.valid)
            continue;
        if (meta.invoiceNumber != row.number)
            row.ownNotes << QStringLiteral("metadane: inny numer faktury (%1)").arg(meta.invoiceNumber);
        if (meta.sellerNip != row.sellerNip)
            row.ownNotes << QStringLiteral("metadane: inny NIP sprzedawcy (%1)").arg(meta.sellerNip);
        const auto &gross = row.totals[RegisterTotalCount - 1];
        if (meta.grossAmount.has_value() != gross.has_value() || (gross && *gross != *meta.grossAmount)) {
            row.ownNotes << QStringLiteral("metadane: inna kwota brutto (%1)")
                                .arg(meta.grossAmount ? meta.grossAmount->format(2, u",") : QString());
        }
    }
    for (std::size_t k = 0; k < metadata.size() && listMissing; ++k) {
        if (used[k])
            continue;
        RegisterRow row;
        row.ksefNumber = metadata[k].ksefNumber;
        row.number = metadata[k].invoiceNumber;
        row.sellerNip = metadata[k].sellerNip;
        row.ownNotes << QStringLiteral("w metadanych, brak pliku");
        rows.push_back(std::move(row));
    }
}

std::unique_ptr<RegisterSource> packageSource(const QString &zipFile, qint64 inflatedLimit)
{
    return std::make_unique<PackageSource>(zipFile, inflatedLimit);
}

} // namespace velkor
