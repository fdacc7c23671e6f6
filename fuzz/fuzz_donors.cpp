// The donors file: one entry per line, whatever the line holds.
#include "FuzzInput.h"
#include "online/Online.h"
#include "platform/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const QString text = kestrava::DecodeWin1252(bytes);
    const QStringList entries = kestrava::ParseDonors(text);
    qsizetype lines = text.count(u'\n') + 1;
    if (text.endsWith(u'\n'))
        --lines;
    FUZZ_ASSERT(entries.size() == (text.isEmpty() ? 0 : lines));
    if (kestrava::LooksLikeDonorsFile(bytes))
        FUZZ_ASSERT(!bytes.trimmed().isEmpty() && !bytes.contains('\0'));
    return 0;
}
