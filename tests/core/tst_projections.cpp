// Projections: the exact ranges against every combination of results, a finished season against the
// table, the seed, and the fitted model against the plain "all clubs equal" one.
#include "TestProgram.h"
#include "projections/Projections.h"
#include "season/ResultsStore.h"
#include "standings/Standings.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <random>

using namespace kestrava;

namespace {

const SeasonData &shippedSeason()
{
    static const SeasonData s = [] {
        SeasonData d;
        LoadSeasonFile(QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"), d);
        return d;
    }();
    return s;
}

struct Slot
{
    int md, pos, home, away;
};

QList<Slot> calendar()
{
    QList<Slot> fixtures;
    for (const QString &s : shippedSeason().calendar)
        if (s.size() == 8)
            fixtures.append({ s.left(2).toInt(), s.mid(3, 2).toInt(),
                TeamIndexOfLetter(QStringView(s).mid(6, 1)), TeamIndexOfLetter(QStringView(s).mid(7, 1)) });
    return fixtures;
}

// A whole season of records from `score(slot, hg, ag)`; a slot it declines stays unplayed.
// Cards are drawn from `rng` so that fair play can part level teams.
template <class Score>
IniSnapshot makeStore(std::mt19937_64 &rng, Score score, const QByteArray &bonus = {}, bool cards = true)
{
    QByteArray ini = "[Resultats]\r\n";
    for (const Slot &f : calendar()) {
        int hg = 0, ag = 0;
        if (!score(f, hg, ag))
            continue;
        ini += QStringLiteral("%1=%2||%3|%4|%5|%6||%7\r\n")
                   .arg(FixtureKey(f.md, f.pos), TeamLetter(f.home))
                   .arg(cards ? rng() % 3 : 0)
                   .arg(hg)
                   .arg(ag)
                   .arg(cards ? rng() % 3 : 0)
                   .arg(TeamLetter(f.away))
                   .toLatin1();
    }
    return IniSnapshot::fromBytes(ini + bonus);
}

// Every combination of results, the positions counted as the ranges count them.
std::array<ReachableRange, TeamCount> bruteForce(const ProjectionInput &in)
{
    std::array<ReachableRange, TeamCount> r;
    for (ReachableRange &x : r)
        x = { TeamCount + 1, 0 };
    int combinations = 1;
    for (int i = 0; i < in.unplayed.size(); ++i)
        combinations *= 3;
    for (int code = 0; code < combinations; ++code) {
        std::array<int, TeamCount> pts = in.tablePoints;
        for (int f = 0, c = code; f < in.unplayed.size(); ++f, c /= 3) {
            pts[in.unplayed[f].home] += c % 3 == 0 ? 3 : c % 3 == 1 ? 1 : 0;
            pts[in.unplayed[f].away] += c % 3 == 2 ? 3 : c % 3 == 1 ? 1 : 0;
        }
        for (int t = 0; t < TeamCount; ++t) {
            int above = 0, level = 0;
            for (int j = 0; j < TeamCount; ++j) {
                above += j != t && pts[j] > pts[t];
                level += j != t && pts[j] == pts[t];
            }
            r[t].best = std::min(r[t].best, 1 + above);
            r[t].worst = std::max(r[t].worst, 1 + above + level);
        }
    }
    return r;
}

} // namespace

class TstProjections : public QObject
{
    Q_OBJECT

private slots:
    void solverMatchesEveryCombination_data();
    void solverMatchesEveryCombination();
    void finishedSeasonIsTheTable();
    void seedDecidesWhateverTheThreads();
    void fittedModelBeatsEqualClubs();
    void commandLine();
    void windowRunsItInTheBackground();
};

void TstProjections::solverMatchesEveryCombination_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 12; ++seed)
        QTest::addRow("store %d", seed) << seed;
}

void TstProjections::solverMatchesEveryCombination()
{
    QFETCH(int, seed);
    std::mt19937_64 rng(seed);
    // Mostly draws keep the table tight, and the games left among a few clubs make them pass one
    // another: the questions the solver must answer.
    const double drawRate = 0.8 + 0.02 * (seed % 10);
    const int left = 4 + seed % 7, among = 5 + seed % 5;
    QList<Slot> fixtures;
    for (const Slot &f : calendar())
        if (f.home < among && f.away < among)
            fixtures.append(f);
    std::shuffle(fixtures.begin(), fixtures.end(), rng);
    QSet<int> unplayed;
    for (int i = 0; i < left; ++i)
        unplayed.insert(fixtures[i].md * 100 + fixtures[i].pos);
    std::uniform_real_distribution<double> unit(0, 1);
    const IniSnapshot store = makeStore(
        rng,
        [&](const Slot &f, int &hg, int &ag) {
            const double u = unit(rng);
            hg = u < drawRate ? int(rng() % 2) : u < (1 + drawRate) / 2 ? 1 : 0;
            ag = u < drawRate ? hg : 1 - hg;
            return !unplayed.contains(f.md * 100 + f.pos);
        },
        seed % 3 == 0 ? QByteArray("[BonMal]\r\nC=-2\r\nH=1.5\r\n") : QByteArray());
    SeasonData season = shippedSeason();
    ResultsStore::loadBonusMalus(store, season);
    const ProjectionInput in = MakeProjectionInput(season, store, 0);
    QCOMPARE(in.unplayed.size(), left);

    const auto expected = bruteForce(in);
    RangeStats solverOnly;
    const auto quick = ComputeReachableRanges(in);
    const auto solved = ComputeReachableRanges(in, {}, &solverOnly, RangeOptions { false });
    for (int t = 0; t < TeamCount; ++t) {
        QCOMPARE(quick[t].best, expected[t].best);
        QCOMPARE(quick[t].worst, expected[t].worst);
        QCOMPARE(solved[t].best, expected[t].best);
        QCOMPARE(solved[t].worst, expected[t].worst);
    }
    // These stores are tight enough that the solver had its say.
    QVERIFY(solverOnly.settledByBounds < solverOnly.questions);
}

void TstProjections::finishedSeasonIsTheTable()
{
    // Low scores leave many clubs level on points, goal difference and goals: head to head, cards
    // and names decide, and the simulated order must be the table's own. Season 0, goalless and
    // without a card, leaves the names alone to decide.
    for (int seed = 0; seed <= 20; ++seed) {
        std::mt19937_64 rng(seed);
        const IniSnapshot store = makeStore(
            rng,
            [&](const Slot &, int &hg, int &ag) {
                hg = seed ? int(rng() % 2) : 0;
                ag = seed ? int(rng() % 2) : 0;
                return true;
            },
            {}, seed != 0);
        const StandingsRun table = RunStandings(shippedSeason(), store, 0);
        const ProjectionReport report
            = ComputeProjections(shippedSeason(), store, 0, { 3, quint64(seed), 2 });
        QVERIFY(report.complete);
        QCOMPARE(report.input.unplayed.size(), 0);
        for (int row = 0; row < TeamCount; ++row) {
            const int t = table.tableOrder[row];
            QCOMPARE(report.positionProbability(t, row + 1), 1.0);
            QVERIFY(report.ranges[t].best <= row + 1 && row + 1 <= report.ranges[t].worst);
            QCOMPARE(report.expectedPoints(t), double(table.rows[t].points));
            QCOMPARE(report.probability(t, ProjectionZoneById("relegated")), row >= 16 ? 1.0 : 0.0);
        }
    }
}

void TstProjections::seedDecidesWhateverTheThreads()
{
    SeasonData season = shippedSeason();
    const IniSnapshot store
        = IniSnapshot::fromFile(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
    ResultsStore::loadBonusMalus(store, season);
    const ProjectionInput in = MakeProjectionInput(season, store, 10);
    QCOMPARE(in.played.size(), 89); // matchday 9 lacks one result
    const StrengthModel model = FitStrengthModel(in.played);
    std::vector<double> seen;
    const ProjectionControl control { [&](double f) { seen.push_back(f); } };
    const SimulationResult one = SimulateSeasons(in, model, { 4500, 7, 1 }, control);
    const SimulationResult three = SimulateSeasons(in, model, { 4500, 7, 3 });
    const SimulationResult other = SimulateSeasons(in, model, { 4500, 8, 3 });
    QVERIFY(one.complete);
    QCOMPARE(one.positionCounts, three.positionCounts);
    QCOMPARE(one.pointsWon, three.pointsWon);
    QVERIFY(one.positionCounts != other.positionCounts);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()) && seen.size() == 6 && seen.back() == 1.0);
    for (int i = 0; i < TeamCount; ++i) {
        qint64 club = 0, position = 0;
        for (int j = 0; j < TeamCount; ++j) {
            club += one.positionCounts[i][j];
            position += one.positionCounts[j][i];
        }
        QCOMPARE(club, 4500);
        QCOMPARE(position, 4500);
    }
    // A run stopped from outside says so and hands back no figures.
    std::atomic<bool> stop { true };
    const ProjectionReport stopped = ComputeProjections(in, {}, ProjectionControl { nullptr, &stop });
    QVERIFY(!stopped.complete);
    QCOMPARE(stopped.simulation.simulations, 0);
}

void TstProjections::fittedModelBeatsEqualClubs()
{
    // Seasons drawn from known strengths; from mid-season, the chance each model gave the final
    // position every club really took.
    const int seasons = 24, simulations = 2000;
    double fitted = 0, equal = 0, truth = 0;
    for (int s = 1; s <= seasons; ++s) {
        std::mt19937_64 rng(1000 + s);
        std::normal_distribution<double> spread(0, 0.3);
        StrengthModel known;
        known.homeGoals = 1.5;
        known.awayGoals = 1.15;
        for (int t = 0; t < TeamCount; ++t) {
            known.attack[t] = std::exp(spread(rng));
            known.defence[t] = std::exp(spread(rng));
        }
        const IniSnapshot store = makeStore(rng, [&](const Slot &f, int &hg, int &ag) {
            hg = std::poisson_distribution<int>(known.expectedHomeGoals(f.home, f.away))(rng);
            ag = std::poisson_distribution<int>(known.expectedAwayGoals(f.home, f.away))(rng);
            return true;
        });
        const StandingsRun final = RunStandings(shippedSeason(), store, 0);
        const ProjectionInput half = MakeProjectionInput(shippedSeason(), store, 17);
        const auto logLoss = [&](const StrengthModel &m) {
            const SimulationResult r = SimulateSeasons(half, m, { simulations, quint64(s), 0 });
            double loss = 0;
            for (int row = 0; row < TeamCount; ++row) {
                const int t = final.tableOrder[row];
                loss -= std::log((r.positionCounts[t][row] + 0.5) / (simulations + 0.5 * TeamCount));
            }
            return loss / (TeamCount * seasons);
        };
        fitted += logLoss(FitStrengthModel(half.played));
        equal += logLoss(EqualStrengthModel(half.played));
        truth += logLoss(known);
    }
    qInfo(
        "log-loss of the final positions from matchday 17: fitted %.4f, all equal %.4f, true strengths %.4f",
        fitted, equal, truth);
    QVERIFY(fitted < equal);
}

void TstProjections::commandLine()
{
    QTemporaryDir dir;
    QVERIFY(
        QFile::copy(QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"), dir.filePath(QStringLiteral("2027.txt"))));
    QVERIFY(QFile::copy(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"),
        dir.filePath(QStringLiteral("Resultats2027.ini"))));
    const auto run = [&](QStringList args) {
        QProcess p;
        p.start(QStringLiteral(KESTRAVA_CLI), QStringList { "projections", "--dir", dir.path() } + args);
        p.waitForFinished(60000);
        return std::pair { p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()) };
    };
    const auto [status, csv] = run({ "--format", "csv", "--simulations", "3000", "--seed", "9" });
    QCOMPARE(status, 0);
    QCOMPARE(run({ "--format", "csv", "--simulations", "3000", "--seed", "9" }).second, csv);
    QStringList lines = csv.split(u'\n', Qt::SkipEmptyParts);
    QString header = QStringLiteral("team,points,best,worst,title,champions_league,europe,relegation_playoff,"
                                    "relegated,expected_points");
    for (int p = 1; p <= TeamCount; ++p)
        header += QStringLiteral(",p%1").arg(p);
    QCOMPARE(lines.takeFirst(), header);
    // The current table order, as the table command gives it.
    QFile golden(QStringLiteral(KESTRAVA_TEST_DATA_DIR "/demo-table.csv"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    const QStringList table = QString::fromUtf8(golden.readAll()).split(u'\n', Qt::SkipEmptyParts).mid(1);
    QCOMPARE(lines.size(), TeamCount);
    for (int row = 0; row < TeamCount; ++row) {
        const QStringList f = lines[row].split(u',');
        QCOMPARE(f.size(), 10 + TeamCount);
        QCOMPARE(f[0], table[row].section(u',', 1, 1));
        QVERIFY(f[2].toInt() >= 1 && f[2].toInt() <= f[3].toInt() && f[3].toInt() <= TeamCount);
        double sum = 0;
        for (int p = 1; p <= TeamCount; ++p) {
            QVERIFY(f[9 + p].contains(QRegularExpression(QStringLiteral("^[01]\\.\\d{4}$"))));
            sum += f[9 + p].toDouble();
        }
        QVERIFY(qAbs(sum - 1) < 1e-3);
        QVERIFY(qAbs(f[8].toDouble() - f[26].toDouble() - f[27].toDouble()) < 2e-4);
    }
    for (const QStringList &bad : { QStringList { "--simulations", "0" }, QStringList { "--seed", "x" },
             QStringList { "--format", "xml" }, QStringList { "--matchday", "35" } })
        QCOMPARE(run(bad).first, 1);
}

// The view from the rankings menu: the run goes on behind the window and its result is the one the
// command line gives for the same seed; closing the view stops a run and keeps nothing of it.
void TstProjections::windowRunsItInTheBackground()
{
    kestrava::test::TestProgram p;
    MainController &c = p.start();
    ProjectionsController &projections = c.projections();
    projections.setSimulations(3000);
    QSignalSpy finished(&projections, &ProjectionsController::finished);
    c.clickButton(Btn::Rankings);
    c.clickButton(Btn::Projections);
    QVERIFY(projections.model().visible && projections.model().running && !c.standings().panels().rankingsMenu);
    QVERIFY(finished.wait(60000));
    QVERIFY(!projections.model().running && projections.model().report);
    SimulationOptions options;
    options.simulations = 3000;
    const ProjectionReport direct
        = ComputeProjections(c.season(), IniSnapshot::fromFile(p.storePath()), 0, options);
    QVERIFY(projections.model().report->simulation.positionCounts == direct.simulation.positionCounts);
    const auto shown = projections.model().report;

    projections.setSimulations(2000000);
    c.clickButton(Btn::CloseProjections);
    c.clickButton(Btn::Projections);
    QVERIFY(projections.model().running);
    c.closeOpenPanel();
    QVERIFY(!projections.model().visible && !projections.model().running);
    QCOMPARE(projections.model().report, shown);
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
}

QTEST_GUILESS_MAIN(TstProjections)
#include "tst_projections.moc"
