#pragma once

#include "platform/IniFile.h"
#include "projections/SeasonSimulation.h"
#include "season/SeasonData.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

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

// Every file of the edition, from the season (its bonus and malus are read from the store here)
// and one snapshot of the store.
QList<WebFile> BuildWebEdition(SeasonData season, const IniSnapshot &store, const WebEditionOptions &options);

// A club's stable ASCII file name: "Saint-Étienne" gives "saint-etienne". Two clubs never share one.
std::array<QString, TeamCount> ClubFileStems(const SeasonData &season);

struct WebPublication
{
    bool ok = false;
    QString folder; // the new edition's folder
    QString error; // French, when !ok
};

// Writes the files into a new folder beside `target`, then makes `target` a symbolic link to it
// in one rename: a reader sees the previous edition or this one, never a mix. The previous edition
// stays a while for readers still on it; older ones are removed. `target` may not be a folder of
// something else.
WebPublication PublishWebEdition(const QString &target, const QList<WebFile> &files);

} // namespace kestrava
