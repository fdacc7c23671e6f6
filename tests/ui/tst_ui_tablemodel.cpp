// The league table as Qt's views see it: the adapter over the core's table and the form marks.
#include "TestProgram.h"
#include "season/ResultsStore.h"
#include "standings/FormGuide.h"
#include "standings/LeagueTableItemModel.h"
#include "standings/LeagueTableView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

using M = LeagueTableItemModel;
using C = TableColumn;

// A role as text: a brush by its colour's name, a font by its weight, a pixmap as "crest".
QString shown(const QVariant &v)
{
    if (v.typeId() == QMetaType::QBrush)
        return qvariant_cast<QBrush>(v).color().name();
    if (v.typeId() == QMetaType::QFont)
        return qvariant_cast<QFont>(v).bold() ? QStringLiteral("bold") : QStringLiteral("plain");
    if (v.typeId() == QMetaType::QPixmap)
        return qvariant_cast<QPixmap>(v).isNull() ? QString() : QStringLiteral("crest");
    return v.toString();
}

} // namespace

class TestTableModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(LoadSeasonFile(DataDir + QStringLiteral("/2027.txt"), m_season)); }
    void init() { compute(0); }
    void passesTheModelTesterAndLocksCells()
    {
        M model(m_table, m_season);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        // The tester checks every change as it is signalled; one signal covers the whole table.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        compute(5);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].value<QModelIndex>(), model.index(0, 0));
        QCOMPARE(changed[0][1].value<QModelIndex>(), model.index(TeamCount - 1, M::ColumnTotal - 1));
        QCOMPARE(model.index(0, M::columnOf(C::Played)).data().toString(), QStringLiteral("5"));
        compute(0);
        QCOMPARE(model.rowCount(), TeamCount);
        QCOMPARE(model.columnCount(), M::ColumnTotal);
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);
        for (int c = 0; c < M::ColumnTotal; ++c)
            QCOMPARE(model.flags(model.index(0, c))
                    & (Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable),
                Qt::ItemIsEnabled);
    }
    void showsTheCoreCells_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("expected");
        const int name = M::columnOf(C::Name);
        const int bg = Qt::BackgroundRole;
        QTest::newRow("leader") << 0 << name << int(Qt::DisplayRole) << "Lens";
        QTest::newRow("points") << 0 << M::columnOf(C::Points) << int(Qt::DisplayRole) << "32";
        QTest::newRow("last") << 17 << name << int(Qt::DisplayRole) << "Lorient";
        QTest::newRow("rank 1") << 0 << int(M::RankColumn) << int(Qt::DisplayRole) << "1";
        QTest::newRow("champions blue") << 0 << name << bg << "#97deff";
        QTest::newRow("relegated red") << 17 << name << bg << "#ff8080";
        QTest::newRow("mid-table white") << 8 << name << bg << "#ffffff";
        QTest::newRow("goals for") << 3 << M::columnOf(C::GoalsFor) << bg << "#c0ffc0";
        QTest::newRow("goals against") << 3 << M::columnOf(C::GoalsAgainst) << bg << "#ffe0c0";
        QTest::newRow("draws") << 3 << M::columnOf(C::Draws) << bg << "#e0e0e0";
        QTest::newRow("leader bold") << 0 << name << int(Qt::FontRole) << "bold";
        QTest::newRow("relegated tip") << 17 << name << int(Qt::ToolTipRole) << "Relégué en Ligue 2";
        // Row 5 has a malus taking it below zero.
        QTest::newRow("negative red") << 5 << M::columnOf(C::Points) << int(Qt::ForegroundRole) << "#ff0000";
        QTest::newRow("positive black")
            << 4 << M::columnOf(C::Points) << int(Qt::ForegroundRole) << "#000000";
        QTest::newRow("crest by name") << 0 << name << int(Qt::DecorationRole) << "crest";
        QTest::newRow("no crest") << 0 << M::columnOf(C::Points) << int(Qt::DecorationRole) << "";
        // Row -1: the heading's tip.
        const int tip = Qt::ToolTipRole;
        QTest::newRow("head home for") << -1 << M::columnOf(C::HomeGoalsFor) << tip << "Buts pour à domicile";
        QTest::newRow("head away against")
            << -1 << M::columnOf(C::AwayGoalsAgainst) << tip << "Buts contre à l'extérieur";
        QTest::newRow("head away wins")
            << -1 << M::columnOf(C::AwayWins) << tip << "Matches gagnés à l'extérieur";
        QTest::newRow("head home losses")
            << -1 << M::columnOf(C::HomeLosses) << tip << "Matches perdus à domicile";
    }
    void showsTheCoreCells()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, role);
        QFETCH(QString, expected);
        M model(m_table, m_season);
        m_table.setText(5, C::Points, QStringLiteral("-2"));
        QCOMPARE(shown(row < 0 ? model.headerData(column, Qt::Horizontal, role)
                               : model.index(row, column).data(role)),
            expected);
    }
    void headingsSpeltOut()
    {
        M model(m_table, m_season);
        QSet<QString> seen;
        for (int c = 0; c < M::ColumnTotal; ++c) {
            const QString heading = model.headerData(c, Qt::Horizontal).toString();
            QVERIFY2(!heading.isEmpty() && !seen.contains(heading), qPrintable(QString::number(c) + heading));
            seen.insert(heading);
            QVERIFY(!model.headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
        }
    }
    void formGuideKeepsTheLastFiveOldestFirstFromTheLeft()
    {
        M model(m_table, m_season);
        FormGuideDelegate delegate;
        const int row = rowOf(QStringLiteral("Lens"));
        // Lens in the demo season: thirteen matches, the last five lost then won four times.
        const QModelIndex lens = model.index(row, M::FormColumn);
        QCOMPARE(lens.data().toString(), QStringLiteral("PGGGG"));
        QVERIFY(lens.data(Qt::ToolTipRole)
                    .toString()
                    .endsWith(QStringLiteral("Perdu, Gagné, Gagné, Gagné, Gagné")));
        QCOMPARE(model.index(rowOf(QStringLiteral("Nice")), M::FormColumn).data().toString(),
            QStringLiteral("GGGGG"));
        const QRect cell(0, 0, 100, LeagueTableView::RowHeight);
        // The colour inside the left edge of each of the five slots, clear of its border and letter.
        auto marks = [&] {
            QImage image(cell.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter p(&image);
            QStyleOptionViewItem option;
            option.rect = cell;
            delegate.paint(&p, option, model.index(row, M::FormColumn));
            QList<QColor> colours;
            for (int slot = 0; slot < 5; ++slot)
                colours << image.pixelColor(
                    FormMarks::LeftPadding + slot * (FormMarks::Size + FormMarks::Gap) + 2,
                    cell.height() / 2);
            return colours;
        };
        const QColor won = FormColours::Won;
        QCOMPARE(marks(), (QList<QColor> { FormColours::Lost, won, won, won, won }));

        // Two matches: two marks on the left, the other slots empty.
        compute(2);
        const QString two = model.index(row, M::FormColumn).data().toString();
        QCOMPARE(two.size(), 2);
        const QColor white(Qt::white);
        QCOMPARE(marks(), (QList<QColor> { FormColour(two[0]), FormColour(two[1]), white, white, white }));
    }
    void viewHidesTheFormGuideOnDemand()
    {
        M model(m_table, m_season);
        LeagueTableView view(&model);
        const int wide = view.sizeHint().width();
        QCOMPARE(view.sizeHint().height(),
            LeagueTableView::HeaderHeight + TeamCount * LeagueTableView::RowHeight + 2 * view.frameWidth());
        view.setFormGuideVisible(false);
        QVERIFY(view.isColumnHidden(M::FormColumn));
        QVERIFY(view.sizeHint().width() < wide);
        view.setFormGuideVisible(true);
        QVERIFY(!view.isColumnHidden(M::FormColumn));
        QCOMPARE(view.sizeHint().width(), wide);
    }

private:
    void compute(int lastMatchday)
    {
        const ResultsStore store(DataDir + QStringLiteral("/demo"));
        StandingsContext ctx;
        ctx.currentMatchday = 13;
        ComputeStandings(m_season, store.snapshot(), lastMatchday, false, ctx, m_table);
    }
    int rowOf(const QString &name) const
    {
        for (int r = 0; r < TeamCount; ++r) {
            if (m_table.cell(r, C::Name).text == name)
                return r;
        }
        return -1;
    }

    SeasonData m_season;
    LeagueTableModel m_table;
};

QTEST_MAIN(TestTableModel)
#include "tst_ui_tablemodel.moc"
