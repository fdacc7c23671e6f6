// Kestrava: the desktop program.
#include "NetworkDownloader.h"
#include "StartupReport.h"
#include "platform/ClickableWidgets.h"
#include "platform/DesktopNotifier.h"
#include "platform/DesktopShell.h"
#include "platform/SeasonFolder.h"
#include "platform/Settings.h"
#include "platform/Style.h"
#include "platform/SystemClipboard.h"
#include "platform/WidgetDialogs.h"
#include "platform/WidgetPrinter.h"
#include "season/SeasonData.h"
#include "window/MainController.h"
#include "window/MainWindow.h"
#include "window/SplashWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace kestrava;

int main(int argc, char *argv[])
{
    StartupReport report;
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProgramApplicationName);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // Qt's own texts (context menus, standard buttons) in French when the translations are there.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    ApplyApplicationStyle(app);
    InstallAccessibility();

    // The program's own folder (a run folder), or the user's data folder filled from the shipped
    // data of an installed program.
    const QString programDir = QCoreApplication::applicationDirPath();
    const SeasonFolder folder = FindSeasonFolder(programDir, SharedDataFolder(programDir), SeasonFileName);
    SystemClock clock;
    QtSettingsStore settings;
    WidgetDialogs dialogs;
    if (!folder.problem.isEmpty()) {
        dialogs.message(folder.problem, ProgramName, MessageIcon::Critical);
        return 1;
    }
    DesktopShell shell;
    WidgetPrinter printer(UserFilesFolder(folder));
    // The publisher's site (setting "Site"/"Base") serves the results, the season file and the donors.
    NetworkDownloader downloader;
    SystemClipboard clipboard;
    DesktopNotifier notifier;
    MainController controller(
        folder.path, { &clock, &settings, &dialogs, &shell, &printer, &downloader, &clipboard, &notifier });
    controller.session().inUserDataFolder = folder.userData;

    SplashWindow splash(controller.splash());
    MainWindow window(controller);
    printer.setWindow(&window);
    dialogs.setParentWindow(&window);
    QObject::connect(
        &controller, &MainController::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    // A missing season file has been reported; nothing is saved.
    if (!controller.start())
        return 1;
    // The user went for a newer program during start-up: the window never shows.
    if (controller.quitting())
        return 0;
    report.watch(&window);
    window.show();
    return app.exec();
}
