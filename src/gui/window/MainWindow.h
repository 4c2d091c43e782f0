#pragma once

#include "core/commands/InvoiceState.h"
#include "core/window/Layout.h"

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QSettings;

namespace velkor {

class ClipboardExport;
class CommandDispatch;
class CommandRow;
class Desktop;
class FramePlacement;
class InvoicePanes;
class ListPane;
class ListView;
class PaneFrame;
class StatusPanels;
class TextAndReveal;
class TextPane;
class TreePane;

// The main window: composes the command row, the panes and the status bar,
// owns the invoice shown in them, sees the function keys before its
// controls, lays the panes out on every resize.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    // `desktop` is used for message boxes, the file dialog and the clipboard;
    // without one the window uses the real desktop.
    explicit MainWindow(Desktop *desktop = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Stores the start-up parameter string, loads the window (which acts on
    // the string) and shows it. Dropping a file on the window opens it.
    void Edit(const QString &initText);

    InvoiceState &state() { return m_state; }
    InvoicePanes &panes() { return *m_panes; }
    TextAndReveal &textAndReveal() { return *m_textAndReveal; }
    CommandDispatch &commands() { return *m_commands; }
    QSettings &settings() { return *m_settings; }

    // The schema file every load reads: sql/schemaFA3.xsd in the program's folder.
    static QString schemaFile();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void ProcessStartupParameters();
    void Form_Resize();
    void updateMinimumSize();
    void Form_Unload();

    std::vector<const PaneFrame *> frames() const;
    std::array<ListView *, 4> lists() const;
    // The widget the layout places for a pane.
    QWidget *widgetOf(Pane pane) const;

    void RestoreWindowPlacement();
    void SaveWindowPlacement();
    void RestoreColumnWidths(ListView *list);
    void SaveColumnWidths(ListView *list);

    QString m_initText;
    InvoiceState m_state;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<Desktop> m_ownDesktop;
    Desktop *m_desktop;
    std::unique_ptr<CommandRow> m_commandRow;
    QCheckBox *m_korygowane = nullptr;
    QCheckBox *m_strukturaOn = nullptr;
    std::unique_ptr<TreePane> m_tree;
    std::unique_ptr<ListPane> m_lines;
    std::unique_ptr<ListPane> m_header;
    std::unique_ptr<ListPane> m_details;
    std::unique_ptr<ListPane> m_corrected;
    std::unique_ptr<TextPane> m_text;
    std::unique_ptr<StatusPanels> m_status;
    std::unique_ptr<ClipboardExport> m_clipboard;
    TextAndReveal *m_textAndReveal = nullptr;
    InvoicePanes *m_panes = nullptr;
    CommandDispatch *m_commands = nullptr;
    PaneRects m_rects;
    FramePlacement *m_placement;
};

} // namespace velkor
