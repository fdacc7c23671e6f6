#pragma once
// What the window tests share: the demo season in a temporary program folder, a fixed clock and
// dialogs that answer from a script and remember what they were asked.

#include "platform/Services.h"
#include "platform/Settings.h"
#include "window/MainController.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace kestrava::uitest {

inline const QString DataDir = QStringLiteral(KESTRAVA_DATA_DIR);

class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime now)
        : m_now(std::move(now))
    { }
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

class ScriptedDialogs final : public Dialogs
{
public:
    QStringList messages; // every text shown or asked, in order
    QList<bool> yesNoAnswers; // popped from the front; No when empty
    QStringList textAnswers; // popped from the front; cancelled when empty
    QList<Answer> threeWayAnswers; // popped from the front; Cancel when empty

    void message(const QString &text, const QString &, MessageIcon) override { messages.append(text); }
    bool askYesNo(const QString &text, const QString &) override
    {
        messages.append(text);
        return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
    }
    Answer askYesNoCancel(const QString &text, const QString &) override
    {
        messages.append(text);
        return threeWayAnswers.isEmpty() ? Answer::Cancel : threeWayAnswers.takeFirst();
    }
    std::optional<QString> askText(const QString &prompt, const QString &) override
    {
        messages.append(prompt);
        if (textAnswers.isEmpty())
            return std::nullopt;
        return textAnswers.takeFirst();
    }
};

class QuietShell final : public Shell
{
public:
    QList<QUrl> opened;
    bool open(const QUrl &url) override
    {
        opened.append(url);
        return true;
    }
};

// A program folder holding the shipped season file and the demo results store.
struct DemoFolder
{
    QTemporaryDir dir;

    DemoFolder()
    {
        copy(DataDir + QStringLiteral("/2027.txt"), QStringLiteral("2027.txt"));
        copy(DataDir + QStringLiteral("/demo/Resultats2027.ini"), QStringLiteral("Resultats2027.ini"));
    }
    // The shipped files may be read-only; the program's folder is writable.
    void copy(const QString &from, const QString &name) const
    {
        QFile::copy(from, path(name));
        QFile::setPermissions(
            path(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
};

// 6 December 2026, 08:00: matchday 13 is played, a few matches are late.
inline QDateTime DemoMorning()
{
    return QDateTime(QDate(2026, 12, 6), QTime(8, 0));
}

} // namespace kestrava::uitest
