// The online panels of the window against the real publisher's site (kestrava-site, started here on
// a free port of 127.0.0.1): the donors ticker, "Mise à Jour", and the editor's publishing frame with
// the real clipboard. Offscreen.
#include "DemoSite.h"
#include "NetworkDownloader.h"
#include "UiTestKit.h"
#include "matchdays/FixtureGridPanel.h"
#include "platform/SystemClipboard.h"
#include "platform/WidgetPrinter.h"
#include "platform/ClickableWidgets.h"
#include "window/MainWindow.h"
#include "platform/Style.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkProxyFactory>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace kestrava;
using namespace kestrava::uitest;

namespace {

// The program as main() builds it, with the real downloader and clipboard, pointed at the site.
// No donors file in its folder: it comes from the site.
struct Program : WindowProgram
{
    NetworkDownloader network { 3000 };
    SystemClipboard systemClipboard;

    explicit Program(const QString &siteBase)
    {
        downloader = &network;
        clipboardInUse = &systemClipboard;
        setSiteBase(siteBase);
    }
    // The window and the controller go before the services they were given.
    ~Program()
    {
        window.reset();
        controller.reset();
    }
};

QColor textColour(const QWidget *w)
{
    return w->palette().color(QPalette::WindowText);
}

} // namespace

class TestOnlineWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        ApplyApplicationStyle(*qApp);
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QByteArray log;
        QVERIFY2(m_site.start(QStringLiteral(KESTRAVA_SITE), &log), log.constData());
    }
    void init() { QVERIFY(m_site.reset(DataDir)); }

    void donorsPanelTicksFromTheSite()
    {
        Program p(base());
        QVERIFY(p.open());
        QVERIFY(!QFile::exists(p.path(QStringLiteral("don.L1"))));
        QWidget *panel = p.find(QStringLiteral("donorsPanel"));
        QVERIFY(!panel->isVisible());
        p.click(p.button(16));
        QVERIFY(panel->isVisible());
        // The list came from the site.
        QCOMPARE(ReadFileBytes(p.path(QStringLiteral("don.L1"))),
            ReadFileBytes(published(QStringLiteral("don.L1"))));
        QVERIFY(p.controller->donors().model().running);

        // The panel's own words.
        const QStringList texts = LabelTexts(panel);
        for (const char *words :
            { "Si vous vous reconnaissez dans cette liste, je vous remercie chaleureusement !",
                "Et, si vous voulez y apparaitre...",
                "Souvent les gens savent reconnaitre le travail effectué, C'est très plaisant, donc ce cadre "
                "est "
                "pour "
                "eux...",
                "Ce logiciel vous a plu..." })
            QVERIFY2(texts.contains(QString::fromUtf8(words)), words);

        // Each tick shows the next entry in its colour: the heading dark red, the names dark blue.
        auto *ticker = p.find<QLabel>(QStringLiteral("donorsTicker"));
        QCOMPARE(ticker->text(), QStringLiteral("Donateurs"));
        p.controller->donors().tick();
        QCOMPARE(ticker->text(), QStringLiteral("Merci a nos donateurs"));
        QCOMPARE(textColour(ticker), QColor(192, 0, 0));
        p.controller->donors().tick();
        QCOMPARE(ticker->text(), QStringLiteral("Supporter75"));
        QCOMPARE(textColour(ticker), QColor(0, 0, 192));
        // And the program's own timer drives it too.
        QTRY_COMPARE_WITH_TIMEOUT(ticker->text(), QStringLiteral("LeGone69"), 3000);

        // The pointer on the name pauses the ticker; moving on over the panel starts it again.
        QTest::mouseMove(ticker, ticker->rect().center());
        QTRY_VERIFY(!p.controller->donors().model().running);
        QTest::mouseMove(panel, QPoint(panel->width() / 2, panel->height() - 10));
        QTRY_VERIFY(p.controller->donors().model().running);

        // The picture leads to the donation page.
        p.click(p.find(QStringLiteral("donationLink")));
        QCOMPARE(p.shell.opened, QList<QUrl> { SiteAddresses(base()).donationPage() });

        // Inside the window, and "Fermer" closes it.
        QVERIFY(p.inside(panel));
        p.click(p.button(17));
        QVERIFY(!panel->isVisible());
        QVERIFY(!p.controller->donors().model().running);
    }
    void downloadGreysItsButton()
    {
        // A newer publication on the site.
        QByteArray store = ReadFileBytes(published(QStringLiteral("Resultats2027.ini")));
        store.replace(QByteArray("Maj=05 d\xe9"
                                 "c. 21:40"),
            QByteArray("Maj=06 d\xe9"
                       "c. 07:30"));
        QVERIFY(WriteFileBytes(published(QStringLiteral("Resultats2027.ini")), store));

        Program p(base());
        QVERIFY(p.open());
        BarButton *update = p.button(9);
        QCOMPARE(update->accessibleName(), QStringLiteral("Mise à Jour"));
        p.click(update);
        QVERIFY(p.controller->download().downloadDone());
        QCOMPARE(ReadFileBytes(p.path(QStringLiteral("Resultats2027.ini"))), store);

        // Once the pointer leaves it, the button is grey for the rest of the run.
        QTest::mouseMove(p.find(QStringLiteral("backdrop")), QPoint(600, p.window->height() - 6));
        QTRY_COMPARE(p.controller->buttons().button(9).background, ButtonColours::DownloadDone);
        const QImage picture = update->grab().toImage();
        QCOMPARE(QColor(picture.pixel(picture.width() / 2, 2)), QColor(200, 200, 200));

        // The last-update label in the colour that compares the files: newer here.
        QCOMPARE(p.label(QStringLiteral("lastUpdate")), QStringLiteral("06 déc. 07:30"));
        QCOMPARE(textColour(p.find(QStringLiteral("lastUpdate"))), QColor(0, 192, 0));
    }
    void publisherAddressTypedInConfiguration()
    {
        Program p(QStringLiteral("http://127.0.0.1:9/"));
        QVERIFY(p.open());
        p.click(p.button(Btn::Options));
        auto *edit = p.find<QLineEdit>(QStringLiteral("siteAddressEdit"));
        QVERIFY(edit->isVisible() && edit->isEnabled() && p.inside(p.button(Btn::CheckSiteAddress)));
        QCOMPARE(edit->text(), QStringLiteral("http://127.0.0.1:9/"));
        edit->selectAll();
        QTest::keyClicks(edit, base().chopped(1) + u'\r');
        QCOMPARE(p.settings.read(QStringLiteral("Site"), QStringLiteral("Base"), QString()), base());
        QTRY_COMPARE(edit->text(), base());
    }
    void publishingFrameForTheEditor()
    {
        Program p(base());
        p.settings.write(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QStringLiteral("Editeur"));
        QVERIFY(p.open());
        QVERIFY(!p.button(13)->isVisible());

        // The editor's password, then a click on the program's title shows "Expé Fichier".
        p.controller->session().password = QStringLiteral("7nord");
        p.click(p.find(QStringLiteral("programTitle")));
        QVERIFY(p.button(13)->isVisible());
        p.click(p.button(13));
        QWidget *frame = p.find(QStringLiteral("publishingPanel"));
        QVERIFY(frame->isVisible());
        QVERIFY(p.inside(frame));

        QCOMPARE(p.label(QStringLiteral("storeLabel")), QStringLiteral("Resultats2027.ini"));

        // The introduction: what the editor types comes back filtered, and the strip above the table
        // previews it.
        auto *intro = p.find<QPlainTextEdit>(QStringLiteral("introEdit"));
        QCOMPARE(intro->toPlainText(), p.controller->download().news().text);
        QVERIFY(p.find(QStringLiteral("introFrame"))->isVisible());
        intro->selectAll();
        intro->insertPlainText(QStringLiteral("Élan de la journée à venir, ça commence"));
        const QString filtered = QStringLiteral("Élan de la journee a venir, ca commence");
        QCOMPARE(intro->toPlainText(), filtered);
        QCOMPARE(intro->textCursor().position(), int(filtered.size()));
        QCOMPARE(p.label(QStringLiteral("introText")), filtered);

        // The version box opens on a double-click only.
        auto *version = p.find<QLineEdit>(QStringLiteral("versionEdit"));
        QVERIFY(version->isReadOnly());
        QTest::mouseDClick(version, Qt::LeftButton, {}, version->rect().center());
        QVERIFY(!version->isReadOnly());
        version->selectAll();
        QTest::keyClicks(version, QStringLiteral("1.1"));
        QCOMPARE(p.controller->publishing().model().versionText, QStringLiteral("1.1"));

        // A bonus: the team, 3.7 points, "Insérer": 3 is kept and listed.
        auto *team = p.find<QComboBox>(QStringLiteral("bonusTeam"));
        const int lens = team->findText(QStringLiteral("Lens"));
        team->setFocus();
        team->setCurrentIndex(lens - 1);
        QTest::keyClick(team, Qt::Key_Down);
        QCOMPARE(p.controller->publishing().model().chosenTeam, QStringLiteral("Lens"));
        auto *points = p.find<QLineEdit>(QStringLiteral("bonusPoints"));
        QTest::keyClicks(points, QStringLiteral("3.7"));
        QCOMPARE(p.controller->publishing().model().points, QStringLiteral("3.7"));
        p.click(p.button(30));
        QCOMPARE(points->text(), QStringLiteral("3"));
        auto *lines = p.find<QListWidget>(QStringLiteral("publishingBonusLines"));
        QCOMPARE(lines->findItems(QStringLiteral("Lens: [3]"), Qt::MatchExactly).size(), 1);

        // The pseudonym and the password come from the settings and go to the controller.
        auto *pseudo = p.find<QLineEdit>(QStringLiteral("pseudoEdit"));
        auto *password = p.find<QLineEdit>(QStringLiteral("passwordEdit"));
        QCOMPARE(pseudo->text(), QStringLiteral("Editeur"));
        QCOMPARE(password->text(), QStringLiteral("7nord"));
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        password->clear();
        p.controller->session().password = QString();
        QTest::keyClicks(password, QStringLiteral("kestrava"));
        QCOMPARE(p.controller->session().password, QStringLiteral("kestrava"));
        pseudo->selectAll();
        QTest::keyClicks(pseudo, QStringLiteral("Editeur 2"));
        QCOMPARE(p.controller->session().pseudo, QStringLiteral("Editeur 2"));

        // The store label opens the file.
        p.click(p.find(QStringLiteral("storeLabel")));
        QCOMPARE(
            p.shell.opened, QList<QUrl> { QUrl::fromLocalFile(p.path(QStringLiteral("Resultats2027.ini"))) });

        // "Importer des résultats...": the file chooser, the report as a question, the store after Oui.
        const QString file = p.path(QStringLiteral("L1.csv"));
        QVERIFY(WriteFileBytes(file, "Date,HomeTeam,AwayTeam,FTHG,FTAG\n23/04/2027,LOSC,St-Etienne,3,1\n"));
        p.dialogs.openFileAnswers = { file };
        p.dialogs.yesNoAnswers = { true };
        QVERIFY(p.button(Btn::ImportResults)->isVisible());
        p.click(p.button(Btn::ImportResults));
        QCOMPARE(p.dialogs.shown.value(p.dialogs.shown.size() - 2).kind, QStringLiteral("openfile"));
        QCOMPARE(p.dialogs.shown.last().kind, QStringLiteral("yesno"));
        QVERIFY2(p.dialogs.shown.last().text.startsWith(
                     QStringLiteral("Format : CSV\nLignes lues : 1\nRésultats écrits : 1\n")),
            qPrintable(p.dialogs.shown.last().text));
        QCOMPARE(IniSnapshot::fromFile(p.storePath()).value(Store::Results, QStringLiteral("3000")),
            QStringLiteral("E|||3|1|||R"));

        // "Envoyer": the store's path on the real clipboard, the upload page opened, the frame closed.
        p.click(p.button(14));
        QCOMPARE(QGuiApplication::clipboard()->text(),
            QDir::toNativeSeparators(p.path(QStringLiteral("Resultats2027.ini"))));
        QCOMPARE(p.shell.opened.value(1),
            SiteAddresses(base()).uploadPage(QStringLiteral("Editeur 2"), QStringLiteral("kestrava")));
        QVERIFY(!frame->isVisible() && !p.button(13)->isVisible());
        const IniSnapshot sent = IniSnapshot::fromFile(p.path(QStringLiteral("Resultats2027.ini")));
        QCOMPARE(sent.value(QStringLiteral("Texte"), QStringLiteral("Texte")), filtered);
        QCOMPARE(sent.value(QStringLiteral("CV"), QStringLiteral("CV")), QStringLiteral("1.1"));
    }
    void aboutBoxLinks()
    {
        Program p(base());
        QVERIFY(p.open());
        p.click(p.button(6));
        p.click(p.find(QStringLiteral("homeLink")));
        p.click(p.find(QStringLiteral("contactLink")));
        QCOMPARE(p.shell.opened.value(0), SiteAddresses(base()).homePage());
        QCOMPARE(p.label(QStringLiteral("contactLink")), QStringLiteral("Contact"));
        QVERIFY(p.shell.opened[1].toString().startsWith(base() + QStringLiteral("contacter.php?sub=")));
    }
    void barHoldsTheEditorsButtons()
    {
        Program p(base());
        QVERIFY(p.open());
        // The editor with unsaved entries: "Valider" and "Expé Fichier" both in the bar.
        p.controller->session().password = QStringLiteral("7nord");
        p.click(p.find(QStringLiteral("programTitle")));
        QVERIFY(p.button(13)->isVisible());
        p.click(p.find(QStringLiteral("programTitle")));
        QVERIFY(!p.button(13)->isVisible());
        p.click(p.find(QStringLiteral("programTitle")));
        QLineEdit *score = p.window->gridPanel()->row(0)->findChild<QLineEdit *>(QStringLiteral("r1"));
        p.click(score);
        QTest::keyClicks(score, QStringLiteral("1"));
        QVERIFY(p.button(1)->isVisible());

        const QWidget *header = p.find(QStringLiteral("header"));
        QList<QRect> placed;
        for (BarButton *b : header->findChildren<BarButton *>()) {
            if (!b->isVisible())
                continue;
            const QRect r(b->mapTo(header, QPoint()), b->size());
            QVERIFY2(header->rect().contains(r), qPrintable(b->accessibleName()));
            QVERIFY2(r.width() >= b->sizeHint().width(), qPrintable(b->accessibleName()));
            for (const QRect &other : std::as_const(placed))
                QVERIFY2(!other.intersects(r), qPrintable(b->accessibleName()));
            placed.append(r);
        }
        QVERIFY(p.window->width() <= 1366);
    }

private:
    QString base() const { return m_site.base(); }
    QString published(const QString &name) const { return m_site.published(name); }

    DemoSite m_site;
};

QTEST_MAIN(TestOnlineWindow)
#include "tst_ui_online.moc"
