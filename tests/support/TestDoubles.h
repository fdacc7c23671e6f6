#pragma once

// Doubles of the platform services: a clock the test sets, dialogs that answer from a script and
// record what they were asked, a printer that reports what the test decides.
#include "platform/Services.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <optional>

namespace kestrava::test {

class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime now = {})
        : m_now(std::move(now))
    {
    }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }

private:
    QDateTime m_now;
};

class ScriptedDialogs final : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "yesno", "yesnocancel", "text", "savefile", "openfile"
        QString text;
        QString title;
        MessageIcon icon = MessageIcon::None;
    };
    QList<Shown> shown;
    QList<bool> yesNoAnswers;
    QList<Answer> threeWayAnswers;
    QList<std::optional<QString>> textAnswers;
    QList<std::optional<QString>> saveFileAnswers;
    QList<std::optional<QString>> openFileAnswers;

    void message(const QString &text, const QString &title, MessageIcon icon) override
    {
        shown.append({QStringLiteral("message"), text, title, icon});
    }
    bool askYesNo(const QString &text, const QString &title) override
    {
        shown.append({QStringLiteral("yesno"), text, title, MessageIcon::Question});
        return yesNoAnswers.isEmpty() ? false : yesNoAnswers.takeFirst();
    }
    Answer askYesNoCancel(const QString &text, const QString &title) override
    {
        shown.append({QStringLiteral("yesnocancel"), text, title, MessageIcon::Question});
        return threeWayAnswers.isEmpty() ? Answer::Cancel : threeWayAnswers.takeFirst();
    }
    std::optional<QString> askText(const QString &prompt, const QString &title) override
    {
        shown.append({QStringLiteral("text"), prompt, title, MessageIcon::None});
        return textAnswers.isEmpty() ? std::nullopt : textAnswers.takeFirst();
    }
    std::optional<QString> askSaveFile(const QString &title, const QString &proposed, const QString &) override
    {
        shown.append({QStringLiteral("savefile"), proposed, title, MessageIcon::None});
        return saveFileAnswers.isEmpty() ? std::nullopt : saveFileAnswers.takeFirst();
    }
    std::optional<QString> askOpenFile(const QString &title, const QString &folder, const QString &) override
    {
        shown.append({QStringLiteral("openfile"), folder, title, MessageIcon::None});
        return openFileAnswers.isEmpty() ? std::nullopt : openFileAnswers.takeFirst();
    }
};

class RecordingShell final : public Shell
{
public:
    QList<QUrl> opened;
    bool open(const QUrl &url) override
    {
        opened.append(url);
        return true;
    }
};

class FakePrinter final : public WindowPrinter
{
public:
    PrintOutcome next;
    int calls = 0;
    PrintOutcome printWindow() override
    {
        ++calls;
        return next;
    }
};

} // namespace kestrava::test

namespace kestrava::test {

// Stands where a downloader must exist but no transfer may happen: a call is a test failure.
class ForbiddenDownloader final : public Downloader
{
public:
    int calls = 0;
    bool download(const QUrl &, const QString &, const Check &) override
    {
        ++calls;
        return false;
    }
};

// The desktop's notices, kept in order; a click on one is the test's.
class RecordingNotifier final : public Notifier
{
public:
    QList<DesktopNotice> shown;
    void notify(const DesktopNotice &notice) override { shown.append(notice); }
    void click(int index) const { activated(shown.at(index).matchday); }
};

class RecordingClipboard final : public Clipboard
{
public:
    QString text;
    void setText(const QString &t) override { text = t; }
};

} // namespace kestrava::test
