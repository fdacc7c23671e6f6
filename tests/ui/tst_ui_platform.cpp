// The window's platform services: the program's boxes (French buttons, the answer that was clicked,
// CR LF shown as a line break) and printing with no printer (a landscape PDF beside the program).
#include "UiTestKit.h"
#include "platform/WidgetDialogs.h"
#include "platform/WidgetPrinter.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kestrava;
using namespace kestrava::uitest;

namespace {

// What the box showed when it was answered.
struct Seen
{
    QStringList buttons;
    QString text;
};

// Waits for the next modal box, notes its buttons and text, types `typed` into its line edit if it
// has one, then clicks the button captioned `click`.
void answerNextBox(const QString &click, Seen &seen, const QString &typed = QString())
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, click, typed, &seen] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        timer->stop();
        timer->deleteLater();
        seen.buttons.clear();
        for (QPushButton *b : box->findChildren<QPushButton *>())
            seen.buttons.append(b->text());
        seen.buttons.sort();
        if (auto *m = qobject_cast<QMessageBox *>(box))
            seen.text = m->text();
        if (auto *edit = box->findChild<QLineEdit *>())
            edit->setText(typed);
        for (QPushButton *b : box->findChildren<QPushButton *>()) {
            if (b->text() == click) {
                b->click();
                return;
            }
        }
        box->close();
    });
    timer->start();
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void messageHasOneOkButton();
    void yesNo_data();
    void yesNo();
    void yesNoCancel_data();
    void yesNoCancel();
    void textBox();
    void printingWithoutPrinter_data();
    void printingWithoutPrinter();
};

void TestPlatform::messageHasOneOkButton()
{
    WidgetDialogs dialogs;
    Seen seen;
    answerNextBox(QStringLiteral("OK"), seen);
    dialogs.message(QStringLiteral("Absence du fichier 2027.txt\r\nDeuxième ligne"),
        QStringLiteral("Kestrava"), MessageIcon::None);
    QCOMPARE(seen.buttons, QStringList { QStringLiteral("OK") });
    QCOMPARE(seen.text, QStringLiteral("Absence du fichier 2027.txt\nDeuxième ligne"));
}

void TestPlatform::yesNo_data()
{
    QTest::addColumn<QString>("click");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Oui") << QStringLiteral("Oui") << true;
    QTest::newRow("Non") << QStringLiteral("Non") << false;
}

void TestPlatform::yesNo()
{
    QFETCH(QString, click);
    WidgetDialogs dialogs;
    Seen seen;
    answerNextBox(click, seen);
    QTEST(dialogs.askYesNo(QStringLiteral("Voulez vous télécharger ?"), QStringLiteral("Mise à jour")),
        "answer");
    QCOMPARE(seen.buttons, (QStringList { QStringLiteral("Non"), QStringLiteral("Oui") }));
}

void TestPlatform::yesNoCancel_data()
{
    QTest::addColumn<QString>("click");
    QTest::addColumn<int>("answer");
    QTest::newRow("Oui") << QStringLiteral("Oui") << int(Answer::Yes);
    QTest::newRow("Non") << QStringLiteral("Non") << int(Answer::No);
    QTest::newRow("Annuler") << QStringLiteral("Annuler") << int(Answer::Cancel);
}

void TestPlatform::yesNoCancel()
{
    QFETCH(QString, click);
    WidgetDialogs dialogs;
    Seen seen;
    answerNextBox(click, seen);
    QTEST(int(dialogs.askYesNoCancel(QStringLiteral("Enregistrer ?"), QStringLiteral("Kestrava"))), "answer");
    QCOMPARE(seen.buttons,
        (QStringList { QStringLiteral("Annuler"), QStringLiteral("Non"), QStringLiteral("Oui") }));
}

void TestPlatform::textBox()
{
    WidgetDialogs dialogs;
    Seen seen;
    answerNextBox(QStringLiteral("OK"), seen, QStringLiteral("7nord"));
    QCOMPARE(dialogs.askText(QStringLiteral("Mot de passe"), QStringLiteral("Kestrava")),
        std::optional<QString>(QStringLiteral("7nord")));
    QCOMPARE(seen.buttons, (QStringList { QStringLiteral("Annuler"), QStringLiteral("OK") }));

    answerNextBox(QStringLiteral("Annuler"), seen, QStringLiteral("7nord"));
    QCOMPARE(dialogs.askText(QStringLiteral("Mot de passe"), QStringLiteral("Kestrava")),
        std::optional<QString>());
}

void TestPlatform::printingWithoutPrinter_data()
{
    QTest::addColumn<QSize>("window"); // empty: no window to print
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<int>("pages");
    QTest::newRow("wide window") << QSize(900, 500) << true << 1;
    QTest::newRow("tall window, still landscape") << QSize(300, 700) << true << 1;
    QTest::newRow("twice: two pages, none overwritten") << QSize(400, 300) << true << 2;
    QTest::newRow("folder cannot be made: nothing claimed") << QSize(400, 300) << false << 0;
    QTest::newRow("no window: nothing printed") << QSize() << true << 0;
}

void TestPlatform::printingWithoutPrinter()
{
    QFETCH(QSize, window);
    QFETCH(bool, folderExists);
    QFETCH(int, pages);
    QTemporaryDir dir;
    // A missing folder is made (a fresh account's documents); one under a file cannot be.
    QVERIFY(folderExists || WriteFileBytes(dir.filePath(QStringLiteral("file")), "x"));
    const QString folder = folderExists ? dir.path() : dir.filePath(QStringLiteral("file/absent"));
    QLabel shown(QStringLiteral("Classement"));
    shown.resize(window);
    WidgetPrinter printer(folder, [] { return false; });
    if (window.isValid())
        printer.setWindow(&shown);
    if (!folderExists)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
    QStringList written;
    for (int i = 0; i < std::max(pages, 1); ++i) {
        const PrintOutcome out = printer.printWindow();
        QVERIFY(!out.printed);
        if (!out.pdfPath.isEmpty())
            written.append(out.pdfPath);
    }
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("Kestrava-impression-*.pdf")}).size(), pages);
    QCOMPARE(written.size(), pages);
    for (const QString &pdf : written) {
        const QSizeF page = PdfPageSize(ReadFileBytes(pdf));
        QVERIFY2(page.width() > page.height(), qPrintable(QStringLiteral("%1 x %2").arg(page.width()).arg(page.height())));
    }
}

QTEST_MAIN(TestPlatform)
#include "tst_ui_platform.moc"
