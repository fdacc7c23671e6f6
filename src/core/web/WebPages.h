#pragma once

#include "platform/IniFile.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"

#include <QDateTime>
#include <QString>

#include <array>

namespace kestrava {

struct ProjectionReport;

// What every page of one edition reads: the season, one snapshot of the store, the moment, and the
// general table as the window computes it.
struct EditionData
{
    EditionData(const SeasonData &s, const IniSnapshot &st) : season(s), store(st) { }

    const SeasonData &season;
    const IniSnapshot &store;
    QDateTime now;
    QString edition; // the stamp in every page's head
    QString footer;
    int currentMatchday = 0; // 0 before the season
    LeagueTableModel table; // with the column of reachable positions
    StandingsRun run; // the run behind it, which the categories re-order
    std::array<QString, TeamCount> stems; // the clubs' file names, by team index
    // Each club's place after each matchday the evolution chart keeps (index 1..34), 0 where none.
    std::array<std::array<int, MatchdayCount + 1>, TeamCount> chartPositions{};

    // Made on first use. The pages are made side by side: the links are all made before they
    // start, and the widget rows by the one job that makes every widget.
    mutable std::array<QString, TeamCount> links, crestLinks, widgetRows;

    // "club-<stem>.html", empty for a name that is no club of the season.
    QString clubPage(const QString &team) const;
    // The club's name as a link to its page, escaped.
    const QString &clubLink(const QString &team, bool crest = false) const;
};

QString MatchdayFileName(int matchday);

QByteArray IndexPage(const EditionData &d);
QByteArray WidgetPage(const EditionData &d, const QString &team);
QByteArray CategoriesPage(const EditionData &d);
QByteArray RecordsPage(const EditionData &d);
QByteArray ProjectionsPage(const EditionData &d, const ProjectionReport *report, quint64 seed);
QByteArray MatchdayPage(const EditionData &d, int matchday);
QByteArray MatchdaysPage(const EditionData &d);
QByteArray ClubPage(const EditionData &d, int team);
QByteArray ClubsPage(const EditionData &d);

} // namespace kestrava
