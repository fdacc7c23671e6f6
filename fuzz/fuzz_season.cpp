// The season file loader: any bytes load without harm, and what is loaded stays in its bounds.
#include "FuzzInput.h"
#include "online/Online.h"
#include "season/SeasonData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    kestrava::SeasonData season;
    kestrava::LoadSeasonText(bytes, season);
    // A fixture code is kept as written, however long; but no line adds more than one fixture.
    qsizetype fixtures = 0;
    for (const QStringList &codes : season.matchdayFixtures)
        fixtures += codes.size();
    FUZZ_ASSERT(fixtures <= bytes.count('\n') + 1);
    for (int md = 0; md <= kestrava::MatchdayCount + 1; ++md)
        (void)season.matchdayDate(md);
    (void)kestrava::LooksLikeSeasonFile(bytes);
    return 0;
}
