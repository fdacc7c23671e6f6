#include "ResultsStore.h"

#include "platform/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kestrava {

MatchResult MatchResult::parse(const QString &record)
{
    MatchResult r;
    // Read in place: every fill of a view parses hundreds of records.
    const QChar *data = record.constData();
    qsizetype start = 0;
    for (size_t i = 0; i < r.fields.size(); ++i) {
        qsizetype end = start;
        while (end < record.size() && data[end] != u'|')
            ++end;
        if (end > start)
            r.fields[i] = QString(data + start, end - start);
        if (end >= record.size())
            break;
        start = end + 1;
    }
    return r;
}

QString MatchResult::toRecord() const
{
    QString record;
    record.reserve(24);
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += u'|';
        record += fields[i];
    }
    return record;
}

bool GoalsEntered(const QString &goals)
{
    return !goals.isEmpty() && goals != u"-";
}

QString FixtureKey(int matchday, int position)
{
    if (matchday < 0 || matchday > 99 || position < 0 || position > 99)
        return QStringLiteral("%1%2").arg(matchday, 2, 10, QLatin1Char('0')).arg(position, 2, 10, QLatin1Char('0'));
    // Every key of a season goes through here: no formatting machinery for four digits.
    const QChar digits[4] = {QChar(u'0' + matchday / 10), QChar(u'0' + matchday % 10), QChar(u'0' + position / 10),
                             QChar(u'0' + position % 10)};
    return QString(digits, 4);
}

ResultsStore::ResultsStore(QString folder)
    : m_folder(std::move(folder))
{
}

QString ResultsStore::path() const
{
    return QDir(m_folder).filePath(ResultsBaseName + QStringLiteral(".ini"));
}

QString ResultsStore::backupPath() const
{
    return QDir(m_folder).filePath(ResultsBaseName + QStringLiteral(".BU"));
}

QString ResultsStore::datedCopyPath(const QDateTime &launchTime) const
{
    return QDir(m_folder).filePath(ResultsBaseName + u'-' + launchTime.toString(QStringLiteral("ddMMyy"))
                                   + QStringLiteral(".ini"));
}

IniSnapshot ResultsStore::snapshot() const
{
    return IniSnapshot::fromFile(path());
}

MatchResult ResultsStore::result(const IniSnapshot &snapshot, const QString &key)
{
    return MatchResult::parse(snapshot.value(Store::Results, key, EmptyRecord));
}

void ResultsStore::loadBonusMalus(SeasonData &season) const
{
    loadBonusMalus(snapshot(), season);
}

void ResultsStore::loadBonusMalus(const IniSnapshot &snapshot, SeasonData &season)
{
    for (int i = 0; i < TeamCount; ++i) {
        const QString v = snapshot.value(Store::BonMal, TeamLetter(i));
        if (!v.isEmpty())
            season.bonusMalus[i] = static_cast<float>(ValueOf(v));
    }
}

SaveOutcome ResultsStore::saveResults(const QList<EntryRow> &rows, const QDateTime &launchTime,
                                      const QDateTime &referenceDate, const QString &password) const
{
    SaveOutcome out;
    const QFileInfo before(path());
    if (before.exists() && referenceDate.isValid())
        out.changedSinceReference = before.lastModified() > referenceDate;

    IniDocument doc = IniDocument::fromFile(path());
    doc.set(Store::Maj, Store::Maj, FormatMaj(launchTime));
    QList<std::pair<QString, QString>> records;
    for (const EntryRow &row : rows) {
        // An empty home-goals box never removes what is stored.
        if (row.r1.isEmpty() || row.key.isEmpty())
            continue;
        MatchResult r;
        r.fields = {row.homeLetter, row.cr1, row.cj1, row.r1, row.r2, row.cj2, row.cr2, row.awayLetter};
        // A '|' typed into a box would shift every later field of the record.
        for (QString &f : r.fields)
            f.remove(u'|');
        records.append({row.key, r.toRecord()});
    }
    doc.set(Store::Results, records);
    out.written = doc.save(path());
    out.sendButtonVisible = out.changedSinceReference && password == EditingPassword;
    return out;
}

bool ResultsStore::datedCopy(const QDateTime &launchTime) const
{
    QFile source(path());
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    QSaveFile target(datedCopyPath(launchTime));
    // Flush before commit: a short write (disk full) would otherwise be committed truncated.
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.flush()) {
        target.cancelWriting();
        return false;
    }
    return target.commit();
}

} // namespace kestrava
