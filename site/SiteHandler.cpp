#include "SiteHandler.h"

#include "EditorList.h"
#include "PathSafety.h"
#include "SitePages.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QLocale>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrlQuery>

#include <sys/stat.h>

#include <ctime>

namespace kestrava::site {

namespace {

constexpr qsizetype MaxFieldChars = 200;

std::pair<QByteArray, QByteArray> Header(const QByteArray &name, const QByteArray &value)
{
    return { name, value };
}

const QByteArray HtmlType = QByteArrayLiteral("text/html; charset=utf-8");

// Pages only need their own inline style; nothing else may load or run, whatever slips into them.
const QByteArray PagePolicy = QByteArrayLiteral("default-src 'none'; style-src 'unsafe-inline'; form-action "
                                                "'self'; base-uri 'none'; frame-ancestors 'none'");

SiteResponse Html(int status, QByteArray body)
{
    SiteResponse r;
    r.status = status;
    r.contentType = HtmlType;
    r.body = std::move(body);
    r.headers.append(Header("Content-Security-Policy", PagePolicy));
    return r;
}

// The relative way back to the root from a clean path, for the links of an error page.
QString ToRoot(const std::optional<QString> &cleanPath)
{
    if (!cleanPath)
        return QStringLiteral("/");
    const qsizetype depth = cleanPath->count(u'/') - 1;
    return QStringLiteral("../").repeated(depth);
}

SiteResponse NotFound(const std::optional<QString> &cleanPath)
{
    return Html(404, ErrorPage(404, ToRoot(cleanPath)));
}

// A file of the site's own, sent whole with its type: nothing when it cannot be read or is larger
// than `maxBytes` (an empty path included).
std::optional<SiteResponse> WholeFile(const QString &path, qint64 maxBytes, const QByteArray &type)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > maxBytes)
        return std::nullopt;
    SiteResponse r;
    r.status = 200;
    r.body = file.readAll();
    r.contentType = type;
    return r;
}

SiteResponse MethodNotAllowed(const std::optional<QString> &cleanPath, const QByteArray &allow)
{
    SiteResponse r = Html(405, ErrorPage(405, ToRoot(cleanPath)));
    r.headers.append(Header("Allow", allow));
    return r;
}

QString Limited(QString text)
{
    if (text.size() > MaxFieldChars)
        text.truncate(MaxFieldChars);
    return text;
}

QString QueryValue(const QUrlQuery &query, const QString &key)
{
    return Limited(query.queryItemValue(key, QUrl::FullyDecoded));
}

} // namespace

const FormPart *UploadForm::field(const QString &name) const
{
    for (const FormPart &part : parts) {
        if (part.name == name)
            return &part;
    }
    return nullptr;
}

SiteHandler::SiteHandler(QString root, QString configPath)
    : m_root(std::move(root))
    , m_configPath(std::move(configPath))
    , m_packages(QDir(m_root).filePath(seasonFolder() + u'/' + packagesFolderName()))
{ }

QString SiteHandler::seasonFolderPath() const
{
    return QDir(m_root).filePath(seasonFolder());
}

QStringList SiteHandler::publishedFileNames()
{
    return { resultsFileName(), QStringLiteral("L12027.txt"), QStringLiteral("L22027.txt"),
        QStringLiteral("don.L1") };
}

SiteResponse SiteHandler::handle(const SiteRequest &request, qint64 nowMs)
{
    const std::optional<QString> path = CleanRequestPath(request.encodedPath);
    if (!path)
        return NotFound(path);

    const bool get = request.method == "GET";
    const bool head = request.method == "HEAD";
    const bool post = request.method == "POST";
    const QString folder = u'/' + seasonFolder();
    const QString guide = folder + u'/' + guideAddressName();
    const QString packages = folder + u'/' + packagesFolderName() + u'/';

    SiteResponse response;
    if (*path == folder + QStringLiteral("/EXPEL1.php")) {
        if (post)
            return upload(request, nowMs);
        if (!get && !head)
            return MethodNotAllowed(path, "GET, HEAD, POST");
        response = uploadForm(request);
    } else {
        if (!get && !head) {
            // Say 405 only where a page exists; elsewhere the address is simply unknown.
            const bool known = *path == QStringLiteral("/") || *path == QStringLiteral("/index.php")
                || *path == QStringLiteral("/contacter.php") || *path == folder || *path == folder + u'/'
                || *path == folder + QStringLiteral("/index.php")
                || *path == folder + QStringLiteral("/donation.php") || *path == guide + u'/';
            return known ? MethodNotAllowed(path, "GET, HEAD") : NotFound(path);
        }
        if (*path == QStringLiteral("/") || *path == QStringLiteral("/index.php")) {
            response = Html(200, HomePage());
        } else if (*path == QStringLiteral("/contacter.php")) {
            const QUrlQuery query(QString::fromLatin1(request.encodedQuery));
            response = Html(200, ContactPage(QueryValue(query, QStringLiteral("sub"))));
        } else if (*path == folder) {
            // Relative links of the season pages need the trailing slash.
            response = Html(301,
                PageHtml(QStringLiteral("Page déplacée"),
                    QStringLiteral("<p>Cette page est à l'adresse "
                                   "<a href=\"Vantor2027/\">Vantor2027/</a>.</p>"),
                    QString()));
            response.headers.append(Header("Location", seasonFolder().toUtf8() + '/'));
        } else if (*path == folder + u'/' || *path == folder + QStringLiteral("/index.php")) {
            response = downloadPage();
        } else if (*path == guide) {
            response = Html(301,
                PageHtml(QStringLiteral("Page déplacée"),
                    QStringLiteral("<p>Cette page est à l'adresse <a href=\"aide/\">aide/</a>.</p>"), QString()));
            response.headers.append(Header("Location", guideAddressName().toUtf8() + '/'));
        } else if (path->startsWith(guide + u'/')) {
            response = serveGuide(path->mid(guide.size() + 1));
        } else if (path->startsWith(packages) && path->count(u'/') == 3) {
            response = servePackage(path->mid(packages.size()));
        } else if (*path == folder + u'/' + WebEditionWriter::folderName()) {
            response = Html(301,
                PageHtml(QStringLiteral("Page déplacée"),
                    QStringLiteral("<p>Cette page est à l'adresse <a href=\"web/\">web/</a>.</p>"), QString()));
            response.headers.append(Header("Location", WebEditionWriter::folderName().toUtf8() + '/'));
        } else if (path->startsWith(folder + u'/' + WebEditionWriter::folderName() + u'/')) {
            response = serveEdition(path->mid(folder.size() + WebEditionWriter::folderName().size() + 2));
        } else if (*path == folder + QStringLiteral("/donation.php")) {
            response = Html(200, DonationPage());
        } else if (path->startsWith(folder + u'/') && path->count(u'/') == 2) {
            response = serveFile(path->mid(folder.size() + 1), request);
        } else {
            response = NotFound(path);
        }
    }
    response.headOnly = head;
    return response;
}

QByteArray SiteHandler::entityTag(const QByteArray &bytes)
{
    // From the bytes, not the file's times: a store published twice within one second, or copied
    // with its old time, still gets a new tag.
    return '"' + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32) + '"';
}

QByteArray SiteHandler::httpDate(qint64 secsSinceEpoch)
{
    return QLocale::c()
        .toString(QDateTime::fromSecsSinceEpoch(secsSinceEpoch, Qt::UTC), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss"))
        .toLatin1()
        + " GMT";
}

bool SiteHandler::notModified(const SiteRequest &request, const QByteArray &etag, qint64 modifiedSecs)
{
    if (request.method != "GET" && request.method != "HEAD")
        return false;
    if (!request.ifNoneMatch.isNull()) {
        for (QByteArray tag : request.ifNoneMatch.split(',')) {
            tag = tag.trimmed();
            if (tag.startsWith("W/"))
                tag = tag.mid(2);
            if (tag == "*" || tag == etag)
                return true;
        }
        return false;
    }
    if (request.ifModifiedSince.isNull() || modifiedSecs <= 0)
        return false;
    // Qt reads RFC 2822 dates with a numeric zone only: HTTP's "GMT" is "+0000".
    QString text = QString::fromLatin1(request.ifModifiedSince.trimmed());
    if (text.endsWith(QStringLiteral(" GMT")))
        text = text.chopped(4) + QStringLiteral(" +0000");
    const QDateTime since = QDateTime::fromString(text, Qt::RFC2822Date);
    return since.isValid() && modifiedSecs <= since.toSecsSinceEpoch();
}

SiteResponse SiteHandler::serveFile(const QString &name, const SiteRequest &request) const
{
    const std::optional<QString> shown = u'/' + seasonFolder() + u'/' + name;
    if (!publishedFileNames().contains(name))
        return NotFound(shown);
    const QString listed = QDir(seasonFolderPath()).filePath(name);
    SiteResponse r;
    r.status = 200;
    // The files are Windows-1252 text, exactly as the program reads and writes them.
    r.contentType = QByteArrayLiteral("text/plain; charset=windows-1252");

    // Every visitor asks for the same three files: they are kept in memory while the file on disk
    // is the one that was read. A file changed less than two seconds before it was read is read
    // again every time, so that a change within the file system's timestamp step is never missed.
    struct stat st;
    const QByteArray native = QFile::encodeName(listed);
    if (::stat(native.constData(), &st) != 0)
        return NotFound(shown);
    const QByteArray identity = QByteArray::number(qulonglong(st.st_dev)) + ':'
        + QByteArray::number(qulonglong(st.st_ino)) + ':' + QByteArray::number(qlonglong(st.st_size)) + ':'
        + QByteArray::number(qlonglong(st.st_ctim.tv_sec)) + '.'
        + QByteArray::number(qlonglong(st.st_ctim.tv_nsec));
    // Last-Modified only once the file's second has passed: a change later in the same second
    // would otherwise carry the same date, and a client would keep the older file.
    const qint64 modified = std::time(nullptr) > st.st_mtim.tv_sec ? qint64(st.st_mtim.tv_sec) : 0;
    auto validated = [&](SiteResponse &response, const QByteArray &etag) {
        response.headers.append(Header("ETag", etag));
        if (modified > 0)
            response.headers.append(Header("Last-Modified", httpDate(modified)));
        if (notModified(request, etag, modified)) {
            response.status = 304;
            response.body.clear();
            response.contentType.clear();
            response.logNote = QStringLiteral("inchangé");
        }
        return response;
    };
    if (const auto it = m_files.constFind(name); it != m_files.cend() && it->identity == identity) {
        r.body = it->bytes;
        return validated(r, it->etag);
    }
    m_files.remove(name);
    const QString real = FileInsideRoot(m_root, seasonFolderPath(), name);
    if (real.isEmpty())
        return NotFound(shown);
    QFile file(real);
    // The published files are small; anything huge here is not ours to send.
    constexpr qint64 MaxServedBytes = 16 * 1024 * 1024;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxServedBytes) {
        SiteResponse e = Html(500, ErrorPage(500, QStringLiteral("../")));
        e.logNote = QStringLiteral("lecture impossible");
        return e;
    }
    r.body = file.readAll();
    const QByteArray etag = entityTag(r.body);
    if (std::time(nullptr) - st.st_ctim.tv_sec >= 2 && S_ISREG(st.st_mode) && st.st_size == r.body.size())
        m_files.insert(name, { r.body, identity, etag });
    return validated(r, etag);
}

void SiteHandler::startWebEdition(WebEditionWriter::Mode mode)
{
    m_web = std::make_shared<WebEditionWriter>(seasonFolderPath(), mode);
    m_web->request();
}

SiteResponse SiteHandler::serveEdition(const QString &requested) const
{
    const QString name = requested.isEmpty() ? QStringLiteral("index.html") : requested;
    const std::optional<QString> shown
        = u'/' + seasonFolder() + u'/' + WebEditionWriter::folderName() + u'/' + name;
    // The edition's own names only: lower-case letters, digits, dashes and one extension.
    static const QRegularExpression allowed(QStringLiteral("^[a-z0-9][a-z0-9-]*\\.(html|css|json|ics)$"));
    const QRegularExpressionMatch match = allowed.match(name);
    if (!match.hasMatch())
        return NotFound(shown);
    // Opened through the link: the whole answer comes from the edition the link names at this moment.
    const QString type = match.captured(1);
    constexpr qint64 MaxEditionFileBytes = 4 * 1024 * 1024;
    std::optional<SiteResponse> answer
        = WholeFile(QDir(seasonFolderPath()).filePath(WebEditionWriter::folderName() + u'/' + name), MaxEditionFileBytes,
                    type == u"html"   ? HtmlType
                        : type == u"css"  ? QByteArrayLiteral("text/css; charset=utf-8")
                        : type == u"json" ? QByteArrayLiteral("application/json")
                                          : QByteArrayLiteral("text/calendar; charset=utf-8"));
    if (!answer)
        return NotFound(shown);
    SiteResponse &r = *answer;
    if (type == u"html") {
        // No script anywhere; the widgets alone may be framed by other sites.
        r.headers.append(Header("Content-Security-Policy",
            name.startsWith(QStringLiteral("widget"))
                ? QByteArrayLiteral("default-src 'none'; style-src 'self'; base-uri 'none'; form-action 'none'")
                : QByteArrayLiteral("default-src 'none'; style-src 'self'; base-uri 'none'; form-action 'none'; "
                                    "frame-ancestors 'none'")));
    }
    // Written once per publication: a browser or a CDN may keep it a minute.
    r.headers.append(Header("Cache-Control", "public, max-age=60"));
    return std::move(r); // the file once, not copied
}

SiteResponse SiteHandler::downloadPage()
{
    const QList<std::pair<QString, QString>> described = {
        { resultsFileName(), QStringLiteral("Résultats de la saison") },
        { QStringLiteral("L12027.txt"), QStringLiteral("Données de la saison (équipes, calendrier)") },
        { QStringLiteral("don.L1"), QStringLiteral("Liste des donateurs") },
    };
    QList<PublishedFileInfo> files;
    for (const auto &[name, description] : described) {
        PublishedFileInfo info;
        info.name = name;
        info.description = description;
        const QString real = FileInsideRoot(m_root, seasonFolderPath(), name);
        if (!real.isEmpty()) {
            const QFileInfo fi(real);
            info.present = true;
            info.size = fi.size();
            info.modified = fi.lastModified();
        }
        files.append(info);
    }
    return Html(200, DownloadPage(m_packages.packages(), files));
}

SiteResponse SiteHandler::serveGuide(const QString &requested) const
{
    const QString name = requested.isEmpty() ? QStringLiteral("index.html") : requested;
    const std::optional<QString> shown = u'/' + seasonFolder() + u'/' + guideAddressName() + u'/' + name;
    if (m_guideFolder.isEmpty()) {
        if (requested.isEmpty())
            return Html(200, ShortHelpPage());
        return NotFound(shown);
    }
    // The guide's own names: its page and stylesheet, and its pictures one folder down.
    static const QRegularExpression allowed(
        QStringLiteral("^(images/)?([a-z0-9][a-z0-9._-]*\\.(html|css|png))$"));
    const QRegularExpressionMatch match = allowed.match(name);
    if (!match.hasMatch())
        return NotFound(shown);
    // Inside the guide's folder once links are resolved, whatever lies in it.
    const QString real = FileInsideRoot(m_guideFolder,
        match.captured(1).isEmpty() ? m_guideFolder : QDir(m_guideFolder).filePath(QStringLiteral("images")),
        match.captured(2));
    const QString type = match.captured(3);
    constexpr qint64 MaxGuideFileBytes = 8 * 1024 * 1024;
    std::optional<SiteResponse> answer = WholeFile(real, MaxGuideFileBytes,
        type == u"html" ? HtmlType : type == u"css" ? QByteArrayLiteral("text/css; charset=utf-8") : QByteArrayLiteral("image/png"));
    if (!answer)
        return NotFound(shown);
    SiteResponse &r = *answer;
    if (type == u"html") {
        r.headers.append(Header("Content-Security-Policy",
            "default-src 'none'; style-src 'self'; img-src 'self'; base-uri 'none'; form-action 'none'; "
            "frame-ancestors 'none'"));
    }
    // Changed only when the site is upgraded: a minute in a cache costs nothing.
    r.headers.append(Header("Cache-Control", "public, max-age=60"));
    return std::move(r); // the file once, not copied
}

SiteResponse SiteHandler::servePackage(const QString &name) const
{
    const std::optional<QString> shown = u'/' + seasonFolder() + u'/' + packagesFolderName() + u'/' + name;
    if (!PackageShelf::isPackageName(name))
        return NotFound(shown);
    // Inside the packages' own folder: a link from there to another file of the site is not a package.
    const QString real = FileInsideRoot(m_packages.folder(), m_packages.folder(), name);
    if (real.isEmpty())
        return NotFound(shown);
    SiteResponse r;
    r.status = 200;
    r.contentType = QByteArrayLiteral("application/vnd.debian.binary-package");
    // Megabytes: sent from the disk by the HTTP layer, never held in memory.
    r.bodyFile = real;
    r.bodyFileSize = QFileInfo(real).size();
    return r;
}

SiteResponse SiteHandler::uploadForm(const SiteRequest &request) const
{
    const QUrlQuery query(QString::fromLatin1(request.encodedQuery));
    SiteResponse r = Html(200,
        UploadFormPage(
            QueryValue(query, QStringLiteral("pseudo")), QueryValue(query, QStringLiteral("mdp"))));
    // The password travels in the address of this page: keep it out of any Referer.
    r.headers.append(Header("Referrer-Policy", "no-referrer"));
    return r;
}

SiteResponse SiteHandler::upload(const SiteRequest &request, qint64 nowMs)
{
    const QUrlQuery query(QString::fromLatin1(request.encodedQuery));
    QString pseudo = QueryValue(query, QStringLiteral("pseudo"));
    QString password = QueryValue(query, QStringLiteral("mdp"));

    // An address that failed too often waits, whatever it sends now: its password is not even
    // looked at, so that the lock really slows a guesser.
    if (const qint64 waitMs = m_attempts.waitFor(request.remoteAddress, nowMs); waitMs > 0) {
        const qint64 seconds = (waitMs + 999) / 1000;
        SiteResponse r = Html(429,
            UploadAnswerPage(false,
                HtmlEscape(
                    QStringLiteral("Trop de mots de passe erronés depuis votre adresse : réessayez dans "
                                   "%1 seconde(s).")
                        .arg(seconds)),
                pseudo, QString()));
        r.headers.append(Header("Retry-After", QByteArray::number(seconds)));
        r.headers.append(Header("Referrer-Policy", "no-referrer"));
        r.logNote = QStringLiteral("refusé : adresse bloquée encore %1 s après trop de mots de passe erronés")
                        .arg(seconds);
        return r;
    }

    auto refuse = [&](int status, const QString &reason, const QString &note) {
        // After a wrong password the form asks for it again rather than resending the same one.
        const QString keep = status == 403 ? QString() : password;
        SiteResponse r = Html(status, UploadAnswerPage(false, HtmlEscape(reason), pseudo, keep));
        r.headers.append(Header("Referrer-Policy", "no-referrer"));
        r.logNote = QStringLiteral("refusé : ") + note;
        return r;
    };

    const UploadForm &form = request.form;
    switch (form.status) {
    case UploadForm::Status::Read:
        break;
    case UploadForm::Status::TooLarge:
        return refuse(413,
            QStringLiteral("L'envoi est trop volumineux : le fichier des résultats ne doit pas dépasser "
                           "%1 Kio.")
                .arg(MaxResultsStoreBytes / 1024),
            QStringLiteral("requête trop grande"));
    case UploadForm::Status::NotMultipart:
        return refuse(400,
            QStringLiteral("Le formulaire n'a pas été envoyé comme il faut (multipart/form-data attendu)."),
            QStringLiteral("formulaire non multipart"));
    case UploadForm::Status::Unreadable:
        return refuse(400, QStringLiteral("Le formulaire reçu est incomplet ou illisible ; renvoyez-le."),
            QStringLiteral("formulaire illisible"));
    }

    if (const FormPart *p = form.field(QStringLiteral("pseudo")); p && !p->hasFileName)
        pseudo = Limited(QString::fromUtf8(p->data));
    if (const FormPart *p = form.field(QStringLiteral("mdp")); p && !p->hasFileName)
        password = Limited(QString::fromUtf8(p->data));

    QString configError;
    const EditorList editors = EditorList::fromFile(m_configPath, &configError);
    if (!editors.accepts(pseudo, password)) {
        const AttemptLimiter::Failure failure = m_attempts.recordFailure(request.remoteAddress, nowMs);
        QString note = editors.size() == 0
            ? QStringLiteral("aucun éditeur configuré")
            : QStringLiteral("pseudo ou mot de passe incorrect (pseudo « %1 »)").arg(pseudo);
        note += QStringLiteral(", échec %1 en une minute").arg(failure.recentFailures);
        if (failure.lockMs > 0)
            note += QStringLiteral(", adresse bloquée %1 s").arg(failure.lockMs / 1000);
        return refuse(403, QStringLiteral("Pseudo ou mot de passe incorrect : l'envoi est refusé."), note);
    }
    m_attempts.recordSuccess(request.remoteAddress);

    // The file field is "fichier"; any other part carrying a file name will do as well.
    const FormPart *file = form.field(QStringLiteral("fichier"));
    if (!file || !file->hasFileName) {
        file = nullptr;
        for (const FormPart &part : form.parts) {
            if (part.hasFileName) {
                file = &part;
                break;
            }
        }
    }
    if (!file || (file->fileName.isEmpty() && file->data.isEmpty())) {
        return refuse(400,
            QStringLiteral("Aucun fichier n'a été joint : choisissez le fichier Resultats2027.ini."),
            QStringLiteral("aucun fichier"));
    }

    const StoreCheck check = CheckResultsStore(file->data);
    if (!check.ok()) {
        const int status = check.problem == StoreProblem::TooLarge ? 413 : 400;
        return refuse(status, check.frenchReason(), check.frenchReason());
    }

    const PublishOutcome outcome = PublishFile(seasonFolderPath(), resultsFileName(), file->data);
    if (!outcome.ok)
        return refuse(500, outcome.error, outcome.error);

    QString message = QStringLiteral("Fichier reçu : %1 (%2 octets, %3 résultats) est maintenant publié.")
                          .arg(resultsFileName())
                          .arg(file->data.size())
                          .arg(check.resultCount);
    if (!outcome.backupName.isEmpty())
        message
            += QStringLiteral(" La version précédente est gardée sous le nom %1.").arg(outcome.backupName);
    // A refused upload never gets here: the edition changes with the published file only.
    if (m_web)
        m_web->request();
    SiteResponse r = Html(200, UploadAnswerPage(true, HtmlEscape(message), pseudo, QString()));
    r.headers.append(Header("Referrer-Policy", "no-referrer"));
    r.logNote = QStringLiteral("publié par « %1 »").arg(pseudo);
    if (!outcome.backupName.isEmpty())
        r.logNote += QStringLiteral(", copie %1").arg(outcome.backupName);
    return r;
}

QByteArray SiteHandler::logLine(const SiteRequest &request, const SiteResponse &response)
{
    // Only printable ASCII of what the client sent reaches the log: no forged lines.
    auto printable = [](const QByteArray &in, qsizetype limit) {
        QByteArray out;
        for (const char c : in.left(limit))
            out.append((c >= 0x20 && c < 0x7f) ? c : '?');
        return out;
    };
    QString note = response.logNote;
    for (QChar &c : note) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'?';
    }
    QByteArray line = QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8();
    line += ' ' + printable(request.remoteAddress, 64);
    line += ' ' + printable(request.method.isEmpty() ? QByteArray("?") : request.method, 16);
    line += ' ' + printable(request.encodedPath, 300);
    line += ' ' + QByteArray::number(response.status);
    line += ' ' + QByteArray::number(response.bodyFile.isEmpty() ? response.body.size() : response.bodyFileSize);
    if (!note.isEmpty())
        line += ' ' + note.left(300).toUtf8();
    return line;
}

} // namespace kestrava::site
