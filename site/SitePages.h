#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace kestrava::site {

// Escapes the five characters that matter in HTML text and attribute values.
QString HtmlEscape(const QString &text);

// Pages of the site, UTF-8 HTML in French. `toRoot` is the relative way back to the site's root
// from the page ("" for a page at the root, "../" for a page in the season folder), so that the
// site also works behind a path prefix.
QByteArray PageHtml(const QString &title, const QString &bodyHtml, const QString &toRoot);

struct PublishedFileInfo
{
    QString name;
    QString description;
    bool present = false;
    qint64 size = 0;
    QDateTime modified;
};

struct PackageInfo;

// A size as a French reader reads it: "812 octets", "3,4 Kio", "2,5 Mio".
QString FrenchSize(qint64 bytes);

QByteArray HomePage();
// The season folder's page: the packages to download when there are some (else how to build the
// program), the published files, and the way to the help.
QByteArray DownloadPage(const QList<PackageInfo> &packages, const QList<PublishedFileInfo> &files);
// The help page when the site has no guide to serve.
QByteArray ShortHelpPage();
QByteArray DonationPage();
QByteArray ContactPage(const QString &subject);
QByteArray UploadFormPage(const QString &pseudo, const QString &password);
// The answer to an upload: `ok` chooses the heading; `messageHtml` is already escaped.
QByteArray UploadAnswerPage(
    bool ok, const QString &messageHtml, const QString &pseudo, const QString &password);
QByteArray ErrorPage(int status, const QString &toRoot);

} // namespace kestrava::site
