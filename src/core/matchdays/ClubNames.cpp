#include "ClubNames.h"

#include "matchdays/ResultsFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace kestrava {

namespace {

// The names the open-data files and the press give the season's clubs, by the club's name in the
// shipped season file. A club missing from the season file in use simply has none.
const std::pair<const char16_t *, const char16_t *> KnownNames[] = {
    { u"PSG", u"Paris SG" },
    { u"Paris Saint-Germain", u"Paris SG" },
    { u"Paris Saint-Germain FC", u"Paris SG" },
    { u"Paris S.G.", u"Paris SG" },
    { u"OM", u"Marseille" },
    { u"Olympique de Marseille", u"Marseille" },
    { u"Olympique Marseille", u"Marseille" },
    { u"AS Monaco", u"Monaco" },
    { u"AS Monaco FC", u"Monaco" },
    { u"ASM", u"Monaco" },
    { u"OGC Nice", u"Nice" },
    { u"OGCN", u"Nice" },
    { u"LOSC", u"Lille" },
    { u"LOSC Lille", u"Lille" },
    { u"Lille OSC", u"Lille" },
    { u"OL", u"Lyon" },
    { u"Olympique Lyonnais", u"Lyon" },
    { u"Olympique Lyon", u"Lyon" },
    { u"RC Strasbourg", u"Strasbourg" },
    { u"RC Strasbourg Alsace", u"Strasbourg" },
    { u"RCSA", u"Strasbourg" },
    { u"Racing Strasbourg", u"Strasbourg" },
    { u"RC Lens", u"Lens" },
    { u"Racing Club de Lens", u"Lens" },
    { u"RCL", u"Lens" },
    { u"Stade Brestois", u"Brest" },
    { u"Stade Brestois 29", u"Brest" },
    { u"SB29", u"Brest" },
    { u"Toulouse FC", u"Toulouse" },
    { u"TFC", u"Toulouse" },
    { u"AJ Auxerre", u"Auxerre" },
    { u"AJA", u"Auxerre" },
    { u"Stade Rennais", u"Rennes" },
    { u"Stade Rennais FC", u"Rennes" },
    { u"Stade Rennais FC 1901", u"Rennes" },
    { u"SRFC", u"Rennes" },
    { u"FC Nantes", u"Nantes" },
    { u"FCN", u"Nantes" },
    { u"Angers SCO", u"Angers" },
    { u"SCO Angers", u"Angers" },
    { u"SCO", u"Angers" },
    { u"Le Havre AC", u"Le Havre" },
    { u"Havre AC", u"Le Havre" },
    { u"HAC", u"Le Havre" },
    { u"FC Lorient", u"Lorient" },
    { u"FCL", u"Lorient" },
    { u"PFC", u"Paris FC" },
    { u"AS Saint-Étienne", u"Saint-Étienne" },
    { u"ASSE", u"Saint-Étienne" },
};

int Distance(QStringView a, QStringView b)
{
    std::vector<int> row(size_t(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)]
                = std::min({ above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1) });
            diagonal = above;
        }
    }
    return row[size_t(b.size())];
}

bool Separator(QChar c)
{
    return c.isSpace() || c == u'-' || c == u'.' || c.category() == QChar::Punctuation_Dash;
}

} // namespace

QString FoldClubName(QStringView name)
{
    // Most names are plain ASCII: nothing to decompose.
    const bool ascii = std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
    const QString decomposed
        = ascii ? name.toString() : name.toString().normalized(QString::NormalizationForm_KD);
    QString folded;
    QString word;
    auto endWord = [&] {
        if (word == u"st")
            word = QStringLiteral("saint");
        else if (word == u"ste")
            word = QStringLiteral("sainte");
        folded += word;
        word.clear();
    };
    for (const QChar c : decomposed) {
        const QChar::Category cat = c.category();
        if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining
            || cat == QChar::Mark_Enclosing)
            continue;
        if (Separator(c)) {
            endWord();
            continue;
        }
        word += c.toCaseFolded();
    }
    endWord();
    return folded;
}

ClubMatcher::ClubMatcher(const SeasonData &season)
    : m_season(season)
{
    for (int i = 0; i < TeamCount; ++i) {
        const QString folded = FoldClubName(season.teams[i]);
        if (!folded.isEmpty() && !m_seasonNames.contains(folded))
            m_seasonNames.insert(folded, i);
    }
    for (const auto &[other, club] : KnownNames) {
        const int team = m_seasonNames.value(FoldClubName(QStringView(club)), -1);
        if (team >= 0)
            m_otherNames.insert(FoldClubName(QStringView(other)), team);
    }
}

QStringList ClubMatcher::addOtherNames(const QString &text, const QString &source)
{
    QStringList problems;
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        const QString where = QStringLiteral("%1, ligne %2 : ").arg(source).arg(n + 1);
        if (eq <= 0) {
            problems.append(where + QStringLiteral("« autre nom=club » attendu"));
            continue;
        }
        const QString other = FoldClubName(QStringView(line).left(eq));
        const QString club = line.mid(eq + 1).trimmed();
        const int team = teamOf(club);
        if (other.isEmpty() || team < 0) {
            problems.append(where + QStringLiteral("club inconnu « %1 »").arg(club));
            continue;
        }
        m_otherNames.insert(other, team);
    }
    return problems;
}

QStringList ClubMatcher::loadOtherNamesFile(const QString &folder)
{
    QFile file(QDir(folder).filePath(OtherNamesFileName));
    if (!file.exists())
        return {};
    // Far more than a list of other names ever needs.
    constexpr qint64 MaxBytes = 1024 * 1024;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxBytes)
        return { OtherNamesFileName + QStringLiteral(" : fichier illisible, ignoré") };
    return addOtherNames(DecodeImportedText(file.readAll()), OtherNamesFileName);
}

int ClubMatcher::teamOf(QStringView name) const
{
    const QString folded = FoldClubName(name);
    if (folded.isEmpty())
        return -1;
    if (const auto it = m_seasonNames.constFind(folded); it != m_seasonNames.cend())
        return *it;
    return m_otherNames.value(folded, -1);
}

QStringList ClubMatcher::closest(QStringView name, int count) const
{
    const QString folded = FoldClubName(name);
    std::array<int, TeamCount> best;
    best.fill(std::numeric_limits<int>::max());
    for (const QHash<QString, int> *names : { &m_seasonNames, &m_otherNames }) {
        for (auto it = names->cbegin(); it != names->cend(); ++it)
            best[size_t(*it)] = std::min(best[size_t(*it)], Distance(folded, it.key()));
    }
    std::vector<int> teams;
    for (int i = 0; i < TeamCount; ++i) {
        if (best[size_t(i)] != std::numeric_limits<int>::max())
            teams.push_back(i);
    }
    std::stable_sort(
        teams.begin(), teams.end(), [&](int a, int b) { return best[size_t(a)] < best[size_t(b)]; });
    QStringList out;
    for (size_t i = 0; i < teams.size() && int(i) < count; ++i)
        out.append(m_season.teams[size_t(teams[i])]);
    return out;
}

} // namespace kestrava
