#pragma once

#include "matchdays/ClubNames.h"
#include "matchdays/ResultsFile.h"
#include "platform/IniFile.h"
#include "season/ResultsStore.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kestrava {

struct ImportConflict
{
    QString where; // "ligne 12", "match 40"
    QString match; // "Lens - Nice", the season's names
    QString fileResult, storedResult;
};

struct UnknownClub
{
    QString name; // as the file writes it
    QStringList closest;
};

// What an import would do to the store, worked out before anything is written.
struct ImportPlan
{
    ImportFormat format = ImportFormat::Unknown;
    QString problem; // the file is neither format
    bool replace = false;
    int linesRead = 0;
    int written = 0; // lines whose result goes into the store
    int unchanged = 0; // the store already holds that result
    int withoutScore = 0; // matches not played: nothing to write
    QList<ImportConflict> conflicts;
    QStringList unplaced; // one French line each: where, the names, why
    QList<UnknownClub> unknownClubs;
    QStringList notes; // what the editor's file of other names could not give
    QList<EntryRow> rows; // the records to write, as the grid hands them to the store

    bool readable() const { return format != ImportFormat::Unknown; }
    bool allPlaced() const { return unplaced.isEmpty(); }
};

// Places every match of the file on its fixture (the calendar holds each home-away pair once) and
// compares it with the store: a result not stored yet is written, a different one already stored is
// a conflict, kept unless `replace`. Cards the file does not give keep what the store holds.
ImportPlan PlanImport(const ImportedFile &file, const SeasonData &season, const IniSnapshot &store,
    const ClubMatcher &clubs, bool replace);

// The plan in French, one fact a line, without a line end after the last.
QString ImportReport(const ImportPlan &plan);

// Writes the plan's records, and "Maj", in the one atomic save that "Valider" makes. True when
// there was nothing to write or the store was replaced.
bool SaveImport(const ImportPlan &plan, const ResultsStore &store, const QDateTime &launchTime);

} // namespace kestrava
