#include "EditorList.h"

#include <QCryptographicHash>
#include <QFile>

namespace kestrava::site {

namespace {

QByteArray Digest(const QString &password)
{
    return QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256);
}

} // namespace

bool ConstantTimeEquals(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return diff == 0;
}

EditorList EditorList::fromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    // A configuration file has no business being large; refuse to slurp a wrong path.
    constexpr qint64 MaxConfigBytes = 1024 * 1024;
    if (file.size() > MaxConfigBytes) {
        if (error)
            *error = QStringLiteral("fichier trop grand");
        return {};
    }
    return fromBytes(file.read(MaxConfigBytes));
}

EditorList EditorList::fromBytes(const QByteArray &bytes)
{
    EditorList list;
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString pseudo = line.left(eq).trimmed();
        const QString password = line.mid(eq + 1).trimmed();
        // An empty password would let anyone publish under that name: such a line is ignored.
        if (pseudo.isEmpty() || password.isEmpty())
            continue;
        list.m_editors.append({ pseudo, Digest(password) });
    }
    return list;
}

bool EditorList::accepts(const QString &pseudo, const QString &password) const
{
    const QByteArray given = Digest(password);
    bool accepted = false;
    for (const Editor &editor : m_editors) {
        const bool samePassword = ConstantTimeEquals(editor.passwordDigest, given);
        const bool samePseudo = editor.pseudo == pseudo;
        accepted = accepted || (samePseudo && samePassword);
    }
    return accepted && !pseudo.isEmpty() && !password.isEmpty();
}

} // namespace kestrava::site
