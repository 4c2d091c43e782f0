#include "gui/desktop/MsgTextInfo.h"
#include "gui/desktop/QtDesktop.h"
#include "gui/register/RegisterCommand.h"

#include "fixtures/WindowFixture.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QLibraryInfo>
#include <QMimeData>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>

using namespace velkor;
using namespace velkor::test;

namespace {

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

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temp;
    FakeDesktop m_desktop;
    std::unique_ptr<MainWindow> m_window;

    std::unique_ptr<WindowControls> m_controls;
    WindowControls &c()
    {
        if (!m_controls)
            m_controls = std::make_unique<WindowControls>(*m_window);
        return *m_controls;
    }

    void start(const QString &parameters = {})
    {
        m_controls.reset();
        m_window = std::make_unique<MainWindow>(&m_desktop);
        m_window->Edit(parameters);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QString storedFolder() { return m_window->settings().value(QStringLiteral("Okno/Path")).toString(); }

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

    void cleanup()
    {
        m_controls.reset();
        m_window.reset();
    }

    // Every control's Polish caption and tip, in its frame; a button's
    // caption fits it as the style needs it: the text, margins and frame.
    void everyCaptionInItsPlaceFitsItsButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        const QString copyTip = QStringLiteral("Wybierz pozycję na liście i naciśnij Ctrl+C");
        const QList<QStringList> rows{
            {"Okno", "Command0", "Okno", "Zamknij Esc", ""},
            {"Okno", "Command1", "RamkaS", "Kopiuj zawartość Ctrl+F3", copyTip},
            {"Okno", "Command2", "Ramka", "Kopiuj tabelę Ctrl+F6", ""},
            {"Okno", "Command3", "RamkaE", "Kopiuj zawartość Ctrl+F7", copyTip},
            {"Okno", "Command4", "RamkaK", "Kopiuj zawartość Ctrl+F3", copyTip},
            {"Okno", "Command5", "RamkaD", "Kopiuj XML Shift+F2", ""},
            {"Okno", "Command6", "RamkaD", "Kopiuj tekst Ctrl+F2", ""},
            {"Okno", "Command7", "RamkaT", "Kopiuj tekst Ctrl+F2", ""},
            {"Okno", "Command8", "Okno", "Otwórz z pliku F5", ""},
            {"Okno", "Command9", "Okno", "Wklej Ctrl+F5", ""},
            {"Okno", "Command10", "Okno", "Kontrola  F9", "Sprawdź sumy, numery i plik faktury"},
            {"Okno", "Command11", "Ramka", "«»", "Dopasuj szrokości kolumn"},
            {"Okno", "Command12", "RamkaD", "Info  F1", ""},
            {"Okno", "Command13", "Okno", "Drukuj  Ctrl+P", "Drukuj fakturę lub zapisz jako PDF"},
            {"Okno", "Command14", "Okno", "Rejestr  F8", "Rejestr faktur: folder (F8), kilka plików lub paczka ZIP (Shift+F8)"},
            {"Okno", "StrukturaOn", "Okno", "Przełącz widok F11", "Widok: struktura lub tekst"},
            {"Okno", "Korygowane", "Okno", "Pokaż dokumenty korygowane F12", ""},
            {"Okno", "RamkaD", "Okno", "Struktura XML  F2", ""},
            {"Okno", "Ramka", "Okno", "Pozycje faktury  F6", ""},
            {"Okno", "RamkaS", "Okno", "Sprzedawca - nagłówek faktury  F3", ""},
            {"Okno", "RamkaE", "Okno", "Pozycja faktury  F7", ""},
            {"Okno", "RamkaK", "Okno", "Dokumenty korygowane  F3", ""},
            {"Okno", "RamkaT", "Okno", "Tekst XML  F2", ""},
            {"MsgTextInfo", "Command0", "MsgTextInfo", "Zamknij Esc", ""},
        };
        for (const QStringList &row : rows)
            QTest::addRow("%s, %s", qPrintable(row[0]), qPrintable(row[1])) << row[0] << row[1] << row[2] << row[3] << row[4];
    }
    void everyCaptionInItsPlaceFitsItsButton()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, frame);
        QFETCH(QString, caption);
        QFETCH(QString, tip);
        start();
        QSettings settings(m_temp.filePath(QStringLiteral("info.ini")), QSettings::IniFormat);
        MsgTextInfo info(settings, QStringLiteral("tekst"), QStringLiteral("Informacje dla: P_1"));
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        const QWidget *owner = window == u"Okno" ? static_cast<QWidget *>(m_window.get()) : &info;
        const auto *widget = owner->findChild<QWidget *>(control);
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget()->objectName(), frame);
        QCOMPARE(widget->toolTip(), tip);
        if (const auto *box = qobject_cast<const QGroupBox *>(widget)) {
            QCOMPARE(box->title(), caption);
            return;
        }
        const auto *button = qobject_cast<const QAbstractButton *>(widget);
        QCOMPARE(button->text(), caption);
        int needed = button->sizeHint().width(); // a check box: the box, its spacing and the text
        if (!qobject_cast<const QCheckBox *>(button)) {
            const QStyle *style = button->style();
            needed = QFontMetrics(button->font()).horizontalAdvance(caption)
                     + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button)
                     + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        }
        QVERIFY2(needed <= button->width(), qPrintable(QStringLiteral("needs %1 px, has %2").arg(needed).arg(button->width())));
    }

    void initialState()
    {
        start();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor"));
        QVERIFY(!c().strukturaOn->isChecked());
        QVERIFY(!c().korygowane->isEnabled());
        QVERIFY(c().ramkaD->isVisible() && c().ramka->isVisible() && c().ramkaS->isVisible() && c().ramkaE->isVisible());
        QVERIFY(!c().ramkaK->isVisible() && !c().ramkaT->isVisible());
        QCOMPARE(c().listaSModel->headers(), (QStringList{"Pole", "Zawartość"}));
        QCOMPARE(c().listaEModel->headers(), (QStringList{"Pole", "Zawartość"}));
        QCOMPARE(c().listaKModel->headers(), (QStringList{"Data", "Dokument", "KSEF"}));
        // The count panel is 500 twips wide, 33 pixels at 96 dpi, and no narrower.
        QCOMPARE(c().countPanel->toolTip(), QStringLiteral("Liczba pozycji faktury"));
        QCOMPARE(c().countPanel->width(), 33);
        QCOMPARE(c().countPanel->minimumWidth(), 33);
        QCOMPARE(c().zegar->interval(), 200); // the reveal's delay
        QVERIFY(m_desktop.messages.isEmpty());
        QCOMPARE(m_desktop.clipboardWrites, 0);
    }

    // F5 names the opened file in the title, a paste does not; a failed or
    // cancelled load changes nothing on screen.
    void theTitleNamesTheOpenedFile()
    {
        start();
        const QString path = writeTestFile(m_temp.path(), QStringLiteral("faktura.xml"), TestInvoice().toXml().toUtf8());
        m_desktop.dialogResult = path;
        QTest::keyClick(c().lista, Qt::Key_F5);
        QCOMPARE(m_window->windowTitle(), "Velkor  " + native(path));
        const InvoiceDocument *shown = m_window->state().invoiceDoc.get();
        const int headerRows = c().listaSModel->rowCount();
        m_desktop.clipboard = QStringLiteral("<zle>");
        c().command[9]->click();
        QCOMPARE(m_desktop.messages.size(), 1);
        QCOMPARE(m_desktop.messages[0].title, QStringLiteral("Wklej XML - błąd"));
        // The invoice shown before stays, with its panes.
        QVERIFY(shown && m_window->state().invoiceDoc.get() == shown);
        QCOMPARE(c().listaSModel->rowCount(), headerRows);
        m_desktop.dialogResult.clear();
        c().command[8]->click(); // cancelled
        QCOMPARE(m_window->windowTitle(), "Velkor  " + native(path));
        m_desktop.clipboard = TestInvoice().toXml();
        QTest::keyClick(c().drzewo, Qt::Key_F5, Qt::ControlModifier);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor"));
        QCOMPARE(m_desktop.clipboard, TestInvoice().toXml()); // the clipboard keeps its text
    }

    // The real dialog and message box, with Qt's own texts in Polish: a typed
    // name of a missing file reaches the load, which reports it and
    // remembers its folder; Ctrl+C in the box copies its title and text.
    void aTypedMissingFileIsReportedInPolish()
    {
        const QString folder = m_temp.filePath(QStringLiteral("brak"));
        QVERIFY(QDir().mkpath(folder));
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor"))
            .setValue(QStringLiteral("Okno/Path"), native(folder));
        MainWindow window; // the real desktop
        window.Edit(QString());
        QStringList dialogTexts;
        QStringList boxTexts;
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            const QDialogButtonBox *buttons = dialog->findChild<QDialogButtonBox *>();
            dialogTexts << dialog->windowTitle() << dialog->findChild<QLabel *>(QStringLiteral("lookInLabel"))->text()
                        << dialog->findChild<QLabel *>(QStringLiteral("fileNameLabel"))->text()
                        << buttons->button(QDialogButtonBox::Open)->text()
                        << buttons->button(QDialogButtonBox::Cancel)->text();
            whenModal<QMessageBox>([&, open = QPointer<QFileDialog>(dialog)](QMessageBox *box) {
                boxTexts << box->windowTitle() << box->text();
                for (const QAbstractButton *button : box->buttons())
                    boxTexts << button->text();
                QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
                boxTexts << QGuiApplication::clipboard()->text();
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
        const QString path = native(QDir(folder).filePath(QStringLiteral("nie-ma.xml")));
        const QString text = "Błąd walidacji FA3\r\nPlik: " + path + "\r\nPowód: Plik nie istnieje.\r\nLinia: 0";
        const QString rule = "---------------------------\r\n";
        QCOMPARE(boxTexts, (QStringList{"Otwórz z pliku - błąd", QString(text).remove(u'\r'), "OK",
                                        rule + "Otwórz z pliku - błąd\r\n" + rule + text + "\r\n" + rule + "OK\r\n" + rule}));
        QCOMPARE(window.settings().value(QStringLiteral("Okno/Path")).toString(), native(folder));
        QCOMPARE(window.windowTitle(), QStringLiteral("Velkor"));
        QVERIFY(!window.state().invoiceDoc);
    }

    // A box with a short text is still wide enough for its frame to show
    // the whole title: in bold, beside the frame's icon and three buttons
    // (about 100 pixels under openbox).
    void aShortMessageKeepsItsTitleWhole()
    {
        QSettings settings(m_temp.filePath(QStringLiteral("box.ini")), QSettings::IniFormat);
        QtDesktop desktop(nullptr, settings);
        int width = 0;
        int title = 0;
        whenModal<QMessageBox>([&](QMessageBox *box) {
            QFont bold = box->font();
            bold.setBold(true);
            title = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
            width = box->width();
            box->buttons().first()->click();
        });
        desktop.showMessage({QStringLiteral("Zapisz PDF - błąd"), QStringLiteral("Brak.")});
        QVERIFY2(width >= title + 100, qPrintable(QStringLiteral("%1 for a title of %2").arg(width).arg(title)));
    }

    // Qt's print dialog and its printer's properties show no English: each
    // text they look up has a Polish translation.
    void thePrintDialogIsAllPolish()
    {
        struct Recorder : QTranslator
        {
            mutable QSet<QStringList> asked;
            bool isEmpty() const override { return false; }
            QString translate(const char *context, const char *source, const char *disambiguation, int) const override
            {
                // Key names, every one looked up whenever a key sequence is read.
                if (qstrcmp(context, "QShortcut") != 0)
                    asked.insert({context, source, disambiguation});
                return {};
            }
        } recorder;
        QCoreApplication::installTranslator(&recorder);
        QPrinter printer;
        QPrintDialog dialog(&printer);
        bool properties = false;
        whenModal<QDialog>([&](QDialog *shown) {
            properties = shown != &dialog;
            shown->reject();
        });
        dialog.findChild<QAbstractButton *>(QStringLiteral("properties"))->click();
        QCoreApplication::removeTranslator(&recorder);
        QVERIFY(properties);
        QTranslator qt;
        QVERIFY(qt.load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QStringList english;
        for (const QStringList &text : std::as_const(recorder.asked)) {
            const QByteArray context = text[0].toUtf8(), source = text[1].toUtf8(), disambiguation = text[2].toUtf8();
            if (qt.translate(context, source, disambiguation).isEmpty()
                && QCoreApplication::translate(context, source, disambiguation) == text[1]
                && text[1] != QStringLiteral("Folder")) // the same in Polish
                english << text.join(QStringLiteral(" / "));
        }
        QVERIFY2(recorder.asked.size() > 50 && english.isEmpty(), qPrintable(english.join(u'\n')));
    }

    // Esc and the close button ask first, Cancel keeping the program; the
    // title bar's close asks nothing.
    void exitAsksUnlessClosedByTheTitleBar()
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

        start();
        m_window->close();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_desktop.messages.size(), 2);
    }

    // A click on a tree node toggles it and shows it in the status bar; keys
    // outside the key table reach the focused control.
    void treeClicksToggleNodesAndOtherKeysReachTheTree()
    {
        m_desktop.clipboard = TestInvoice().toXml();
        start(QStringLiteral("ksef¤¤X"));
        QTreeView *tree = c().drzewo;
        const QModelIndex naglowek = c().treeModel->index(0, 0);
        QCOMPARE(naglowek.data().toString(), QStringLiteral("Naglowek"));
        QVERIFY(!tree->isExpanded(naglowek)); // nodes are added collapsed
        tree->setFocus();
        tree->setCurrentIndex(naglowek);
        const QRect cell = tree->visualRect(naglowek);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(tree->isExpanded(naglowek));
        QCOMPARE(c().infoPanel->text(), QStringLiteral("Naglowek"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!tree->isExpanded(naglowek));
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(tree->currentIndex().row(), 1);
    }

    // Started with the whole parameter string an absolute path (a file
    // manager's "open with"), the program opens that file as F5 would and
    // leaves the clipboard alone; any other string, also the name of a file
    // in the working folder, is a calling program's hand-over through the
    // clipboard, which a load empties.
    void aFileNamedAtStartIsOpenedAnythingElseIsAHandOver_data()
    {
        QTest::addColumn<QString>("parameters"); // {file}: an invoice file, {folder}: its folder
        QTest::addColumn<QString>("clipboard");  // {invoice}: an invoice's XML
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("left");       // on the clipboard afterwards
        QTest::addColumn<QString>("message");
        QTest::newRow("file") << "{file}" << "{invoice}" << "Velkor  {file}" << "{invoice}" << "";
        QTest::newRow("missing file") << "{folder}/nie-ma.xml" << "{invoice}" << "Velkor" << "{invoice}"
                                      << "Otwórz z pliku - błąd";
        // An absolute folder's path opens the register and leaves the clipboard.
        QTest::newRow("folder") << "{folder}" << "{invoice}" << "Velkor" << "{invoice}" << "";
        QTest::newRow("name in the working folder") << "faktura.xml" << "{invoice}" << "Velkor" << "" << "";
        QTest::newRow("path and a pair") << "{file}«»ksef¤¤X" << "{invoice}" << "Velkor »» KSEF: X" << "" << "";
        QTest::newRow("hand-over") << "ksef¤¤X" << "{invoice}" << "Velkor »» KSEF: X" << "" << "";
        QTest::newRow("no KSeF pair") << "ksef¤¤X¤¤Y" << "{invoice}" << "Velkor" << "" << "";
        QTest::newRow("empty clipboard") << "ksef¤¤X" << "" << "Velkor" << "" << "";
        QTest::newRow("invalid XML") << "ksef¤¤X" << "<Faktura>" << "Velkor" << "<Faktura>" << "Wklej XML - błąd";
    }
    void aFileNamedAtStartIsOpenedAnythingElseIsAHandOver()
    {
        QFETCH(QString, parameters);
        QFETCH(QString, clipboard);
        QFETCH(QString, title);
        QFETCH(QString, left);
        QFETCH(QString, message);
        const QString folder = m_temp.filePath(QStringLiteral("z odstępem"));
        const QString file = writeTestFile(folder, QStringLiteral("faktura.xml"), TestInvoice().toXml().toUtf8());
        const auto expand = [&](QString text) {
            return text.replace("{file}", file).replace("{folder}", folder).replace("{invoice}", TestInvoice().toXml());
        };
        m_desktop.clipboard = expand(clipboard);
        const QString working = QDir::currentPath();
        QDir::setCurrent(folder);
        start(expand(parameters));
        QDir::setCurrent(working);
        QCOMPARE(m_window->windowTitle(), expand(title).replace(file, native(file)));
        const bool folderNamed = parameters == u"{folder}";
        QCOMPARE(bool(m_window->state().invoiceDoc), message.isEmpty() && !clipboard.isEmpty() && !folderNamed);
        QCOMPARE(bool(m_window->commands().registerCommand().window()), folderNamed);
        const bool path = parameters.startsWith(u'{') && !parameters.contains(QStringLiteral("«»")) && !folderNamed;
        QCOMPARE(m_desktop.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(m_desktop.messages[0].title, message);
        QCOMPARE(m_desktop.clipboard, expand(left));
        QCOMPARE(storedFolder(), path ? folderOfPath(expand(parameters)) : QString());
    }

    // A file dropped on the window opens as F5 opens a chosen file; a drag of
    // anything but one local file is refused.
    void droppingAFileOpensItAsF5Would_data()
    {
        QTest::addColumn<QStringList>("urls"); // {folder}: a folder holding faktura.xml and zla.xml
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("opensRegister");
        QTest::newRow("invoice") << QStringList{"file://{folder}/faktura.xml"} << true << "Velkor  {folder}/faktura.xml" << ""
                                 << false;
        QTest::newRow("invalid file") << QStringList{"file://{folder}/zla.xml"} << true << "Velkor" << "Otwórz z pliku - błąd"
                                      << false;
        // Several files, a folder or a package open the register instead.
        QTest::newRow("two files") << QStringList{"file://{folder}/faktura.xml", "file://{folder}/zla.xml"} << true
                                   << "Velkor" << "" << true;
        QTest::newRow("folder") << QStringList{"file://{folder}"} << true << "Velkor" << "" << true;
        QTest::newRow("package") << QStringList{"file://{folder}/paczka.ZIP"} << true << "Velkor" << "" << true;
        QTest::newRow("web address") << QStringList{"https://example.com/faktura.xml"} << false << "Velkor" << ""
                                     << false;
    }
    void droppingAFileOpensItAsF5Would()
    {
        QFETCH(QStringList, urls);
        QFETCH(bool, accepted);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(bool, opensRegister);
        const QString folder = m_temp.filePath(QStringLiteral("upuszczone"));
        writeTestFile(folder, QStringLiteral("faktura.xml"), TestInvoice().toXml().toUtf8());
        writeTestFile(folder, QStringLiteral("zla.xml"), QByteArray("<Faktura>"));
        writeTestFile(folder, QStringLiteral("paczka.ZIP"), QByteArray("PK"));
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
        QCOMPARE(m_window->windowTitle(), QString(title).replace(QStringLiteral("{folder}/"), native(folder + u'/')));
        QCOMPARE(m_desktop.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(m_desktop.messages[0].title, message);
        QCOMPARE(storedFolder(), accepted && !opensRegister ? native(folder) : QString());
        QCOMPARE(bool(m_window->commands().registerCommand().window()), opensRegister);
        QVERIFY(m_desktop.dialogCalls.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
