#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <utility>

namespace kestrava {

// Windows private-profile semantics: sections and keys match without regard to case, the first
// matching section and key win, a value is the text after the first '=', values longer than
// 1023 characters are cut, a missing file or key gives the default.
inline constexpr int IniValueLimit = 1023;

// One parse of an INI file: serves every lookup of one computation.
class IniSnapshot
{
public:
    IniSnapshot() = default;
    static IniSnapshot fromFile(const QString &path);
    static IniSnapshot fromBytes(const QByteArray &bytes);

    bool fileExists() const { return m_exists; }
    bool contains(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    // Keys of a section in file order (first occurrences only).
    QStringList keys(const QString &section) const;
    // A section's values by key, for hot loops; keys are held trimmed and case-folded, so a caller
    // looks up with FoldIniName(key) unless the key has no letters. Null when the section is absent.
    const QHash<QString, QString> *section(const QString &name) const;

private:
    struct Section
    {
        QHash<QString, QString> values;
        QStringList order;
    };
    QHash<QString, Section> m_sections;
    bool m_exists = false;
};

// An INI file held as its raw lines, for writing: every line we do not change is written back
// byte for byte; the lines we write end with CR LF. Saving replaces the file atomically.
class IniDocument
{
public:
    // A file that exists but cannot be read gives a document that refuses to save over it.
    static IniDocument fromFile(const QString &path);
    static IniDocument fromBytes(const QByteArray &bytes);

    // False when the section or key could not be written as such (empty, or holding ']', '=' or a
    // line break). Line breaks inside a value become spaces, so a value can never add lines.
    bool set(const QString &section, const QString &key, const QString &value);
    // Several keys of one section in a single pass over the lines, exactly as one set() after the
    // other would write them (a season's results at once would otherwise rescan the file per key).
    // False when one of them could not be written; the others are.
    bool set(const QString &section, const QList<std::pair<QString, QString>> &values);
    QString value(const QString &section, const QString &key, const QString &defaultValue = {}) const;

    QByteArray toBytes() const;
    // Writes through a temporary file and renames it over the target; false when nothing was replaced.
    bool save(const QString &path) const;

private:
    QList<QByteArray> m_lines; // each with its own line end, as read
    bool m_unreadable = false; // the file exists but could not be read: never overwrite it
};

// How section and key names are compared: trimmed, without regard to case.
QString FoldIniName(QStringView name);

// One value, reading the whole file each time: the plain form of a lookup.
QString ReadIni(const QString &path, const QString &section, const QString &key, const QString &defaultValue = {});
// One value, written in place; true when the file was replaced.
bool WriteIni(const QString &path, const QString &section, const QString &key, const QString &value);

} // namespace kestrava
