#pragma once

#include "core/check/CheckReport.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSettings;

namespace velkor {

class FramePlacement;

// The modal window "Kontrola faktury": the report as text (selectable and
// copyable), the QR code of the verification link with its caption, and
// the buttons "Kopiuj link", "Drukuj raport" and "Zamknij Esc". It remembers its position and
// size in its own section of the settings store, as the information window
// does.
class CheckWindow : public QDialog
{
    Q_OBJECT
public:
    // `copyText` puts a text on the clipboard; `printReport` prints the
    // report with its QR code.
    CheckWindow(QSettings &settings, const CheckReport &report, std::function<void(const QString &)> copyText,
                std::function<void()> printReport, QWidget *parent = nullptr);

    // Shows the report modally and returns when the window has been closed.
    static void Edit(QSettings &settings, const CheckReport &report, std::function<void(const QString &)> copyText,
                     std::function<void()> printReport);

    QPlainTextEdit *reportView() const { return m_report; }
    QLabel *qrView() const { return m_qr; }
    QLabel *captionView() const { return m_caption; }
    QPushButton *copyLinkButton() const { return m_copyLink; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *closeButton() const { return m_close; }

    void done(int result) override; // every way of closing ends here

private:
    QSettings &m_settings;
    FramePlacement *m_placement;
    QPlainTextEdit *m_report;
    QLabel *m_qr;
    QLabel *m_caption;
    QPushButton *m_copyLink;
    QPushButton *m_print;
    QPushButton *m_close;
};

} // namespace velkor
