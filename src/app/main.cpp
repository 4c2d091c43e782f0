#include "app/MainWindow.h"
#include "app/StartupParameters.h"
#include "load/OfflineResources.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    velkor::initializeXmlLibrary();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst(); // the program itself

    velkor::MainWindow window;
    window.Edit(velkor::parameterStringFromArguments(arguments));
    return QApplication::exec();
}
