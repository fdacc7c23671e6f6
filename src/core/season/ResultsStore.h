#pragma once

#include "platform/IniFile.h"
#include "season/SeasonData.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

namespace kestrava {

inline const QString ResultsBaseName = QStringLiteral("Resultats2027");
inline const QString EmptyRecord = QStringLiteral("|||||||");
inline const QString EditingPassword = QStringLiteral("7nord");

namespace Store {
inline const QString Results = QStringLiteral("Resultats");
inline const QString BonMal = QStringLiteral("BonMal");
inline const QString Maj = QStringLiteral("Maj");
inline const QString Pseudo = QStringLiteral("Pseudo");
inline const QString Texte = QStringLiteral("Texte");
inline const QString CV = QStringLiteral("CV");
inline const QString VersionEQU = QStringLiteral("VersionEQU");
} // namespace Store

// One stored fixture: home letter | CR1 | CJ1 | R1 | R2 | CJ2 | CR2 | away letter.
struct MatchResult
{
    std::array<QString, 8> fields;

    static MatchResult parse(const QString &record);
    QString homeLetter() const { return fields[0]; }
    QString awayLetter() const { return fields[7]; }
    const QString &cr1() const { return fields[1]; }
    const QString &cj1() const { return fields[2]; }
    const QString &r1() const { return fields[3]; }
    const QString &r2() const { return fields[4]; }
    const QString &cj2() const { return fields[5]; }
    const QString &cr2() const { return fields[6]; }
    QString toRecord() const;
};

// A goals field counts as entered unless it is empty or "-".
bool GoalsEntered(const QString &goals);

// "MMPP": matchday and 0-based position, two digits each.
QString FixtureKey(int matchday, int position);

// One row of the result-entry grid, as the editor typed it.
struct EntryRow
{
    QString key;
    QString homeLetter;
    QString awayLetter;
    QString r1, r2, cj1, cj2, cr1, cr2;
};

struct SaveOutcome
{
    bool written = false;               // the store was replaced with the new values
    bool changedSinceReference = false; // the file was newer than the reference date before this save
    bool sendButtonVisible = false;
};

// The results store beside the program, read afresh at every use.
class ResultsStore
{
public:
    explicit ResultsStore(QString folder);

    QString folder() const { return m_folder; }
    QString path() const;
    QString backupPath() const;
    QString datedCopyPath(const QDateTime &launchTime) const;

    IniSnapshot snapshot() const;
    static MatchResult result(const IniSnapshot &snapshot, const QString &key);

    // Takes each non-empty "BonMal" value into the season; an empty value keeps the slot.
    void loadBonusMalus(SeasonData &season) const;
    static void loadBonusMalus(const IniSnapshot &snapshot, SeasonData &season);

    // Writes every row whose home goals box is not empty, and "Maj" from the launch time, in one
    // atomic replacement of the file.
    SaveOutcome saveResults(const QList<EntryRow> &rows, const QDateTime &launchTime,
                            const QDateTime &referenceDate, const QString &password) const;

    // "Resultats2027-DDMMYY.ini" beside the store, overwritten when it exists.
    bool datedCopy(const QDateTime &launchTime) const;

private:
    QString m_folder;
};

} // namespace kestrava
