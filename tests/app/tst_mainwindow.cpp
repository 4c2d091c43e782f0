#include "app/MainWindow.h"
#include "app/MainWindowControls.h"
#include "commands/CommandDispatch.h"
#include "load/OfflineResources.h"
#include "views/ListModel.h"
#include "views/ListView.h"
#include "views/TreeModel.h"

#include "support/FakeDesktop.h"
#include "support/TestInvoices.h"
#include "support/TestPaths.h"

#include "app/QtDesktop.h"
#include "app/WindowGeometry.h"
#include "support/MsgTextInfo.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include "views/TextLinesView.h"
#include <QPushButton>
#include <QStyle>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

QStringList columnHeaders(const ListView *list)
{
    return list->listModel()->headers();
}

QStringList treePaths(const XmlTree &tree)
{
    QStringList paths;
    for (int node = 0; node < tree.nodeCount(); ++node)
        paths << tree.fullPath(node);
    return paths;
}

// Runs `handle` on the modal window of type T as soon as one is shown.
template <typename T>
void whenModal(std::function<void(T *)> handle)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, handle] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            handle(window);
        }
    });
    timer->start(20);
}

QStringList buttonTexts(const QWidget *window)
{
    QStringList texts;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisible() && !button->text().isEmpty())
            texts << button->text();
    }
    return texts;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temp;
    FakeDesktop m_desktop;
    std::unique_ptr<MainWindow> m_window;

    MainWindowControls &c() { return m_window->controls(); }

    void start(const QString &parameters = {})
    {
        m_window = std::make_unique<MainWindow>(&m_desktop);
        m_window->Edit(parameters);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QString writeInvoice(const QString &name, const QString &xml)
    {
        const QString path = m_temp.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(xml.toUtf8());
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        initializeXmlLibrary();
        QVERIFY(m_temp.isValid());
        QVERIFY(installPolishQtTexts(*qApp)); // as the program does at start, whatever LANG says
    }

    void init()
    {
        m_desktop = FakeDesktop();
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor")).clear();
    }

    void cleanup() { m_window.reset(); }

    void controlsCarryTheirCaptionsAndInitialState()
    {
        start();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor"));
        const QMap<int, QString> captions{{0, "Zamknij Esc"},
                                          {1, "Kopiuj zawartość Ctrl+F3"},
                                          {2, "Kopiuj tabelę Ctrl+F6"},
                                          {3, "Kopiuj zawartość Ctrl+F7"},
                                          {4, "Kopiuj zawartość Ctrl+F3"},
                                          {5, "Kopiuj XML Shift+F2"},
                                          {6, "Kopiuj tekst Ctrl+F2"},
                                          {7, "Kopiuj tekst Ctrl+F2"},
                                          {8, "Otwórz z pliku F5"},
                                          {9, "Wklej Ctrl+F5"},
                                          {10, "Kontrola  F9"},
                                          {11, "«»"},
                                          {12, "Info  F1"},
                                          {13, "Drukuj  Ctrl+P"}};
        for (auto it = captions.begin(); it != captions.end(); ++it)
            QCOMPARE(c().command[std::size_t(it.key())]->text(), it.value());
        QCOMPARE(c().command[10]->toolTip(), QStringLiteral("Sprawdź sumy, numery i plik faktury"));
        QCOMPARE(c().command[13]->toolTip(), QStringLiteral("Drukuj fakturę lub zapisz jako PDF"));
        const QString copyTip = QStringLiteral("Wybierz pozycję na liście i naciśnij Ctrl+C");
        for (int index : {1, 3, 4})
            QCOMPARE(c().command[std::size_t(index)]->toolTip(), copyTip);
        QCOMPARE(c().command[11]->toolTip(), QStringLiteral("Dopasuj szrokości kolumn"));

        QCOMPARE(c().strukturaOn->text(), QStringLiteral("Przełącz widok F11"));
        QCOMPARE(c().strukturaOn->toolTip(), QStringLiteral("Widok: struktura lub tekst"));
        QVERIFY(!c().strukturaOn->isChecked());
        QCOMPARE(c().korygowane->text(), QStringLiteral("Pokaż dokumenty korygowane F12"));
        QVERIFY(!c().korygowane->isEnabled());

        QCOMPARE(c().ramkaD->title(), QStringLiteral("Struktura XML  F2"));
        QCOMPARE(c().ramka->title(), QStringLiteral("Pozycje faktury  F6"));
        QCOMPARE(c().ramkaS->title(), QStringLiteral("Sprzedawca - nagłówek faktury  F3"));
        QCOMPARE(c().ramkaE->title(), QStringLiteral("Pozycja faktury  F7"));
        QCOMPARE(c().ramkaK->title(), QStringLiteral("Dokumenty korygowane  F3"));
        QCOMPARE(c().ramkaT->title(), QStringLiteral("Tekst XML  F2"));
        QVERIFY(c().ramkaD->isVisible() && c().ramka->isVisible() && c().ramkaS->isVisible() && c().ramkaE->isVisible());
        QVERIFY(!c().ramkaK->isVisible());
        QVERIFY(!c().ramkaT->isVisible());
        QVERIFY(c().ramkaD->font().bold());

        // Buttons sit in their frames.
        QCOMPARE(c().command[6]->parentWidget(), c().ramkaD);
        QCOMPARE(c().command[7]->parentWidget(), c().ramkaT);
        QCOMPARE(c().command[11]->parentWidget(), c().ramka);
        QCOMPARE(c().command[4]->parentWidget(), c().ramkaK);

        QCOMPARE(columnHeaders(c().lista),
                 (QStringList{"Lp", "KodDostawcy", "Jm", "Ilość", "Cena", "CenaW", "Wartość", "WartośćW", "VAT",
                              "Kurs", "Nazwa", "EAN", "GTU", "PKWIU"}));
        QCOMPARE(columnHeaders(c().listaS), (QStringList{"Pole", "Zawartość"}));
        QCOMPARE(columnHeaders(c().listaE), (QStringList{"Pole", "Zawartość"}));
        QCOMPARE(columnHeaders(c().listaK), (QStringList{"Data", "Dokument", "KSEF"}));
        for (ListView *list : {c().lista, c().listaS, c().listaE, c().listaK}) {
            QCOMPARE(list->listModel()->rowCount(), 0);
            QVERIFY(list->showGrid());
            QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        }
        QCOMPARE(c().countPanel->toolTip(), QStringLiteral("Liczba pozycji faktury"));
        const int countWidth = twipsFor(m_window.get()).toPixels(500);
        QCOMPARE(c().countPanel->width(), countWidth);
        QCOMPARE(c().countPanel->minimumWidth(), countWidth);
        QCOMPARE(c().zegar->interval(), 200);
        QVERIFY(m_desktop.messages.isEmpty());
        QCOMPARE(m_desktop.clipboardWrites, 0);
    }

    // Every caption of both windows fits its button as the style needs it:
    // the text and the button's margins and frame.
    void everyCaptionFitsItsButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})
            QTest::addRow("Okno, Command%d", index) << "Okno" << QStringLiteral("Command%1").arg(index);
        QTest::newRow("Okno, StrukturaOn") << "Okno" << "StrukturaOn";
        QTest::newRow("Okno, Korygowane") << "Okno" << "Korygowane";
        QTest::newRow("MsgTextInfo, Command0") << "MsgTextInfo" << "Command0";
    }
    void everyCaptionFitsItsButton()
    {
        QFETCH(QString, window);
        QFETCH(QString, button);
        start();
        QSettings settings(m_temp.filePath(QStringLiteral("info.ini")), QSettings::IniFormat);
        MsgTextInfo info(settings, QStringLiteral("tekst"), QStringLiteral("Informacje dla: P_1"));
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        const QWidget *owner = window == QLatin1String("Okno") ? static_cast<QWidget *>(m_window.get()) : &info;
        const auto *control = owner->findChild<QAbstractButton *>(button);
        QVERIFY(control);
        int needed = 0;
        if (qobject_cast<const QCheckBox *>(control)) {
            needed = control->sizeHint().width(); // the box, its spacing and the text
        } else {
            const QStyle *style = control->style();
            needed = QFontMetrics(control->font()).horizontalAdvance(control->text())
                     + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, control)
                     + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, control);
        }
        QVERIFY2(needed <= control->width(), qPrintable(QStringLiteral("\"%1\" needs %2 px, has %3")
                                                            .arg(control->text()).arg(needed).arg(control->width())));
    }

    void f5OpensAFileAndTheTitleShowsItsPath()
    {
        start();
        const QString path = writeInvoice(QStringLiteral("faktura.xml"), TestInvoice().toXml());
        m_desktop.dialogResult = path;
        QTest::keyClick(c().lista, Qt::Key_F5);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor  ") + QDir::toNativeSeparators(path));
        QVERIFY(m_window->state().invoiceDoc);
        QVERIFY(!m_window->state().refreshing);
        QCOMPARE(m_desktop.dialogCalls.size(), 1);
    }

    void ctrlF5PastesAndTheTitleIsPlain()
    {
        start();
        m_desktop.dialogResult = writeInvoice(QStringLiteral("f.xml"), TestInvoice().toXml());
        c().command[8]->click();
        QVERIFY(m_window->windowTitle() != QStringLiteral("Velkor"));

        m_desktop.clipboard = TestInvoice().toXml();
        QTest::keyClick(c().drzewo, Qt::Key_F5, Qt::ControlModifier);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor"));
        QCOMPARE(m_desktop.clipboard, TestInvoice().toXml()); // the clipboard keeps its text
    }

    void otherShiftStatesOfF5DoNothing()
    {
        start();
        m_desktop.clipboard = TestInvoice().toXml();
        m_desktop.dialogResult = writeInvoice(QStringLiteral("g.xml"), TestInvoice().toXml());
        QTest::keyClick(c().lista, Qt::Key_F5, Qt::AltModifier);
        QTest::keyClick(c().lista, Qt::Key_F5, Qt::ShiftModifier);
        QTest::keyClick(c().lista, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(m_desktop.dialogCalls.isEmpty());
        QVERIFY(!m_window->state().invoiceDoc);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor"));
    }

    void failedLoadChangesNothingOnScreen()
    {
        start();
        m_desktop.clipboard = TestInvoice().toXml();
        c().command[9]->click();
        const InvoiceDocument *shown = m_window->state().invoiceDoc.get();
        QVERIFY(shown);
        const int nodes = c().treeModel->tree().nodeCount();
        m_window->setWindowTitle(QStringLiteral("Velkor  /x/y.xml"));

        m_desktop.clipboard = QStringLiteral("<zle>");
        c().command[9]->click();
        QCOMPARE(m_desktop.messages.size(), 1);
        QCOMPARE(m_desktop.messages[0].title, QStringLiteral("Wklej XML - błąd"));
        m_desktop.dialogResult.clear();
        c().command[8]->click(); // cancelled
        QCOMPARE(m_window->state().invoiceDoc.get(), shown);
        QCOMPARE(c().treeModel->tree().nodeCount(), nodes);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor  /x/y.xml"));
    }

    // The real dialog and message box, with Qt's own texts in Polish: a typed
    // name of a missing file reaches the load, which reports it and
    // remembers its folder.
    void aTypedMissingFileIsReportedInPolish()
    {
        const QString folder = m_temp.filePath(QStringLiteral("brak"));
        QVERIFY(QDir().mkpath(folder));
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor"))
            .setValue(QStringLiteral("Okno/Path"), QDir::toNativeSeparators(folder));
        MainWindow window; // the real desktop
        window.Edit(QString());
        QStringList dialogTexts;
        QStringList boxTexts;
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            dialogTexts << dialog->windowTitle() << dialog->findChild<QLabel *>(QStringLiteral("lookInLabel"))->text()
                        << dialog->findChild<QLabel *>(QStringLiteral("fileNameLabel"))->text()
                        << dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open)->text()
                        << dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->text();
            whenModal<QMessageBox>([&, open = QPointer<QFileDialog>(dialog)](QMessageBox *box) {
                boxTexts << box->windowTitle() << box->text() << buttonTexts(box);
                box->buttons().first()->click();
                if (open) // a dialog that refused the name
                    open->reject();
            });
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            name->setText(QStringLiteral("nie-ma.xml"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        window.commands().Command_Click(8);
        QCOMPARE(dialogTexts, (QStringList{"Importuj FA3 z pliku XML", "Szukaj w:", "Nazwa &pliku:", "&Otwórz", "Anuluj"}));
        const QString path = QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("nie-ma.xml")));
        QCOMPARE(boxTexts, (QStringList{"Otwórz z pliku - błąd",
                                        "Błąd walidacji FA3\nPlik: " + path + "\nPowód: Plik nie istnieje.\nLinia: 0",
                                        "OK"}));
        QCOMPARE(window.settings().value(QStringLiteral("Okno/Path")).toString(), QDir::toNativeSeparators(folder));
        QCOMPARE(window.windowTitle(), QStringLiteral("Velkor"));
        QVERIFY(!window.state().invoiceDoc);

        // The text boxes' own menu speaks Polish too.
        QPlainTextEdit box;
        box.setPlainText(QStringLiteral("tekst"));
        box.selectAll();
        const std::unique_ptr<QMenu> menuOfBox(box.createStandardContextMenu());
        QStringList menu;
        for (const QAction *action : menuOfBox->actions())
            menu << action->text();
        QVERIFY2(menu.contains(QStringLiteral("S&kopiuj\tCtrl+C")) && menu.contains(QStringLiteral("Zaznacz wszystko\tCtrl+A")),
                 qPrintable(menu.join(u'|')));
    }

    void escAsksAndCancelKeepsTheProgramRunning()
    {
        start();
        m_desktop.nextAnswer = MessageAnswer::Cancel;
        QTest::keyClick(c().lista, Qt::Key_Escape);
        QCOMPARE(m_desktop.messages.size(), 1);
        const Message &question = m_desktop.messages[0];
        QCOMPARE(question.title, QStringLiteral("Zakończ?"));
        QCOMPARE(question.text, QStringLiteral("Zakończyć program Velkor?"));
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.buttons, MessageButtons::OkCancel);
        QVERIFY(question.cancelIsDefault);
        QVERIFY(m_window->isVisible());

        m_desktop.nextAnswer = MessageAnswer::Ok;
        c().command[0]->click();
        QCOMPARE(m_desktop.messages.size(), 2);
        QVERIFY(!m_window->isVisible());
    }

    void closingByTheTitleBarDoesNotAsk()
    {
        start();
        m_window->close();
        QVERIFY(!m_window->isVisible());
        QVERIFY(m_desktop.messages.isEmpty());
    }

    void unlistedKeysReachTheFocusedControl()
    {
        start();
        m_desktop.clipboard = TestInvoice().toXml();
        c().command[9]->click();
        c().drzewo->setFocus();
        c().drzewo->setCurrentIndex(c().treeModel->index(0, 0));
        QTest::keyClick(c().drzewo, Qt::Key_Down);
        QCOMPARE(c().drzewo->currentIndex().row(), 1);
    }

    void treeShowsTheInvoiceAndClicksToggleNodes()
    {
        start();
        m_desktop.clipboard = TestInvoice().toXml();
        c().command[9]->click();
        const QStringList paths = treePaths(c().treeModel->tree());
        QCOMPARE(paths.first(), QStringLiteral("Naglowek"));
        QVERIFY(paths.contains(QStringLiteral("Fa / P_1 / 2025-01-31")));
        QVERIFY(paths.contains(QStringLiteral("Podmiot1 / DaneIdentyfikacyjne / Nazwa / Sprzedawca Sp. z o.o.")));
        QVERIFY(!paths.contains(QStringLiteral("Faktura")));

        QTreeView *tree = c().drzewo;
        const QModelIndex naglowek = c().treeModel->index(0, 0);
        QVERIFY(!tree->isExpanded(naglowek)); // nodes are added collapsed
        tree->setFocus();
        tree->setCurrentIndex(naglowek);
        const QRect cell = tree->visualRect(naglowek);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(tree->isExpanded(naglowek));
        QCOMPARE(c().infoPanel->text(), QStringLiteral("Naglowek"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!tree->isExpanded(naglowek));
    }

    void handOverAtStartLoadsTheClipboardAndEmptiesIt()
    {
        m_desktop.clipboard = TestInvoice().toXml();
        start(QStringLiteral("KSEF¤¤1234-ABC«»"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor »» KSEF: 1234-ABC"));
        QVERIFY(m_window->state().invoiceDoc);
        QVERIFY(m_desktop.clipboard.isEmpty());
    }

    // Started with the whole parameter string naming an existing file (a
    // file manager's "open with"), the program opens that file as F5 would;
    // any other string is a calling program's hand-over through the clipboard.
    void aFileNamedAtStartIsOpenedAnythingElseIsAHandOver_data()
    {
        QTest::addColumn<QString>("parameters"); // {file}: an invoice file, {folder}: its folder
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("fromFile");
        QTest::newRow("file") << "{file}" << "Velkor  {file}" << true;
        QTest::newRow("missing file") << "{folder}/nie-ma.xml" << "Velkor" << false;
        QTest::newRow("folder") << "{folder}" << "Velkor" << false;
        QTest::newRow("hand-over") << "ksef¤¤X" << "Velkor »» KSEF: X" << false;
    }
    void aFileNamedAtStartIsOpenedAnythingElseIsAHandOver()
    {
        QFETCH(QString, parameters);
        QFETCH(QString, title);
        QFETCH(bool, fromFile);
        const QString folder = m_temp.filePath(QStringLiteral("z odstępem"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = writeTestFile(folder, QStringLiteral("faktura.xml"), TestInvoice().toXml().toUtf8());
        const auto expand = [&](QString text) {
            return text.replace(QStringLiteral("{file}"), file).replace(QStringLiteral("{folder}"), folder);
        };
        const QString handedOver = TestInvoice().toXml();
        m_desktop.clipboard = handedOver;
        start(expand(parameters));
        QCOMPARE(m_window->windowTitle(), QString(expand(title)).replace(file, QDir::toNativeSeparators(file)));
        QVERIFY(m_window->state().invoiceDoc);
        QVERIFY(m_desktop.messages.isEmpty());
        QCOMPARE(m_desktop.clipboard, fromFile ? handedOver : QString()); // a hand-over empties it
        QCOMPARE(m_window->settings().value(QStringLiteral("Okno/Path")).toString(),
                 fromFile ? QDir::toNativeSeparators(folder) : QString());
    }

    // A file dropped on the window opens as F5 opens a chosen file; a drag of
    // anything but one local file is refused.
    void droppingAFileOpensItAsF5Would_data()
    {
        QTest::addColumn<QStringList>("urls"); // {folder}: a folder holding faktura.xml and zla.xml
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("invoice") << QStringList{"file://{folder}/faktura.xml"} << true << "Velkor  {folder}/faktura.xml" << "";
        QTest::newRow("invalid file") << QStringList{"file://{folder}/zla.xml"} << true << "Velkor" << "Otwórz z pliku - błąd";
        QTest::newRow("two files") << QStringList{"file://{folder}/faktura.xml", "file://{folder}/zla.xml"} << false
                                   << "Velkor" << "";
        QTest::newRow("web address") << QStringList{"https://example.com/faktura.xml"} << false << "Velkor" << "";
    }
    void droppingAFileOpensItAsF5Would()
    {
        QFETCH(QStringList, urls);
        QFETCH(bool, accepted);
        QFETCH(QString, title);
        QFETCH(QString, message);
        const QString folder = m_temp.filePath(QStringLiteral("upuszczone"));
        writeTestFile(folder, QStringLiteral("faktura.xml"), TestInvoice().toXml().toUtf8());
        writeTestFile(folder, QStringLiteral("zla.xml"), QByteArray("<Faktura>"));
        start();
        QMimeData mime;
        QList<QUrl> dragged;
        for (const QString &url : urls)
            dragged << QUrl(QString(url).replace(QStringLiteral("{folder}"), folder));
        mime.setUrls(dragged);
        QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QDropEvent drop(QPointF(40, 40), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &drop);
        QCOMPARE(drop.isAccepted(), accepted);
        QTest::qWait(50); // the load follows the drop
        QCOMPARE(m_window->windowTitle(),
                 QString(title).replace(QStringLiteral("{folder}/"), QDir::toNativeSeparators(folder + u'/')));
        QCOMPARE(m_desktop.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(m_desktop.messages[0].title, message);
        QCOMPARE(m_window->settings().value(QStringLiteral("Okno/Path")).toString(),
                 accepted ? QDir::toNativeSeparators(folder) : QString());
        QVERIFY(m_desktop.dialogCalls.isEmpty());
    }

    void handOverWithoutKsefPairStillLoads()
    {
        m_desktop.clipboard = TestInvoice().toXml();
        start(QStringLiteral("ksef¤¤X¤¤Y"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor"));
        QVERIFY(m_window->state().invoiceDoc);
    }

    void handOverWithEmptyClipboardIsQuiet()
    {
        start(QStringLiteral("ksef¤¤X"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor"));
        QVERIFY(m_desktop.messages.isEmpty());
        QVERIFY(!m_window->state().invoiceDoc);
        QVERIFY(m_window->state().refreshing); // list clicks stay inert until a refresh
    }

    void handOverOfInvalidXmlReportsAndKeepsTheClipboard()
    {
        m_desktop.clipboard = QStringLiteral("<Faktura>");
        start(QStringLiteral("ksef¤¤X"));
        QCOMPARE(m_desktop.messages.size(), 1);
        QCOMPARE(m_desktop.messages[0].title, QStringLiteral("Wklej XML - błąd"));
        QCOMPARE(m_desktop.clipboard, QStringLiteral("<Faktura>"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
