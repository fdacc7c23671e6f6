#include "HttpRequestHead.h"

#include <QList>

namespace kestrava::site {

namespace {

bool IsTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool IsToken(QByteArrayView v)
{
    if (v.isEmpty())
        return false;
    for (const char c : v) {
        if (!IsTokenChar(c))
            return false;
    }
    return true;
}

QByteArrayView TrimmedView(QByteArrayView v)
{
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t'))
        v = v.chopped(1);
    return v;
}

// The comma-separated tokens of a Connection header, lower-cased.
bool HasConnectionToken(QByteArrayView value, QByteArrayView token)
{
    for (const QByteArray &part : value.toByteArray().split(',')) {
        if (TrimmedView(part).toByteArray().toLower() == token)
            return true;
    }
    return false;
}

} // namespace

HeadStatus ParseRequestHead(QByteArrayView buffer, HttpRequestHead *head, qsizetype *headBytes)
{
    // Empty lines before a request are tolerated (a client's stray CR LF after a body).
    qsizetype start = 0;
    while (start < buffer.size() && (buffer.at(start) == '\r' || buffer.at(start) == '\n'))
        ++start;
    const QByteArrayView rest = buffer.sliced(start);
    qsizetype end = rest.indexOf(QByteArrayView("\r\n\r\n"));
    qsizetype blank = 4;
    if (const qsizetype lf = rest.indexOf(QByteArrayView("\n\n")); lf >= 0 && (end < 0 || lf < end)) {
        end = lf;
        blank = 2;
    }
    if (end < 0) {
        if (buffer.size() > MaxHeadBytes)
            return HeadStatus::TooLarge;
        // Nothing but the start of a request line can come first: refuse garbage at once.
        const qsizetype firstSpace = rest.indexOf(' ');
        const QByteArrayView method = rest.first(firstSpace < 0 ? rest.size() : firstSpace);
        for (const char c : method) {
            if (!IsTokenChar(c) && c != '\r' && c != '\n')
                return HeadStatus::Bad;
        }
        return HeadStatus::Incomplete;
    }
    if (start + end + blank > MaxHeadBytes)
        return HeadStatus::TooLarge;

    QList<QByteArrayView> lines;
    for (qsizetype pos = 0; pos <= end;) {
        qsizetype nl = rest.indexOf('\n', pos);
        if (nl < 0 || nl > end)
            nl = end;
        QByteArrayView line = rest.sliced(pos, nl - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
        pos = nl + 1;
    }
    if (lines.size() > MaxHeaderLines + 1)
        return HeadStatus::TooLarge;

    HttpRequestHead h;
    // Request line: method SP target SP version, nothing else.
    const QByteArrayView requestLine = lines.front();
    const qsizetype sp1 = requestLine.indexOf(' ');
    const qsizetype sp2 = sp1 < 0 ? -1 : requestLine.indexOf(' ', sp1 + 1);
    if (sp1 <= 0 || sp2 < 0 || requestLine.indexOf(' ', sp2 + 1) >= 0)
        return HeadStatus::Bad;
    h.method = requestLine.first(sp1).toByteArray();
    h.target = requestLine.sliced(sp1 + 1, sp2 - sp1 - 1).toByteArray();
    const QByteArrayView version = requestLine.sliced(sp2 + 1);
    if (!IsToken(h.method) || h.target.isEmpty() || !h.target.startsWith('/'))
        return HeadStatus::Bad;
    for (const char c : h.target) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f)
            return HeadStatus::Bad;
    }
    if (version == "HTTP/1.1") {
        h.http10 = false;
    } else if (version == "HTTP/1.0") {
        h.http10 = true;
    } else {
        return version.startsWith("HTTP/") ? HeadStatus::BadVersion : HeadStatus::Bad;
    }
    bool sawLength = false;
    bool askedClose = false;
    bool askedKeepAlive = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArrayView line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !IsToken(line.first(colon)))
            return HeadStatus::Bad; // also a folded line, which starts with a space
        const QByteArray name = line.first(colon).toByteArray().toLower();
        const QByteArrayView value = TrimmedView(line.sliced(colon + 1));
        for (const char c : value) {
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f)
                return HeadStatus::Bad;
        }
        if (name == "content-length") {
            bool ok = !value.isEmpty() && value.size() <= 15;
            for (const char c : value)
                ok = ok && c >= '0' && c <= '9';
            const qint64 n = ok ? value.toByteArray().toLongLong() : -1;
            if (!ok || (sawLength && n != h.contentLength))
                return HeadStatus::Bad;
            sawLength = true;
            h.contentLength = n;
        } else if (name == "transfer-encoding") {
            return HeadStatus::LengthRequired;
        } else if (name == "connection") {
            askedClose = askedClose || HasConnectionToken(value, "close");
            askedKeepAlive = askedKeepAlive || HasConnectionToken(value, "keep-alive");
        } else if (name == "expect") {
            if (value.toByteArray().toLower() != "100-continue")
                return HeadStatus::Bad;
            h.expectContinue = !h.http10;
        } else if (name == "content-type") {
            h.contentType = value.toByteArray();
        }
    }
    // "close" wins over "keep-alive", wherever each was said.
    h.keepAlive = !askedClose && (askedKeepAlive || !h.http10);
    *head = std::move(h);
    *headBytes = start + end + blank;
    return HeadStatus::Complete;
}

} // namespace kestrava::site
