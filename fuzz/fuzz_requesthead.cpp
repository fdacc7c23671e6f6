// The site's HTTP request head parser: any bytes give an answer, and a complete head lies inside
// what arrived, with a length no client could abuse.
#include "FuzzInput.h"
#include "HttpRequestHead.h"

using namespace kestrava::site;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    HttpRequestHead head;
    qsizetype headBytes = -1;
    if (ParseRequestHead(bytes, &head, &headBytes) != HeadStatus::Complete)
        return 0;
    FUZZ_ASSERT(headBytes > 0 && headBytes <= bytes.size() && headBytes <= MaxHeadBytes);
    FUZZ_ASSERT(head.target.startsWith('/') && !head.method.isEmpty());
    FUZZ_ASSERT(head.contentLength >= 0);
    FUZZ_ASSERT(!head.target.contains(' ') && !head.target.contains('\n'));
    return 0;
}
