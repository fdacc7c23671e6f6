#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kestrava::site {

// The editors allowed to publish, read from a small text file: one "pseudo=password" per line,
// UTF-8; blank lines and lines starting with '#' are ignored; spaces around both sides are dropped.
class EditorList
{
public:
    static EditorList fromFile(const QString &path, QString *error = nullptr);
    static EditorList fromBytes(const QByteArray &bytes);

    qsizetype size() const { return m_editors.size(); }

    // True when the pseudonym is listed with this password. The passwords are compared through
    // their digests, byte by byte without an early exit, and every entry is looked at, so the time
    // taken tells nothing about how close a guess was or whether the pseudonym exists.
    bool accepts(const QString &pseudo, const QString &password) const;

private:
    struct Editor
    {
        QString pseudo;
        QByteArray passwordDigest;
    };
    QList<Editor> m_editors;
};

// Equal-length comparison that always looks at every byte.
bool ConstantTimeEquals(const QByteArray &a, const QByteArray &b);

} // namespace kestrava::site
