#include "MultipartParser.h"

#include <QByteArrayView>

namespace kestrava::site {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray Trimmed(QByteArrayView v)
{
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && IsSpace(v.at(b)))
        ++b;
    while (e > b && IsSpace(v.at(e - 1)))
        --e;
    return v.sliced(b, e - b).toByteArray();
}

// Parameters of a header value such as `form-data; name="x"; filename="a.ini"`.
// Returns the first token (lower-cased) and fills the parameters (names lower-cased). Quoted
// strings may hold ';' and backslash escapes. False when a quote is left open.
bool ParseHeaderParams(
    QByteArrayView value, QByteArray *token, QList<std::pair<QByteArray, QByteArray>> *params)
{
    qsizetype i = 0;
    const qsizetype n = value.size();
    qsizetype start = i;
    while (i < n && value.at(i) != ';')
        ++i;
    *token = Trimmed(value.sliced(start, i - start)).toLower();
    while (i < n) {
        ++i; // the ';'
        while (i < n && IsSpace(value.at(i)))
            ++i;
        start = i;
        while (i < n && value.at(i) != '=' && value.at(i) != ';')
            ++i;
        const QByteArray key = Trimmed(value.sliced(start, i - start)).toLower();
        QByteArray val;
        if (i < n && value.at(i) == '=') {
            ++i;
            while (i < n && IsSpace(value.at(i)))
                ++i;
            if (i < n && value.at(i) == '"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    const char c = value.at(i);
                    if (c == '\\' && i + 1 < n) {
                        val.append(value.at(i + 1));
                        i += 2;
                        continue;
                    }
                    if (c == '"') {
                        closed = true;
                        ++i;
                        break;
                    }
                    val.append(c);
                    ++i;
                }
                if (!closed)
                    return false;
                while (i < n && value.at(i) != ';')
                    ++i;
            } else {
                start = i;
                while (i < n && value.at(i) != ';')
                    ++i;
                val = Trimmed(value.sliced(start, i - start));
            }
        }
        if (!key.isEmpty())
            params->append({ key, val });
    }
    return true;
}

bool ParsePartHeaders(QByteArrayView block, FormPart *part)
{
    bool named = false;
    qsizetype pos = 0;
    while (pos < block.size()) {
        qsizetype eol = block.indexOf(QByteArrayView("\r\n"), pos);
        if (eol < 0)
            eol = block.size();
        const QByteArrayView line = block.sliced(pos, eol - pos);
        pos = eol + 2;
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return false;
        const QByteArray name = Trimmed(line.first(colon)).toLower();
        const QByteArrayView value = line.sliced(colon + 1);
        if (name == "content-disposition") {
            QByteArray token;
            QList<std::pair<QByteArray, QByteArray>> params;
            if (!ParseHeaderParams(value, &token, &params) || token != "form-data")
                return false;
            for (const auto &[key, val] : params) {
                if (key == "name" && !named) {
                    part->name = QString::fromUtf8(val);
                    named = true;
                } else if (key == "filename" && !part->hasFileName) {
                    part->fileName = QString::fromUtf8(val);
                    part->hasFileName = true;
                }
            }
        } else if (name == "content-type") {
            part->contentType = Trimmed(value);
        }
    }
    return named;
}

} // namespace

const FormPart *MultipartResult::field(const QString &name) const
{
    for (const FormPart &part : parts) {
        if (part.name == name)
            return &part;
    }
    return nullptr;
}

QByteArray BoundaryFromContentType(const QByteArray &contentType, MultipartError *error)
{
    auto fail = [error](MultipartError e) {
        if (error)
            *error = e;
        return QByteArray();
    };
    QByteArray token;
    QList<std::pair<QByteArray, QByteArray>> params;
    if (!ParseHeaderParams(contentType, &token, &params))
        return fail(MultipartError::MissingBoundary);
    if (token != "multipart/form-data")
        return fail(MultipartError::NotMultipart);
    for (const auto &[key, val] : params) {
        if (key != "boundary")
            continue;
        // RFC 2046: 1 to 70 characters, and not ending with a space.
        if (val.isEmpty() || val.size() > 70 || val.endsWith(' '))
            return fail(MultipartError::MissingBoundary);
        for (const char c : val) {
            if (c < 0x20 || c > 0x7e)
                return fail(MultipartError::MissingBoundary);
        }
        if (error)
            *error = MultipartError::None;
        return val;
    }
    return fail(MultipartError::MissingBoundary);
}

MultipartResult ParseMultipart(
    const QByteArray &body, const QByteArray &boundary, const MultipartLimits &limits)
{
    MultipartResult result;
    auto fail = [&result](MultipartError e) {
        result.parts.clear();
        result.error = e;
        return result;
    };
    if (boundary.isEmpty())
        return fail(MultipartError::MissingBoundary);

    const QByteArray dashBoundary = "--" + boundary;
    const QByteArray delimiter = "\r\n" + dashBoundary;

    // A preamble before the first delimiter is allowed, browsers send none.
    qsizetype pos;
    if (body.startsWith(dashBoundary)) {
        pos = dashBoundary.size();
    } else {
        const qsizetype first = body.indexOf(delimiter);
        if (first < 0)
            return fail(MultipartError::NoOpening);
        pos = first + delimiter.size();
    }

    for (;;) {
        // After a delimiter: "--" closes the body, otherwise optional padding and CR LF.
        if (body.size() - pos >= 2 && body.at(pos) == '-' && body.at(pos + 1) == '-')
            break;
        while (pos < body.size() && IsSpace(body.at(pos)))
            ++pos;
        if (pos >= body.size())
            return fail(MultipartError::Truncated);
        if (body.size() - pos < 2 || body.at(pos) != '\r' || body.at(pos + 1) != '\n')
            return fail(MultipartError::BadDelimiter);
        pos += 2;

        if (result.parts.size() >= limits.maxParts)
            return fail(MultipartError::TooManyParts);

        // Headers end at the first empty line; a part without headers starts with CR LF at once.
        qsizetype headersEnd;
        qsizetype contentStart;
        if (body.mid(pos, 2) == "\r\n") {
            headersEnd = pos;
            contentStart = pos + 2;
        } else {
            const qsizetype blank = body.indexOf("\r\n\r\n", pos);
            if (blank < 0)
                return fail(body.size() - pos > limits.maxHeaderBytes ? MultipartError::BadHeaders
                                                                      : MultipartError::Truncated);
            headersEnd = blank;
            contentStart = blank + 4;
        }
        if (headersEnd - pos > limits.maxHeaderBytes)
            return fail(MultipartError::BadHeaders);

        FormPart part;
        if (!ParsePartHeaders(QByteArrayView(body).sliced(pos, headersEnd - pos), &part))
            return fail(MultipartError::BadHeaders);

        const qsizetype contentEnd = body.indexOf(delimiter, contentStart);
        if (contentEnd < 0)
            return fail(MultipartError::Truncated);
        part.data = body.mid(contentStart, contentEnd - contentStart);
        result.parts.append(std::move(part));
        pos = contentEnd + delimiter.size();
    }
    return result;
}

} // namespace kestrava::site
