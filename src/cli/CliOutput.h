#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTextStream>

#include <cstdio>

namespace kestrava::cli {

// A message on stderr in UTF-8, then the status the command ends with.
inline int fail(const QString &message, int status)
{
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << message;
    return status;
}

// The bytes on stdout as they are: 0, or 3 with a message when they could not all be written.
// QFile only buffers: a full disk or a closed pipe shows at the flush, so the flush is checked too.
inline int write(const QByteArray &bytes)
{
    QFile out;
    bool written = out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
    out.close();
    written = written && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!written)
        return fail(QStringLiteral("La sortie n'a pas pu être écrite en entier (disque plein ou sortie fermée).\n"), 3);
    return 0;
}

} // namespace kestrava::cli
