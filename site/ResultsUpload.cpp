#include "ResultsUpload.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace kestrava::site {

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
    case StoreProblem::NoResultsSection:
        return QStringLiteral(
            "Le fichier ne contient pas de section [Resultats] : ce n'est pas un fichier de "
            "résultats.");
    case StoreProblem::LineWithoutEquals:
        return QStringLiteral("La ligne %1 de la section [Resultats] n'a pas la forme « clé=valeur ».")
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

    QStringDecoder ansi("Windows-1252");
    const QString text = ansi.isValid() ? ansi.decode(bytes) : QString::fromLatin1(bytes);
    QStringList lines = text.split(u'\n');
    bool sawSection = false;
    bool inResults = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';'))
            continue;
        const int n = int(i) + 1;
        // A section line as the program reads it: '[' first and a ']' somewhere after the name.
        if (const qsizetype close = trimmed.indexOf(u']'); trimmed.startsWith(u'[') && close > 0) {
            const QString name = trimmed.mid(1, close - 1).trimmed();
            inResults = name.compare(QStringLiteral("Resultats"), Qt::CaseInsensitive) == 0;
            sawSection = sawSection || inResults;
            continue;
        }
        if (!inResults)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            return fail(StoreProblem::LineWithoutEquals, n);
        const QString key = line.left(eq).trimmed();
        const bool fourDigits = key.size() == 4
            && std::all_of(key.begin(), key.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!fourDigits)
            return fail(StoreProblem::BadKey, n, key.left(40));
        if (line.mid(eq + 1).count(u'|') != 7)
            return fail(StoreProblem::BadRecord, n, key);
        ++check.resultCount;
    }
    if (!sawSection)
        return fail(StoreProblem::NoResultsSection, 0);
    return check;
}

namespace {

// Numbers N of the existing "fileName.N" copies, ascending.
QList<int> BackupNumbers(const QDir &dir, const QString &fileName)
{
    QList<int> numbers;
    const QString prefix = fileName + u'.';
    const QStringList names = dir.entryList({ prefix + u'*' }, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        bool ok = false;
        const int n = name.mid(prefix.size()).toInt(&ok);
        if (ok && n > 0 && name.mid(prefix.size()) == QString::number(n))
            numbers.append(n);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

PublishOutcome PublishFile(
    const QString &folder, const QString &fileName, const QByteArray &bytes, int maxBackups)
{
    PublishOutcome outcome;
    QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder)) {
        outcome.error = QStringLiteral("Le dossier de publication ne peut pas être créé.");
        return outcome;
    }
    const QString target = dir.filePath(fileName);

    if (QFile::exists(target)) {
        const QList<int> numbers = BackupNumbers(dir, fileName);
        const int next = numbers.isEmpty() ? 1 : numbers.last() + 1;
        const QString backupName = fileName + u'.' + QString::number(next);
        if (!QFile::copy(target, dir.filePath(backupName))) {
            outcome.error
                = QStringLiteral("La copie de sauvegarde de la version publiée a échoué : rien n'a été "
                                 "remplacé.");
            return outcome;
        }
        outcome.backupName = backupName;
        // Oldest copies go once there are too many: the folder must not grow without end.
        const qsizetype excess = numbers.size() + 1 - qMax(1, maxBackups);
        for (qsizetype i = 0; i < excess; ++i)
            QFile::remove(dir.filePath(fileName + u'.' + QString::number(numbers.at(i))));
    }

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        outcome.error
            = QStringLiteral("L'écriture du fichier publié a échoué : l'ancienne version reste en place.");
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace kestrava::site
