// The store check shared by the download and the site's upload. What it accepts, the program
// reads as a store: a date it can show, and results of eight fields under four-digit keys.
#include "FuzzInput.h"
#include "platform/IniFile.h"
#include "platform/Text.h"
#include "season/ResultsStore.h"
#include "season/StoreCheck.h"

#include <algorithm>

using namespace kestrava;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const StoreCheck check = CheckResultsStore(bytes);
    FUZZ_ASSERT(!check.frenchReason().isEmpty());
    if (!check.ok())
        return 0;
    FUZZ_ASSERT(!bytes.contains('\0') && bytes.size() <= MaxResultsStoreBytes);
    const IniSnapshot store = IniSnapshot::fromBytes(bytes);
    FUZZ_ASSERT(ParseMaj(store.value(Store::Maj, Store::Maj), QDateTime::currentDateTime()).isValid());
    // The keys the program asks for are fixture keys: each of those found holds a whole record
    // (unless the reader's 1023-character limit cut it). Other keys (";x=y" reads as a key) are
    // never asked for.
    for (const QString &key : store.keys(Store::Results)) {
        const bool fixtureKey = key.size() == 4
            && std::all_of(key.begin(), key.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!fixtureKey)
            continue;
        const QString record = store.value(Store::Results, key);
        FUZZ_ASSERT(record.count(u'|') == 7 || (record.size() == IniValueLimit && record.count(u'|') < 7));
    }
    return 0;
}
