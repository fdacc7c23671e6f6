#include "WebCommand.h"
#include "CliOutput.h"

#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "web/WebEdition.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace kestrava;

namespace {

using cli::fail;

struct Options
{
    QString dir;
    QString out;
    WebEditionOptions edition;
};

bool parse(const QStringList &args, Options &o)
{
    o.edition.now = QDateTime::currentDateTime();
    for (int i = 2; i < args.size(); ++i) {
        const QString &a = args[i];
        if (i + 1 >= args.size())
            return false;
        const QString v = args[++i];
        bool ok = true;
        if (a == u"--dir") {
            o.dir = v;
        } else if (a == u"--out") {
            o.out = v;
            ok = !v.isEmpty();
        } else if (a == u"--now") {
            o.edition.now = cli::parseNow(v);
            ok = o.edition.now.isValid();
        } else if (a == u"--simulations") {
            // 0 leaves the projections out, for a quick preview.
            o.edition.simulation.simulations = v.toInt(&ok);
            ok = ok && o.edition.simulation.simulations >= 0 && o.edition.simulation.simulations <= 10000000;
            o.edition.projections = o.edition.simulation.simulations > 0;
        } else if (a == u"--seed") {
            o.edition.simulation.seed = v.toULongLong(&ok);
        } else {
            ok = false;
        }
        if (!ok)
            return false;
    }
    return !o.out.isEmpty();
}

} // namespace

QString WebUsage()
{
    return QStringLiteral("       kestrava-cli web --out FOLDER [--dir DIR] [--now \"YYYY-MM-DD HH:MM\"] "
                          "[--simulations N] [--seed S]\n");
}

int RunWebCommand(const QStringList &args)
{
    if (args.value(1) != u"web")
        return -1;
    Options o;
    if (!parse(args, o))
        return fail(QStringLiteral("usage:") + WebUsage().mid(6), 1);
    QString dir;
    SeasonData season;
    if (const int status = cli::openSeason(o.dir, dir, season))
        return status;
    const IniSnapshot store = ResultsStore(dir).snapshot();
    const WebPublication published = PublishWebEdition(o.out, season, store, o.edition);
    if (!published.ok)
        return fail(published.error + u'\n', 3);
    RemoveOldWebEditions(o.out);
    QTextStream(stdout) << QStringLiteral("Édition web : %1 fichiers dans %2\n").arg(published.files).arg(o.out);
    return 0;
}
