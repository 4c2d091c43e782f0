#include "app/WindowGeometry.h"
#include "load/OfflineResources.h"
#include "views/ListModel.h"
#include "views/ListView.h"

#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QStatusBar>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

// The main window's placement and column widths through a real settings
// store, and its layout on screen.
class TestWindowPlacement : public QObject
{
    Q_OBJECT
    WindowFixture f;

    static QSettings store()
    {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor"));
    }

    static void storePlacement(const char *left, const char *top, const char *width, const char *height, const char *state)
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor"));
        settings.setValue(QStringLiteral("Okno/Left"), QString::fromLatin1(left));
        settings.setValue(QStringLiteral("Okno/Top"), QString::fromLatin1(top));
        settings.setValue(QStringLiteral("Okno/Width"), QString::fromLatin1(width));
        settings.setValue(QStringLiteral("Okno/Height"), QString::fromLatin1(height));
        settings.setValue(QStringLiteral("Okno/State"), QString::fromLatin1(state));
    }

    static QString stored(const char *key)
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor"));
        return settings.value(QStringLiteral("Okno/") + QLatin1String(key)).toString();
    }

private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }
    void init()
    {
        WindowFixture::clearSettings();
        f.desktop = FakeDesktop();
    }
    void cleanup() { f.stop(); }

    void firstStartIsMaximisedWith100PixelColumns()
    {
        QVERIFY(f.start());
        QVERIFY(f.window->isMaximized());
        for (ListView *list : {f.c().lista, f.c().listaS, f.c().listaE, f.c().listaK}) {
            for (int column = 0; column < list->listModel()->columnCount(); ++column)
                QCOMPARE(list->columnWidth(column), 100);
        }
        QCOMPARE(f.window->normalGeometry().topLeft(), twipsFor(f.window.get()).toPixels(TwipRect{200, 200, 0, 0}).topLeft());
        // Closing maximised writes the position and the state only.
        f.window->close();
        QCOMPARE(stored("State"), QStringLiteral("2"));
        QVERIFY(!stored("Left").isEmpty());
        QVERIFY(stored("Width").isEmpty());
        QVERIFY(stored("Height").isEmpty());
        QCOMPARE(stored("Lista~col~14"), QStringLiteral("100"));
        QCOMPARE(stored("ListaK~col~3"), QStringLiteral("100"));
    }

    void normalPlacementAndColumnWidthsComeBackAsLeft()
    {
        storePlacement("1500", "900", "16000", "10000", "0");
        {
            QSettings settings = store();
            settings.setValue(QStringLiteral("Okno/Lista~col~2"), QStringLiteral("0"));
            settings.setValue(QStringLiteral("Okno/Lista~col~3"), QStringLiteral("szeroka"));
            settings.setValue(QStringLiteral("Okno/ListaS~col~2"), QStringLiteral("260"));
        }
        QVERIFY(f.start());
        const Twips twips = twipsFor(f.window.get());
        QVERIFY(!f.window->isMaximized());
        QCOMPARE(f.window->frameGeometry(), twips.toPixels(TwipRect{1500, 900, 16000, 10000}));
        QCOMPARE(f.c().lista->columnWidth(1), 0);
        QCOMPARE(f.c().lista->columnWidth(2), 100);
        QCOMPARE(f.c().listaS->columnWidth(1), 260);

        f.c().listaE->setColumnWidth(0, 177);
        f.window->move(twips.toPixels(3000), twips.toPixels(2000));
        const TwipRect outer = outerRectOf(f.window.get());
        f.window->close();
        QCOMPARE(stored("Left"), QString::number(outer.left));
        QCOMPARE(stored("Top"), QString::number(outer.top));
        QCOMPARE(stored("Width"), QString::number(outer.width));
        QCOMPARE(stored("Height"), QString::number(outer.height));
        QCOMPARE(stored("State"), QStringLiteral("0"));
        QCOMPARE(stored("ListaE~col~1"), QStringLiteral("177"));
        QCOMPARE(stored("Lista~col~2"), QStringLiteral("0"));
        QCOMPARE(stored("Lista~col~3"), QStringLiteral("100"));

        // And again: the same rectangle, no drift.
        f.stop();
        QVERIFY(f.start());
        QCOMPARE(outerRectOf(f.window.get()), outer);
        QCOMPARE(f.c().listaE->columnWidth(0), 177);
    }

    void aStoreFromALargerScreenFitsThisOne()
    {
        storePlacement("1500", "900", "1e9", "90000", "0");
        QVERIFY(f.start());
        const QRect available = f.window->screen()->availableGeometry();
        QCOMPARE(f.window->frameGeometry().size(), available.size());
        QCOMPARE(stored("Width"), QStringLiteral("1e9")); // replaced only when saved
        f.window->close();
        QCOMPARE(stored("Width"), QString::number(twipsFor(f.window.get()).fromPixels(available.width())));
    }

    void minimisedExitLeavesThePlacementKeys()
    {
        storePlacement("1500", "900", "16000", "10000", "0");
        QVERIFY(f.start());
        f.c().lista->setColumnWidth(0, 55);
        f.window->setWindowState(Qt::WindowMinimized);
        f.window->close();
        QCOMPARE(stored("Left"), QStringLiteral("1500"));
        QCOMPARE(stored("Width"), QStringLiteral("16000"));
        QCOMPARE(stored("State"), QStringLiteral("0"));
        QCOMPARE(stored("Lista~col~1"), QStringLiteral("55")); // column widths are still saved
    }

    void stateOneStartsMinimised()
    {
        storePlacement("1500", "900", "16000", "10000", "1");
        f.window = std::make_unique<MainWindow>(&f.desktop);
        f.window->Edit(QString());
        QVERIFY(f.window->windowState() & Qt::WindowMinimized);
    }

    void theWindowKeepsItsMinimumSizeAndTheGrid()
    {
        storePlacement("300", "300", "16000", "10000", "0");
        QVERIFY(f.start());
        const Twips twips = twipsFor(f.window.get());
        f.window->resize(100, 100);
        const QSize frame = f.window->frameGeometry().size() - f.window->size();
        QVERIFY(f.window->width() + frame.width() >= twips.toPixels(14325));
        QVERIFY(f.window->height() + frame.height() >= twips.toPixels(8835));

        f.window->resize(twips.toPixels(18000), twips.toPixels(12000));
        auto &c = f.c();
        QCOMPARE(c.ramkaK->geometry(), c.ramkaS->geometry());
        QCOMPARE(c.command[5]->geometry().right() + 1, c.command[6]->geometry().left());
        QCOMPARE(c.command[11]->geometry().right() + 1, c.command[2]->geometry().left());
        QCOMPARE(c.ramkaT->geometry().top(), c.ramkaD->geometry().top());
        QCOMPARE(c.ramkaT->geometry().bottom(), c.ramka->geometry().bottom());
        QVERIFY(qAbs(c.ramkaS->width() - twips.toPixels(5475)) <= 1);
        QCOMPARE(c.ramka->geometry().bottom() + 1, c.status->geometry().top());
        // Toggling the views moves nothing.
        const QRect tree = c.ramkaD->geometry();
        c.strukturaOn->click();
        c.strukturaOn->click();
        QCOMPARE(c.ramkaD->geometry(), tree);
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
