#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTextStream>

namespace kestrava::cli {

// A message on stderr in UTF-8, then the status the command ends with.
inline int fail(const QString &message, int status)
{
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << message;
    return status;
}

// The bytes on stdout as they are: 0, or 3 when they could not all be written.
inline int write(const QByteArray &bytes)
{
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return 3;
    return 0;
}

} // namespace kestrava::cli
