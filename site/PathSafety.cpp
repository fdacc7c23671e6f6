#include "PathSafety.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace kestrava::site {

namespace {

constexpr qsizetype MaxPathBytes = 2048;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// QByteArray::fromPercentEncoding lets "%zz" through as is; we want to know about it.
std::optional<QByteArray> PercentDecode(const QByteArray &in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in.at(i);
        if (c != '%') {
            out.append(c);
            continue;
        }
        if (i + 2 >= in.size())
            return std::nullopt;
        const int hi = HexValue(in.at(i + 1));
        const int lo = HexValue(in.at(i + 2));
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.append(char(hi * 16 + lo));
        i += 2;
    }
    return out;
}

} // namespace

std::optional<QString> CleanRequestPath(const QByteArray &encodedPath)
{
    if (encodedPath.isEmpty() || encodedPath.size() > MaxPathBytes || !encodedPath.startsWith('/'))
        return std::nullopt;
    const std::optional<QByteArray> bytes = PercentDecode(encodedPath);
    if (!bytes)
        return std::nullopt;

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString path = utf8.decode(*bytes);
    if (utf8.hasError())
        return std::nullopt;

    for (const QChar ch : path) {
        const char16_t u = ch.unicode();
        if (u < 0x20 || u == 0x7f || u == u'\\' || u == u'%')
            return std::nullopt;
    }

    // Path segments after the leading '/': only the last may be empty (a trailing slash).
    const QStringList segments = path.mid(1).split(u'/');
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const QString &segment = segments.at(i);
        if (segment == QStringLiteral(".") || segment == QStringLiteral(".."))
            return std::nullopt;
        if (segment.isEmpty() && i + 1 < segments.size())
            return std::nullopt;
    }
    return path;
}

QString FileInsideRoot(const QString &root, const QString &folder, const QString &name)
{
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name == QStringLiteral(".")
        || name == QStringLiteral(".."))
        return {};
    const QString realRoot = QFileInfo(root).canonicalFilePath();
    if (realRoot.isEmpty())
        return {};
    const QFileInfo info(QDir(folder).filePath(name));
    if (!info.exists() || !info.isFile())
        return {};
    const QString real = info.canonicalFilePath();
    const QString prefix = realRoot.endsWith(u'/') ? realRoot : realRoot + u'/';
    if (real.isEmpty() || !real.startsWith(prefix))
        return {};
    return real;
}

} // namespace kestrava::site
