#pragma once

#include "core/register/RegisterRow.h"

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

namespace velkor {

class InvoiceSchema;

// One file of a register on its way to becoming a row.
struct RegisterItem
{
    int index = -1;     // its place in the set, which decides the first of two duplicates
    QString name;       // as the register shows it
    QString path;       // where it is read from, when it is a file
    QByteArray bytes;
    QString reason;     // why it could not be read
};

// Where the files of a register come from: a folder, chosen files, a package.
class RegisterSource
{
public:
    virtual ~RegisterSource() = default;
    // The path the window's title names.
    virtual QString title() const = 0;
    // How many files the set holds.
    virtual int count() const = 0;
    // The next item, or false when there is none; called by one thread at a time.
    virtual bool next(RegisterItem &item) = 0;
    // Reads what next() left to read; called on several threads at once.
    virtual void load(RegisterItem &item) const { (void)item; }
    // Rows the source itself adds, and notes it has about the rows read; called
    // once reading has ended, with the rows in the set's order. `complete` is
    // false when reading was stopped: then nothing is said of files not read.
    virtual void finish(std::vector<RegisterRow> &rows, bool complete)
    {
        (void)rows;
        (void)complete;
    }
    // The bytes of a file of a package, read again by its name.
    virtual QByteArray entryBytes(const QString &name, QString &reason) const
    {
        (void)name;
        reason = QStringLiteral("Brak pliku w paczce.");
        return {};
    }
};

// The files of a folder and its subfolders, in the order of their paths;
// no symbolic link is followed. Named below the folder.
std::unique_ptr<RegisterSource> folderSource(const QString &folder);
// Files chosen one by one, named by their file names.
std::unique_ptr<RegisterSource> filesSource(const QStringList &files);

// Reads a register on every core: each file is validated against the one
// compiled schema, and only its row is kept. Rows are collected as they are
// read; the caller takes them with take(). Destroying it stops and waits.
class RegisterReading
{
public:
    RegisterReading(std::unique_ptr<RegisterSource> source, std::shared_ptr<const InvoiceSchema> schema,
                    int threads = 0);
    ~RegisterReading();
    RegisterReading(const RegisterReading &) = delete;
    RegisterReading &operator=(const RegisterReading &) = delete;

    // Asks the threads to stop after the file each is reading.
    void cancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }
    // Every thread has ended.
    bool finished() const { return m_running == 0; }
    int total() const { return m_total; }
    int done() const { return m_done; }
    RegisterSource &source() { return *m_source; }
    // The source, once every thread has ended.
    std::unique_ptr<RegisterSource> releaseSource() { return std::move(m_source); }

    // The rows read since the last call, each with its place in the set.
    std::vector<std::pair<int, RegisterRow>> take();

private:
    void work();

    std::unique_ptr<RegisterSource> m_source;
    std::shared_ptr<const InvoiceSchema> m_schema;
    QThreadPool m_pool;
    QMutex m_sourceLock;
    QMutex m_rowsLock;
    std::vector<std::pair<int, RegisterRow>> m_ready;
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_running{0};
    std::atomic<int> m_done{0};
    int m_total = 0;
};

} // namespace velkor
