#include "MainWindow.h"

#include "app/MainWindowControls.h"
#include "app/QtDesktop.h"
#include "app/StartupParameters.h"
#include "app/WindowGeometry.h"
#include "app/WindowPlacement.h"
#include "commands/ClipboardExport.h"
#include "commands/CommandDispatch.h"
#include "gui/register/RegisterCommand.h"
#include "load/InvoiceLoader.h"
#include "support/Twips.h"
#include "views/InvoicePanes.h"
#include "views/ListModel.h"
#include "views/ListView.h"
#include "views/TextAndReveal.h"
#include "views/TextLinesView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
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
    , m_controls(std::make_unique<MainWindowControls>(this))
    , m_clipboard(std::make_unique<ClipboardExport>(*m_desktop))
    , m_rects(initialPaneRects())
    , m_placement(new FramePlacement(this, [this] { updateMinimumSize(); }))
{
    setObjectName(QStringLiteral("Okno"));
    setWindowTitle(QStringLiteral("Velkor"));

    m_textAndReveal = new TextAndReveal(*m_controls, m_state, this);
    m_panes = new InvoicePanes(*m_controls, m_state, *m_desktop, *m_textAndReveal, *m_clipboard, this);
    m_commands = new CommandDispatch(this, *m_controls, m_state, *m_panes, *m_textAndReveal, *m_clipboard,
                                     *m_desktop, *m_settings, schemaFile());

    auto &c = *m_controls;
    const Twips twips = twipsFor(this);
    for (int index : {0, 8, 9, 10, 13, 14})
        c.command[std::size_t(index)]->setGeometry(twips.toPixels(commandRowRect(index)));
    c.strukturaOn->setGeometry(twips.toPixels(strukturaOnRect()));
    resize(twips.toPixels(17280), twips.toPixels(11055));

    for (QWidget *pane : std::initializer_list<QWidget *>{c.drzewo, c.struktura, c.lista, c.listaS, c.listaE, c.listaK})
        pane->installEventFilter(this);
    c.struktura->setCopyHandler([this](const QString &text) { m_clipboard->CopyTextToClipboard(text); });

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

void MainWindow::Form_Load()
{
    auto &c = *m_controls;
    m_state.refreshing = true;
    RestoreWindowPlacement();
    for (ListView *list : {c.lista, c.listaS, c.listaE, c.listaK})
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
        list->setColumnWidth(column, restoredColumnWidth(readStoredText(*m_settings, Section, key)));
    }
}

void MainWindow::SaveColumnWidths(ListView *list)
{
    QList<QPair<QString, QString>> widths;
    for (int column = 0; column < list->listModel()->columnCount(); ++column)
        widths.append({columnWidthKey(list->objectName(), column + 1), QString::number(list->columnWidth(column))});
    writeStoredTexts(*m_settings, Section, widths);
}

void MainWindow::SaveWindowPlacement()
{
    auto &c = *m_controls;
    for (ListView *list : {c.lista, c.listaS, c.listaE, c.listaK})
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
    auto &c = *m_controls;
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
        if (watched == c.drzewo)
            m_panes->onTreeFocus();
        else if (watched == c.struktura)
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
    auto &c = *m_controls;
    const Twips twips = twipsFor(this);
    updateMinimumSize();

    const int statusHeight = c.status->sizeHint().height();
    c.status->setGeometry(0, height() - statusHeight, width(), statusHeight);

    m_rects = layoutMainWindow(twips.fromPixels(width()), twips.fromPixels(height()), twips.fromPixels(statusHeight),
                               m_rects);
    for (std::size_t i = 0; i < m_rects.size(); ++i) {
        if (QWidget *widget = c.widgetOf(Pane(i)))
            widget->setGeometry(twips.toPixels(m_rects[i]));
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

} // namespace velkor
