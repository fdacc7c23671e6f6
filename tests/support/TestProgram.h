#pragma once

// One copy of the program in a scratch folder: the shipped season, a results store of the test's
// choosing, and doubles for every platform service. Tests drive its controller as a person would.
#include "TestDoubles.h"
#include "TestFiles.h"
#include "platform/Settings.h"
#include "window/MainController.h"
#include "window/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace kestrava::test {

// The shipped season file and the demo files beside it.
inline const QString DataDir = QStringLiteral(KESTRAVA_DATA_DIR);

inline const QDateTime December6 = QDateTime(QDate(2026, 12, 6), QTime(8, 0));

struct TestProgram
{
    // The demo results, an empty store, or none at all (which start-up takes for an old one).
    enum Store { Demo, Empty, None };

    QTemporaryDir dir;
    FixedClock clock{December6};
    MemorySettingsStore settings;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    FakePrinter printer;
    RecordingClipboard clipboard;
    RecordingNotifier notifier;
    Downloader *downloader = nullptr; // online buttons exist only with one
    // What make() hands the controller: the doubles above, unless a test puts the real ones here.
    WindowPrinter *printerInUse = &printer;
    Clipboard *clipboardInUse = &clipboard;
    std::unique_ptr<MainController> controller;

    explicit TestProgram(Store store = Demo, bool withSeason = true)
    {
        if (withSeason)
            QFile::copy(DataDir + QStringLiteral("/2027.txt"), path(QStringLiteral("2027.txt")));
        if (store == Demo)
            QFile::copy(DataDir + QStringLiteral("/demo/Resultats2027.ini"), storePath());
        else if (store == Empty)
            WriteFileBytes(storePath(), "[Resultats]\r\n");
        // Copies of read-only files stay read-only: the store must be writable, as a user's is.
        if (store != None) {
            QFile::setPermissions(storePath(), QFile::ReadOwner | QFile::WriteOwner);
            // Saved the day before: start-up has no reason to offer a download.
            SetModified(storePath(), December6.addDays(-1));
        }
    }

    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QString storePath() const { return path(QStringLiteral("Resultats2027.ini")); }
    QByteArray storeBytes() const { return ReadFileBytes(storePath()); }
    void setStore(const QByteArray &bytes)
    {
        WriteFileBytes(storePath(), bytes);
        SetModified(storePath(), December6.addDays(-1));
    }
    void setSiteBase(const QString &base) { settings.write(QStringLiteral("Site"), QStringLiteral("Base"), base); }

    MainController &make()
    {
        controller = std::make_unique<MainController>(
            dir.path(), Services{&clock, &settings, &dialogs, &shell, printerInUse, downloader, clipboardInUse, &notifier});
        controller->setEventPump([] { QCoreApplication::processEvents(); });
        return *controller;
    }
    MainController &start()
    {
        MainController &c = make();
        if (!c.start())
            qFatal("start-up failed");
        return c;
    }
};

} // namespace kestrava::test
