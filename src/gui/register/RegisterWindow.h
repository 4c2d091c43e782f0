#pragma once

#include "core/register/RegisterReading.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

namespace velkor {

class Desktop;
class InvoiceSchema;
class RegisterFilter;
class RegisterModel;

// The window "Rejestr faktur": one row per file of a folder, of chosen files
// or of a package, read on every core and shown as they come, with a filter,
// totals by currency, and the export of the rows shown.
class RegisterWindow : public QWidget
{
    Q_OBJECT
public:
    // Opens a row's invoice in the main window: the file's path, or its name
    // and bytes for a file of a package.
    using OpenInvoice = std::function<void(const QString &path, const QByteArray &bytes)>;

    RegisterWindow(Desktop &desktop, OpenInvoice openInvoice, QWidget *parent = nullptr);
    ~RegisterWindow() override;

    // Starts reading a set of files; what was shown before goes.
    void open(std::unique_ptr<RegisterSource> source, std::shared_ptr<const InvoiceSchema> schema);
    bool isReading() const { return m_reading != nullptr || m_writingPdfs; }
    // Stops reading; what has been read stays.
    void stop();
    // Writes the rows shown into a CSV file chosen in the save dialog.
    void exportCsv();
    // Writes the printout of every valid row shown into a folder chosen in a
    // dialog, one PDF per invoice, never over an existing file.
    void exportPdfs();

    RegisterModel &model() { return *m_model; }
    RegisterFilter &filter() { return *m_filter; }
    QTableView *table() const { return m_table; }
    QString totalsText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void takeRows();
    void finishReading();
    void updateTitle();
    void updateTotals();
    void updateMonths();
    void openCurrent();
    // The folder read, or the one holding the package or the files: where
    // the exports are offered first.
    QString setFolder() const;
    // The bytes of a row's file, from disk or from the package.
    QByteArray bytesOf(const RegisterRow &row, QString &reason) const;
    // Writes one row's printout; empty, or why not.
    QString writePdf(const RegisterRow &row, const QString &folder);

    Desktop &m_desktop;
    OpenInvoice m_openInvoice;
    RegisterModel *m_model;
    RegisterFilter *m_filter;
    QTableView *m_table;
    QLineEdit *m_filterText;
    QComboBox *m_month;
    QLabel *m_totals;
    QProgressBar *m_progress;
    QPushButton *m_stop;
    QTimer *m_timer;
    QElapsedTimer m_sinceRowsShown;
    static constexpr int RowsShownEveryMs = 250;
    QString m_path;
    std::unique_ptr<RegisterReading> m_reading;
    std::unique_ptr<RegisterSource> m_finishedSource; // the set read last, for opening its files
    std::shared_ptr<const InvoiceSchema> m_schema;
    bool m_writingPdfs = false;
    bool m_pdfsCancelled = false;
};

} // namespace velkor
