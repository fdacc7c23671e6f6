#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace kestrava {

// Every address of the publisher's web site, in one place. The base is a setting; it always ends
// with "/". Texts put into an address are percent-encoded.
class SiteAddresses
{
public:
    static QString defaultBase();
    // An address as a person types it, made a base: http or https, a host, no query nor fragment
    // (the files' names are added to it), ending with "/". Nothing when it cannot be one.
    static std::optional<QString> normalisedBase(const QString &typed);
    explicit SiteAddresses(QString base = defaultBase());

    QString base() const { return m_base; }
    static QString seasonFolder() { return QStringLiteral("Vantor2027"); }

    QUrl results() const;        // the published results store
    QUrl seasonFile() const;     // "L12027.txt", the season data file of this edition
    QUrl seasonFileL2() const;   // the other edition's, never fetched here
    QUrl donors() const;         // "don.L1"
    QUrl helpPage() const;       // the user's guide
    QUrl downloadPage() const;   // where the program is downloaded, also of a newer version
    QUrl donationPage() const;
    QUrl uploadPage(const QString &pseudo, const QString &password) const;
    // Where the upload page's form is posted: the page itself, the editor's name and password
    // travelling in the form rather than in the address.
    QUrl uploadTarget() const;
    QUrl uploadPageL2(const QString &pseudo, const QString &password) const;
    QUrl homePage() const;
    QUrl contactPage(const QString &subject) const;

private:
    QUrl inFolder(const QString &path) const;
    QString m_base;
};

// Percent-encodes a text for a query value: everything outside the unreserved set, UTF-8.
QString EncodeQueryValue(const QString &text);

} // namespace kestrava
