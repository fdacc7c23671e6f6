// The site's form parser. The first line is the Content-Type, the rest the body: a body is
// either refused with no part, or split into parts that all lie inside it.
#include "FuzzInput.h"
#include "MultipartParser.h"

using namespace kestrava::site;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const qsizetype eol = bytes.indexOf('\n');
    const QByteArray contentType = eol < 0 ? bytes : bytes.left(eol);
    const QByteArray body = eol < 0 ? QByteArray() : bytes.mid(eol + 1);
    MultipartError error = MultipartError::None;
    const QByteArray boundary = BoundaryFromContentType(contentType, &error);
    FUZZ_ASSERT(boundary.isEmpty() == (error != MultipartError::None));
    const MultipartResult result = ParseMultipart(body, boundary.isEmpty() ? QByteArray("b") : boundary);
    FUZZ_ASSERT(result.ok() || result.parts.isEmpty());
    qsizetype total = 0;
    for (const FormPart &part : result.parts)
        total += part.data.size();
    FUZZ_ASSERT(total <= body.size());
    FUZZ_ASSERT(result.parts.size() <= MultipartLimits().maxParts);
    return 0;
}
