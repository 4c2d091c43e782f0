#include "core/register/RegisterReading.h"

#include "core/load/InvoiceLoader.h"
#include "core/load/InvoiceParser.h"
#include "core/load/InvoiceSchema.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMutexLocker>

#include <algorithm>

namespace velkor {

namespace {

struct ListedFile
{
    QString name;
    QString path;
    QString reason; // set when the file is not to be read at all
    bool operator<(const ListedFile &other) const { return name < other.name; }
};

// Files read from disk, named as the register shows them.
class FileListSource : public RegisterSource
{
public:
    FileListSource(QString title, std::vector<ListedFile> files)
        : m_title(std::move(title)), m_files(std::move(files)) {}

    QString title() const override { return m_title; }
    int count() const override { return int(m_files.size()); }
    bool next(RegisterItem &item) override
    {
        if (m_next >= m_files.size())
            return false;
        item.index = int(m_next);
        item.name = m_files[m_next].name;
        item.path = m_files[m_next].path;
        item.reason = m_files[m_next].reason;
        ++m_next;
        return true;
    }
    void load(RegisterItem &item) const override { item.bytes = readInvoiceFile(item.path, item.reason); }

private:
    QString m_title;
    std::vector<ListedFile> m_files;
    std::size_t m_next = 0;
};

} // namespace

std::unique_ptr<RegisterSource> folderSource(const QString &folder)
{
    const QDir root(folder);
    const QString top = root.absolutePath();
    // Every path the iterator gives starts with the folder and a slash: the
    // rest is the name below it.
    const qsizetype below = top.size() + (top.endsWith(u'/') ? 0 : 1);
    std::vector<ListedFile> files;
    // Links are listed as what they are and not followed: a link to a file
    // outside the folder must not bring it in, a link to a folder must not loop.
    QDirIterator it(top, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot | QDir::AllDirs,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir() && !info.isSymLink())
            continue;
        files.push_back({path.mid(below), path,
                         info.isSymLink() ? QStringLiteral("Dowiązanie symboliczne: pominięte.") : QString()});
    }
    std::sort(files.begin(), files.end());
    return std::make_unique<FileListSource>(QDir::toNativeSeparators(root.absolutePath()), std::move(files));
}

std::unique_ptr<RegisterSource> filesSource(const QStringList &files)
{
    std::vector<ListedFile> named;
    for (const QString &file : files)
        named.push_back({QFileInfo(file).fileName(), file, QString()});
    const QString title = files.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(files.first()).absolutePath());
    return std::make_unique<FileListSource>(title, std::move(named));
}

RegisterReading::RegisterReading(std::unique_ptr<RegisterSource> source, std::shared_ptr<const InvoiceSchema> schema,
                                 int threads)
    : m_source(std::move(source)), m_schema(std::move(schema)), m_total(m_source->count())
{
    if (threads <= 0)
        threads = std::max(1, QThread::idealThreadCount());
    threads = std::max(1, std::min(threads, m_total));
    m_pool.setMaxThreadCount(threads);
    m_running = m_total > 0 ? threads : 0;
    for (int k = 0; k < threads && m_total > 0; ++k)
        m_pool.start([this] { work(); });
}

RegisterReading::~RegisterReading()
{
    cancel();
    m_pool.waitForDone();
}

void RegisterReading::work()
{
    FileValidator validator(*m_schema);
    while (!m_cancelled) {
        RegisterItem item;
        {
            QMutexLocker lock(&m_sourceLock);
            if (!m_source->next(item))
                break;
        }
        if (item.reason.isEmpty() && item.bytes.isEmpty())
            m_source->load(item);
        RegisterRow row = item.reason.isEmpty() ? readRegisterRow(item.name, item.bytes, validator)
                                                : unreadableRow(item.name, item.reason);
        row.path = item.path;
        item.bytes = QByteArray(); // the document and its bytes go; the row stays
        {
            QMutexLocker lock(&m_rowsLock);
            m_ready.emplace_back(item.index, std::move(row));
        }
        ++m_done;
    }
    --m_running;
}

std::vector<std::pair<int, RegisterRow>> RegisterReading::take()
{
    QMutexLocker lock(&m_rowsLock);
    std::vector<std::pair<int, RegisterRow>> rows;
    rows.swap(m_ready);
    return rows;
}

} // namespace velkor
