// The exact answer to one range question as a 0-1 programme for COIN-OR's CBC.
#include "RangeQuestion.h"

#include <CbcModel.hpp>
#include <CbcSolver.hpp>
#include <CbcStrategy.hpp>
#include <CoinPackedMatrix.hpp>
#include <CoinPackedVector.hpp>
#include <OsiClpSolverInterface.hpp>

#include <mutex>
#include <string>

namespace kestrava::range {

namespace {

// Nodes of the plain search before a question counts as hard.
constexpr int QuickNodes = 500;
// Nodes for each set of clubs given up that the bound proposes.
constexpr int WitnessNodes = 50;

// Two binaries per game, home win and away win (neither is a draw), and one per open club saying
// it ends beyond the line; the objective counts those. With `away`, those last ones are fixed:
// what is left asks whether the clubs not given up can all end on their side.
void build(const Question &q, OsiClpSolverInterface &solver, const std::vector<bool> *away)
{
    const int nGames = int(q.games.size());
    const int nOpen = int(q.room.size());
    const int nCols = 2 * nGames + nOpen;
    const double inf = solver.getInfinity();
    CoinPackedMatrix matrix(false, 0, 0);
    matrix.setDimensions(0, nCols);
    std::vector<double> rowLo, rowUp;
    const auto addRow = [&](const CoinPackedVector &v, double lo, double up) {
        matrix.appendRow(v);
        rowLo.push_back(lo);
        rowUp.push_back(up);
    };
    for (int g = 0; g < nGames; ++g) {
        CoinPackedVector v;
        v.insert(2 * g, 1);
        v.insert(2 * g + 1, 1);
        addRow(v, -inf, 1);
    }
    // Points of a club from its games = games played + sum of (2 x own win - other's win).
    std::vector<CoinPackedVector> clubRows(nOpen);
    std::vector<int> played(nOpen, 0);
    for (int g = 0; g < nGames; ++g) {
        const Game &game = q.games[g];
        clubRows[game.home].insert(2 * g, 2);
        clubRows[game.home].insert(2 * g + 1, -1);
        clubRows[game.away].insert(2 * g + 1, 2);
        clubRows[game.away].insert(2 * g, -1);
        ++played[game.home];
        ++played[game.away];
    }
    // Wins and defeats of each club, for the rows below.
    std::vector<CoinPackedVector> winsLosses(nOpen), losses(nOpen), wins(nOpen);
    for (int g = 0; g < nGames; ++g) {
        const Game &game = q.games[g];
        wins[game.home].insert(2 * g, 1);
        losses[game.home].insert(2 * g + 1, 1);
        wins[game.away].insert(2 * g + 1, 1);
        losses[game.away].insert(2 * g, 1);
        winsLosses[game.home].insert(2 * g, 1);
        winsLosses[game.home].insert(2 * g + 1, -1);
        winsLosses[game.away].insert(2 * g + 1, 1);
        winsLosses[game.away].insert(2 * g, -1);
    }
    const int zCol = 2 * nGames;
    for (int j = 0; j < nOpen; ++j) {
        // Points come in threes and ones: rounding the points row by thirds gives rows the plain
        // relaxation misses. Reaching d points takes ceil(d/3) games not lost, and (wins - defeats)
        // of at least ceil(2d/3) - games; staying under s points allows floor(s/3) wins and
        // (wins - defeats) of at most floor((s - games)/2).
        const int g = played[j], r = q.room[j];
        if (q.worst) {
            CoinPackedVector a = losses[j];
            a.insert(zCol + j, (r + 2) / 3);
            addRow(a, -inf, g);
            CoinPackedVector b = winsLosses[j];
            b.insert(zCol + j, -((2 * r + 2) / 3));
            addRow(b, -g, inf);
        } else {
            CoinPackedVector a = wins[j];
            a.insert(zCol + j, -g);
            addRow(a, -inf, r / 3);
            const int cap = (r - g) >= 0 ? (r - g) / 2 : -((g - r + 1) / 2);
            CoinPackedVector b = winsLosses[j];
            b.insert(zCol + j, -(g - cap));
            addRow(b, -inf, cap);
        }
        CoinPackedVector &v = clubRows[j];
        if (q.worst) {
            v.insert(2 * nGames + j, -q.room[j]); // points >= missing x reaches
            addRow(v, -played[j], inf);
        } else {
            v.insert(2 * nGames + j, -(3 * played[j] - q.room[j])); // points <= slack + excess x beyond
            addRow(v, -inf, q.room[j] - played[j]);
        }
    }
    std::vector<double> colLo(nCols, 0), colUp(nCols, 1), objective(nCols, 0);
    for (int j = 0; j < nOpen; ++j) {
        objective[2 * nGames + j] = q.worst ? -1 : 1;
        if (away) // reaches (worst) unless given up; beyond (best) only when given up
            colLo[2 * nGames + j] = colUp[2 * nGames + j] = (*away)[j] != q.worst ? 1 : 0;
    }
    solver.messageHandler()->setLogLevel(0);
    solver.loadProblem(matrix, colLo.data(), colUp.data(), objective.data(), rowLo.data(), rowUp.data());
    for (int c = 0; c < nCols; ++c)
        solver.setInteger(c);
}

// Cuts at the root and a plain search, stopped after `nodes`.
void search(CbcModel &model, double cutoff, int nodes)
{
    model.setLogLevel(0);
    model.messageHandler()->setLogLevel(0);
    model.setCutoff(cutoff);
    CbcStrategyDefault strategy(1, 5, 0, 0);
    strategy.setupPreProcessing(0);
    model.setStrategy(strategy);
    model.setMaximumNodes(nodes);
    model.branchAndBound();
}

bool finished(const CbcModel &model)
{
    return model.isProvenOptimal() || model.isProvenInfeasible();
}

} // namespace

Reach Achievable(const Question &q, const std::vector<bool> &away)
{
    OsiClpSolverInterface solver;
    build(q, solver, &away);
    CbcModel model(solver);
    search(model, solver.getInfinity(), WitnessNodes);
    if (!finished(model))
        return Reach::Unknown;
    return model.bestSolution() ? Reach::Yes : Reach::No;
}

int Solve(const Question &q, const Attempt &start)
{
    OsiClpSolverInterface solver;
    build(q, solver, nullptr);
    const int nGames = int(q.games.size()), nOpen = int(q.room.size());
    // Only results better than the start are asked for: when there are none, the start is the answer.
    const double cutoff = q.worst ? -start.beyond - 0.5 : start.beyond - 0.5;
    const auto answer = [&](const CbcModel &model) {
        const double *x = model.bestSolution();
        if (!x)
            return start.beyond;
        int beyond = 0;
        for (int j = 0; j < nOpen; ++j)
            beyond += x[2 * nGames + j] > 0.5 ? 1 : 0;
        return beyond;
    };
    // Cuts at the root and a plain search answer nearly every question in a few milliseconds.
    CbcModel quick(solver);
    search(quick, cutoff, QuickNodes);
    if (finished(quick))
        return answer(quick);
    // The rare hard one goes to CBC's full standard run, whose preprocessing closes most at the root.
    // That run reads its options through globals of the library: one at a time.
    static std::mutex fullRun;
    const std::lock_guard<std::mutex> lock(fullRun);
    CbcModel full(solver);
    CbcSolverUsefulData data;
    data.noPrinting_ = true;
    data.useSignalHandler_ = false;
    CbcMain0(full, data);
    const std::string cut = std::to_string(cutoff);
    const char *args[] = { "kestrava", "-log", "0", "-slog", "0", "-cutoff", cut.c_str(), "-solve", "-quit" };
    CbcMain1(
        9, args, full, [](CbcModel *, int) { return 0; }, data);
    return answer(full);
}

} // namespace kestrava::range
