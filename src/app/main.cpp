#include "app/BuildInfo.h"
#include "core/load/OfflineResources.h"
#include "core/register/LocalTimeZone.h"
#include "core/window/StartupParameters.h"
#include "gui/desktop/QtDesktop.h"
#include "gui/window/MainWindow.h"

#include <QApplication>
#include <QIcon>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace {

// Under Wine, Qt's default font engine on Windows (GDI) leaves some letters
// out of the widgets ("I" among them); Qt's own FreeType engine draws them
// all. On Windows itself, and when the platform is chosen explicitly, the
// default stays.
void chooseFontEngineUnderWine()
{
#if defined(Q_OS_WIN)
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    chooseFontEngineUnderWine();
    velkor::nameLocalTimeZoneOnce();
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
