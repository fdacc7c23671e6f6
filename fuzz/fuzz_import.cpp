// The reader of results files from elsewhere (the analysts' CSV, openfootball's JSON) and the
// placing of their matches on the shipped season. Every line ends in exactly one place of the
// report, and what would be written is a record the store can hold.
#include "FuzzInput.h"
#include "matchdays/ResultsImport.h"

#include <QDir>

#include <algorithm>

using namespace kestrava;

namespace {

const SeasonData &Season()
{
    static const SeasonData season = [] {
        SeasonData s;
        LoadSeasonFile(QDir(QStringLiteral(KESTRAVA_DATA_DIR)).filePath(SeasonFileName), s);
        return s;
    }();
    return season;
}

bool Count(int v)
{
    return v >= 0 && v <= 99;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ImportedFile file = ReadResultsFile(FuzzBytes(data, size));
    if (file.format == ImportFormat::Unknown) {
        FUZZ_ASSERT(file.matches.isEmpty() && !file.problem.isEmpty());
        return 0;
    }
    for (const ImportedMatch &m : file.matches) {
        if (!m.problem.isEmpty())
            continue;
        FUZZ_ASSERT(!m.home.isEmpty() && !m.away.isEmpty() && m.date.isValid());
        FUZZ_ASSERT(!m.played || (Count(m.homeGoals) && Count(m.awayGoals)));
    }
    const ClubMatcher clubs(Season());
    const ImportPlan plan = PlanImport(file, Season(), IniSnapshot(), clubs, false);
    FUZZ_ASSERT(plan.linesRead == file.matches.size());
    FUZZ_ASSERT(
        plan.written + plan.unchanged + plan.withoutScore + plan.conflicts.size() + plan.unplaced.size()
        == plan.linesRead);
    for (const EntryRow &row : plan.rows) {
        FUZZ_ASSERT(row.key.size() == 4
            && std::all_of(row.key.begin(), row.key.end(), [](QChar c) { return c.isDigit(); }));
        FUZZ_ASSERT(TeamIndexOfLetter(row.homeLetter) >= 0 && TeamIndexOfLetter(row.awayLetter) >= 0);
        for (const QString *f : { &row.r1, &row.r2, &row.cj1, &row.cr1, &row.cj2, &row.cr2 })
            FUZZ_ASSERT(!f->contains(u'|') && f->size() <= 2);
        FUZZ_ASSERT(!row.r1.isEmpty() && !row.r2.isEmpty());
    }
    FUZZ_ASSERT(!ImportReport(plan).isEmpty());
    return 0;
}
