// The results store's file format: Windows private-profile reading and writing, done by hand.
#include "TestFiles.h"
#include "WriteBlocker.h"
#include "platform/IniFile.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

using namespace kestrava;
using kestrava::test::ReadFileBytes;
using kestrava::test::WriteBlocker;
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

QByteArray mixedWith(const QByteArray &from, const QByteArray &to)
{
    QByteArray b = MixedFile;
    Q_ASSERT(b.count(from) == 1);
    return b.replace(from, to);
}

} // namespace

class TstIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void read_data();
    void read();
    void readCutsLongValues();
    void readMissingFile();
    void snapshotKeysInFileOrder();

    void write_data();
    void write();
    void writeAddsKeyToSection_data();
    void writeAddsKeyToSection();
    void writeManyKeysRoundTrip();
    void writeWindows1252OnDisk();
    void valueCannotInjectLines_data();
    void valueCannotInjectLines();
    void invalidNamesRefused_data();
    void invalidNamesRefused();
    void settingsFileIsPrivate();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();

private:
    QString newFolder();
    // A fresh folder holding "Resultats2027.ini" with these bytes; its path.
    QString storeWith(const QByteArray &content);
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

QString TstIniFile::storeWith(const QByteArray &content)
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    if (!WriteFileBytes(path, content))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TstIniFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");
    auto add = [](const char *name, const QByteArray &content, const QString &section, const QString &key,
                   const QString &dflt, const QString &expected) {
        QTest::newRow(name) << content << section << key << dflt << expected;
    };
    const QString d = QStringLiteral("|||||||");
    add("plain", MixedFile, "Resultats", "0100", d, "R||3|0|1||0|D");
    add("section case", MixedFile, "RESULTATS", "0102", d, "M||2|2|4|3|0|C");
    add("key case", MixedFile, "maj", "MAJ", "", QStringLiteral("06 déc. 07:24"));
    add("last line, key in lower case", MixedFile, "Pseudo", "Pseudo", "", QStringLiteral("Hélène"));
    add("key with blanks around", MixedFile, "Resultats", "0101", d, "Q|0||0|1|1||O");
    add("missing key gives default", MixedFile, "Resultats", "0103", d, d);
    add("missing section gives default", MixedFile, "BonMal", "A", "x", "x");
    add("key of another section", MixedFile, "Maj", "0100", "x", "x");
    add("comment is no key", MixedFile, "Maj", "; autre commentaire", "x", "x");
    add("value after first equals", "[S]\r\nk=a=b=c\r\n", "S", "k", "x", "a=b=c");
    add("empty value is found", "[S]\r\nk=\r\nj=1\r\n", "S", "k", "d", "");
    add("first key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "d", "1");
    add("first section wins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n", "S", "k", "d", "1");
    add("second copy of a section is not read", "[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n", "S", "j", "d", "d");
    add("key before any section", "k=0\r\n[S]\r\nj=1\r\n", "S", "k", "d", "d");
    add("accented names, any case", "[\xC9quipe]\r\n\xC9t\xE9=chaud\r\n", QStringLiteral("éQUIPE"), QStringLiteral("été"), "d", "chaud");
    add("euro sign", "[BonMal]\r\nA=5 \x80\r\n", "BonMal", "a", "d", QStringLiteral("5 €"));
    add("empty file", QByteArray(), "S", "k", "d", "d");
    add("line without equals", "[S]\r\nk\r\n", "S", "k", "d", "d");
}

void TstIniFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);

    const QString path = storeWith(content);
    QCOMPARE(ReadIni(path, section, key, defaultValue), expected);
    const IniSnapshot snap = IniSnapshot::fromFile(path);
    QVERIFY(snap.fileExists());
    QCOMPARE(snap.value(section, key, defaultValue), expected);
    // No row stores a value equal to its default, so "found" is "differs from the default".
    QCOMPARE(snap.contains(section, key), expected != defaultValue);
    QCOMPARE(IniSnapshot::fromBytes(content).value(section, key, defaultValue), expected);
    QCOMPARE(IniDocument::fromBytes(content).value(section, key, defaultValue), expected);
}

void TstIniFile::readCutsLongValues()
{
    for (int length : { 1023, 1024, 5000 }) {
        QByteArray value;
        for (int i = 0; i < length; ++i)
            value += char('a' + i % 26);
        const QString path = storeWith("[Texte]\r\nTexte=" + value + "\r\nNext=1\r\n");
        QCOMPARE(ReadIni(path, QStringLiteral("Texte"), QStringLiteral("Texte")), QString::fromLatin1(value.left(1023)));
        // The cut does not spill into the following line.
        QCOMPARE(ReadIni(path, QStringLiteral("Texte"), QStringLiteral("Next")), QStringLiteral("1"));
    }
    // Writing keeps a long value whole; only reading cuts it.
    const QString path = QDir(newFolder()).filePath(QStringLiteral("long.ini"));
    QVERIFY(WriteIni(path, QStringLiteral("Texte"), QStringLiteral("Texte"), QString(2000, u'z')));
    QCOMPARE(ReadFileBytes(path), "[Texte]\r\nTexte=" + QByteArray(2000, 'z') + "\r\n");
    QCOMPARE(ReadIni(path, QStringLiteral("Texte"), QStringLiteral("Texte")), QString(1023, u'z'));
}

void TstIniFile::readMissingFile()
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("absent.ini"));
    QCOMPARE(ReadIni(path, QStringLiteral("Resultats"), QStringLiteral("0100"), QStringLiteral("|||||||")),
        QStringLiteral("|||||||"));
    const IniSnapshot snap = IniSnapshot::fromFile(path);
    QVERIFY(!snap.fileExists());
    QVERIFY(!snap.contains(QStringLiteral("Maj"), QStringLiteral("Maj")));
    QVERIFY(!QFile::exists(path)); // reading never creates the file
}

void TstIniFile::snapshotKeysInFileOrder()
{
    const IniSnapshot snap = IniSnapshot::fromBytes("[Resultats]\r\n0102=x\r\n0100=y\r\n0101=z\r\n0100=dup\r\n"
                                                    "[Maj]\r\nMaj=1\r\n");
    QCOMPARE(snap.keys(QStringLiteral("resultats")), QStringList({ "0102", "0100", "0101" }));
    QCOMPARE(snap.keys(QStringLiteral("Absent")), QStringList());
}

void TstIniFile::write_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("expected");
    auto add = [](const char *name, const QByteArray &original, const QString &section, const QString &key,
                   const QString &value, const QByteArray &expected) {
        QTest::newRow(name) << original << section << key << value << expected;
    };
    add("CR LF key", MixedFile, "Resultats", "0102", "M||1|1|1||0|C",
        mixedWith("0102=M||2|2|4|3|0|C\r\n", "0102=M||1|1|1||0|C\r\n"));
    add("odd-spaced LF key keeps its spelling", MixedFile, "resultats", "0101", "Q|||2|2|||O",
        mixedWith("  0101 =Q|0||0|1|1||O\n", "  0101 =Q|||2|2|||O\r\n"));
    add("key in a LF section", MixedFile, "MAJ", "maj", QStringLiteral("31 déc. 23:10"),
        mixedWith("Maj=06 d\xE9" "c. 07:24\n", "Maj=31 d\xE9" "c. 23:10\r\n"));
    add("last line without line end", MixedFile, "Pseudo", "PSEUDO", QStringLiteral("Zoé"),
        mixedWith("pseudo=H\xE9l\xE8ne", "pseudo=Zo\xE9\r\n"));
    add("value holding equals", MixedFile, "Resultats", "0100", "a=b", mixedWith("0100=R||3|0|1||0|D\r\n", "0100=a=b\r\n"));
    add("first of two keys", "[S]\r\nk=1\r\nk=2\r\n", "S", "K", "9", "[S]\r\nk=9\r\nk=2\r\n");
    add("first of two sections", "[S]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "9", "[S]\r\nk=9\r\n[S]\r\nk=2\r\n");
    add("same value again", MixedFile, "Resultats", "0100", "R||3|0|1||0|D", MixedFile);
    // A new section goes at the end, on a line of its own.
    add("new section after an unterminated line", MixedFile, "BonMal", "A", "-2", MixedFile + "\r\n[BonMal]\r\nA=-2\r\n");
    add("new section after LF", "[Maj]\nMaj=x\n", "BonMal", "A", "-2", "[Maj]\nMaj=x\n[BonMal]\r\nA=-2\r\n");
    add("new section in an empty file", QByteArray(), "BonMal", "A", "-2", "[BonMal]\r\nA=-2\r\n");
}

void TstIniFile::write()
{
    QFETCH(QByteArray, original);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, expected);
    const QString path = storeWith(original);
    QVERIFY(WriteIni(path, section, key, value));
    QCOMPARE(ReadFileBytes(path), expected);
    QCOMPARE(ReadIni(path, section, key, QStringLiteral("<absent>")), value);
}

void TstIniFile::writeAddsKeyToSection_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("nextSectionLine"); // empty for the last section
    QTest::newRow("middle section, other case") << "RESULTATS" << "[Maj]\n";
    QTest::newRow("LF section") << "Maj" << "[Pseudo]\r\n";
    QTest::newRow("last section, unterminated") << "Pseudo" << "";
}

void TstIniFile::writeAddsKeyToSection()
{
    QFETCH(QString, section);
    QFETCH(QString, nextSectionLine);
    const QString path = storeWith(MixedFile);
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
    const qsizetype headerAt = after.toLower().indexOf('[' + section.toLower().toLatin1() + ']');
    QVERIFY(headerAt >= 0 && headerAt < at);
    if (!nextSectionLine.isEmpty())
        QVERIFY(at < after.indexOf(nextSectionLine.toLatin1()));
    QCOMPARE(ReadIni(path, section, QStringLiteral("0103")), QStringLiteral("E||1|3|1||0|L"));
}

void TstIniFile::writeManyKeysRoundTrip()
{
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    const QString results = QStringLiteral("Resultats");
    QVERIFY(WriteIni(path, QStringLiteral("Maj"), QStringLiteral("Maj"), QStringLiteral("x")));
    for (int k = 0; k < 27; ++k) {
        const QString key = QStringLiteral("%1%2").arg(1 + k / 9, 2, 10, QLatin1Char('0')).arg(k % 9, 2, 10, QLatin1Char('0'));
        QVERIFY(WriteIni(path, results, key, QStringLiteral("A||%1|0|||B").arg(k)));
    }
    // Rewriting keys adds no lines.
    QVERIFY(WriteIni(path, results, QStringLiteral("0100"), QStringLiteral("A||1|1|||B")));
    QVERIFY(WriteIni(path, QStringLiteral("Maj"), QStringLiteral("Maj"), QStringLiteral("y")));

    const QByteArray bytes = ReadFileBytes(path);
    QCOMPARE(bytes.count('\n'), 2 + 1 + 27);
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n')); // CR LF throughout
    // Each section's keys stay together under their header.
    QVERIFY(bytes.startsWith("[Maj]\r\nMaj=y\r\n[Resultats]\r\n0100=A||1|1|||B\r\n0101="));
    const IniSnapshot snap = IniSnapshot::fromFile(path);
    QCOMPARE(snap.keys(results).size(), 27);
    QCOMPARE(snap.value(results, QStringLiteral("0308")), QStringLiteral("A||26|0|||B"));
}

void TstIniFile::writeWindows1252OnDisk()
{
    // A first write creates the file, in Windows-1252.
    const QString path = QDir(newFolder()).filePath(QStringLiteral("Resultats2027.ini"));
    QVERIFY(WriteIni(path, QStringLiteral("Équipe"), QStringLiteral("Hélène"), QStringLiteral("5 € pour un cœur")));
    QCOMPARE(ReadFileBytes(path), QByteArray("[\xC9quipe]\r\nH\xE9l\xE8ne=5 \x80 pour un c\x9C" "ur\r\n"));
    QCOMPARE(ReadIni(path, QStringLiteral("éQUIPE"), QStringLiteral("HÉLÈNE")), QStringLiteral("5 € pour un cœur"));
    // Replacing it matches the accented names without regard to case too.
    QVERIFY(WriteIni(path, QStringLiteral("ÉQUIPE"), QStringLiteral("hélène"), QStringLiteral("Saint-Étienne")));
    QCOMPARE(ReadFileBytes(path), QByteArray("[\xC9quipe]\r\nH\xE9l\xE8ne=Saint-\xC9tienne\r\n"));
}

void TstIniFile::valueCannotInjectLines_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("CR LF") << QStringLiteral("1\r\n[Evil]\r\nx=y");
    QTest::newRow("LF") << QStringLiteral("1\n[Evil]\nx=y");
    QTest::newRow("CR") << QStringLiteral("1\r[Evil]\rx=y");
}

void TstIniFile::valueCannotInjectLines()
{
    QFETCH(QString, value);
    const QString path = storeWith("[S]\r\nk=0\r\nj=2\r\n");
    WriteIni(path, QStringLiteral("S"), QStringLiteral("k"), value);
    const QByteArray bytes = ReadFileBytes(path);
    QCOMPARE(bytes.count('\n'), 3);
    QCOMPARE(bytes.count('\r'), 3);
    QVERIFY(bytes.startsWith("[S]\r\nk=1"));
    QVERIFY(bytes.endsWith("\r\nj=2\r\n"));
    QCOMPARE(ReadIni(path, QStringLiteral("Evil"), QStringLiteral("x"), QStringLiteral("none")), QStringLiteral("none"));
    QCOMPARE(ReadIni(path, QStringLiteral("S"), QStringLiteral("x"), QStringLiteral("none")), QStringLiteral("none"));
}

void TstIniFile::invalidNamesRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("empty section") << "" << "k";
    QTest::newRow("blank section") << "   " << "k";
    QTest::newRow("section with bracket") << "a]b" << "k";
    QTest::newRow("section with CR") << "a\rb" << "k";
    QTest::newRow("blank key") << "S" << " ";
    QTest::newRow("key with equals") << "S" << "a=b";
    QTest::newRow("key with LF") << "S" << "a\n[T]";
}

void TstIniFile::invalidNamesRefused()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    const QString path = storeWith(MixedFile);
    QVERIFY(!WriteIni(path, section, key, QStringLiteral("v")));
    QCOMPARE(ReadFileBytes(path), MixedFile);
    IniDocument doc = IniDocument::fromBytes(MixedFile);
    QVERIFY(!doc.set(section, key, QStringLiteral("v")));
    QCOMPARE(doc.toBytes(), MixedFile);
    // No file appears for a refused first write either.
    const QString absent = QFileInfo(path).dir().filePath(QStringLiteral("absent.ini"));
    QVERIFY(!WriteIni(absent, section, key, QStringLiteral("v")));
    QVERIFY(!QFile::exists(absent));
}

void TstIniFile::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<int>("kind"); // -1: the folder is a plain file
    QTest::newRow("read-only folder") << int(WriteBlocker::ReadOnlyFolder);
    QTest::newRow("unreadable file") << int(WriteBlocker::UnreadableFile);
    QTest::newRow("disk full") << int(WriteBlocker::DiskFull);
    QTest::newRow("folder is a plain file") << -1;
}

void TstIniFile::failedWriteKeepsOldFile()
{
    QFETCH(int, kind);
    const QString path = storeWith(MixedFile);
    const QString folder = QFileInfo(path).path();
    if (kind < 0) {
        QVERIFY(!WriteIni(path + QStringLiteral("/Resultats2027.ini"), QStringLiteral("Maj"), QStringLiteral("Maj"), QStringLiteral("x")));
        QCOMPARE(ReadFileBytes(path), MixedFile);
        return;
    }
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
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList(QStringLiteral("Resultats2027.ini")));
}

void TstIniFile::settingsFileIsPrivate()
{
    // The settings hold the editor's password: created for its owner alone, and kept so.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("conf/Kestrava.ini"));
    const mode_t umaskBefore = umask(022);
    auto mode = [&] {
        struct stat st;
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
    };
    auto settings = QtSettingsStore::atPath(path);
    settings->write(QStringLiteral("MDP"), QStringLiteral("MDP"), QStringLiteral("s3cret"));
    const int created = mode();
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
    settings->write(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QStringLiteral("Editeur"));
    const int kept = mode();
    umask(umaskBefore);
    QCOMPARE(created, 0600);
    QCOMPARE(kept, 0600);
    QCOMPARE(QtSettingsStore::atPath(path)->read(QStringLiteral("mdp"), QStringLiteral("mdp"), {}),
        QStringLiteral("s3cret"));
}

QTEST_GUILESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
