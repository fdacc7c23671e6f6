#include "Online.h"

#include "platform/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

namespace kestrava {

std::optional<double> AnnouncedVersion(const QString &cv)
{
    if (cv.size() != 3)
        return std::nullopt;
    return ValueOf(cv.left(1)) + ValueOf(cv.right(1)) / 10.0;
}

double OwnVersionNumber()
{
    return KESTRAVA_VERSION_MAJOR + KESTRAVA_VERSION_MINOR / 10.0;
}

bool NewerVersionAnnounced(const QString &cv)
{
    if (cv == u"-")
        return false;
    const auto v = AnnouncedVersion(cv);
    // Compared in tenths: 1.1 read from the text must not lose to floating-point noise.
    return v && std::lround(OwnVersionNumber() * 10) < std::lround(*v * 10);
}

Rgb LastUpdateColour(const QDateTime &before, const QDateTime &after, bool ownPublication)
{
    if (ownPublication)
        return MajColours::Newer;
    if (after < before)
        return MajColours::Older;
    if (after > before)
        return MajColours::Newer;
    return MajColours::Same;
}

bool LooksLikeTextFile(const QByteArray &bytes)
{
    return !bytes.contains('\0');
}

bool LooksLikeDonorsFile(const QByteArray &bytes)
{
    const QByteArray start = bytes.trimmed().left(64).toLower();
    return LooksLikeTextFile(bytes) && !start.isEmpty() && !start.startsWith("<!doctype")
        && !start.startsWith("<html");
}

bool LooksLikeSeasonFile(const QByteArray &bytes)
{
    if (!LooksLikeTextFile(bytes))
        return false;
    int teams = 0, fixtures = 0, dates = 0;
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.startsWith("EQU|"))
            ++teams;
        else if (line.startsWith("CAL|"))
            ++fixtures;
        else if (line.startsWith("JOU|"))
            ++dates;
    }
    return teams >= 18 && fixtures >= 306 && dates >= 34;
}

QString RemoveDiacritics(QString text)
{
    text.replace(QChar(0xE9), u'e'); // é
    text.replace(QChar(0xE8), u'e'); // è
    text.replace(QChar(0xEA), u'e'); // ê
    text.replace(QChar(0xEB), u'e'); // ë
    text.replace(QChar(0xE7), u'c'); // ç
    text.replace(QChar(0xE0), u'a'); // à
    return text;
}

QString BonusIntegerPart(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return text;
    return QString::number(static_cast<long long>(std::floor(v)));
}

QStringList ParseDonors(const QString &fileText)
{
    QStringList entries;
    QStringList lines = fileText.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        // A heading is a tag whose ">" lies from the 15th character on (<div class="titre">); the
        // name lines open with a short "<br/> " tag, which is not a heading.
        const qsizetype open = line.indexOf(u'>', 14);
        if (open >= 0) {
            const qsizetype close = line.indexOf(u'<', open + 2);
            const QString text = close < 0 ? line.mid(open + 1) : line.mid(open + 1, close - open - 1);
            entries.append(text.trimmed() + u'$');
        } else {
            QString name = line.mid(6);
            name.remove(QStringLiteral("/n"));
            entries.append(name.trimmed());
        }
    }
    return entries;
}

bool DonorsFileFresh(const std::optional<QDateTime> &modified, const QDateTime &launchTime)
{
    return modified && modified->isValid() && modified->msecsTo(launchTime) < 12LL * 3600 * 1000;
}

bool WeeklyDonorsRefreshDue(const QDateTime &launchTime, const QString &stored)
{
    if (launchTime.date().dayOfWeek() != Qt::Friday)
        return false;
    if (stored == u"-")
        return true;
    const QDateTime last = ParseStamp(stored);
    // A stamp that cannot be read counts as none.
    return !last.isValid() || last.msecsTo(launchTime) > 24LL * 3600 * 1000;
}

namespace {

void PutBackOldBackup(const ResultsStore &store)
{
    if (QFile::exists(store.backupPath())) {
        if (!QFile::exists(store.path()))
            QFile::rename(store.backupPath(), store.path());
        QFile::remove(store.backupPath());
    }
}

Downloader::Outcome FetchStore(const ResultsStore &store, const SiteAddresses &site, Downloader &downloader,
                               HttpValidators validators)
{
    PutBackOldBackup(store);
    const Downloader::Outcome outcome = downloader.downloadIfChanged(
        site.results(), store.path(), validators, [](const QByteArray &bytes) { return CheckResultsStore(bytes).ok(); });
    if (outcome == Downloader::Outcome::Replaced)
        KeepValidators(store, validators);
    return outcome;
}

// The store file as the record describes it: modification time in milliseconds, and size.
QByteArray FileStamp(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' ' + QByteArray::number(info.size());
}

} // namespace

QString ValidatorsPath(const ResultsStore &store)
{
    return QDir(store.folder()).filePath(ResultsBaseName + QStringLiteral(".etag"));
}

std::optional<HttpValidators> StoredValidators(const ResultsStore &store)
{
    QFile file(ValidatorsPath(store));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    HttpValidators validators;
    QByteArray stamp;
    // A few short lines: anything longer is not ours.
    for (const QByteArray &line : file.read(4096).split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon);
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (key == "etag")
            validators.etag = value;
        else if (key == "last-modified")
            validators.lastModified = value;
        else if (key == "store")
            stamp = value;
    }
    const QByteArray now = FileStamp(store.path());
    if (stamp.isEmpty() || stamp != now)
        return std::nullopt;
    return validators;
}

bool KeepValidators(const ResultsStore &store, const HttpValidators &validators)
{
    // Header values never hold a line break (Qt refuses them), so one line per value is safe.
    QSaveFile file(ValidatorsPath(store));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("etag: " + validators.etag + "\nlast-modified: " + validators.lastModified + "\nstore: "
               + FileStamp(store.path()) + '\n');
    return file.commit();
}

bool FetchResultsStore(const ResultsStore &store, const SiteAddresses &site, Downloader &downloader)
{
    return FetchStore(store, site, downloader, {}) == Downloader::Outcome::Replaced;
}

Downloader::Outcome FetchResultsStoreIfChanged(const ResultsStore &store, const SiteAddresses &site,
                                               Downloader &downloader)
{
    return FetchStore(store, site, downloader, StoredValidators(store).value_or(HttpValidators{}));
}

SeasonUpdate UpdateSeasonFile(const IniSnapshot &store, qint16 dataVersion, const QString &seasonFolder,
                              const SiteAddresses &site, Downloader &downloader)
{
    const double announced = ValueOf(store.value(Store::VersionEQU, Store::VersionEQU, QStringLiteral("-")));
    if (announced <= dataVersion)
        return SeasonUpdate::NotNeeded;
    const QString target = QDir(seasonFolder).filePath(SeasonFileName);
    return downloader.download(site.seasonFile(), target, LooksLikeSeasonFile) ? SeasonUpdate::Updated
                                                                                : SeasonUpdate::Failed;
}

} // namespace kestrava
