// The season file loader: any bytes load without harm, and what is loaded stays in its bounds.
#include "FuzzInput.h"
#include "online/Online.h"
#include "season/SeasonData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    kestrava::SeasonData season;
    kestrava::LoadSeasonText(bytes, season);
    for (int md = 1; md <= kestrava::MatchdayCount; ++md) {
        for (const QString &code : season.matchdayFixtures[size_t(md)])
            FUZZ_ASSERT(code.size() <= 64);
        (void)season.matchdayDate(md);
    }
    (void)kestrava::LooksLikeSeasonFile(bytes);
    return 0;
}
