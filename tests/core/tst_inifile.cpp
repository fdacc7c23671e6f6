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
                             "Maj=06 d\xE9" "c. 07:24\n"
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
    void write_data();
    void write();
    void invalidNamesRefused_data();
    void invalidNamesRefused();
    void settingsFileIsPrivate();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();

private:
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

QString TstIniFile::storeWith(const QByteArray &content)
{
    const QString folder = m_tmp->filePath(QStringLiteral("store%1").arg(++m_folders));
    const QString path = QDir(folder).filePath(QStringLiteral("Resultats2027.ini"));
    if (!QDir().mkpath(folder) || !WriteFileBytes(path, content))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Names match without regard to case (accents included); the first key and the first section of a
// name are the ones read.
void TstIniFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<default>" when not found
    auto add = [](const char *name, const QByteArray &content, const QString &section, const QString &key,
                   const QString &expected) { QTest::newRow(name) << content << section << key << expected; };
    add("plain", MixedFile, "Resultats", "0100", "R||3|0|1||0|D");
    add("section case", MixedFile, "RESULTATS", "0102", "M||2|2|4|3|0|C");
    add("key case, LF lines", MixedFile, "maj", "MAJ", QStringLiteral("06 déc. 07:24"));
    add("last line, key in lower case", MixedFile, "Pseudo", "Pseudo", QStringLiteral("Hélène"));
    add("key with blanks around, LF line", MixedFile, "Resultats", "0101", "Q|0||0|1|1||O");
    add("missing key", MixedFile, "Resultats", "0103", "<default>");
    add("missing section", MixedFile, "BonMal", "A", "<default>");
    add("comment is no key", MixedFile, "Maj", "; autre commentaire", "<default>");
    add("value after first equals", "[S]\r\nk=a=b=c\r\n", "S", "k", "a=b=c");
    add("empty value is found", "[S]\r\nk=\r\nj=1\r\n", "S", "k", "");
    add("first key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1");
    add("first section wins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n", "S", "k", "1");
    add("second copy of a section is not read", "[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n", "S", "j", "<default>");
    add("key before any section", "k=0\r\n[S]\r\nj=1\r\n", "S", "k", "<default>");
    add("accented names, any case", "[\xC9quipe]\r\n\xC9t\xE9=5 \x80\r\n", QStringLiteral("éQUIPE"), QStringLiteral("été"), QStringLiteral("5 €"));
    add("missing file", QByteArray(), "Resultats", "0100", "<default>");
}

void TstIniFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const QString dflt = QStringLiteral("<default>");
    const QString path = storeWith(content);
    if (content.isNull())
        QVERIFY(QFile::remove(path));
    QCOMPARE(ReadIni(path, section, key, dflt), expected);
    QCOMPARE(QFile::exists(path), !content.isNull()); // reading never creates the file
    const IniSnapshot snap = IniSnapshot::fromFile(path);
    QCOMPARE(snap.fileExists(), !content.isNull());
    QCOMPARE(snap.value(section, key, dflt), expected);
    QCOMPARE(snap.contains(section, key), expected != dflt);
}

// A value reads at most 1023 characters, without spilling into the next line; a write keeps it whole.
void TstIniFile::readCutsLongValues()
{
    for (int length : { 1023, 1024, 5000 }) {
        const QByteArray value = QByteArray("0123456789").repeated(500).left(length);
        const IniSnapshot snap = IniSnapshot::fromBytes("[Texte]\r\nTexte=" + value + "\r\nNext=1\r\n");
        QCOMPARE(snap.value(QStringLiteral("Texte"), QStringLiteral("Texte")), QString::fromLatin1(value.left(1023)));
        QCOMPARE(snap.value(QStringLiteral("Texte"), QStringLiteral("Next")), QStringLiteral("1"));
    }
    const QString path = storeWith("");
    QVERIFY(WriteIni(path, QStringLiteral("Texte"), QStringLiteral("Texte"), QString(2000, u'z')));
    QCOMPARE(ReadFileBytes(path), "[Texte]\r\nTexte=" + QByteArray(2000, 'z') + "\r\n");
}

// A write changes one line, or adds one to the end of its section (or a new section to the end of
// the file), in Windows-1252 with CR LF; every other byte stays as it was.
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
    add("first of two keys", "[S]\r\nk=1\r\nk=2\r\n", "S", "K", "9", "[S]\r\nk=9\r\nk=2\r\n");
    add("first of two sections", "[S]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "9", "[S]\r\nk=9\r\n[S]\r\nk=2\r\n");
    add("same value again", MixedFile, "Resultats", "0100", "R||3|0|1||0|D", MixedFile);
    add("new key after the section's last line", MixedFile, "RESULTATS", "0103", "E||1|3|1||0|L",
        mixedWith("0102=M||2|2|4|3|0|C\r\n", "0102=M||2|2|4|3|0|C\r\n0103=E||1|3|1||0|L\r\n"));
    add("new key in a LF section", MixedFile, "Maj", "0103", "x",
        mixedWith("\t; autre commentaire  \r\n", "\t; autre commentaire  \r\n0103=x\r\n"));
    add("new key after an unterminated last line", MixedFile, "Pseudo", "0103", "x", MixedFile + "\r\n0103=x\r\n");
    add("new section after an unterminated line", MixedFile, "BonMal", "A", "-2", MixedFile + "\r\n[BonMal]\r\nA=-2\r\n");
    add("new section after LF", "[Maj]\nMaj=x\n", "BonMal", "A", "-2", "[Maj]\nMaj=x\n[BonMal]\r\nA=-2\r\n");
    add("first write creates the file", QByteArray(), QStringLiteral("Équipe"), QStringLiteral("Hélène"),
        QStringLiteral("5 € pour un cœur"), "[\xC9quipe]\r\nH\xE9l\xE8ne=5 \x80 pour un c\x9C" "ur\r\n");
    add("accented names, other case", "[\xC9quipe]\r\nH\xE9l\xE8ne=x\r\n", QStringLiteral("ÉQUIPE"), QStringLiteral("hélène"),
        QStringLiteral("Saint-Étienne"), "[\xC9quipe]\r\nH\xE9l\xE8ne=Saint-\xC9tienne\r\n");
    // A line break in a value cannot start a line of its own (a forged section or key).
    add("CR LF in a value", "[S]\r\nk=0\r\nj=2\r\n", "S", "k", "1\r\n[Evil]\r\nx=y", "[S]\r\nk=1 [Evil] x=y\r\nj=2\r\n");
    add("LF in a value", "[S]\r\nk=0\r\n", "S", "k", "1\n[Evil]\nx=y", "[S]\r\nk=1 [Evil] x=y\r\n");
    add("CR in a value", "[S]\r\nk=0\r\n", "S", "k", "1\r[Evil]\rx=y", "[S]\r\nk=1 [Evil] x=y\r\n");
}

void TstIniFile::write()
{
    QFETCH(QByteArray, original);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, expected);
    const QString path = storeWith(original);
    if (original.isNull())
        QVERIFY(QFile::remove(path));
    QVERIFY(WriteIni(path, section, key, value));
    QCOMPARE(ReadFileBytes(path), expected);
    if (!value.contains(u'\n') && !value.contains(u'\r'))
        QCOMPARE(ReadIni(path, section, key), value);
}

void TstIniFile::invalidNamesRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("blank section") << "   " << "k";
    QTest::newRow("section with bracket") << "a]b" << "k";
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
    // No file appears for a refused first write either.
    const QString absent = QFileInfo(path).dir().filePath(QStringLiteral("absent.ini"));
    QVERIFY(!WriteIni(absent, section, key, QStringLiteral("v")));
    QVERIFY(!QFile::exists(absent));
}

// The file is replaced in one step: a write that fails leaves the old file whole and no stray file.
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
    const QString path = storeWith(MixedFile);
    const QString folder = QFileInfo(path).path();
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
