#include "MainWindow.h"

#include "core/invoice/ListModel.h"
#include "core/load/InvoiceLoader.h"
#include "core/window/StartupParameters.h"
#include "core/window/Twips.h"
#include "core/window/WindowPlacement.h"
#include "gui/commands/CommandDispatch.h"
#include "gui/desktop/QtDesktop.h"
#include "gui/panes/ClipboardExport.h"
#include "gui/panes/InvoicePanes.h"
#include "gui/panes/PaneFrames.h"
#include "gui/panes/StatusPanels.h"
#include "gui/panes/TextAndReveal.h"
#include "gui/register/RegisterCommand.h"
#include "gui/widgets/ListView.h"
#include "gui/widgets/TextLinesView.h"
#include "gui/widgets/WindowGeometry.h"
#include "gui/widgets/WindowStyle.h"
#include "gui/window/CommandRow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

namespace velkor {

namespace {

const QString Section = QStringLiteral("Okno");
const QString ChooseAndCopyTip = QStringLiteral("Wybierz pozycję na liście i naciśnij Ctrl+C");

// The one local file a drag carries, or an empty text.
QString draggedFile(const QMimeData *mime)
{
    const QList<QUrl> urls = mime ? mime->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

// The local paths of a drag that opens the register: a folder, a ZIP
// package or several files; empty for anything else.
QStringList draggedRegister(const QMimeData *mime)
{
    const QList<QUrl> urls = mime ? mime->urls() : QList<QUrl>();
    QStringList paths;
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.size() != urls.size() || paths.isEmpty())
        return {};
    return paths.size() > 1 || RegisterCommand::isRegisterPath(paths.first()) ? paths : QStringList();
}

} // namespace

MainWindow::MainWindow(Desktop *desktop, QWidget *parent)
    : QWidget(parent)
    , m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Velkor"), QStringLiteral("Velkor")))
    , m_ownDesktop(desktop ? nullptr : std::make_unique<QtDesktop>(this, *m_settings))
    , m_desktop(desktop ? desktop : m_ownDesktop.get())
    , m_clipboard(std::make_unique<ClipboardExport>(*m_desktop))
    , m_rects(initialPaneRects())
    , m_placement(new FramePlacement(this, [this] { updateMinimumSize(); }))
{
    setObjectName(QStringLiteral("Okno"));
    setWindowTitle(QStringLiteral("Velkor"));
    setFont(dialogFont());

    // Created in the order Tab goes through them.
    m_commandRow = std::make_unique<CommandRow>(this);
    m_korygowane = correctionsToggle(this);
    m_strukturaOn = viewToggle(this);
    m_tree = std::make_unique<TreePane>(this);
    m_lines = std::make_unique<ListPane>(this, "Ramka", QStringLiteral("Pozycje faktury  F6"),
                                         std::vector<ButtonSpec>{{2, QStringLiteral("Kopiuj tabelę Ctrl+F6"), {}},
                                                                 {11, QStringLiteral("«»"), QStringLiteral("Dopasuj szrokości kolumn")}},
                                         QStringLiteral("Lista"), invoiceLineColumns());
    m_lines->list()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_header = std::make_unique<ListPane>(this, "RamkaS", QStringLiteral("Sprzedawca - nagłówek faktury  F3"),
                                          std::vector<ButtonSpec>{{1, QStringLiteral("Kopiuj zawartość Ctrl+F3"), ChooseAndCopyTip}},
                                          QStringLiteral("ListaS"), headerFieldColumns());
    m_details = std::make_unique<ListPane>(this, "RamkaE", QStringLiteral("Pozycja faktury  F7"),
                                           std::vector<ButtonSpec>{{3, QStringLiteral("Kopiuj zawartość Ctrl+F7"), ChooseAndCopyTip}},
                                           QStringLiteral("ListaE"), lineDetailColumns());
    m_corrected = std::make_unique<ListPane>(this, "RamkaK", QStringLiteral("Dokumenty korygowane  F3"),
                                             std::vector<ButtonSpec>{{4, QStringLiteral("Kopiuj zawartość Ctrl+F3"), ChooseAndCopyTip}},
                                             QStringLiteral("ListaK"), correctedDocumentColumns(), false);
    // Names, accounts and KSeF numbers get the panes' remaining width.
    for (const ListPane *pane : {m_header.get(), m_details.get(), m_corrected.get()})
        pane->list()->stretchLastColumn();
    m_text = std::make_unique<TextPane>(this);
    m_status = std::make_unique<StatusPanels>(this);

    const ListPanes listPanes{*m_lines, *m_header, *m_details, *m_corrected};
    m_textAndReveal = new TextAndReveal(*m_tree, *m_text, *m_lines->frame(), *m_strukturaOn, m_state, this);
    m_panes = new InvoicePanes(listPanes, *m_tree, *m_korygowane, *m_status, m_state, *m_desktop, *m_textAndReveal,
                               *m_clipboard, this);
    m_commands = new CommandDispatch(this, listPanes, *m_tree, *m_text, m_state, *m_panes, *m_textAndReveal,
                                     *m_clipboard, *m_desktop, *m_settings, schemaFile());
    for (const PaneFrame *frame : frames())
        m_commands->connectButtons(frame->buttons());
    m_commands->connectButtons(m_commandRow->buttons());

    const Twips twips = twipsFor(this);
    for (const auto &[index, button] : m_commandRow->buttons())
        button->setGeometry(twips.toPixels(commandRowRect(index)));
    m_strukturaOn->setGeometry(twips.toPixels(strukturaOnRect()));
    resize(twips.toPixels(17280), twips.toPixels(11055));

    for (QWidget *pane : std::initializer_list<QWidget *>{m_tree->tree(), m_text->text()})
        pane->installEventFilter(this);
    for (ListView *list : lists())
        list->installEventFilter(this);
    m_text->text()->setCopyHandler([this](const QString &text) { m_clipboard->CopyTextToClipboard(text); });

    // The window sees every key before the focused control.
    qApp->installEventFilter(this);
    setAcceptDrops(true);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

QString MainWindow::schemaFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("sql/schemaFA3.xsd"));
}

void MainWindow::Edit(const QString &initText)
{
    m_initText = initText;
    Form_Load();
    show();
}

std::vector<const PaneFrame *> MainWindow::frames() const
{
    return {m_tree.get(), m_lines.get(), m_header.get(), m_details.get(), m_corrected.get(), m_text.get()};
}

std::array<ListView *, 4> MainWindow::lists() const
{
    return {m_lines->list(), m_header->list(), m_details->list(), m_corrected->list()};
}

QWidget *MainWindow::widgetOf(Pane pane) const
{
    const auto button = [this](int index) -> QWidget * {
        for (const PaneFrame *frame : frames()) {
            for (const auto &[buttonIndex, button] : frame->buttons()) {
                if (buttonIndex == index)
                    return button;
            }
        }
        return nullptr;
    };
    switch (pane) {
    case Pane::RamkaD: return m_tree->frame();
    case Pane::RamkaS: return m_header->frame();
    case Pane::RamkaK: return m_corrected->frame();
    case Pane::Ramka: return m_lines->frame();
    case Pane::RamkaE: return m_details->frame();
    case Pane::RamkaT: return m_text->frame();
    case Pane::Korygowane: return m_korygowane;
    case Pane::Drzewo: return m_tree->tree();
    case Pane::Struktura: return m_text->text();
    case Pane::ListaS: return m_header->list();
    case Pane::ListaK: return m_corrected->list();
    case Pane::Lista: return m_lines->list();
    case Pane::ListaE: return m_details->list();
    case Pane::Command1: return button(1);
    case Pane::Command2: return button(2);
    case Pane::Command3: return button(3);
    case Pane::Command4: return button(4);
    case Pane::Command5: return button(5);
    case Pane::Command6: return button(6);
    case Pane::Command7: return button(7);
    case Pane::Command11: return button(11);
    case Pane::Command12: return button(12);
    case Pane::Count: break;
    }
    return nullptr;
}

void MainWindow::Form_Load()
{
    m_state.refreshing = true;
    RestoreWindowPlacement();
    for (ListView *list : lists())
        RestoreColumnWidths(list);
    ProcessStartupParameters();
}

void MainWindow::RestoreWindowPlacement()
{
    const RestoredPlacement placement = m_placement->restore(*m_settings, Section, true);
    if (placement.state == WindowState::Maximized)
        setWindowState(Qt::WindowMaximized);
    else if (placement.state == WindowState::Minimized)
        setWindowState(Qt::WindowMinimized);
}

void MainWindow::RestoreColumnWidths(ListView *list)
{
    for (int column = 0; column < list->listModel()->columnCount(); ++column) {
        const QString key = columnWidthKey(list->objectName(), column + 1);
        list->setUserColumnWidth(column, restoredColumnWidth(readStoredText(*m_settings, Section, key)));
    }
}

void MainWindow::SaveColumnWidths(ListView *list)
{
    QList<QPair<QString, QString>> widths;
    for (int column = 0; column < list->listModel()->columnCount(); ++column)
        widths.append({columnWidthKey(list->objectName(), column + 1), QString::number(list->userColumnWidth(column))});
    writeStoredTexts(*m_settings, Section, widths);
}

void MainWindow::SaveWindowPlacement()
{
    for (ListView *list : lists())
        SaveColumnWidths(list);
    const WindowState state = isMinimized() ? WindowState::Minimized
                              : isMaximized() ? WindowState::Maximized
                                              : WindowState::Normal;
    writeStoredTexts(*m_settings, Section,
                     placementToSave(PlacementKind::MainWindow, state, m_placement->outerRect()));
    m_settings->sync();
}

void MainWindow::Form_Unload()
{
    SaveWindowPlacement();
}

void MainWindow::ProcessStartupParameters()
{
    if (m_initText.isEmpty())
        return;
    // A folder or a package: the register.
    if (const QString path = startupRegisterPath(m_initText); !path.isEmpty()) {
        m_commands->openRegister({path});
        return;
    }
    // Opened from a file manager: the whole string is the file's path.
    if (const QString file = startupFile(m_initText); !file.isEmpty()) {
        m_commands->openFile(file);
        return;
    }
    const QString ksefNumber = ksefNumberFromParameters(m_initText);
    LoadEnvironment environment{*m_desktop, *m_settings, schemaFile()};
    QString unused;
    std::unique_ptr<InvoiceDocument> document = PobierzFA3(environment, LoadSource::Clipboard, unused);
    if (!document)
        return;
    m_desktop->setClipboardText(QString());
    m_panes->showInvoice(std::move(document), ksefNumber);
    setWindowTitle(startupTitle(ksefNumber));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // Only keys meant for this window; a modal box or dialog keeps its own.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this && !QApplication::activeModalWidget()) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (m_commands->Form_KeyDown(key->key(), key->modifiers()))
                return true;
            if (auto *list = qobject_cast<ListView *>(watched); list && m_panes->onListKey(list, key->key(), key->modifiers()))
                return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == m_tree->tree())
            m_panes->onTreeFocus();
        else if (watched == m_text->text())
            m_panes->UpdateStatus(nullptr, nullptr);
        else if (auto *list = qobject_cast<ListView *>(watched))
            m_panes->onListFocus(list);
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!draggedRegister(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    if (!draggedFile(event->mimeData()).isEmpty() && !m_commands->isLoading())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (const QStringList paths = draggedRegister(event->mimeData()); !paths.isEmpty()) {
        event->acceptProposedAction();
        QTimer::singleShot(0, this, [this, paths] { m_commands->openRegister(paths); });
        return;
    }
    const QString path = draggedFile(event->mimeData());
    if (path.isEmpty() || m_commands->isLoading())
        return;
    event->acceptProposedAction();
    // The program the file came from waits until the drop is handled; the
    // load, which may show a message, runs after that.
    QTimer::singleShot(0, this, [this, path] { m_commands->openFile(path); });
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize(); // the minimum size holds only in the normal state
}

void MainWindow::updateMinimumSize()
{
    const Twips twips = twipsFor(this);
    // The minimum applies to the outer size, frame included, and only in the
    // normal state: a maximised window on a small screen keeps the screen's size.
    const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    const QSize frameMargins = frameGeometry().size() - size();
    const QSize minimum = normal ? QSize(twips.toPixels(layout::MinimumWindowWidth),
                                         twips.toPixels(layout::MinimumWindowHeight)) - frameMargins
                                 : QSize(0, 0);
    if (minimumSize() != minimum)
        setMinimumSize(minimum);
}

void MainWindow::Form_Resize()
{
    const Twips twips = twipsFor(this);
    updateMinimumSize();

    QStatusBar *status = m_status->bar();
    const int statusHeight = status->sizeHint().height();
    status->setGeometry(0, height() - statusHeight, width(), statusHeight);

    m_rects = layoutMainWindow(twips.fromPixels(width()), twips.fromPixels(height()), twips.fromPixels(statusHeight),
                               m_rects);
    for (std::size_t i = 0; i < m_rects.size(); ++i) {
        if (QWidget *widget = widgetOf(Pane(i)))
            widget->setGeometry(twips.toPixels(m_rects[i]));
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

} // namespace velkor
