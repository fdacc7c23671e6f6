#include "ResultsUpload.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QSaveFile>

#include <algorithm>

namespace kestrava::site {

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
