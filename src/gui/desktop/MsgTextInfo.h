#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QSettings;

namespace velkor {

class FramePlacement;

// A small modal tool window showing a long read-only text under a caption.
// It remembers its position and size in the settings store.
class MsgTextInfo : public QDialog
{
    Q_OBJECT
public:
    // Loads the window with the text and caption (its placement restored)
    // without showing it.
    MsgTextInfo(QSettings &settings, const QString &text, const QString &caption, QWidget *parent = nullptr);

    // Shows the text modally and returns when the window has been closed.
    static void Edit(QSettings &settings, const QString &pText, const QString &pCaption);

    QPlainTextEdit *pole() const { return m_pole; }
    QPushButton *closeButton() const { return m_close; }

    void done(int result) override; // every way of closing ends here

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutControls();

    QSettings &m_settings;
    FramePlacement *m_placement;
    QPlainTextEdit *m_pole;
    QPushButton *m_close;
};

} // namespace velkor
