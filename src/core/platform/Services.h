#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace kestrava {

// The present moment; the program reads it once, at launch.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// The user's preferences: application -> section -> key -> text. Sections and keys compare
// without regard to case ("Data" and "data" are one section).
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString &section, const QString &key, const QString &defaultValue) const = 0;
    virtual void write(const QString &section, const QString &key, const QString &value) = 0;
};

enum class MessageIcon { None, Information, Question, Warning, Critical };
enum class Answer { Yes, No, Cancel };

// Modal questions and messages, in the program's French.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    virtual void message(const QString &text, const QString &title, MessageIcon icon) = 0;
    virtual bool askYesNo(const QString &text, const QString &title) = 0;
    virtual Answer askYesNoCancel(const QString &text, const QString &title) = 0;
    // Nothing when the box was cancelled.
    virtual std::optional<QString> askText(const QString &prompt, const QString &title) = 0;
    // Where to save a file: `proposed` is the path offered, `filter` the kinds of file ("Calendrier
    // (*.ics)"). Nothing when the user cancelled.
    virtual std::optional<QString> askSaveFile(const QString &title, const QString &proposed,
                                               const QString &filter) = 0;
    // Which file to open, starting in `folder`. Nothing when the user cancelled.
    virtual std::optional<QString> askOpenFile(const QString &title, const QString &folder,
                                               const QString &filter) = 0;
};

// Opens pages in the browser and files in their program.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool open(const QUrl &url) = 0;
};

// Fetches an address into a file. The file is replaced only by a complete success answer whose
// bytes pass `accept` (when given); on any failure the previous file stays as it was.
// What identifies one version of a file on the site: the answer's ETag and Last-Modified.
struct HttpValidators
{
    QByteArray etag;
    QByteArray lastModified;
    bool isEmpty() const { return etag.isEmpty() && lastModified.isEmpty(); }
};

class Downloader
{
public:
    virtual ~Downloader() = default;
    using Check = std::function<bool(const QByteArray &)>;
    virtual bool download(const QUrl &url, const QString &targetPath, const Check &accept = {}) = 0;

    enum class Outcome { Failed, Replaced, NotModified };
    // The same, asked with `validators` (If-None-Match, If-Modified-Since): a 304 leaves the file
    // alone. `validators` receives those of a new file. A downloader that cannot ask
    // conditionally fetches the whole file.
    virtual Outcome downloadIfChanged(const QUrl &url, const QString &targetPath, HttpValidators &validators,
                                      const Check &accept = {})
    {
        validators = {};
        return download(url, targetPath, accept) ? Outcome::Replaced : Outcome::Failed;
    }
};

// What a site answered to a form sent to it.
struct PostReply
{
    bool reached = false; // an HTTP answer came back, whatever its status
    int status = 0;
    QByteArray body;
    QString error; // why the site was not reached (French), when it was not
};

// Sends a form to an address, as a browser posts it.
class Poster
{
public:
    virtual ~Poster() = default;
    virtual PostReply post(const QUrl &url, const QByteArray &contentType, const QByteArray &body) = 0;
};

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &text) = 0;
};

struct PrintOutcome
{
    bool printed = false; // sent to a printer
    QString pdfPath;      // with no printer: where the page was written instead
};

// Prints an image of the whole window, landscape, without a dialog.
class WindowPrinter
{
public:
    virtual ~WindowPrinter() = default;
    virtual PrintOutcome printWindow() = 0;
};

// A message on the desktop. Activating it calls the handler with the notice's matchday.
struct DesktopNotice
{
    QString title;
    QString body;
    int matchday = 0;
};

class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void notify(const DesktopNotice &notice) = 0;
    void setActivationHandler(std::function<void(int matchday)> handler) { m_activated = std::move(handler); }

protected:
    void activated(int matchday) const
    {
        if (m_activated)
            m_activated(matchday);
    }

private:
    std::function<void(int)> m_activated;
};

} // namespace kestrava
