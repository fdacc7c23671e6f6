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

#include <cstdio>
#include <cstring>

using namespace kestrava;

namespace {

// --help and --version are answered before the window's platform is opened: without a display too.
int AnswerCommandLine(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("kestrava %s\n", qPrintable(VersionShort()));
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs("Utilisation : kestrava [--help] [--version]\n\n"
                       "Suit la saison de Ligue 1 2026-2027 dans une fenêtre : le classement et ses zones,\n"
                       "les journées et la saisie des résultats, les fiches des clubs, les graphiques,\n"
                       "les records, les projections, la mise à jour depuis le site de l'éditeur et\n"
                       "la publication des résultats.\n"
                       "\n"
                       "  -h, --help   affiche cette aide\n"
                       "  --version    affiche la version\n",
                stdout);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int status = AnswerCommandLine(argc, argv); status >= 0)
        return status;
    StartupReport report;
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProgramApplicationName);
    // The desktop finds the menu entry's icon and name for the window by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kestrava.Kestrava"));
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
