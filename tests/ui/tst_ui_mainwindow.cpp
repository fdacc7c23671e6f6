// The window on the demo season, offscreen: it shows what the models hold, and clicks and mouse
// moves reach the controller.
#include "UiTestKit.h"
#include "platform/WidgetPrinter.h"
#include "standings/LeagueTableItemModel.h"
#include "standings/LeagueTableView.h"
#include "platform/ClickableWidgets.h"
#include "window/MainWindow.h"
#include "window/SplashWindow.h"
#include "platform/Style.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace kestrava;
using namespace kestrava::uitest;
using namespace Qt::StringLiterals;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ApplyApplicationStyle(*qApp); }
    void opensOnTheDemoSeason()
    {
        WindowProgram p;
        QVERIFY(p.open());
        QCOMPARE(p.window->windowTitle(), QStringLiteral("Championnat de  Ligue 1 (2026 - 2027)"));

        const QAbstractItemModel *table = p.window->tableView()->model();
        QCOMPARE(table->rowCount(), 18);
        const int name = LeagueTableItemModel::columnOf(TableColumn::Name);
        QCOMPARE(table->index(0, name).data().toString(), QStringLiteral("Lens"));
        QVERIFY(p.window->tableView()->isVisible());

        // The leader box shows the model's text, its CR LF as a line break.
        QCOMPARE(p.label(QStringLiteral("leaderText")), QStringLiteral("Premier:\nLens"));
        QVERIFY(p.shown(QStringLiteral("leaderText")) && p.shown(QStringLiteral("leaderCrest")));

        QCOMPARE(p.label(QStringLiteral("goalsSummary")), ScreenText(p.controller->standings().table().goalsSummary()));
        QCOMPARE(p.label(QStringLiteral("lastUpdate")), QStringLiteral("05 déc. 21:40"));
        QVERIFY(p.shown(QStringLiteral("gamesInHandFrame")));

        // The demo store has an introduction text: it shows, and the column titles do not.
        QVERIFY(p.shown(QStringLiteral("introFrame")));
        QVERIFY(p.label(QStringLiteral("introText")).startsWith(QStringLiteral("Bienvenue")));
        for (const char *hidden : { "columnTitles", "tableTitle", "rankingsMenu", "optionsPanel" })
            QVERIFY2(!p.shown(QString::fromLatin1(hidden)), hidden);
    }
    void onlyBuiltButtonsAreShown()
    {
        WindowProgram p;
        QVERIFY(p.open());
        const ButtonBarModel &buttons = p.controller->buttons();
        for (int i = 0; i < ButtonCount; ++i) {
            const BarButton *b = p.button(i);
            if (!buttons.isShown(i))
                QVERIFY2(!b || !b->isVisible(), qPrintable(buttons.button(i).caption));
            else if (buttons.button(i).place == ButtonPlace::Bar)
                QVERIFY2(b && b->isVisible(), qPrintable(buttons.button(i).caption));
        }
        QVERIFY(p.button(20)->isVisible());
        QVERIFY(!p.button(9) || !p.button(9)->isVisible()); // the download is not built yet
        QVERIFY(!p.button(1) || !p.button(1)->isVisible()); // "Valider" waits for a typed result
    }
    void splashComesAndGoes()
    {
        TestProgram program;
        MainController &controller = program.make();
        SplashWindow splash(controller.splash());
        QVERIFY(!splash.isVisible());
        bool seenDuringStart = false;
        controller.setEventPump([&] { seenDuringStart = seenDuringStart || splash.isVisible(); });
        QVERIFY(controller.start());
        QVERIFY(seenDuringStart);
        QVERIFY(!splash.isVisible());
        const QStringList texts = [&] {
            QStringList all;
            for (const QLabel *l : splash.findChildren<QLabel *>())
                all.append(l->text());
            return all;
        }();
        QVERIFY(texts.contains(QStringLiteral("Ligue 1")));
        QVERIFY(texts.contains(QStringLiteral("2026 - 2027.")));
        QVERIFY(texts.contains(QStringLiteral("Version: 1.0")));
    }
    // A click on a bar button, the logo or a panel reaches the controller and back.
    void panelOpensAndCloses_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("closer");
        QTest::addColumn<QString>("panel");
        QTest::newRow("Classements") << u"button20"_s << u"button20"_s << u"rankingsMenu"_s;
        QTest::newRow("about box") << u"button6"_s << u"button26"_s << u"aboutBox"_s;
        QTest::newRow("options") << u"button27"_s << u"button28"_s << u"optionsPanel"_s;
        QTest::newRow("work list") << u"logo"_s << u"workList"_s << u"workList"_s;
    }
    void panelOpensAndCloses()
    {
        QFETCH(QString, opener);
        QFETCH(QString, closer);
        QFETCH(QString, panel);
        WindowProgram p;
        QVERIFY(p.open());
        p.click(p.find(opener));
        QVERIFY(p.shown(panel));
        // Every button's prologue closes the introduction: the column titles are back.
        QCOMPARE(p.shown(QStringLiteral("columnTitles")), opener.startsWith(u"button"));
        p.click(p.find(closer));
        QVERIFY(!p.shown(panel));
    }
    void panelJustOpenedIsInFront()
    {
        WindowProgram p;
        QVERIFY(p.open());
        const auto inFront = [&p](const QString &name) {
            if (!QTest::qWaitFor([&p, &name] { return p.shown(name); }))
                return false;
            QWidget *panel = p.find(name);
            QWidget *central = p.window->centralWidget();
            const QWidget *top = central->childAt(panel->mapTo(central, panel->rect().center()));
            return top == panel || panel->isAncestorOf(top);
        };
        const QList<QPair<int, QString>> openings = { { Btn::Teams, u"sheetPanel"_s },
            { Btn::Chart, u"chartPanel"_s }, { Btn::Highlights, u"highlightsPanel"_s },
            { Btn::Projections, u"projectionsPanel"_s }, { Btn::Teams, u"sheetPanel"_s } };
        for (const auto &[button, name] : openings) {
            p.controller->clickButton(button);
            QVERIFY2(inFront(name), qPrintable(name));
        }
        // Not every panel comes from a button: the card report opens over the sheet all the same.
        p.controller->matchdays().clickGoalsSummary();
        QVERIFY(inFront(u"cardReport"_s));
    }
    void matchdayNumberShowsTheTableAtThatMatchday()
    {
        WindowProgram p;
        QVERIFY(p.open());
        p.click(p.button(20));
        QCOMPARE(p.button(10)->accessibleName(), QStringLiteral("Classement par Journée"));
        p.click(p.button(10));
        QVERIFY(p.shown(QStringLiteral("matchdayList")));
        QVERIFY(p.window->tableView()->isColumnHidden(LeagueTableItemModel::FormColumn));

        auto *five = p.find(QStringLiteral("matchday5"));
        QVERIFY(five && five->isVisible());
        p.click(five);
        QVERIFY(p.shown(QStringLiteral("tableTitle")));
        QCOMPARE(p.label(QStringLiteral("tableTitle")), QStringLiteral("Classement à la Journée N°5"));
        const int played = LeagueTableItemModel::columnOf(TableColumn::Played);
        QCOMPARE(p.window->tableView()->model()->index(0, played).data().toString(), QStringLiteral("5"));

        // Any other button but the menu's "Fermer" removes the list.
        p.click(p.button(21));
        QVERIFY(!p.shown(QStringLiteral("matchdayList")) && !p.shown(QStringLiteral("tableTitle")));
    }
    void hoverPaintsTheButton()
    {
        WindowProgram p;
        QVERIFY(p.open());
        QTest::mouseMove(p.button(27), p.button(27)->rect().center());
        QTRY_COMPARE(p.controller->buttons().button(27).background, ButtonColours::Hover);
        QTest::mouseMove(p.find(QStringLiteral("backdrop")), QPoint(600, p.window->height() - 8));
        QTRY_COMPARE(p.controller->buttons().button(27).background, ButtonColours::Rest);
    }
    void hourglassWhileBusy()
    {
        WindowProgram p;
        QVERIFY(p.open());
        QList<Qt::CursorShape> duringRun;
        // Connected after the window: sees the cursor the window has just set.
        connect(p.controller.get(), &MainController::busyChanged, this, [&](bool busy) {
            if (busy)
                duringRun.append(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                                : Qt::ArrowCursor);
        });
        p.click(p.button(21));
        QVERIFY(!duringRun.isEmpty());
        for (const Qt::CursorShape shape : duringRun)
            QCOMPARE(shape, Qt::WaitCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
    void optionsPanelDrawsAndForwards()
    {
        WindowProgram p;
        p.settings.write(QStringLiteral("Data"), QStringLiteral("C4"), QStringLiteral("1"));
        QVERIFY(p.open());
        p.click(p.button(27));
        QVERIFY(p.shown(QStringLiteral("optionsPanel")));

        // Without the site the box shows the stored choice but cannot be used.
        auto *box4 = p.find<QCheckBox>(QStringLiteral("check4"));
        QVERIFY(box4->isChecked() && !box4->isEnabled() && !box4->toolTip().isEmpty());

        auto *box6 = p.find<QCheckBox>(QStringLiteral("check6"));
        QVERIFY(!box6->isChecked());
        p.click(box6);
        QCOMPARE(p.controller->options().model().trackingAid, 1);
        QVERIFY(box6->isChecked());

        // Choosing a team: caption, crest, box 5 and the yellow row in the table.
        auto *list = p.find<QListWidget>(QStringLiteral("favouriteList"));
        QCOMPARE(list->count(), 19);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Aucune"));
        QListWidgetItem *marseille = list->findItems(QStringLiteral("Marseille"), Qt::MatchExactly).value(0);
        QVERIFY(marseille);
        list->scrollToItem(marseille);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(marseille).center());
        QCOMPARE(p.controller->session().favouriteTeam, QStringLiteral("Marseille"));
        QCOMPARE(p.label(QStringLiteral("favouriteCaption")), QStringLiteral("Marseille"));
        QVERIFY(!p.find<QLabel>(QStringLiteral("favouriteCrest"))->pixmap().isNull());
        QVERIFY(p.find<QCheckBox>(QStringLiteral("check5"))->isChecked());
        const QAbstractItemModel *table = p.window->tableView()->model();
        const int name = LeagueTableItemModel::columnOf(TableColumn::Name);
        const QModelIndex row
            = table->match(table->index(0, name), Qt::DisplayRole, QStringLiteral("Marseille")).value(0);
        QCOMPARE(qvariant_cast<QBrush>(row.data(Qt::BackgroundRole)).color(), QColor(255, 255, 0));
    }
    void tableReactsToTheMouse()
    {
        using M = LeagueTableItemModel;
        WindowProgram p;
        p.settings.write(QStringLiteral("Data"), QStringLiteral("C6"), QStringLiteral("1"));
        QVERIFY(p.open());
        LeagueTableView *view = p.window->tableView();
        StandingsController &s = p.controller->standings();
        const auto at = [view](int row, int column) {
            return view->visualRect(view->model()->index(row, column)).center();
        };
        // The tracking rules follow the pointer over a figure.
        const QPoint pos = at(4, M::columnOf(TableColumn::GoalsFor));
        QMouseEvent move(QEvent::MouseMove, pos, view->viewport()->mapToGlobal(pos), Qt::NoButton, {}, {});
        QApplication::sendEvent(view->viewport(), &move);
        QCOMPARE(view->ruledRow(), 4);
        QCOMPARE(view->ruledColumn(), M::columnOf(TableColumn::GoalsFor));

        // A rank asks for the team's sheet; a name shows the lock, which reaches the controller.
        QSignalSpy sheet(&s, &StandingsController::teamSheetRequested);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(2, M::RankColumn));
        QCOMPARE(sheet.value(0).value(0).toString(), QStringLiteral("Marseille"));
        QVERIFY(!p.shown(QStringLiteral("secondClubLock")));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(7, M::columnOf(TableColumn::Name)));
        QVERIFY(p.shown(QStringLiteral("secondClubLock")));
        p.click(p.find(QStringLiteral("secondClubLock")));
        QVERIFY(s.panels().secondClubLock);

        // The reachable positions take the form guide's place: the table keeps its width.
        p.click(p.button(20));
        const int width = view->width();
        p.click(p.button(29));
        QVERIFY(!view->isColumnHidden(M::ReachableColumn) && view->isColumnHidden(M::FormColumn));
        QCOMPARE(view->sizeHint().width(), width);
        // A category switches it off; the header marks the column the rows are now ordered by.
        p.click(p.button(2));
        QVERIFY(view->isColumnHidden(M::ReachableColumn) && !view->isColumnHidden(M::FormColumn));
        const auto sorted = [view](TableColumn c) {
            return view->model()->headerData(M::columnOf(c), Qt::Horizontal, M::SortedRole).toBool();
        };
        QVERIFY(sorted(TableColumn::GoalsAgainst) && !sorted(TableColumn::Points));
    }
    void printingWithoutPrinterSaysWhereThePageWent()
    {
        WindowProgram p;
        QVERIFY(p.open());
        p.click(p.button(Btn::PrintBar));
        const QStringList pdfs = QDir(p.dir.path()).entryList({ QStringLiteral("Kestrava-impression-*.pdf") });
        QCOMPARE(pdfs.size(), 1);
        QCOMPARE(p.dialogs.shown.size(), 1);
        QVERIFY(p.dialogs.shown[0].text.contains(QDir::toNativeSeparators(QFileInfo(p.path(pdfs[0])).absoluteFilePath())));
    }
    void closingSavesTheOptions_data()
    {
        QTest::addColumn<bool>("byQuit");
        QTest::newRow("Quitter") << true;
        QTest::newRow("close box") << false;
    }
    void closingSavesTheOptions()
    {
        QFETCH(bool, byQuit);
        WindowProgram p;
        QVERIFY(p.open());
        QSignalSpy quit(p.controller.get(), &MainController::quitRequested);
        p.click(p.button(27));
        p.click(p.find<QCheckBox>(QStringLiteral("check6")));
        const int before = p.settings.writeCount();
        if (byQuit)
            p.click(p.button(0));
        else
            QVERIFY(p.window->close());
        QCOMPARE(quit.count(), byQuit ? 1 : 0);
        QVERIFY(p.settings.writeCount() > before);
        QCOMPARE(
            p.settings.read(QStringLiteral("Data"), QStringLiteral("C6"), QString()), QStringLiteral("1"));
        QVERIFY(!p.window->isVisible());
    }
    void fitsASmallScreen()
    {
        WindowProgram p;
        ForbiddenDownloader offline; // the online buttons are built, as in the real program
        p.downloader = &offline;
        QVERIFY(p.open());
        // Title bar and task bar leave about 700 of the 768 pixels of a small laptop.
        QVERIFY(p.window->width() <= 1366 && p.window->height() <= 700);
        QVERIFY(p.window->minimumSizeHint().width() <= 1366 && p.window->minimumSizeHint().height() <= 700);
        // Every panel that can open fits inside the window.
        p.click(p.button(20));
        p.click(p.button(31));
        p.click(p.button(10));
        const QRect inside = p.window->centralWidget()->rect();
        for (const char *name : { "rankingsMenu", "matchdayList", "bonusList", "leagueTable" }) {
            const QWidget *w = p.find(QString::fromLatin1(name));
            QVERIFY2(w && w->isVisible(), name);
            const QRect r(w->mapTo(p.window->centralWidget(), QPoint(0, 0)), w->size());
            QVERIFY2(inside.contains(r), name);
        }
        // The editor's wider bar: the season line gives way by whole words, never cut mid-word.
        p.controller->session().password = QStringLiteral("7nord");
        p.controller->matchdays().clickTitleLabel();
        QTRY_VERIFY(p.button(Btn::SendFile)->isVisible());
        const auto *season = p.find<QLabel>(QStringLiteral("seasonLine"));
        QVERIFY(season->fontMetrics().horizontalAdvance(season->text()) <= season->contentsRect().width());
        QVERIFY2(season->text().endsWith(QStringLiteral("(2026 - 2027)")), qPrintable(season->text()));
    }
    void projectionsView()
    {
        WindowProgram p;
        QVERIFY(p.open());
        p.controller->projections().setSimulations(2000);
        p.click(p.button(Btn::Rankings));
        p.click(p.button(Btn::Projections));
        QVERIFY(p.shown(QStringLiteral("projectionsPanel")) && p.shown(QStringLiteral("projectionsProgress")));
        QTRY_VERIFY_WITH_TIMEOUT(!p.controller->projections().model().running, 30000);
        const auto *table = p.find<QTableView>(QStringLiteral("projectionsTable"));
        const QAbstractItemModel *m = table->model();
        QCOMPARE(m->rowCount(), TeamCount);
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("Lens"));
        const int seventeenth = m->columnCount() - 2;
        QCOMPARE(m->headerData(seventeenth, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("Chance de finir 17e : Relégué en Ligue 2"));
        QVERIFY(m->index(0, seventeenth).data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("Lens : ")));
        QVERIFY(p.inside(table) && !p.shown(QStringLiteral("projectionsProgress")));
        QTest::keyClick(p.window.get(), Qt::Key_Escape);
        QVERIFY(!p.shown(QStringLiteral("projectionsPanel")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_ui_mainwindow.moc"
