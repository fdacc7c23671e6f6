// The INI reader and writer: any bytes parse; a value written reads back as written.
#include "FuzzInput.h"
#include "platform/IniFile.h"
#include "platform/Text.h"

using kestrava::IniSnapshot;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const IniSnapshot snapshot = IniSnapshot::fromBytes(bytes);
    for (const QString &key : snapshot.keys(QStringLiteral("Resultats")))
        FUZZ_ASSERT(snapshot.value(QStringLiteral("Resultats"), key).size() <= kestrava::IniValueLimit);

    // Edit the document in place and read it back: the new value wins, the lines around it stay.
    kestrava::IniDocument doc = kestrava::IniDocument::fromBytes(bytes);
    const QString value = kestrava::DecodeWin1252(bytes.left(40)).remove(u'\r').remove(u'\n');
    if (doc.set(QStringLiteral("Maj"), QStringLiteral("Maj"), value)) {
        const IniSnapshot back = IniSnapshot::fromBytes(doc.toBytes());
        const QString expected = kestrava::DecodeWin1252(kestrava::EncodeWin1252(value));
        FUZZ_ASSERT(back.value(QStringLiteral("Maj"), QStringLiteral("Maj"))
            == expected.left(kestrava::IniValueLimit));
    }
    return 0;
}
