// The store check shared by the download and the site's upload. What it accepts, the program
// reads as a store: a date it can show, and results of eight fields under four-digit keys.
#include "FuzzInput.h"
#include "platform/IniFile.h"
#include "platform/Text.h"
#include "season/ResultsStore.h"
#include "season/StoreCheck.h"

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
    const QStringList keys = store.keys(Store::Results);
    FUZZ_ASSERT(keys.size() <= check.resultCount);
    for (const QString &key : keys) {
        FUZZ_ASSERT(key.size() == 4);
        FUZZ_ASSERT(store.value(Store::Results, key).left(IniValueLimit).count(u'|') <= 7);
    }
    return 0;
}
