#include "app/WindowGeometry.h"
#include "load/OfflineResources.h"

#include "support/WindowFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

// A settings store that is garbage or cannot be written never stops the
// program from starting, loading or closing.
class TestSettingsStore : public QObject
{
    Q_OBJECT
    WindowFixture f;

    static QString storeFile()
    {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor"))
            .fileName();
    }

    static void removeStore()
    {
        const QFileInfo store(storeFile());
        QFile::remove(store.absoluteFilePath());
        if (QFileInfo(store.absolutePath()).isFile())
            QFile::remove(store.absolutePath());
        QDir().mkpath(store.absolutePath());
    }

    void startLoadAndClose()
    {
        QVERIFY(f.start());
        f.desktop.dialogResult = ownExample("faktura-podstawowa.xml");
        f.c().command[8]->click(); // remembers its folder: a write
        QVERIFY(f.window->state().invoiceDoc);
        f.window->close(); // writes the placement and the column widths
        QVERIFY(!f.window->isVisible());
        f.stop();
    }

private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }
    void cleanup()
    {
        f.stop();
        removeStore();
    }

    void garbageStore()
    {
        removeStore();
        QFile file(storeFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray garbage(3000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 131 + 7) % 256);
        file.write(garbage);
        file.write("\n[Okno]\nLeft=lewo\nTop=1e999\nWidth=-\nHeight=\nState=maksymalnie\nPath=\"\\x0\"\n"
                   "Lista%7Ecol%7E1=szeroko\nLista%7Ecol%7E2=-7\n[Okno\nzepsute");
        file.close();
        startLoadAndClose();
    }

    void storeThatCannotBeWritten()
    {
        // The store's folder is a file: nothing can be created below it,
        // whoever runs the test.
        removeStore();
        const QString folder = QFileInfo(storeFile()).absolutePath();
        QDir(folder).removeRecursively();
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        startLoadAndClose();
        QVERIFY(QFileInfo(folder).isFile());
    }
};

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
