#include "app/BuildInfo.h"
#include "core/load/OfflineResources.h"
#include "core/window/StartupParameters.h"
#include "gui/desktop/QtDesktop.h"
#include "gui/window/MainWindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral(VELKOR_NAME));
    QApplication::setApplicationVersion(QStringLiteral(VELKOR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("velkor"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/velkor/velkor-48.png"));
    icon.addFile(QStringLiteral(":/velkor/velkor-256.png"));
    QApplication::setWindowIcon(icon);
    velkor::installPolishQtTexts(application);
    velkor::initializeXmlLibrary();

    // Every argument together is the start-up parameter string; the program
    // takes no options of its own.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

    velkor::MainWindow window;
    window.Edit(velkor::parameterStringFromArguments(arguments));
    return QApplication::exec();
}
