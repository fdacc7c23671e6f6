#pragma once

#include "platform/Rgb.h"
#include "platform/Services.h"
#include "platform/SiteAddresses.h"
#include "season/ResultsStore.h"
#include "season/StoreCheck.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrava {

// The version the publisher announces ("CV"): exactly three characters, read as the first
// character's value plus the last one's tenth (1.1 gives 1.1); nothing otherwise.
std::optional<double> AnnouncedVersion(const QString &cv);
// The program's own version as the publisher compares it: major + minor / 10.
double OwnVersionNumber();
// True when the announced version asks for the newer-version question.
bool NewerVersionAnnounced(const QString &cv);

// The last-update label's colour after a results download.
namespace MajColours {
inline constexpr Rgb Older{255, 0, 0};
inline constexpr Rgb Newer{0, 192, 0};
inline constexpr Rgb Same{100, 100, 100};
} // namespace MajColours
Rgb LastUpdateColour(const QDateTime &before, const QDateTime &after, bool ownPublication);

// What a file fetched from the site must look like before it replaces ours (the results store is
// judged by CheckResultsStore, shared with the site's upload).
bool LooksLikeSeasonFile(const QByteArray &bytes);
bool LooksLikeTextFile(const QByteArray &bytes);
// A donors file holds at least one line; an empty or blank answer, or a web page, is a server's
// fault, never the publisher's list.
bool LooksLikeDonorsFile(const QByteArray &bytes);

// The introduction text carries no diacritics: six lower-case letters are replaced.
QString RemoveDiacritics(QString text);

// The bonus/malus box keeps its integer part (the largest integer not above it); a text that is
// not a number is left as it is.
QString BonusIntegerPart(const QString &text);

// One entry per line of the donors file: headings end with "$", names do not.
QStringList ParseDonors(const QString &fileText);

// The donors file beside the program is fresh for half a day.
bool DonorsFileFresh(const std::optional<QDateTime> &modified, const QDateTime &launchTime);

// The weekly donors refresh runs on Fridays, at most once a day: `stored` is the "Vset" setting.
bool WeeklyDonorsRefreshDue(const QDateTime &launchTime, const QString &stored);

// Replaces the local results store with the published one, only with a whole answer that passes
// CheckResultsStore; on failure the store is the old one, whole. The replacement is one rename, so
// no backup is made; one left by an older run that was cut short is put back when the store is
// missing, and removed otherwise.
bool FetchResultsStore(const ResultsStore &store, const SiteAddresses &site, Downloader &downloader);

// The validators of the answer that wrote the store, kept beside it ("Resultats2027.etag") with the
// store's modification time and size: they hold only while the store is still that very file, so a
// store saved or edited since never gets a 304, and is never replaced behind the editor's back.
QString ValidatorsPath(const ResultsStore &store);
std::optional<HttpValidators> StoredValidators(const ResultsStore &store);
bool KeepValidators(const ResultsStore &store, const HttpValidators &validators);

// The results store asked with the kept validators when they still describe it: a 304 writes
// nothing; a new store goes through the same checks as FetchResultsStore.
Downloader::Outcome FetchResultsStoreIfChanged(const ResultsStore &store, const SiteAddresses &site,
                                               Downloader &downloader);

// Season data newer than ours is fetched into the season file, read at the next start.
enum class SeasonUpdate { NotNeeded, Updated, Failed };
SeasonUpdate UpdateSeasonFile(const IniSnapshot &store, qint16 dataVersion, const QString &seasonFolder,
                              const SiteAddresses &site, Downloader &downloader);

} // namespace kestrava
