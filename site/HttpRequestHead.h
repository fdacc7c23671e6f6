#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace kestrava::site {

// The head of one HTTP/1.x request: request line and headers, up to the blank line.
struct HttpRequestHead
{
    QByteArray method;
    QByteArray target; // as on the wire: path and query, percent-encoded
    bool http10 = false;
    bool keepAlive = true; // after the version's default and the Connection header
    bool expectContinue = false;
    qint64 contentLength = 0;
    QByteArray contentType;
};

enum class HeadStatus {
    Incomplete, // the blank line has not arrived yet
    Complete,
    Bad, // 400: malformed, or ambiguous framing
    TooLarge, // 431: no blank line within MaxHeadBytes
    LengthRequired, // 411: a body sent without a length (chunked requests are not taken)
    BadVersion, // 505
};

inline constexpr qsizetype MaxHeadBytes = 8 * 1024;
inline constexpr int MaxHeaderLines = 64;

// Parses the head at the start of `buffer`, which holds what has arrived so far. On Complete,
// `headBytes` is the length of the head, blank line included. Strict where a lax reading could
// let two parties frame the same bytes differently: no line folding, no space before a colon,
// one Content-Length value, no Transfer-Encoding.
HeadStatus ParseRequestHead(QByteArrayView buffer, HttpRequestHead *head, qsizetype *headBytes);

} // namespace kestrava::site
