#include "gui/register/RegisterWindow.h"

#include "core/load/InvoiceLoader.h"
#include "core/load/InvoiceParser.h"
#include "core/load/InvoiceSchema.h"
#include "core/print/InvoicePrint.h"
#include "core/register/RegisterSet.h"
#include "core/support/Desktop.h"
#include "core/support/Failure.h"
#include "gui/print/PrintCommand.h"
#include "gui/register/RegisterModel.h"

#include <QApplication>
#include <QLocale>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSet>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace velkor {

RegisterWindow::RegisterWindow(Desktop &desktop, OpenInvoice openInvoice, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_desktop(desktop)
    , m_openInvoice(std::move(openInvoice))
    , m_model(new RegisterModel(this))
    , m_filter(new RegisterFilter(this))
    , m_table(new QTableView(this))
    , m_filterText(new QLineEdit(this))
    , m_month(new QComboBox(this))
    , m_totals(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_stop(new QPushButton(QStringLiteral("Przerwij  Esc"), this))
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("Rejestr"));
    setWindowTitle(QStringLiteral("Rejestr faktur"));
    m_filter->setSourceModel(m_model);
    m_table->setModel(m_filter);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(-1, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setDefaultSectionSize(100);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setResizeContentsPrecision(50);
    m_filterText->setObjectName(QStringLiteral("Filtr"));
    m_filterText->setPlaceholderText(QStringLiteral("Szukaj w każdej kolumnie"));
    m_month->setObjectName(QStringLiteral("Miesiac"));
    m_month->addItem(QStringLiteral("wszystkie"), QString());
    m_totals->setObjectName(QStringLiteral("Sumy"));
    m_totals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_totals->setWordWrap(true);

    auto *csv = new QPushButton(QStringLiteral("Eksport CSV  Ctrl+S"), this);
    auto *pdf = new QPushButton(QStringLiteral("PDF  Ctrl+Shift+P"), this);
    auto *close = new QPushButton(QStringLiteral("Zamknij  Esc"), this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Filtr:"), this));
    top->addWidget(m_filterText, 1);
    top->addWidget(new QLabel(QStringLiteral("Miesiąc wystawienia:"), this));
    top->addWidget(m_month);
    top->addWidget(csv);
    top->addWidget(pdf);
    top->addWidget(close);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_stop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(progress);
    layout->addWidget(m_totals);
    m_progress->hide();
    m_stop->hide();
    resize(1100, 600);

    connect(m_filterText, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_filter->setText(text);
        updateTotals();
    });
    connect(m_month, &QComboBox::currentIndexChanged, this, [this] {
        m_filter->setMonth(m_month->currentData().toString());
        updateTotals();
    });
    connect(csv, &QPushButton::clicked, this, &RegisterWindow::exportCsv);
    connect(pdf, &QPushButton::clicked, this, &RegisterWindow::exportPdfs);
    auto *savePdfs = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this);
    connect(savePdfs, &QShortcut::activated, this, &RegisterWindow::exportPdfs);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_stop, &QPushButton::clicked, this, &RegisterWindow::stop);
    connect(m_table, &QTableView::doubleClicked, this, &RegisterWindow::openCurrent);
    auto *save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(save, &QShortcut::activated, this, &RegisterWindow::exportCsv);
    // The progress moves at every tick, so the window repaints while reading;
    // rows come in larger batches (takeRows).
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, &RegisterWindow::takeRows);
}

RegisterWindow::~RegisterWindow() = default;

void RegisterWindow::open(std::unique_ptr<RegisterSource> source, std::shared_ptr<const InvoiceSchema> schema)
{
    if (m_writingPdfs)
        return;
    m_schema = schema;
    m_reading.reset();
    m_finishedSource.reset();
    m_model->clear();
    m_path = source->title();
    m_reading = std::make_unique<RegisterReading>(std::move(source), std::move(schema));
    m_model->reserve(m_reading->total());
    m_sinceRowsShown.start();
    m_progress->setRange(0, std::max(1, m_reading->total()));
    m_progress->setValue(0);
    m_progress->show();
    m_stop->show();
    updateTitle();
    updateTotals();
    m_timer->start();
}

void RegisterWindow::takeRows()
{
    if (!m_reading)
        return;
    const bool finished = m_reading->finished(); // before taking, so no row is left behind
    // The progress moves at every tick; the table, whose every visible cell is
    // laid out again when rows come, takes them in fewer, larger batches, so
    // the window's work leaves the processors to the reading.
    if (finished || m_sinceRowsShown.elapsed() >= RowsShownEveryMs) {
        m_model->append(m_reading->take());
        m_sinceRowsShown.start();
    }
    m_progress->setValue(m_reading->done());
    updateTitle();
    if (finished)
        finishReading();
}

void RegisterWindow::stop()
{
    if (m_reading)
        m_reading->cancel();
    m_pdfsCancelled = true;
}

void RegisterWindow::finishReading()
{
    m_timer->stop();
    std::vector<RegisterRow> rows = m_model->takeInSetOrder();
    const bool complete = !m_reading->cancelled() || m_reading->done() >= m_reading->total();
    m_reading->source().finish(rows, complete);
    linkRegisterRows(rows, complete);
    m_model->replace(std::move(rows));
    m_finishedSource = m_reading->releaseSource();
    m_reading.reset();
    m_progress->hide();
    m_stop->hide();
    updateTitle();
    updateMonths();
    updateTotals();
    // The columns fit the rows in view and the next fifty once, within reason;
    // the notes take the rest.
    m_table->resizeColumnsToContents();
    for (int column = 0; column + 1 < m_model->columnCount(); ++column)
        m_table->setColumnWidth(column, std::min(m_table->columnWidth(column), 360));
    if (m_filter->rowCount() > 0 && !m_table->currentIndex().isValid())
        m_table->setCurrentIndex(m_filter->index(0, 0));
    m_table->setFocus();
}

void RegisterWindow::updateTitle()
{
    QString title = QStringLiteral("Rejestr faktur  »»  ") + m_path;
    if (m_reading)
        title += QStringLiteral("  (%1 / %2)").arg(m_reading->done()).arg(m_reading->total());
    setWindowTitle(title);
}

void RegisterWindow::updateMonths()
{
    const QString current = m_month->currentData().toString();
    QSet<QString> months;
    for (int k = 0; k < m_model->rowCount(); ++k) {
        const QString date = m_model->row(k).issueDate;
        if (date.size() >= 7)
            months.insert(date.left(7));
    }
    QStringList sorted(months.begin(), months.end());
    sorted.sort();
    const QSignalBlocker block(m_month);
    m_month->clear();
    m_month->addItem(QStringLiteral("wszystkie"), QString());
    for (const QString &month : sorted)
        m_month->addItem(month, month);
    m_month->setCurrentIndex(std::max(0, m_month->findData(current)));
    m_filter->setMonth(m_month->currentData().toString());
}

QString RegisterWindow::totalsText() const
{
    return m_totals->text();
}

void RegisterWindow::updateTotals()
{
    const std::vector<const RegisterRow *> shown = m_filter->shownRows();
    QString text = QStringLiteral("Wierszy: %1").arg(shown.size());
    const QString totals = velkor::totalsText(registerTotals(shown));
    if (!totals.isEmpty())
        text += u'\n' + totals;
    m_totals->setText(text);
}

void RegisterWindow::exportCsv()
{
    if (isReading())
        return;
    const QString path = m_desktop.chooseSaveFile(QStringLiteral("Pliki CSV (*.csv)|*.csv"),
                                                  QDir(setFolder()).filePath(QStringLiteral("rejestr.csv")),
                                                  QStringLiteral("Eksport CSV"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray csv = registerCsv(m_filter->shownRows());
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        m_desktop.showMessage({QStringLiteral("Eksport CSV - błąd"),
                               QStringLiteral("Nie można zapisać pliku ") + QDir::toNativeSeparators(path)
                                   + QStringLiteral(": ") + file.errorString(),
                               MessageIcon::Exclamation});
    }
}

QString RegisterWindow::setFolder() const
{
    const QFileInfo info(m_path);
    return info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

void RegisterWindow::openCurrent()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid() || !m_openInvoice)
        return;
    const RegisterRow &row = m_model->row(m_filter->mapToSource(current).row());
    if (!row.path.isEmpty()) {
        m_openInvoice(row.path, QByteArray());
        return;
    }
    if (!m_finishedSource || row.file.isEmpty())
        return;
    QString reason;
    const QByteArray bytes = bytesOf(row, reason);
    if (!reason.isEmpty()) {
        m_desktop.showMessage({QStringLiteral("Otwórz z pliku - błąd"),
                               QStringLiteral("Błąd walidacji FA3\r\nPlik: ") + row.file + QStringLiteral("\r\nPowód: ")
                                   + reason,
                               MessageIcon::Exclamation});
        return;
    }
    m_openInvoice(row.file, bytes);
}

void RegisterWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (isReading())
            stop();
        else
            close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() != m_month) {
        openCurrent();
        return;
    }
    QWidget::keyPressEvent(event);
}

void RegisterWindow::closeEvent(QCloseEvent *event)
{
    if (m_writingPdfs) {
        m_pdfsCancelled = true;
        event->ignore();
        return;
    }
    m_timer->stop();
    m_reading.reset();
    QWidget::closeEvent(event);
}

QByteArray RegisterWindow::bytesOf(const RegisterRow &row, QString &reason) const
{
    if (!row.path.isEmpty())
        return readInvoiceFile(row.path, reason);
    if (m_finishedSource)
        return m_finishedSource->entryBytes(row.file, reason);
    reason = QStringLiteral("Brak pliku.");
    return {};
}

QString RegisterWindow::writePdf(const RegisterRow &row, const QString &folder)
{
    QString reason;
    const QByteArray bytes = bytesOf(row, reason);
    if (!reason.isEmpty())
        return reason;
    try {
        ParseOutcome outcome = parseInvoice(bytes, TextEncoding::Declared, *m_schema);
        if (!outcome.document || !CheckInvoiceHeader(*outcome.document))
            return QStringLiteral("Plik zmienił się od odczytu i nie jest już poprawną fakturą.");
        const InvoiceDocument &document = *outcome.document;
        const QString base = PrintCommand::fileName(row.ksefNumber.isEmpty() ? row.number : row.ksefNumber);
        const QString separator = QLocale::system().decimalPoint();
        return PrintCommand::writePdf(print::buildInvoicePrintout(document, row.ksefNumber, separator),
                                      freeFilePath(folder, base, QStringLiteral(".pdf")));
    } catch (...) {
        return failureFromCurrentException().description();
    }
}

void RegisterWindow::exportPdfs()
{
    if (isReading() || !m_schema)
        return;
    std::vector<const RegisterRow *> rows;
    for (const RegisterRow *row : m_filter->shownRows()) {
        if (row->valid)
            rows.push_back(row);
    }
    if (rows.empty())
        return;
    const QString folder = m_desktop.chooseFolder(setFolder(), QStringLiteral("PDF - folder na wydruki"));
    if (folder.isEmpty())
        return;
    m_writingPdfs = true;
    m_pdfsCancelled = false;
    m_progress->setRange(0, int(rows.size()));
    m_progress->setValue(0);
    m_progress->show();
    m_stop->show();
    QStringList failures;
    int written = 0;
    for (const RegisterRow *row : rows) {
        // The window repaints and "Przerwij" or Esc are heard between files.
        QApplication::processEvents();
        if (m_pdfsCancelled)
            break;
        const QString problem = writePdf(*row, folder);
        if (problem.isEmpty())
            ++written;
        else
            failures << row->file + QStringLiteral(": ") + problem;
        m_progress->setValue(written + int(failures.size()));
    }
    m_writingPdfs = false;
    m_progress->hide();
    m_stop->hide();
    if (!failures.isEmpty()) {
        m_desktop.showMessage({QStringLiteral("PDF - błąd"),
                               QStringLiteral("Zapisano %1, nie zapisano %2:\r\n").arg(written).arg(failures.size())
                                   + failures.mid(0, 20).join(QStringLiteral("\r\n")),
                               MessageIcon::Exclamation});
    }
}

} // namespace velkor
