#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kestrava::site {

// One part of a multipart/form-data body.
struct FormPart
{
    QString name; // the "name" of Content-Disposition
    QString fileName; // its "filename", when hasFileName
    bool hasFileName = false;
    QByteArray contentType;
    QByteArray data;
};

struct MultipartLimits
{
    int maxParts = 16;
    int maxHeaderBytes = 8 * 1024; // headers of one part
};

enum class MultipartError {
    None,
    NotMultipart, // Content-Type is not multipart/form-data
    MissingBoundary, // no usable boundary parameter
    NoOpening, // the body does not begin with the first delimiter
    BadDelimiter, // garbage after a delimiter
    BadHeaders, // a part's headers are unterminated, too long or lack a form-data name
    Truncated, // the closing delimiter never comes
    TooManyParts,
};

struct MultipartResult
{
    MultipartError error = MultipartError::None;
    QList<FormPart> parts;

    bool ok() const { return error == MultipartError::None; }
    const FormPart *field(const QString &name) const;
};

// The boundary of a "multipart/form-data; boundary=..." Content-Type (quoted or not), or an empty
// array when the type is another one or the boundary is missing or not valid (1 to 70 characters).
QByteArray BoundaryFromContentType(const QByteArray &contentType, MultipartError *error = nullptr);

// Splits a multipart/form-data body. Strict about the framing (CR LF line ends, the closing
// delimiter), bounded by the limits; a malformed body gives an error, never a partial success.
MultipartResult ParseMultipart(
    const QByteArray &body, const QByteArray &boundary, const MultipartLimits &limits = {});

} // namespace kestrava::site
