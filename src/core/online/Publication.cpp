#include "Publication.h"

#include "platform/IniFile.h"
#include "platform/Text.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace kestrava {

namespace {

QByteArray Boundary(const QByteArray &content)
{
    for (;;) {
        QByteArray b = "----KestravaEnvoi";
        for (int i = 0; i < 4; ++i)
            b += QByteArray::number(QRandomGenerator::global()->generate(), 16);
        if (!content.contains(b))
            return b;
    }
}

QString PlainText(QString html)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression numeric(QStringLiteral("&#(\\d{1,6});"));
    html.remove(tags);
    QString out;
    qsizetype last = 0;
    for (auto it = numeric.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(html).mid(last, m.capturedStart() - last);
        const uint code = m.captured(1).toUInt();
        out += code > 0 && code < 0x110000 ? QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1)
                                           : QString();
        last = m.capturedEnd();
    }
    out += QStringView(html).mid(last);
    out.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return out.simplified();
}

} // namespace

bool WritePublicationDetails(const QString &storePath, const QDateTime &launchTime, const QString &pseudo,
    const std::optional<QString> &texte, const std::optional<QString> &cv)
{
    IniDocument doc = IniDocument::fromFile(storePath);
    doc.set(Store::Maj, Store::Maj, FormatMaj(launchTime));
    doc.set(Store::Pseudo, Store::Pseudo, pseudo);
    if (texte)
        doc.set(Store::Texte, Store::Texte, *texte);
    if (cv)
        doc.set(Store::CV, Store::CV, *cv);
    return doc.save(storePath);
}

UploadForm BuildUploadForm(const QString &pseudo, const QString &password, const QByteArray &store)
{
    const QByteArray boundary = Boundary(store + pseudo.toUtf8() + password.toUtf8());
    UploadForm form;
    form.contentType = "multipart/form-data; boundary=" + boundary;
    auto field = [&](const QByteArray &name, const QByteArray &value) {
        form.body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n"
            + value + "\r\n";
    };
    field("pseudo", pseudo.toUtf8());
    field("mdp", password.toUtf8());
    form.body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"fichier\"; filename=\""
        + ResultsBaseName.toLatin1() + ".ini\"\r\nContent-Type: application/octet-stream\r\n\r\n" + store
        + "\r\n";
    form.body += "--" + boundary + "--\r\n";
    return form;
}

QString UploadAnswerText(const QByteArray &html)
{
    const QString page = QString::fromUtf8(html);
    // The site's answer holds its message in the first paragraph of its "ok" or "refus" box; a page
    // from anything else in front of it has at least a heading.
    static const QRegularExpression box(QStringLiteral("<div class=\"(?:ok|refus)\">\\s*<p>(.*?)</p>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression heading(
        QStringLiteral("<h1[^>]*>(.*?)</h1>"), QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpression *re : { &box, &heading }) {
        const auto m = re->match(page);
        if (m.hasMatch())
            return PlainText(m.captured(1)).left(500);
    }
    return QString();
}

SendOutcome SendResultsStore(const ResultsStore &store, const SiteAddresses &site, const QString &pseudo,
    const QString &password, const QDateTime &launchTime, Poster &poster)
{
    SendOutcome out;
    if (pseudo.isEmpty()) {
        out.message = QStringLiteral("Pseudo ??");
        return out;
    }
    if (password.isEmpty()) {
        out.message = QStringLiteral("Mot De Passe ??");
        return out;
    }
    if (!QFile::exists(store.path())) {
        out.message = QStringLiteral("Absence du fichier ") + ResultsBaseName
            + QStringLiteral(".ini : rien à envoyer.");
        return out;
    }
    if (!WritePublicationDetails(store.path(), launchTime, pseudo)) {
        out.message = QStringLiteral("Le fichier des résultats n'a pas pu être préparé pour l'envoi.");
        return out;
    }
    QFile file(store.path());
    if (!file.open(QIODevice::ReadOnly)) {
        out.message = QStringLiteral("Le fichier des résultats n'a pas pu être lu.");
        return out;
    }
    const UploadForm form = BuildUploadForm(pseudo, password, file.readAll());
    const PostReply reply = poster.post(site.uploadTarget(), form.contentType, form.body);
    if (!reply.reached) {
        out.status = SendStatus::Unreachable;
        out.message = QStringLiteral("Erreur de connexion ! (") + reply.error + u')';
        return out;
    }
    QString answer = UploadAnswerText(reply.body);
    if (answer.isEmpty())
        answer = QStringLiteral("réponse HTTP %1").arg(reply.status);
    if (reply.status >= 200 && reply.status <= 299) {
        out.status = SendStatus::Accepted;
        out.message = QStringLiteral("Envoi accepté : ") + answer;
    } else {
        out.status = SendStatus::Refused;
        out.message = QStringLiteral("Envoi refusé (HTTP %1) : ").arg(reply.status) + answer;
    }
    return out;
}

} // namespace kestrava
