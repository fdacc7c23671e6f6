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

QColor colourOf(const QVariant &v)
{
    return qvariant_cast<QBrush>(v).color();
}

} // namespace

class TestTableModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void passesTheModelTester();
    void showsTheCoreCells();
    void followsTheCore();
    void headingsSpeltOut();
    void formGuideKeepsTheLastFiveOldestFirst();
    void formMarksAreDrawnFromTheLeft();
    void nothingSelectableOrEditable();
    void viewHidesTheFormGuideOnDemand();

private:
    void compute(int lastMatchday);
    int rowOf(const QString &name) const;

    SeasonData m_season;
    LeagueTableModel m_table;
};

void TestTableModel::initTestCase()
{
    QVERIFY(LoadSeasonFile(DataDir + QStringLiteral("/2027.txt"), m_season));
}

void TestTableModel::init()
{
    compute(0);
}

void TestTableModel::compute(int lastMatchday)
{
    const ResultsStore store(DataDir + QStringLiteral("/demo"));
    StandingsContext ctx;
    ctx.currentMatchday = 13;
    ComputeStandings(m_season, store.snapshot(), lastMatchday, false, ctx, m_table);
}

int TestTableModel::rowOf(const QString &name) const
{
    for (int r = 0; r < TeamCount; ++r) {
        if (m_table.cell(r, TableColumn::Name).text == name)
            return r;
    }
    return -1;
}

void TestTableModel::passesTheModelTester()
{
    M model(m_table, m_season);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // The tester checks every change as it is signalled.
    compute(5);
    compute(0);
    QCOMPARE(model.rowCount(), TeamCount);
    QCOMPARE(model.columnCount(), M::ColumnTotal);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
}

void TestTableModel::showsTheCoreCells()
{
    M model(m_table, m_season);
    const int name = M::columnOf(TableColumn::Name);
    QCOMPARE(model.index(0, name).data().toString(), QStringLiteral("Lens"));
    QCOMPARE(model.index(0, M::columnOf(TableColumn::Points)).data().toString(), QStringLiteral("32"));
    QCOMPARE(model.index(0, M::columnOf(TableColumn::Played)).data().toString(), QStringLiteral("13"));
    QCOMPARE(model.index(17, name).data().toString(), QStringLiteral("Lorient"));
    QCOMPARE(model.index(0, M::RankColumn).data().toString(), QStringLiteral("1"));
    QCOMPARE(model.index(17, M::RankColumn).data().toString(), QStringLiteral("18"));

    // Colours, bold and tooltips come from the core's cells.
    QCOMPARE(colourOf(model.index(0, name).data(Qt::BackgroundRole)), QColor(151, 222, 255));
    QCOMPARE(colourOf(model.index(17, name).data(Qt::BackgroundRole)), QColor(255, 128, 128));
    QCOMPARE(colourOf(model.index(8, name).data(Qt::BackgroundRole)), QColor(255, 255, 255));
    QCOMPARE(colourOf(model.index(3, M::columnOf(TableColumn::GoalsFor)).data(Qt::BackgroundRole)),
        QColor(192, 255, 192));
    QCOMPARE(colourOf(model.index(3, M::columnOf(TableColumn::GoalsAgainst)).data(Qt::BackgroundRole)),
        QColor(255, 224, 192));
    QCOMPARE(colourOf(model.index(3, M::columnOf(TableColumn::Draws)).data(Qt::BackgroundRole)),
        QColor(224, 224, 224));
    QVERIFY(qvariant_cast<QFont>(model.index(0, name).data(Qt::FontRole)).bold());
    QVERIFY(!qvariant_cast<QFont>(model.index(1, name).data(Qt::FontRole)).bold());
    QCOMPARE(model.index(17, name).data(Qt::ToolTipRole).toString(), QStringLiteral("Relégué en Ligue 2"));

    // A negative total after a malus is red in the view as in the core.
    m_table.setText(5, TableColumn::Points, QStringLiteral("-2"));
    QCOMPARE(colourOf(model.index(5, M::columnOf(TableColumn::Points)).data(Qt::ForegroundRole)),
        QColor(255, 0, 0));
    QCOMPARE(
        colourOf(model.index(4, M::columnOf(TableColumn::Points)).data(Qt::ForegroundRole)), QColor(0, 0, 0));

    // The crest sits beside the name, nowhere else.
    const QPixmap crest = qvariant_cast<QPixmap>(model.index(0, name).data(Qt::DecorationRole));
    QVERIFY(!crest.isNull());
    QVERIFY(!model.index(0, M::columnOf(TableColumn::Points)).data(Qt::DecorationRole).isValid());
}

void TestTableModel::followsTheCore()
{
    M model(m_table, m_season);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    compute(5);
    QCOMPARE(changed.count(), 1);
    const QModelIndex first = changed[0][0].value<QModelIndex>();
    const QModelIndex last = changed[0][1].value<QModelIndex>();
    QCOMPARE(first, model.index(0, 0));
    QCOMPARE(last, model.index(TeamCount - 1, M::ColumnTotal - 1));
    QCOMPARE(model.index(0, M::columnOf(TableColumn::Played)).data().toString(), QStringLiteral("5"));
}

void TestTableModel::headingsSpeltOut()
{
    M model(m_table, m_season);
    QSet<QString> seen;
    for (int c = 0; c < M::ColumnTotal; ++c) {
        const QString heading = model.headerData(c, Qt::Horizontal).toString();
        QVERIFY2(!heading.isEmpty(), qPrintable(QString::number(c)));
        QVERIFY2(!seen.contains(heading), qPrintable(heading));
        seen.insert(heading);
        QVERIFY(!model.headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
    }
    auto tip = [&](TableColumn c) {
        return model.headerData(M::columnOf(c), Qt::Horizontal, Qt::ToolTipRole).toString();
    };
    QCOMPARE(tip(TableColumn::HomeGoalsFor), QStringLiteral("Buts pour à domicile"));
    QCOMPARE(tip(TableColumn::AwayGoalsAgainst), QStringLiteral("Buts contre à l'extérieur"));
    QCOMPARE(tip(TableColumn::AwayWins), QStringLiteral("Matches gagnés à l'extérieur"));
    QCOMPARE(tip(TableColumn::HomeLosses), QStringLiteral("Matches perdus à domicile"));
}

void TestTableModel::formGuideKeepsTheLastFiveOldestFirst()
{
    M model(m_table, m_season);
    // Lens in the demo season: thirteen matches, the last five lost then won four times.
    QCOMPARE(
        model.index(rowOf(QStringLiteral("Lens")), M::FormColumn).data().toString(), QStringLiteral("PGGGG"));
    QCOMPARE(
        model.index(rowOf(QStringLiteral("Nice")), M::FormColumn).data().toString(), QStringLiteral("GGGGG"));
    QVERIFY(model.index(rowOf(QStringLiteral("Lens")), M::FormColumn)
                .data(Qt::ToolTipRole)
                .toString()
                .endsWith(QStringLiteral("Perdu, Gagné, Gagné, Gagné, Gagné")));
    compute(2);
    for (int r = 0; r < TeamCount; ++r)
        QVERIFY(model.index(r, M::FormColumn).data().toString().size() <= 2);
}

void TestTableModel::formMarksAreDrawnFromTheLeft()
{
    M model(m_table, m_season);
    FormGuideDelegate delegate;
    const int row = rowOf(QStringLiteral("Lens"));
    const QRect cell(0, 0, 100, LeagueTableView::RowHeight);
    auto paint = [&] {
        QImage image(cell.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        QStyleOptionViewItem option;
        option.rect = cell;
        delegate.paint(&p, option, model.index(row, M::FormColumn));
        return image;
    };
    // A point inside the left edge of slot `slot`, clear of its border and its letter.
    auto colourAt = [&](const QImage &image, int slot) {
        const int x = FormMarks::LeftPadding + slot * (FormMarks::Size + FormMarks::Gap) + 2;
        return image.pixelColor(x, cell.height() / 2);
    };

    QImage image = paint();
    QCOMPARE(colourAt(image, 0), FormColours::Lost);
    for (int slot = 1; slot < 5; ++slot)
        QCOMPARE(colourAt(image, slot), FormColours::Won);

    // Two matches: two marks on the left, the other slots empty.
    compute(2);
    const QString two = model.index(row, M::FormColumn).data().toString();
    QCOMPARE(two.size(), 2);
    image = paint();
    QCOMPARE(colourAt(image, 0), FormColour(two[0]));
    QCOMPARE(colourAt(image, 1), FormColour(two[1]));
    for (int slot = 2; slot < 5; ++slot)
        QCOMPARE(colourAt(image, slot), QColor(Qt::white));
}

void TestTableModel::nothingSelectableOrEditable()
{
    M model(m_table, m_season);
    for (int c = 0; c < M::ColumnTotal; ++c) {
        const Qt::ItemFlags f = model.flags(model.index(0, c));
        QVERIFY(f & Qt::ItemIsEnabled);
        QVERIFY(!(f & Qt::ItemIsSelectable));
        QVERIFY(!(f & Qt::ItemIsEditable));
    }
}

void TestTableModel::viewHidesTheFormGuideOnDemand()
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

QTEST_MAIN(TestTableModel)
#include "tst_ui_tablemodel.moc"
