#pragma once

#include "AttemptLimiter.h"
#include "PackageShelf.h"
#include "ResultsUpload.h"
#include "WebEditionWriter.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <utility>

namespace kestrava::site {

// One part of the upload form.
struct FormPart
{
    QString name; // the "name" of Content-Disposition
    QString fileName; // its "filename", when hasFileName
    bool hasFileName = false;
    QByteArray data;
};

// The body of a POST as the HTTP layer read it: the parts of a multipart/form-data form, or why
// there are none.
struct UploadForm
{
    enum class Status {
        Read,
        NotMultipart, // another type, or no usable boundary
        Unreadable, // malformed, cut short, or too many parts
        TooLarge, // above MaxRequestBodyBytes
    };
    Status status = Status::Read;
    QList<FormPart> parts;

    const FormPart *field(const QString &name) const;
};

// A request as the server received it; filled by the HTTP layer or directly by a test.
struct SiteRequest
{
    QByteArray method; // "GET", "POST" ...
    QByteArray encodedPath; // as on the wire, percent-encoded, without the query
    QByteArray encodedQuery; // without the '?'
    UploadForm form;
    QByteArray remoteAddress; // the client's, also behind the local proxy
    QByteArray ifNoneMatch {}; // the conditional request's validators, as sent
    QByteArray ifModifiedSince {};
};

struct SiteResponse
{
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers; // besides Content-Type and Content-Length
    // A large file sent from the disk instead of `body` (a package): its real path, already checked
    // to lie inside the site, and its size when checked.
    QString bodyFile {};
    qint64 bodyFileSize = 0;
    bool headOnly = false; // HEAD: announce the body, do not send it
    QString logNote; // what the log line adds (never a password)
};

// Whole request bodies above this are refused before being looked at: the results store and
// the form around it. A proxy in front takes the same limit (site/nginx/kestrava.conf).
inline constexpr qsizetype MaxRequestBodyBytes = MaxResultsStoreBytes + 64 * 1024;
// Parts of the upload form, at most: the pseudonym, the password, the file and a few spare.
inline constexpr int MaxFormParts = 16;

// The site's pages and files. Everything a request can do is decided here, without sockets.
class SiteHandler
{
public:
    // `root` is the site folder; the season folder "Vantor2027" lies inside it. `configPath` is the
    // editors file, read again for each upload so that editors can be added without a restart.
    SiteHandler(QString root, QString configPath);

    // `nowMs` is a steady clock's reading, for the limit on wrong passwords.
    SiteResponse handle(const SiteRequest &request, qint64 nowMs);

    // Writes the web edition now (in the background or before returning) and after every accepted
    // upload from then on.
    void startWebEdition(WebEditionWriter::Mode mode);

    QString root() const { return m_root; }
    QString seasonFolderPath() const;

    // The user's guide, served at Vantor2027/aide/; without one that address shows a short help.
    void setGuideFolder(const QString &folder) { m_guideFolder = folder; }
    QString guideFolder() const { return m_guideFolder; }
    // The Debian packages the download page offers, in Vantor2027/paquets/. Hashes them now, so
    // that the first visitor does not wait for it.
    void preparePackages() { m_packages.packages(); }
    static QString packagesFolderName() { return QStringLiteral("paquets"); }
    static QString guideAddressName() { return QStringLiteral("aide"); }

    static QString seasonFolder() { return QStringLiteral("Vantor2027"); }
    static QString resultsFileName() { return QStringLiteral("Resultats2027.ini"); }
    // The files the site publishes, and nothing else of the season folder.
    static QStringList publishedFileNames();

    // The entity tag of a published file's bytes.
    static QByteArray entityTag(const QByteArray &bytes);
    // Whether a GET or HEAD with these validators is answered 304: If-None-Match decides when it
    // is there (any of its tags, weak or not, or "*"); otherwise If-Modified-Since, against
    // `modifiedSecs`, the file's time when the answer may send it (0 when it may not).
    static bool notModified(const SiteRequest &request, const QByteArray &etag, qint64 modifiedSecs);
    static QByteArray httpDate(qint64 secsSinceEpoch);

    // One line for the log: time, address, method, path without the query, status, size, note.
    static QByteArray logLine(const SiteRequest &request, const SiteResponse &response);

private:
    SiteResponse serveFile(const QString &name, const SiteRequest &request) const;
    SiteResponse serveEdition(const QString &name) const;
    SiteResponse downloadPage();
    SiteResponse serveGuide(const QString &name) const;
    SiteResponse servePackage(const QString &name) const;
    SiteResponse uploadForm(const SiteRequest &request) const;
    SiteResponse upload(const SiteRequest &request, qint64 nowMs);

    struct CachedFile
    {
        QByteArray bytes;
        QByteArray identity; // device, inode, size and change time when read
        QByteArray etag;
    };

    QString m_root;
    QString m_configPath;
    AttemptLimiter m_attempts;
    std::shared_ptr<WebEditionWriter> m_web;
    QString m_guideFolder;
    PackageShelf m_packages;
    mutable QHash<QString, CachedFile> m_files;
};

} // namespace kestrava::site
