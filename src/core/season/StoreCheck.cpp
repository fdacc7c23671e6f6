#include "StoreCheck.h"

#include "platform/IniFile.h"
#include "platform/Text.h"
#include "season/ResultsStore.h"

#include <algorithm>

namespace kestrava {

QString StoreCheck::frenchReason() const
{
    switch (problem) {
    case StoreProblem::None:
        return QStringLiteral("Fichier conforme.");
    case StoreProblem::TooLarge:
        return QStringLiteral("Le fichier dépasse la taille permise (%1 Kio).")
            .arg(MaxResultsStoreBytes / 1024);
    case StoreProblem::NulByte:
        return QStringLiteral(
            "Le fichier contient des octets nuls : ce n'est pas un fichier texte (ligne %1).")
            .arg(line);
    case StoreProblem::ControlChar:
        return QStringLiteral(
            "Le fichier contient des caractères de contrôle : ce n'est pas un fichier texte "
            "(ligne %1).")
            .arg(line);
    case StoreProblem::BadLine:
        return QStringLiteral("La ligne %1 n'est ni une section, ni une ligne « clé=valeur », ni un "
                              "commentaire : ce n'est pas un fichier de résultats.")
            .arg(line);
    case StoreProblem::BadKey:
        return QStringLiteral("Clé « %1 » invalide dans la section [Resultats] (ligne %2) : quatre chiffres "
                              "attendus.")
            .arg(key)
            .arg(line);
    case StoreProblem::BadRecord:
        return QStringLiteral("Résultat mal formé pour la clé %1 (ligne %2) : huit champs séparés par « | » "
                              "attendus.")
            .arg(key)
            .arg(line);
    case StoreProblem::NoDate:
        return QStringLiteral(
            "Le fichier n'a pas de date de mise à jour lisible ([Maj] Maj=…) : ce n'est pas "
            "un fichier de résultats enregistré par le logiciel.");
    }
    return {};
}

StoreCheck CheckResultsStore(const QByteArray &bytes)
{
    StoreCheck check;
    auto fail = [&check](StoreProblem p, int line, QString key = {}) {
        check.problem = p;
        check.line = line;
        check.key = std::move(key);
        check.resultCount = 0;
        return check;
    };
    if (bytes.size() > MaxResultsStoreBytes)
        return fail(StoreProblem::TooLarge, 0);

    // Byte checks first: a binary file must not be judged on what it happens to contain.
    int lineNo = 1;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '\n')
            ++lineNo;
        else if (u == 0)
            return fail(StoreProblem::NulByte, lineNo);
        else if ((u < 0x20 && u != '\t' && u != '\r') || u == 0x7f)
            return fail(StoreProblem::ControlChar, lineNo);
    }

    const QStringList lines = DecodeWin1252(bytes).split(u'\n');
    bool inResults = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        const int n = int(i) + 1;
        if (trimmed.isEmpty() || trimmed.startsWith(u';'))
            continue;
        // A section line as the program reads it: '[' first and a ']' somewhere after it.
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            if (close < 0)
                return fail(StoreProblem::BadLine, n);
            inResults = FoldIniName(QStringView(trimmed).mid(1, close - 1)) == FoldIniName(Store::Results);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const QString key = eq < 0 ? QString() : line.left(eq).trimmed();
        if (key.isEmpty())
            return fail(StoreProblem::BadLine, n);
        if (!inResults)
            continue;
        const bool fourDigits = key.size() == 4
            && std::all_of(key.begin(), key.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!fourDigits)
            return fail(StoreProblem::BadKey, n, key.left(40));
        if (line.mid(eq + 1).count(u'|') != 7)
            return fail(StoreProblem::BadRecord, n, key);
        ++check.resultCount;
    }
    // The date the program itself will show: read with the same reader and the same rule.
    const QString maj = IniSnapshot::fromBytes(bytes).value(Store::Maj, Store::Maj);
    if (!ParseMaj(maj, QDateTime::currentDateTime()).isValid())
        return fail(StoreProblem::NoDate, 0);
    return check;
}

} // namespace kestrava
