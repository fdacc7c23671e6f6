// The results store's file format: Windows private-profile reading and writing, done by hand.
#include "TestFiles.h"
#include "WriteBlocker.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrava;
using kestrava::test::WriteBlocker;
using kestrava::test::ReadFileBytes;
using kestrava::test::WriteFileBytes;

namespace {



// A store as the publisher's tools and a text editor leave it: comments, blank lines, LF-only lines,
// odd spacing, Windows-1252 accents and no line end on the last line.
const QByteArray MixedFile = "; R\xE9sultats publi\xE9s\r\n"
                             "\r\n"
                             "[Resultats]\r\n"
                             "0100=R||3|0|1||0|D\r\n"
                             "  0101 =Q|0||0|1|1||O\n"
                             "0102=M||2|2|4|3|0|C\r\n"
                             "\r\n"
                             "[Maj]\n"
                             "Maj=06 d\xE9"
                             "c. 07:24\n"
                             "\t; autre commentaire  \r\n"
                             "[Pseudo]\r\n"
                             "pseudo=H\xE9l\xE8ne";

} // namespace

class TstIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void read_data();
    void read();
    void readCutsLongValues_data();
    void readCutsLongValues();
    void readMissingFile();
    void snapshotKeysInFileOrder();
    void snapshotOfBytesMatchesFile();

    void writeCreatesFile();
    void writeReplacesInPlace_data();
    void writeReplacesInPlace();
    void writeAddsKeyToSection_data();
    void writeAddsKeyToSection();
    void writeAddsSection_data();
    void writeAddsSection();
    void writeManyKeysRoundTrip();
    void writeWindows1252OnDisk();
    void writeKeepsLongValuesWhole();
    void valueCannotInjectLines_data();
    void valueCannotInjectLines();
    void invalidNamesRefused_data();
    void invalidNamesRefused();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void writeIntoMissingFolderFails();

private:
    QString newFolder();
    std::unique_ptr<QTemporaryDir> m_tmp;
    int m_folders = 0;
};

void TstIniFile::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    // Lets a lowered identity reach the folders below.
    ::chmod(QFile::encodeName(m_tmp->path()).constData(), 0755);
}

QString TstIniFile::newFolder()
{
    const QString path = m_tmp->filePath(QStringLiteral("store%1").arg(++m_folders));
    QDir().mkpath(path);
    return path;
}

void TstIniFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");

    const QString dflt = QStringLiteral("|||||||");
    QTest::newRow("plain") << MixedFile << "Resultats"
                           << "0100" << dflt << "R||3|0|1||0|D";
    QTest::newRow("section case") << MixedFile << "RESULTATS"
                                  << "0102" << dflt << "M||2|2|4|3|0|C";
    QTest::newRow("key case") << MixedFile << "maj"
                              << "MAJ" << QString() << "06 déc. 07:24";
    QTest::newRow("key spelled in lower case") << MixedFile << "Pseudo"
                                               << "Pseudo" << QString() << "Hélène";
    QTest::newRow("key with blanks around") << MixedFile << "Resultats"
                                            << "0101" << dflt << "Q|0||0|1|1||O";
    QTest::newRow("missing key gives default") << MixedFile << "Resultats"
                                               << "0103" << dflt << dflt;
    QTest::newRow("missing key without default") << MixedFile << "Resultats"
                                                 << "0103" << QString() << QString();
    QTest::newRow("missing section gives default") << MixedFile << "BonMal"
                                                   << "A"
                                                   << "x"
                                                   << "x";
    QTest::newRow("key of another section") << MixedFile << "Maj"
                                            << "0100"
                                            << "x"
                                            << "x";
    QTest::newRow("comment is no key") << MixedFile << "Maj"
                                       << "; autre commentaire"
                                       << "x"
                                       << "x";

    QTest::newRow("value after first equals") << QByteArray("[S]\r\nk=a=b=c\r\n") << "S"
                                              << "k"
                                              << "x"
                                              << "a=b=c";
    QTest::newRow("value starting with equals") << QByteArray("[S]\r\nk==x\r\n") << "S"
                                                << "k"
                                                << "d"
                                                << "=x";
    QTest::newRow("empty value is found") << QByteArray("[S]\r\nk=\r\nj=1\r\n") << "S"
                                          << "k"
                                          << "d"
                                          << "";
    QTest::newRow("value keeps its pipes") << QByteArray("[S]\r\nk=|||||||\r\n") << "S"
                                           << "k"
                                           << "d"
                                           << "|||||||";
    QTest::newRow("first key wins") << QByteArray("[S]\r\nk=1\r\nK=2\r\n") << "S"
                                    << "k"
                                    << "d"
                                    << "1";
    QTest::newRow("first section wins") << QByteArray("[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n") << "S"
                                        << "k"
                                        << "d"
                                        << "1";
    QTest::newRow("second copy of a section is not read")
        << QByteArray("[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n") << "S"
        << "j"
        << "d"
        << "d";
    QTest::newRow("key before any section") << QByteArray("k=0\r\n[S]\r\nj=1\r\n") << "S"
                                            << "k"
                                            << "d"
                                            << "d";
    QTest::newRow("LF only") << QByteArray("[S]\nk=v\nj=w\n") << "S"
                             << "k"
                             << "d"
                             << "v";
    QTest::newRow("no line end at the end") << QByteArray("[S]\r\nk=v") << "S"
                                            << "k"
                                            << "d"
                                            << "v";
    QTest::newRow("accented names, any case") << QByteArray("[\xC9quipe]\r\n\xC9t\xE9=chaud\r\n")
                                              << QStringLiteral("éQUIPE") << QStringLiteral("été") << "d"
                                              << "chaud";
    QTest::newRow("euro sign") << QByteArray("[BonMal]\r\nA=5 \x80\r\n") << "BonMal"
                               << "a"
                               << "d"
                               << "5 €";
    QTest::newRow("oe ligature") << QByteArray("[Texte]\r\nTexte=C\x9C"
                                               "ur\r\n")
                                 << "Texte"
                                 << "Texte"
                                 << "d"
                                 << "Cœur";
    QTest::newRow("empty file") << QByteArray() << "S"
                                << "k"
                                << "d"
                                << "d";
    QTest::newRow("line without equals") << QByteArray("[S]\r\nk\r\n") << "S"
                                         << "k"
                                         << "d"
                                         << "d";
}

void TstIniFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);

    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteFileBytes(path, content));
    QCOMPARE(ReadIni(path, section, key, defaultValue), expected);

    const IniSnapshot snap = IniSnapshot::fromFile(path);
    QVERIFY(snap.fileExists());
    QCOMPARE(snap.value(section, key, defaultValue), expected);
    // No row stores a value equal to its default, so "found" is "differs from the default".
    QCOMPARE(snap.contains(section, key), expected != defaultValue);
    QCOMPARE(IniDocument::fromBytes(content).value(section, key, defaultValue), expected);
}

void TstIniFile::readCutsLongValues_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("expectedLength");
    QTest::newRow("1022") << 1022 << 1022;
    QTest::newRow("1023") << 1023 << 1023;
    QTest::newRow("1024") << 1024 << 1023;
    QTest::newRow("5000") << 5000 << 1023;
}

void TstIniFile::readCutsLongValues()
{
    QFETCH(int, length);
    QFETCH(int, expectedLength);
    QByteArray value;
    for (int i = 0; i < length; ++i)
        value += char('a' + i % 26);
    const QString path = QDir(newFolder()).filePath(QStringLiteral("long.ini"));
    QVERIFY(WriteFileBytes(path, "[Texte]\r\nTexte=" + value + "\r\nNext=1\r\n"));
    const QString got = ReadIni(path, QStringLiteral("Texte"), QStringLiteral("Texte"));
    QCOMPARE(got.size(), expectedLength);
    QCOMPARE(got, QString::fromLatin1(value.left(expectedLength)));
    // The cut does not spill into the following line.
    QCOMPARE(ReadIni(path, QStringLiteral("Texte"), QStringLiteral("Next")), QStringLiteral("1"));
}

void TstIniFile::readMissingFile()
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("absent.ini"));
    QCOMPARE(ReadIni(path, QStringLiteral("Resultats"), QStringLiteral("0100"), QStringLiteral("|||||||")),
        QStringLiteral("|||||||"));
    QCOMPARE(ReadIni(path, QStringLiteral("Maj"), QStringLiteral("Maj")), QString());
    const IniSnapshot snap = IniSnapshot::fromFile(path);
    QVERIFY(!snap.fileExists());
    QVERIFY(!snap.contains(QStringLiteral("Maj"), QStringLiteral("Maj")));
    QVERIFY(!QFile::exists(path)); // reading never creates the file
}

void TstIniFile::snapshotKeysInFileOrder()
{
    const IniSnapshot snap
        = IniSnapshot::fromBytes("[Resultats]\r\n0102=x\r\n0100=y\r\n0101=z\r\n0100=dup\r\n"
                                 "[Maj]\r\nMaj=1\r\n");
    QCOMPARE(snap.keys(QStringLiteral("resultats")),
        QStringList({ QStringLiteral("0102"), QStringLiteral("0100"), QStringLiteral("0101") }));
    QCOMPARE(snap.keys(QStringLiteral("Absent")), QStringList());
}

void TstIniFile::snapshotOfBytesMatchesFile()
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteFileBytes(path, MixedFile));
    const IniSnapshot fromFile = IniSnapshot::fromFile(path);
    const IniSnapshot fromBytes = IniSnapshot::fromBytes(MixedFile);
    for (const QString &key : fromBytes.keys(QStringLiteral("Resultats")))
        QCOMPARE(fromFile.value(QStringLiteral("Resultats"), key),
            fromBytes.value(QStringLiteral("Resultats"), key));
    QCOMPARE(fromBytes.keys(QStringLiteral("Resultats")).size(), 3);
}

void TstIniFile::writeCreatesFile()
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteIni(path, QStringLiteral("Maj"), QStringLiteral("Maj"), QStringLiteral("06 déc. 07:24")));
    QCOMPARE(ReadFileBytes(path),
        QByteArray("[Maj]\r\nMaj=06 d\xE9"
                   "c. 07:24\r\n"));
    QCOMPARE(ReadIni(path, QStringLiteral("maj"), QStringLiteral("maj")), QStringLiteral("06 déc. 07:24"));
}

void TstIniFile::writeReplacesInPlace_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("expected");

    auto mixedWith = [](const QByteArray &from, const QByteArray &to) {
        QByteArray b = MixedFile;
        Q_ASSERT(b.count(from) == 1);
        return b.replace(from, to);
    };
    QTest::newRow("CR LF key") << MixedFile << "Resultats"
                               << "0102"
                               << "M||1|1|1||0|C"
                               << mixedWith("0102=M||2|2|4|3|0|C\r\n", "0102=M||1|1|1||0|C\r\n");
    QTest::newRow("odd-spaced LF key keeps its spelling")
        << MixedFile << "resultats"
        << "0101"
        << "Q|||2|2|||O" << mixedWith("  0101 =Q|0||0|1|1||O\n", "  0101 =Q|||2|2|||O\r\n");
    QTest::newRow("key in a LF section") << MixedFile << "MAJ"
                                         << "maj" << QStringLiteral("31 déc. 23:10")
                                         << mixedWith("Maj=06 d\xE9"
                                                      "c. 07:24\n",
                                                "Maj=31 d\xE9"
                                                "c. 23:10\r\n");
    QTest::newRow("last line without line end")
        << MixedFile << "Pseudo"
        << "PSEUDO" << QStringLiteral("Zoé") << mixedWith("pseudo=H\xE9l\xE8ne", "pseudo=Zo\xE9\r\n");
    QTest::newRow("value holding equals") << MixedFile << "Resultats"
                                          << "0100"
                                          << "a=b" << mixedWith("0100=R||3|0|1||0|D\r\n", "0100=a=b\r\n");
    QTest::newRow("empty value") << MixedFile << "Resultats"
                                 << "0100"
                                 << "" << mixedWith("0100=R||3|0|1||0|D\r\n", "0100=\r\n");
    QTest::newRow("first of two keys") << QByteArray("[S]\r\nk=1\r\nk=2\r\n") << "S"
                                       << "K"
                                       << "9" << QByteArray("[S]\r\nk=9\r\nk=2\r\n");
    QTest::newRow("first of two sections") << QByteArray("[S]\r\nk=1\r\n[S]\r\nk=2\r\n") << "s"
                                           << "k"
                                           << "9" << QByteArray("[S]\r\nk=9\r\n[S]\r\nk=2\r\n");
    QTest::newRow("same value again") << MixedFile << "Resultats"
                                      << "0100"
                                      << "R||3|0|1||0|D" << MixedFile;
}

void TstIniFile::writeReplacesInPlace()
{
    QFETCH(QByteArray, original);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, expected);

    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteFileBytes(path, original));
    QVERIFY(WriteIni(path, section, key, value));
    QCOMPARE(ReadFileBytes(path), expected);
    QCOMPARE(ReadIni(path, section, key, QStringLiteral("<absent>")), value);
}

void TstIniFile::writeAddsKeyToSection_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("nextSectionLine"); // empty for the last section
    QTest::newRow("middle section") << "Resultats"
                                    << "[Maj]\n";
    QTest::newRow("middle section, other case") << "RESULTATS"
                                                << "[Maj]\n";
    QTest::newRow("LF section") << "Maj"
                                << "[Pseudo]\r\n";
    QTest::newRow("last section, unterminated") << "Pseudo"
                                                << "";
}

void TstIniFile::writeAddsKeyToSection()
{
    QFETCH(QString, section);
    QFETCH(QString, nextSectionLine);

    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteFileBytes(path, MixedFile));
    QVERIFY(WriteIni(path, section, QStringLiteral("0103"), QStringLiteral("E||1|3|1||0|L")));
    const QByteArray after = ReadFileBytes(path);
    const QByteArray newLine = "0103=E||1|3|1||0|L\r\n";
    QCOMPARE(after.count(newLine), 1);

    // Every other line stays as it was; only an unterminated last line may gain its CR LF.
    QByteArray without = after;
    without.replace(newLine, QByteArray());
    if (without != MixedFile)
        QCOMPARE(without, MixedFile + "\r\n");

    // The new line belongs to the section: after its header, before the next one.
    const qsizetype at = after.indexOf(newLine);
    const QByteArray header = '[' + section.toLatin1() + ']';
    const qsizetype headerAt = after.toLower().indexOf(header.toLower());
    QVERIFY(headerAt >= 0 && headerAt < at);
    if (!nextSectionLine.isEmpty())
        QVERIFY(at < after.indexOf(nextSectionLine.toLatin1()));

    QCOMPARE(ReadIni(path, section, QStringLiteral("0103")), QStringLiteral("E||1|3|1||0|L"));
    // What was there still reads the same.
    QCOMPARE(
        ReadIni(path, QStringLiteral("Resultats"), QStringLiteral("0101")), QStringLiteral("Q|0||0|1|1||O"));
    QCOMPARE(ReadIni(path, QStringLiteral("Pseudo"), QStringLiteral("Pseudo")), QStringLiteral("Hélène"));
}

void TstIniFile::writeAddsSection_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("after an unterminated line")
        << MixedFile << QByteArray(MixedFile + "\r\n[BonMal]\r\nA=-2\r\n");
    QTest::newRow("after CR LF") << QByteArray("[Maj]\r\nMaj=x\r\n")
                                 << QByteArray("[Maj]\r\nMaj=x\r\n[BonMal]\r\nA=-2\r\n");
    QTest::newRow("after LF") << QByteArray("[Maj]\nMaj=x\n")
                              << QByteArray("[Maj]\nMaj=x\n[BonMal]\r\nA=-2\r\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[BonMal]\r\nA=-2\r\n");
}

void TstIniFile::writeAddsSection()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, expected);
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteFileBytes(path, original));
    QVERIFY(WriteIni(path, QStringLiteral("BonMal"), QStringLiteral("A"), QStringLiteral("-2")));
    QCOMPARE(ReadFileBytes(path), expected);
    QCOMPARE(ReadIni(path, QStringLiteral("bonmal"), QStringLiteral("a")), QStringLiteral("-2"));
}

void TstIniFile::writeManyKeysRoundTrip()
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteIni(path, QStringLiteral("Maj"), QStringLiteral("Maj"), QStringLiteral("x")));
    for (int md = 1; md <= 3; ++md) {
        for (int pos = 0; pos < 9; ++pos) {
            const QString key
                = QStringLiteral("%1%2").arg(md, 2, 10, QLatin1Char('0')).arg(pos, 2, 10, QLatin1Char('0'));
            QVERIFY(WriteIni(
                path, QStringLiteral("Resultats"), key, QStringLiteral("A||%1|0|||B").arg(md * 10 + pos)));
        }
    }
    // Rewriting keys adds no lines.
    QVERIFY(
        WriteIni(path, QStringLiteral("Resultats"), QStringLiteral("0100"), QStringLiteral("A||1|1|||B")));
    QVERIFY(WriteIni(path, QStringLiteral("Maj"), QStringLiteral("Maj"), QStringLiteral("y")));

    const QByteArray bytes = ReadFileBytes(path);
    QCOMPARE(bytes.count('\n'), 2 + 1 + 27);
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n')); // CR LF throughout
    const IniSnapshot snap = IniSnapshot::fromFile(path);
    QCOMPARE(snap.keys(QStringLiteral("Resultats")).size(), 27);
    QCOMPARE(snap.value(QStringLiteral("Resultats"), QStringLiteral("0100")), QStringLiteral("A||1|1|||B"));
    QCOMPARE(snap.value(QStringLiteral("Resultats"), QStringLiteral("0308")), QStringLiteral("A||38|0|||B"));
    QCOMPARE(snap.value(QStringLiteral("Maj"), QStringLiteral("Maj")), QStringLiteral("y"));
    // Each section's keys stay together under their header.
    QVERIFY(bytes.startsWith("[Maj]\r\nMaj=y\r\n[Resultats]\r\n0100="));
}

void TstIniFile::writeWindows1252OnDisk()
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteIni(
        path, QStringLiteral("Équipe"), QStringLiteral("Hélène"), QStringLiteral("5 € pour un cœur")));
    QCOMPARE(ReadFileBytes(path),
        QByteArray("[\xC9quipe]\r\nH\xE9l\xE8ne=5 \x80 pour un c\x9C"
                   "ur\r\n"));
    QCOMPARE(ReadIni(path, QStringLiteral("éQUIPE"), QStringLiteral("HÉLÈNE")),
        QStringLiteral("5 € pour un cœur"));
    // Replacing it matches the accented names without regard to case too.
    QVERIFY(
        WriteIni(path, QStringLiteral("ÉQUIPE"), QStringLiteral("hélène"), QStringLiteral("Saint-Étienne")));
    QCOMPARE(ReadFileBytes(path), QByteArray("[\xC9quipe]\r\nH\xE9l\xE8ne=Saint-\xC9tienne\r\n"));
}

void TstIniFile::writeKeepsLongValuesWhole()
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    const QString value(2000, u'z');
    QVERIFY(WriteIni(path, QStringLiteral("Texte"), QStringLiteral("Texte"), value));
    QCOMPARE(ReadFileBytes(path), "[Texte]\r\nTexte=" + value.toLatin1() + "\r\n");
    QCOMPARE(ReadIni(path, QStringLiteral("Texte"), QStringLiteral("Texte")), QString(1023, u'z'));
}

void TstIniFile::valueCannotInjectLines_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("CR LF") << QStringLiteral("1\r\n[Evil]\r\nx=y");
    QTest::newRow("LF") << QStringLiteral("1\n[Evil]\nx=y");
    QTest::newRow("CR") << QStringLiteral("1\r[Evil]\rx=y");
    QTest::newRow("trailing LF") << QStringLiteral("1\n");
}

void TstIniFile::valueCannotInjectLines()
{
    QFETCH(QString, value);
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteFileBytes(path, "[S]\r\nk=0\r\nj=2\r\n"));
    WriteIni(path, QStringLiteral("S"), QStringLiteral("k"), value);

    const QByteArray bytes = ReadFileBytes(path);
    QCOMPARE(bytes.count('\n'), 3);
    QCOMPARE(bytes.count('\r'), 3);
    QVERIFY(bytes.startsWith("[S]\r\nk=1"));
    QVERIFY(bytes.endsWith("\r\nj=2\r\n"));
    QCOMPARE(ReadIni(path, QStringLiteral("Evil"), QStringLiteral("x"), QStringLiteral("none")),
        QStringLiteral("none"));
    QCOMPARE(ReadIni(path, QStringLiteral("S"), QStringLiteral("x"), QStringLiteral("none")),
        QStringLiteral("none"));
    QCOMPARE(ReadIni(path, QStringLiteral("S"), QStringLiteral("j")), QStringLiteral("2"));
}

void TstIniFile::invalidNamesRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("empty section") << ""
                                   << "k";
    QTest::newRow("blank section") << "   "
                                   << "k";
    QTest::newRow("section with bracket") << "a]b"
                                          << "k";
    QTest::newRow("section with LF") << "a\nb"
                                     << "k";
    QTest::newRow("section with CR") << "a\rb"
                                     << "k";
    QTest::newRow("empty key") << "S"
                               << "";
    QTest::newRow("blank key") << "S"
                               << " ";
    QTest::newRow("key with equals") << "S"
                                     << "a=b";
    QTest::newRow("key with LF") << "S"
                                 << "a\n[T]";
    QTest::newRow("key looking like a section") << "S"
                                                << "[T";
}

void TstIniFile::invalidNamesRefused()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    const QString folder = newFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteFileBytes(path, MixedFile));
    QVERIFY(!WriteIni(path, section, key, QStringLiteral("v")));
    QCOMPARE(ReadFileBytes(path), MixedFile);

    IniDocument doc = IniDocument::fromBytes(MixedFile);
    QVERIFY(!doc.set(section, key, QStringLiteral("v")));
    QCOMPARE(doc.toBytes(), MixedFile);

    // No file appears for a refused first write either.
    const QString absent = QDir(folder).filePath(QStringLiteral("absent.ini"));
    QVERIFY(!WriteIni(absent, section, key, QStringLiteral("v")));
    QVERIFY(!QFile::exists(absent));
}

void TstIniFile::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("read-only folder") << int(WriteBlocker::ReadOnlyFolder);
    QTest::newRow("unreadable file") << int(WriteBlocker::UnreadableFile);
    QTest::newRow("disk full") << int(WriteBlocker::DiskFull);
}

void TstIniFile::failedWriteKeepsOldFile()
{
    QFETCH(int, kind);
    const QString folder = newFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteFileBytes(path, MixedFile));

    bool written = true;
    {
        WriteBlocker blocker(WriteBlocker::Kind(kind), folder, path);
        if (!blocker.engage(m_tmp->path())) {
            blocker.release();
            QSKIP("this machine cannot make that write fail");
        }
        written = WriteIni(path, QStringLiteral("Resultats"), QStringLiteral("0103"), QString(300, u'x'));
    }
    QVERIFY(!written);
    QCOMPARE(ReadFileBytes(path), MixedFile);
    // Nor is a half-written temporary file left behind.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
        QStringList(QStringLiteral("Resultats2027.ini")));
}

void TstIniFile::writeIntoMissingFolderFails()
{
    // A parent that is a plain file: nothing can be created below it.
    const QString blocker = QDir(newFolder()).filePath(QStringLiteral("plain"));
    QVERIFY(WriteFileBytes(blocker, "x"));
    const QString path = blocker + QStringLiteral("/Resultats2027.ini");
    QVERIFY(!WriteIni(path, QStringLiteral("Maj"), QStringLiteral("Maj"), QStringLiteral("x")));
    QCOMPARE(ReadFileBytes(blocker), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
