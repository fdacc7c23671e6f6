#include "IniFile.h"

#include "Text.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kestrava {

namespace {

QString foldName(QStringView name)
{
    return FoldIniName(name);
}

QByteArray readAll(const QString &path, bool *exists)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *exists = false;
        return {};
    }
    *exists = true;
    return f.readAll();
}

// A decoded line without its line end.
QString lineText(const QByteArray &raw)
{
    qsizetype n = raw.size();
    while (n > 0 && (raw[n - 1] == '\n' || raw[n - 1] == '\r'))
        --n;
    return DecodeWin1252(raw.left(n));
}

enum class LineKind { Other, Section, Key };

struct ParsedLine
{
    LineKind kind = LineKind::Other;
    QString name;  // folded section or key name
    QString value; // key lines: the text after the first '='
};

ParsedLine parseLine(const QString &text)
{
    ParsedLine p;
    const QString t = text.trimmed();
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        if (close > 0) {
            p.kind = LineKind::Section;
            p.name = foldName(QStringView(t).mid(1, close - 1));
        }
        return p;
    }
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0)
        return p;
    const QString key = foldName(QStringView(text).left(eq));
    if (key.isEmpty())
        return p;
    p.kind = LineKind::Key;
    p.name = key;
    p.value = text.mid(eq + 1).left(IniValueLimit);
    return p;
}

QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0)
            nl = bytes.size() - 1;
        lines.append(bytes.mid(start, nl - start + 1));
        start = nl + 1;
    }
    return lines;
}

bool validName(const QString &name)
{
    return !name.trimmed().isEmpty() && !name.contains(u']') && !name.contains(u'=') && !name.contains(u'\n')
        && !name.contains(u'\r') && !name.trimmed().startsWith(u'[');
}

QByteArray keyLine(const QByteArray &keyBytes, const QString &value)
{
    QByteArray encoded;
    if (!value.contains(u'\r') && !value.contains(u'\n')) {
        encoded = EncodeWin1252(value);
    } else {
        QString v = value;
        v.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
        encoded = EncodeWin1252(v);
    }
    // One allocation per line: a season's import writes some three hundred of them.
    QByteArray line;
    line.reserve(keyBytes.size() + encoded.size() + 3);
    line.append(keyBytes).append('=').append(encoded).append("\r\n");
    return line;
}

} // namespace

IniSnapshot IniSnapshot::fromFile(const QString &path)
{
    bool exists = false;
    const QByteArray bytes = readAll(path, &exists);
    IniSnapshot s = fromBytes(bytes);
    s.m_exists = exists;
    return s;
}

IniSnapshot IniSnapshot::fromBytes(const QByteArray &bytes)
{
    IniSnapshot s;
    s.m_exists = true;
    const QString text = DecodeWin1252(bytes);
    Section *current = nullptr;
    QHash<QString, bool> seenSection;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const ParsedLine p = parseLine(line.toString());
        if (p.kind == LineKind::Section) {
            // Only the first section of a name is ever read.
            if (seenSection.contains(p.name)) {
                current = nullptr;
            } else {
                seenSection.insert(p.name, true);
                current = &s.m_sections[p.name];
            }
        } else if (p.kind == LineKind::Key && current && !current->values.contains(p.name)) {
            current->values.insert(p.name, p.value);
            current->order.append(line.left(line.indexOf(u'=')).trimmed().toString());
        }
    }
    return s;
}

bool IniSnapshot::contains(const QString &section, const QString &key) const
{
    const auto it = m_sections.constFind(foldName(section));
    return it != m_sections.cend() && it->values.contains(foldName(key));
}

QString IniSnapshot::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    const auto it = m_sections.constFind(foldName(section));
    if (it == m_sections.cend())
        return defaultValue;
    const auto v = it->values.constFind(foldName(key));
    return v == it->values.cend() ? defaultValue : *v;
}

const QHash<QString, QString> *IniSnapshot::section(const QString &name) const
{
    const auto it = m_sections.constFind(foldName(name));
    return it == m_sections.cend() ? nullptr : &it->values;
}

QStringList IniSnapshot::keys(const QString &section) const
{
    const auto it = m_sections.constFind(foldName(section));
    return it == m_sections.cend() ? QStringList() : it->order;
}

IniDocument IniDocument::fromFile(const QString &path)
{
    bool exists = false;
    IniDocument d = fromBytes(readAll(path, &exists));
    // A file that is there but cannot be read must not be replaced by the few lines we add.
    d.m_unreadable = !exists && QFileInfo::exists(path);
    return d;
}

IniDocument IniDocument::fromBytes(const QByteArray &bytes)
{
    IniDocument d;
    d.m_lines = splitLines(bytes);
    return d;
}

QString IniDocument::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    return IniSnapshot::fromBytes(toBytes()).value(section, key, defaultValue);
}

bool IniDocument::set(const QString &section, const QString &key, const QString &value)
{
    return set(section, {{key, value}});
}

bool IniDocument::set(const QString &section, const QList<std::pair<QString, QString>> &values)
{
    if (!validName(section))
        return false;
    const QString wantSection = foldName(section);

    // The first matching section: where it starts, its last non-blank line, and the line of each
    // of its keys (the first one of a name wins).
    qsizetype sectionLine = -1;
    qsizetype lastContent = -1;
    QHash<QString, qsizetype> keyLines;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString text = lineText(m_lines[i]);
        const ParsedLine p = parseLine(text);
        if (p.kind == LineKind::Section) {
            if (sectionLine >= 0)
                break; // end of the first matching section
            if (p.name == wantSection) {
                sectionLine = i;
                lastContent = i;
            }
            continue;
        }
        if (sectionLine < 0)
            continue;
        if (!text.trimmed().isEmpty())
            lastContent = i;
        if (p.kind == LineKind::Key && !keyLines.contains(p.name))
            keyLines.insert(p.name, i);
    }

    auto terminate = [this](qsizetype i) {
        if (i >= 0 && !m_lines[i].endsWith('\n'))
            m_lines[i] += "\r\n";
    };
    bool all = true;
    for (const auto &[key, value] : values) {
        if (!validName(key)) {
            all = false;
            continue;
        }
        const QString wantKey = foldName(key);
        if (const auto it = keyLines.constFind(wantKey); it != keyLines.cend()) {
            // Keep the key as the file spells it.
            const QByteArray raw = m_lines[*it];
            m_lines[*it] = keyLine(raw.left(raw.indexOf('=')), value);
            continue;
        }
        const QByteArray newKey = keyLine(EncodeWin1252(key.trimmed()), value);
        if (sectionLine < 0) {
            terminate(m_lines.size() - 1);
            m_lines.append("[" + EncodeWin1252(section.trimmed()) + "]\r\n");
            sectionLine = m_lines.size() - 1;
            lastContent = sectionLine;
        }
        // Every key line of the section lies at or before its last non-blank line: inserting
        // after it moves none of them.
        terminate(lastContent);
        m_lines.insert(++lastContent, newKey);
        keyLines.insert(wantKey, lastContent);
    }
    return all;
}

QByteArray IniDocument::toBytes() const
{
    qsizetype size = 0;
    for (const QByteArray &l : m_lines)
        size += l.size();
    QByteArray out;
    out.reserve(size);
    for (const QByteArray &l : m_lines)
        out += l;
    return out;
}

bool IniDocument::save(const QString &path) const
{
    if (m_unreadable)
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = toBytes();
    // Flush before commit: a short write (disk full) clears no error flag, and commit would then
    // put the truncated file in place of the old one.
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

QString FoldIniName(QStringView name)
{
    const QStringView t = name.trimmed();
    // Most names are plain ASCII: fold them without the Unicode tables.
    QString out(t.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c >= 0x80)
            return t.toString().toCaseFolded();
        d[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    return out;
}

QString ReadIni(const QString &path, const QString &section, const QString &key, const QString &defaultValue)
{
    return IniSnapshot::fromFile(path).value(section, key, defaultValue);
}

bool WriteIni(const QString &path, const QString &section, const QString &key, const QString &value)
{
    IniDocument doc = IniDocument::fromFile(path);
    if (!doc.set(section, key, value))
        return false;
    return doc.save(path);
}

} // namespace kestrava
