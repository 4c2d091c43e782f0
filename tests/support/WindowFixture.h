#pragma once

// The main window and every control a test of it reaches.
#include "app/MainWindow.h"
#include "app/MainWindowControls.h"
#include "commands/CommandDispatch.h"
#include "load/OfflineResources.h"
#include "views/InvoicePanes.h"
#include "views/ListModel.h"
#include "views/ListView.h"
#include "views/TextAndReveal.h"
#include "views/TextLinesView.h"
#include "views/TreeModel.h"

#include "support/FakeDesktop.h"
#include "support/TestDocuments.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <memory>

namespace velkor::test {

// A main window driven through the fake desktop, shown and active, with a
// settings store emptied before each use.
class WindowFixture
{
public:
    FakeDesktop desktop;
    std::unique_ptr<MainWindow> window;

    static void clearSettings()
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor")).clear();
    }

    bool start(const QString &parameters = {})
    {
        window = std::make_unique<MainWindow>(&desktop);
        window->Edit(parameters);
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }

    // A new window over empty settings and a fresh fake desktop, as each
    // test function wants it.
    bool startFresh()
    {
        clearSettings();
        desktop = FakeDesktop();
        return start();
    }

    MainWindowControls &c() { return window->controls(); }

    // Pastes the text as Ctrl+F5 would.
    void paste(const QString &xml)
    {
        desktop.clipboard = xml;
        window->commands().Command_Click(9);
    }

    void stop() { window.reset(); }
};

// The number as the user's regional settings write it.
inline QString regional(const char *number)
{
    return QString::fromLatin1(number).replace(u'.', QLocale::system().decimalPoint());
}

} // namespace velkor::test
