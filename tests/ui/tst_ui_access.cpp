// The window without a mouse, offscreen: Tab reaches every button of the bar, Enter and Space act as
// a click, the keys of the frequent buttons and Escape work, and assistive technology sees push
// buttons with a "Press" action and entry boxes named by their club.
#include "UiTestKit.h"
#include "matchdays/FixtureGridPanel.h"
#include "platform/Style.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace kestrava;
using namespace kestrava::uitest;

class TestAccess : public QObject
{
    Q_OBJECT

    static void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow(),
                        Qt::Key(key), modifiers);
    }

private slots:
    void initTestCase()
    {
        ApplyApplicationStyle(*qApp);
        InstallAccessibility();
    }
    void tabReachesEveryBarButtonAndEnterPresses()
    {
        WindowProgram p;
        QVERIFY(p.open());
        QApplication::setActiveWindow(p.window.get());
        p.find(QStringLiteral("logo"))->setFocus(Qt::TabFocusReason);
        QSet<QWidget *> reached;
        for (int i = 0; i < 200 && QApplication::focusWidget(); ++i) {
            reached.insert(QApplication::focusWidget());
            key(Qt::Key_Tab);
        }
        const QList<BarButton *> bar = p.find(QStringLiteral("header"))->findChildren<BarButton *>();
        for (BarButton *b : bar) {
            if (b->isVisible())
                QVERIFY2(reached.contains(b), qPrintable(b->accessibleName()));
        }
        // Reaching a button is the pointer arriving over it: it takes the hover colour.
        p.button(Btn::Rankings)->setFocus(Qt::TabFocusReason);
        QCOMPARE(p.controller->buttons().button(Btn::Rankings).background, ButtonColours::Hover);
        key(Qt::Key_Return);
        QVERIFY(p.shown(QStringLiteral("rankingsMenu")));
        p.button(Btn::Rankings)->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Space);
        QVERIFY(!p.shown(QStringLiteral("rankingsMenu")));
        // The table from the keyboard: arrows choose a club, Enter opens its season, Ctrl+Enter its sheet.
        QWidget *table = p.find(QStringLiteral("leagueTable"));
        QVERIFY(reached.contains(table));
        table->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QVERIFY(p.controller->matchdays().grid().header.contains(QStringLiteral("Marseille")));
        key(Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(p.shown(QStringLiteral("sheetPanel")));
        QCOMPARE(p.controller->teamViews().sheet().team, QStringLiteral("Marseille"));
        QTest::keyClick(p.window.get(), Qt::Key_Escape);
        QVERIFY(!p.shown(QStringLiteral("sheetPanel")));
        // A month reached by Tab shows its matchdays, as the pointer over it does.
        p.find(QStringLiteral("month1"))->setFocus(Qt::TabFocusReason);
        QCOMPARE(p.controller->matchdays().calendar().shownMonth, 1);
    }
    void assistiveTechnologyPressesButtons()
    {
        WindowProgram p;
        QVERIFY(p.open());
        const auto press = [](QWidget *w) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            QVERIFY(a && a->role() == QAccessible::Button && a->actionInterface());
            QVERIFY(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
            a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        };
        QCOMPARE(QAccessible::queryAccessibleInterface(p.button(Btn::Options))->text(QAccessible::Name),
                 QStringLiteral("Configuration"));
        press(p.button(Btn::Options));
        QVERIFY(p.shown(QStringLiteral("optionsPanel")));
        press(p.find(QStringLiteral("goalsSummary")));
        QVERIFY(p.shown(QStringLiteral("cardReport")));
        // A label that only shows text stays a text for a screen reader.
        QCOMPARE(QAccessible::queryAccessibleInterface(p.find(QStringLiteral("progressText")))->role(),
                 QAccessible::StaticText);
    }
    void keysOfTheFrequentButtons()
    {
        WindowProgram p;
        QVERIFY(p.open());
        QApplication::setActiveWindow(p.window.get());
        QCOMPARE(p.button(Btn::Save)->toolTip(), QStringLiteral("Valider (Ctrl+S)"));
        // Ctrl+S does nothing while "Valider" is not on show.
        const QByteArray before = p.storeBytes();
        QTest::keyClick(p.window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(p.storeBytes(), before);

        QLineEdit *home = p.window->gridPanel()->row(0)->findChild<QLineEdit *>(QStringLiteral("r1"));
        const QString team = p.controller->matchdays().grid().row(0).home.text;
        QCOMPARE(home->accessibleName(), team + QStringLiteral(", buts"));
        QCOMPARE(p.window->gridPanel()->row(0)->findChild<QLineEdit *>(QStringLiteral("cj2"))->accessibleName(),
                 p.controller->matchdays().grid().row(0).away.text + QStringLiteral(", cartons jaunes"));
        home->setFocus();
        home->selectAll();
        QTest::keyClicks(home, QStringLiteral("7"));
        QTest::keyClick(home, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!p.controller->matchdays().grid().pending());
        QCOMPARE(ReadIni(p.storePath(), QStringLiteral("Resultats"), QStringLiteral("1300")).split(u'|').value(3),
                 QStringLiteral("7"));

        // Escape closes the panel on top, then the one under it.
        p.click(p.button(Btn::Rankings));
        p.click(p.button(Btn::BonusMalus));
        QTest::keyClick(p.window.get(), Qt::Key_Escape);
        QVERIFY(!p.shown(QStringLiteral("bonusList")) && p.shown(QStringLiteral("rankingsMenu")));
        QTest::keyClick(p.window.get(), Qt::Key_Escape);
        QVERIFY(!p.shown(QStringLiteral("rankingsMenu")));
    }
};

QTEST_MAIN(TestAccess)
#include "tst_ui_access.moc"
