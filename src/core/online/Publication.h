#pragma once

#include "platform/Services.h"
#include "platform/SiteAddresses.h"
#include "season/ResultsStore.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace kestrava {

// The publication details "Envoyer" writes into the store before it leaves: "Maj" and "Pseudo",
// and from the frame the introduction text and the announced version. One atomic save.
bool WritePublicationDetails(const QString &storePath, const QDateTime &launchTime, const QString &pseudo,
    const std::optional<QString> &texte = std::nullopt, const std::optional<QString> &cv = std::nullopt);

struct UploadForm
{
    QByteArray contentType;
    QByteArray body;
};

// The upload page's form as a browser sends it: "pseudo", "mdp" (UTF-8) and the store in
// "fichier" under its own name.
UploadForm BuildUploadForm(const QString &pseudo, const QString &password, const QByteArray &store);

// The message of the site's answer page, as plain text; empty when the page has none.
QString UploadAnswerText(const QByteArray &html);

enum class SendStatus { Accepted, Unreachable, Refused, NotSent };

struct SendOutcome
{
    SendStatus status = SendStatus::NotSent;
    QString message; // French, one line or a few
};

// Publishes the store without a browser: stamps the publication details, then posts the store to
// the upload page exactly as the page's form does, and says what the site answered.
SendOutcome SendResultsStore(const ResultsStore &store, const SiteAddresses &site, const QString &pseudo,
    const QString &password, const QDateTime &launchTime, Poster &poster);

} // namespace kestrava
