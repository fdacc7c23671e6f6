#include "ImportCommands.h"

#include "CliOutput.h"
#include "NetworkPoster.h"
#include "matchdays/ResultsImport.h"
#include "online/Publication.h"
#include "platform/Settings.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace kestrava {

namespace {

using cli::fail;
using cli::write;

struct Options
{
    QString file;
    QString dir;
    QString site;
    bool dryRun = false;
    bool replace = false;
};

bool parse(const QStringList &args, bool import, Options &o)
{
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString &a = args[i];
        if (import && a == u"--dry-run") {
            o.dryRun = true;
        } else if (import && a == u"--replace") {
            o.replace = true;
        } else if (a == u"--dir" && i + 1 < args.size()) {
            o.dir = args[++i];
        } else if (!import && a == u"--site" && i + 1 < args.size()) {
            o.site = args[++i];
            const QUrl url(o.site, QUrl::StrictMode);
            if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https"))
                return false;
        } else if (import && o.file.isEmpty() && !a.startsWith(u"--")) {
            o.file = a;
        } else {
            return false;
        }
    }
    return !import || !o.file.isEmpty();
}

int import(const Options &o)
{
    QString dir;
    SeasonData season;
    if (const int status = cli::openSeason(o.dir, dir, season))
        return status;
    QFile file(o.file);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Fichier illisible : %1 (%2)\n").arg(o.file, file.errorString()), 2);
    if (file.size() > MaxImportFileBytes)
        return fail(QStringLiteral("Fichier illisible : %1 (trop volumineux)\n").arg(o.file), 2);

    const ImportedFile imported = ReadResultsFile(file.readAll());
    ClubMatcher clubs(season);
    const QStringList notes = clubs.loadOtherNamesFile(dir);
    const ResultsStore store(dir);
    ImportPlan plan = PlanImport(imported, season, store.snapshot(), clubs, o.replace);
    plan.notes = notes;
    // Neither format: nothing is written.
    if (!plan.readable())
        return fail(ImportReport(plan) + u'\n', 2);

    QString report = ImportReport(plan) + u'\n';
    if (o.dryRun)
        report += QStringLiteral("Essai : rien n'a été enregistré.\n");
    else if (plan.rows.isEmpty())
        report += QStringLiteral("Rien à enregistrer.\n");
    else if (SaveImport(plan, store, QDateTime::currentDateTime()))
        report += QStringLiteral("Enregistré dans %1\n").arg(QDir::toNativeSeparators(store.path()));
    else
        return fail(report
                + QStringLiteral("Les résultats n'ont pas pu être enregistrés dans le fichier "
                                 "Resultats2027.ini.\n"),
            3);
    if (const int status = write(report.toUtf8()); status != 0)
        return status;
    return plan.allPlaced() ? 0 : 6;
}

int publish(const Options &o)
{
    QtSettingsStore settings;
    const QString pseudo = settings.read(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QString());
    // A scheduled job may keep the password out of the settings file.
    QString password = qEnvironmentVariable("KESTRAVA_PASSWORD");
    if (password.isEmpty())
        password = settings.read(QStringLiteral("MDP"), QStringLiteral("MDP"), QString());
    const QString dir = cli::seasonDir(o.dir);
    if (dir.isEmpty())
        return 2;
    const std::optional<QString> base = cli::siteBase(o.site, dir);
    if (!base)
        return 2;
    const SiteAddresses site(*base);
    NetworkPoster poster;
    const SendOutcome out
        = SendResultsStore(ResultsStore(dir), site, pseudo, password, QDateTime::currentDateTime(), poster);
    switch (out.status) {
    case SendStatus::Accepted:
        return write((out.message + u'\n').toUtf8());
    case SendStatus::Unreachable:
        return fail(out.message + u'\n', 4);
    case SendStatus::Refused:
        return fail(out.message + u'\n', 7);
    case SendStatus::NotSent:
        break;
    }
    return fail(out.message + u'\n', 2);
}

} // namespace

QString ImportUsage()
{
    return QStringLiteral("       kestrava-cli import FILE [--dir DIR] [--dry-run] [--replace]\n"
                          "       kestrava-cli publish [--dir DIR] [--site URL]\n");
}

int RunImportCommand(const QStringList &args)
{
    const QString command = args.value(1);
    if (command != u"import" && command != u"publish")
        return -1;
    Options o;
    if (!parse(args, command == u"import", o))
        return -1;
    return command == u"import" ? import(o) : publish(o);
}

} // namespace kestrava
