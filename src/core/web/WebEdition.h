#pragma once

#include "platform/IniFile.h"
#include "projections/SeasonSimulation.h"
#include "season/SeasonData.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <functional>

namespace kestrava {

// The season on the web: static pages, feeds and calendars written once per publication, computed
// by the same code as the window and the command line.
struct WebEditionOptions
{
    QDateTime now; // decides the current matchday, the games in hand and the chart's last bar
    bool projections = true; // the projections page runs the simulated seasons
    SimulationOptions simulation; // the seed is fixed, so that one store always gives one page
    // A publication does not wait on the projections past this (0: no limit): some tables keep the
    // solver of the exact ranges busy for minutes, and the rest of the edition must not wait.
    qint64 projectionBudgetMs = 0;
};

struct WebFile
{
    QString name;
    QByteArray bytes;
};

// Takes each file of an edition as soon as it is made, from whichever thread made it: it must be
// safe to call from several threads at once.
using WebFileSink = std::function<void(WebFile &&file)>;

// Every file of the edition, from the season (its bonus and malus are read from the store here)
// and one snapshot of the store. The pages are made side by side on the machine's cores.
void MakeWebEdition(SeasonData season, const IniSnapshot &store, const WebEditionOptions &options, const WebFileSink &take);

// A club's stable ASCII file name: "Saint-Étienne" gives "saint-etienne". Two clubs never share one.
std::array<QString, TeamCount> ClubFileStems(const SeasonData &season);

struct WebPublication
{
    bool ok = false;
    QString folder; // the new edition's folder
    qsizetype files = 0; // written into it
    QString error; // French, when !ok
};

// Makes the edition and writes each file into a new folder beside `target` as soon as it is made,
// then makes `target` a symbolic link to that folder in one rename: a reader sees the previous
// edition or this one, never a mix. `target` may not be a folder of something else.
WebPublication PublishWebEdition(const QString &target, SeasonData season, const IniSnapshot &store,
                                 const WebEditionOptions &options);

// Removes the editions older than the one before the edition `target` shows: that one stays a
// while for readers still on it. Done once the new edition is in place, so that readers get it
// without waiting on the removal.
void RemoveOldWebEditions(const QString &target);

} // namespace kestrava
