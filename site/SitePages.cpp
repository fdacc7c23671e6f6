#include "SitePages.h"

#include "PackageShelf.h"

#include <QLocale>
#include <QUrl>

namespace kestrava::site {

QString HtmlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QByteArray PageHtml(const QString &title, const QString &bodyHtml, const QString &toRoot)
{
    const QString home = toRoot.isEmpty() ? QStringLiteral("./") : toRoot;
    QString html;
    html += QStringLiteral("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
                           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                           "<meta name=\"referrer\" content=\"no-referrer\">\n");
    html += QStringLiteral("<title>") + HtmlEscape(title) + QStringLiteral(" – Kestrava</title>\n");
    html += QStringLiteral(
        "<style>\n"
        "body{font-family:system-ui,-apple-system,\"Segoe UI\",sans-serif;margin:0;background:#f4f6f8;"
        "color:#1d2733;line-height:1.5}\n"
        "header{background:#0b3d91;color:#fff;padding:.8em 1.5em}\n"
        "header a{color:#fff;text-decoration:none;font-weight:bold;font-size:1.2em}\n"
        "header span{opacity:.85;margin-left:.6em}\n"
        "main{max-width:46em;margin:1.5em auto;background:#fff;padding:1.2em 2em;border-radius:6px;"
        "box-shadow:0 1px 3px rgba(0,0,0,.12)}\n"
        "h1{font-size:1.5em;color:#0b3d91}\n"
        "table{border-collapse:collapse}td,th{padding:.3em .8em;border-bottom:1px solid #dde3ea;"
        "text-align:left}\n"
        "code{overflow-wrap:anywhere}pre{background:#f4f6f8;padding:.6em 1em;overflow-x:auto}\n"
        "form{margin:1em 0}label{display:block;margin:.6em 0 .2em}\n"
        "button{background:#0b3d91;color:#fff;border:0;padding:.5em 1.4em;border-radius:4px;"
        "font-size:1em;cursor:pointer;margin-top:1em}\n"
        ".ok{border-left:5px solid #1b8a2f;padding:.4em 1em;background:#eaf7ec}\n"
        ".refus{border-left:5px solid #c0392b;padding:.4em 1em;background:#fbeceb}\n"
        "footer{text-align:center;font-size:.85em;color:#5b6673;margin:1em 0 2em}\n"
        "</style>\n</head>\n<body>\n");
    html += QStringLiteral("<header><a href=\"") + home
        + QStringLiteral("\">Kestrava</a><span>Ligue 1 – saison 2026-2027</span></header>\n");
    html += QStringLiteral("<main>\n") + bodyHtml + QStringLiteral("\n</main>\n");
    html += QStringLiteral("<footer><a href=\"") + toRoot
        + QStringLiteral("Vantor2027/index.php\">Téléchargement</a> · <a href=\"") + toRoot
        + QStringLiteral("Vantor2027/aide/\">Aide</a> · <a href=\"") + toRoot
        + QStringLiteral("Vantor2027/donation.php\">Soutenir Kestrava</a> · <a href=\"") + toRoot
        + QStringLiteral("contacter.php?sub=Kestrava\">Contact</a></footer>\n");
    html += QStringLiteral("</body>\n</html>\n");
    return html.toUtf8();
}

QByteArray HomePage()
{
    const QString body = QStringLiteral(
        "<h1>Bienvenue sur le site de Kestrava</h1>\n"
        "<p>Kestrava suit la saison 2026-2027 de la Ligue 1 : calendrier, résultats, classement, fiches des "
        "équipes et évolution des rangs, journée après journée.</p>\n"
        "<p>Les résultats sont saisis par nos éditeurs et publiés ici ; le bouton « Mise à Jour » du "
        "logiciel "
        "les télécharge en un clic.</p>\n"
        "<ul>\n"
        "<li><a href=\"Vantor2027/index.php\">Télécharger Kestrava</a></li>\n"
        "<li><a href=\"Vantor2027/aide/\">Lire le guide de l'utilisateur</a></li>\n"
        "<li><a href=\"Vantor2027/donation.php\">Soutenir le projet</a></li>\n"
        "<li><a href=\"contacter.php?sub=Kestrava\">Nous contacter</a></li>\n"
        "</ul>\n");
    return PageHtml(QStringLiteral("Accueil"), body, QString());
}

QString FrenchSize(qint64 bytes)
{
    const QLocale fr(QLocale::French, QLocale::France);
    if (bytes < 1024)
        return QStringLiteral("%1 octets").arg(bytes);
    if (bytes < 1024 * 1024)
        return fr.toString(double(bytes) / 1024, 'f', 1) + QStringLiteral(" Kio");
    if (bytes < qint64(1024) * 1024 * 1024)
        return fr.toString(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" Mio");
    return fr.toString(double(bytes) / (1024.0 * 1024 * 1024), 'f', 1) + QStringLiteral(" Gio");
}

QByteArray DownloadPage(const QList<PackageInfo> &packages, const QList<PublishedFileInfo> &files)
{
    const QLocale fr(QLocale::French, QLocale::France);
    QString body = QStringLiteral(
        "<h1>Kestrava : téléchargement</h1>\n"
        "<p>Kestrava suit la Ligue 1 2026-2027 sur votre ordinateur : classement, journées, fiches des "
        "équipes, graphiques et projections. Le <a href=\"aide/\">guide de l'utilisateur</a> explique "
        "tout, de l'installation à la publication des résultats.</p>\n"
        "<h2>Télécharger</h2>\n");
    if (packages.isEmpty()) {
        body += QStringLiteral(
            "<p>Aucun paquet n'est proposé sur ce site pour l'instant. Kestrava se construit à partir de "
            "ses sources sur Debian 12 : dans le dossier des sources, <code>scripts/run</code> installe ce "
            "qui manque, construit le logiciel et le lance ; le fichier README explique chaque étape.</p>\n");
    } else {
        body += QStringLiteral("<p>Paquets pour Debian 12 (PC 64 bits) :</p>\n"
                               "<table><tr><th>Paquet</th><th>Taille</th><th>SHA-256</th></tr>\n");
        for (const PackageInfo &p : packages) {
            // The link carries the name percent-encoded, the text shows it escaped.
            body += QStringLiteral("<tr><td><a href=\"paquets/")
                + QString::fromLatin1(QUrl::toPercentEncoding(p.name)) + QStringLiteral("\">")
                + HtmlEscape(p.name) + QStringLiteral("</a></td><td>") + FrenchSize(p.size)
                + QStringLiteral(" (") + HtmlEscape(fr.toString(p.size)) + QStringLiteral(" octets)</td><td><code>")
                + QString::fromLatin1(p.sha256) + QStringLiteral("</code></td></tr>\n");
        }
        // The example installs the supporter's package, the program, when it is offered.
        QString example = HtmlEscape(packages.constFirst().name);
        for (const PackageInfo &p : packages) {
            if (p.name.startsWith(QStringLiteral("kestrava_"))) {
                example = HtmlEscape(p.name);
                break;
            }
        }
        body += QStringLiteral(
            "</table>\n"
            "<p>Le paquet <code>kestrava</code> contient le logiciel et la commande <code>kestrava-cli</code>. "
            "Le paquet <code>kestrava-site</code> est le site de l'éditeur qui publie les résultats : un "
            "supporter n'en a pas besoin.</p>\n"
            "<p>Après le téléchargement, comparez l'empreinte SHA-256 avec celle du tableau, puis "
            "installez le paquet :</p>\n"
            "<pre>sha256sum %1\nsudo apt install ./%1</pre>\n"
            "<p>Kestrava apparaît alors dans le menu des applications.</p>\n")
                    .arg(example);
    }

    QString rows;
    for (const PublishedFileInfo &f : files) {
        rows += QStringLiteral("<tr><td>");
        if (f.present)
            rows += QStringLiteral("<a href=\"") + HtmlEscape(f.name) + QStringLiteral("\">")
                + HtmlEscape(f.name) + QStringLiteral("</a>");
        else
            rows += HtmlEscape(f.name);
        rows += QStringLiteral("</td><td>") + HtmlEscape(f.description) + QStringLiteral("</td><td>");
        if (f.present) {
            rows += HtmlEscape(fr.toString(f.modified, QStringLiteral("d MMMM yyyy 'à' HH:mm")));
            rows += QStringLiteral(" (") + HtmlEscape(fr.toString(f.size)) + QStringLiteral(" octets)");
        } else {
            rows += QStringLiteral("pas encore publié");
        }
        rows += QStringLiteral("</td></tr>\n");
    }
    body += QStringLiteral(
        "<h2>Fichiers publiés</h2>\n"
        "<table><tr><th>Fichier</th><th>Contenu</th><th>Dernière publication</th></tr>\n%1</table>\n"
        "<h2>Aide</h2>\n"
        "<p>Le <a href=\"aide/\">guide de l'utilisateur</a> s'ouvre aussi depuis le logiciel, par le bouton "
        "« Aide ».</p>\n")
                .arg(rows);
    return PageHtml(QStringLiteral("Téléchargement"), body, QStringLiteral("../"));
}

QByteArray ShortHelpPage()
{
    const QString body = QStringLiteral(
        "<h1>Aide de Kestrava</h1>\n"
        "<p><strong>Mise à Jour</strong> : le logiciel télécharge le fichier des résultats publié ici et "
        "remplace votre copie locale ; en cas d'échec, votre copie est rétablie et le message « Erreur de "
        "connexion ! » s'affiche.</p>\n"
        "<p><strong>Données de la saison</strong> : quand les équipes ou le calendrier changent, le logiciel "
        "récupère le nouveau fichier de saison lors de la mise à jour.</p>\n"
        "<p><strong>Éditeurs</strong> : après la saisie des résultats, le bouton « Envoyer » de la fenêtre "
        "« Expédition fichier » ouvre la page d'envoi avec votre pseudo ; choisissez le fichier "
        "Resultats2027.ini (son chemin est dans le presse-papiers) et validez. L'ancienne version publiée "
        "est toujours conservée.</p>\n"
        "<p><a href=\"../index.php\">Télécharger Kestrava</a></p>\n");
    return PageHtml(QStringLiteral("Aide"), body, QStringLiteral("../../"));
}

QByteArray DonationPage()
{
    const QString body = QStringLiteral(
        "<h1>Soutenir Kestrava</h1>\n"
        "<p>Kestrava est gratuit. Si le logiciel vous plaît, vous pouvez soutenir son "
        "développement et la saisie des résultats tout au long de la saison.</p>\n"
        "<p>Pour faire un don, écrivez-nous depuis la <a href=\"../contacter.php?sub=Don\">page de "
        "contact</a> : nous vous répondrons avec les modalités.</p>\n"
        "<p>Les donateurs qui le souhaitent apparaissent dans la liste défilante du logiciel. Merci à "
        "toutes et à tous !</p>\n");
    return PageHtml(QStringLiteral("Soutenir Kestrava"), body, QStringLiteral("../"));
}

QByteArray ContactPage(const QString &subject)
{
    QString body = QStringLiteral("<h1>Nous contacter</h1>\n");
    if (!subject.isEmpty())
        body += QStringLiteral("<p>Sujet : <strong>") + HtmlEscape(subject)
            + QStringLiteral("</strong></p>\n");
    body += QStringLiteral(
        "<p>Pour une question, une erreur dans les résultats ou une suggestion, écrivez à l'éditeur du site "
        "en rappelant ce sujet et la version de Kestrava que vous utilisez.</p>\n"
        "<p>Avant d'écrire, jetez un œil à l'<a href=\"Vantor2027/aide/\">aide</a> : la réponse s'y "
        "trouve peut-être déjà.</p>\n");
    return PageHtml(QStringLiteral("Contact"), body, QString());
}

namespace {

QString UploadForm(const QString &pseudo, const QString &password)
{
    QString form = QStringLiteral("<form method=\"post\" action=\"EXPEL1.php\" "
                                  "enctype=\"multipart/form-data\" accept-charset=\"UTF-8\">\n");
    if (!pseudo.isEmpty() && !password.isEmpty()) {
        form += QStringLiteral("<p>Éditeur : <strong>") + HtmlEscape(pseudo)
            + QStringLiteral("</strong></p>\n");
        form += QStringLiteral("<input type=\"hidden\" name=\"pseudo\" value=\"") + HtmlEscape(pseudo)
            + QStringLiteral("\">\n");
        form += QStringLiteral("<input type=\"hidden\" name=\"mdp\" value=\"") + HtmlEscape(password)
            + QStringLiteral("\">\n");
    } else {
        form += QStringLiteral("<label for=\"pseudo\">Pseudo</label>\n"
                               "<input type=\"text\" id=\"pseudo\" name=\"pseudo\" required value=\"")
            + HtmlEscape(pseudo) + QStringLiteral("\">\n");
        form += QStringLiteral("<label for=\"mdp\">Mot de passe</label>\n"
                               "<input type=\"password\" id=\"mdp\" name=\"mdp\" required>\n");
    }
    form += QStringLiteral("<label for=\"fichier\">Fichier des résultats (Resultats2027.ini)</label>\n"
                           "<input type=\"file\" id=\"fichier\" name=\"fichier\" accept=\".ini\" required>\n"
                           "<div><button type=\"submit\">Envoyer le fichier</button></div>\n"
                           "</form>\n");
    return form;
}

} // namespace

QByteArray UploadFormPage(const QString &pseudo, const QString &password)
{
    QString body = QStringLiteral(
        "<h1>Envoi du fichier des résultats</h1>\n"
        "<p>Choisissez votre fichier <strong>Resultats2027.ini</strong> : Kestrava a mis son chemin complet "
        "dans le presse-papiers, il suffit de le coller dans la fenêtre de choix du fichier.</p>\n");
    body += UploadForm(pseudo, password);
    body += QStringLiteral("<p>Le fichier doit contenir la section [Resultats] ; la version publiée "
                           "jusqu'ici est conservée en copie.</p>\n");
    return PageHtml(QStringLiteral("Envoi des résultats"), body, QStringLiteral("../"));
}

QByteArray UploadAnswerPage(
    bool ok, const QString &messageHtml, const QString &pseudo, const QString &password)
{
    QString body;
    if (ok) {
        body = QStringLiteral("<h1>Fichier reçu</h1>\n<div class=\"ok\"><p>") + messageHtml
            + QStringLiteral("</p></div>\n")
            + QStringLiteral("<p>Les utilisateurs le recevront à leur prochaine « Mise à Jour ».</p>\n");
    } else {
        body = QStringLiteral("<h1>Envoi refusé</h1>\n<div class=\"refus\"><p>") + messageHtml
            + QStringLiteral("</p></div>\n")
            + QStringLiteral(
                "<p>Le fichier publié n'a pas été modifié. Vous pouvez corriger et renvoyer :</p>\n")
            + UploadForm(pseudo, password);
    }
    return PageHtml(
        ok ? QStringLiteral("Fichier reçu") : QStringLiteral("Envoi refusé"), body, QStringLiteral("../"));
}

QByteArray ErrorPage(int status, const QString &toRoot)
{
    QString title;
    QString text;
    switch (status) {
    case 404:
        title = QStringLiteral("Page introuvable");
        text = QStringLiteral("La page ou le fichier demandé n'existe pas sur ce site.");
        break;
    case 405:
        title = QStringLiteral("Méthode non permise");
        text = QStringLiteral("Cette adresse ne s'utilise pas de cette façon.");
        break;
    case 400:
        title = QStringLiteral("Requête invalide");
        text = QStringLiteral("La requête reçue n'est pas une requête HTTP valide.");
        break;
    case 408:
        title = QStringLiteral("Délai dépassé");
        text = QStringLiteral("La requête n'est pas arrivée entière à temps : la connexion est fermée.");
        break;
    case 411:
    case 501:
        title = QStringLiteral("Envoi non pris en charge");
        text = QStringLiteral("Un envoi doit annoncer sa longueur (Content-Length).");
        break;
    case 413:
    case 431:
        title = QStringLiteral("Envoi trop volumineux");
        text
            = QStringLiteral("La requête dépasse la taille permise ; le fichier publié n'a pas été modifié.");
        break;
    case 503:
        title = QStringLiteral("Site occupé");
        text = QStringLiteral("Trop d'envois en cours : réessayez dans un instant.");
        break;
    case 505:
        title = QStringLiteral("Version HTTP non prise en charge");
        text = QStringLiteral("Ce site parle HTTP/1.0 et HTTP/1.1.");
        break;
    default:
        title = QStringLiteral("Erreur");
        text = QStringLiteral("La demande n'a pas pu être traitée.");
        break;
    }
    const QString body = QStringLiteral("<h1>") + HtmlEscape(title) + QStringLiteral("</h1>\n<p>")
        + HtmlEscape(text) + QStringLiteral("</p>\n<p><a href=\"")
        + (toRoot.isEmpty() ? QStringLiteral("./") : toRoot)
        + QStringLiteral("\">Retour à l'accueil</a></p>\n");
    return PageHtml(title, body, toRoot);
}

} // namespace kestrava::site
