// The program's boxes: French buttons, the answer that was clicked, CR LF shown as a line break.
#include "platform/WidgetDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kestrava;

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

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void messageHasOneOkButton();
    void yesNo_data();
    void yesNo();
    void yesNoCancel_data();
    void yesNoCancel();
    void textBox();
};

void TestDialogs::messageHasOneOkButton()
{
    WidgetDialogs dialogs;
    Seen seen;
    answerNextBox(QStringLiteral("OK"), seen);
    dialogs.message(QStringLiteral("Absence du fichier 2027.txt\r\nDeuxième ligne"),
        QStringLiteral("Kestrava"), MessageIcon::None);
    QCOMPARE(seen.buttons, QStringList { QStringLiteral("OK") });
    QCOMPARE(seen.text, QStringLiteral("Absence du fichier 2027.txt\nDeuxième ligne"));
}

void TestDialogs::yesNo_data()
{
    QTest::addColumn<QString>("click");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Oui") << QStringLiteral("Oui") << true;
    QTest::newRow("Non") << QStringLiteral("Non") << false;
}

void TestDialogs::yesNo()
{
    QFETCH(QString, click);
    WidgetDialogs dialogs;
    Seen seen;
    answerNextBox(click, seen);
    QTEST(dialogs.askYesNo(QStringLiteral("Voulez vous télécharger ?"), QStringLiteral("Mise à jour")),
        "answer");
    QCOMPARE(seen.buttons, (QStringList { QStringLiteral("Non"), QStringLiteral("Oui") }));
}

void TestDialogs::yesNoCancel_data()
{
    QTest::addColumn<QString>("click");
    QTest::addColumn<int>("answer");
    QTest::newRow("Oui") << QStringLiteral("Oui") << int(Answer::Yes);
    QTest::newRow("Non") << QStringLiteral("Non") << int(Answer::No);
    QTest::newRow("Annuler") << QStringLiteral("Annuler") << int(Answer::Cancel);
}

void TestDialogs::yesNoCancel()
{
    QFETCH(QString, click);
    WidgetDialogs dialogs;
    Seen seen;
    answerNextBox(click, seen);
    QTEST(int(dialogs.askYesNoCancel(QStringLiteral("Enregistrer ?"), QStringLiteral("Kestrava"))), "answer");
    QCOMPARE(seen.buttons,
        (QStringList { QStringLiteral("Annuler"), QStringLiteral("Non"), QStringLiteral("Oui") }));
}

void TestDialogs::textBox()
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

QTEST_MAIN(TestDialogs)
#include "tst_ui_dialogs.moc"
