#include "LeagueTablePanel.h"

#include "platform/Cards.h"
#include "standings/FormGuide.h"
#include "standings/LeagueTableItemModel.h"
#include "standings/LeagueTableView.h"
#include "standings/StandingsController.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kestrava {

LeagueTablePanel::LeagueTablePanel(StandingsController &controller, const SeasonData &season, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    m_tableModel = new LeagueTableItemModel(m_controller.table(), season, this);
    m_tableView = new LeagueTableView(m_tableModel, this);
    m_tableView->onNameClicked = [this](int row) { m_controller.clickTableRow(row); };
    m_tableView->onRankClicked = [this](int row) { m_controller.clickRankNumber(row); };
    m_tableView->onCellHovered = [this](int row, int column) { cellHovered(row, column); };
    // The rank numbers look clickable once the team sheets listen to them.
    m_tableView->rankClickable = m_controller.rankNumbersOpenSheets();

    // Above the table: its title, then the news or the column titles.
    m_strip = new QWidget(this);
    m_strip->setStyleSheet(WindowStyleSheet());
    m_strip->setFixedHeight(36);
    auto *stripRow = new QHBoxLayout(m_strip);
    stripRow->setContentsMargins(0, 0, 0, 0);
    stripRow->setSpacing(10);
    m_title = ValueLabel(m_strip, "tableTitle", 13, true);
    m_title->setWordWrap(false);
    SetTextColour(m_title, Palette::Navy);
    stripRow->addWidget(m_title);
    m_lock = new QCheckBox(QStringLiteral("Verrouiller (Recherche d'une deuxième équipe)"), m_strip);
    m_lock->setObjectName(QStringLiteral("secondClubLock"));
    m_lock->setCursor(Qt::PointingHandCursor);
    m_lock->setToolTip(
        QStringLiteral("Cochée, un clic sur une équipe marque ses matches contre l'équipe affichée"));
    connect(m_lock, &QCheckBox::clicked, this, [this](bool on) { m_controller.setSecondClubLock(on); });
    stripRow->addWidget(m_lock, 0, Qt::AlignRight);
    layout->addWidget(m_strip);

    m_tableRow = new QHBoxLayout;
    m_tableRow->setSpacing(0);
    m_tableRow->addWidget(m_tableView, 0, Qt::AlignLeft | Qt::AlignTop);
    m_tableRow->addStretch(1);
    layout->addLayout(m_tableRow);

    auto *below = new QHBoxLayout;
    below->setContentsMargins(2, 2, 2, 0);
    m_formLegend = new FormLegend(this);
    m_formLegend->setObjectName(QStringLiteral("formLegend"));
    below->addWidget(m_formLegend);
    below->addStretch(1);
    auto *updateCaption = new QLabel(QStringLiteral("Dernière mise à jour des résultats :"), this);
    SetTextColour(updateCaption, Palette::Muted);
    below->addWidget(updateCaption);
    m_lastUpdate = new ClickableLabel(this);
    m_lastUpdate->setObjectName(QStringLiteral("lastUpdate"));
    m_lastUpdate->setFont(UiFont(9, true));
    below->addWidget(m_lastUpdate);
    layout->addLayout(below);

    // The column keeps its width when the form guide is hidden, so the side panel does not move.
    m_tableView->setFormGuideVisible(true);
    setFixedWidth(m_tableView->sizeHint().width());

    connect(&m_controller.table(), &LeagueTableModel::changed, this, &LeagueTablePanel::refreshTable);
    connect(&m_controller.panels(), &StandingsPanels::changed, this, &LeagueTablePanel::refreshPanels);
    connect(&m_controller.tracking(), &TableTrackingModel::changed, this, &LeagueTablePanel::refreshRules);
    refreshTable();
    refreshPanels();
    refreshRules();
}

void LeagueTablePanel::addBesideTitle(QWidget *widget)
{
    // Between the title and the lock.
    static_cast<QHBoxLayout *>(m_strip->layout())->insertWidget(1, widget, 1);
}

void LeagueTablePanel::addBesideTable(QWidget *widget)
{
    m_tableRow->insertWidget(0, widget, 0, Qt::AlignTop);
    setFixedWidth(width() + widget->width() + m_tableRow->spacing());
}

void LeagueTablePanel::cellHovered(int row, int column)
{
    using M = LeagueTableItemModel;
    const int name = M::columnOf(TableColumn::Name);
    if (column == M::RankColumn || column == name)
        m_controller.hoverTableRow(row);
    else if (column > name && column < M::FormColumn)
        m_controller.hoverTableCell(row, TableColumn(column - M::FirstCellColumn));
}

void LeagueTablePanel::refreshRules()
{
    const TableTrackingModel &tracking = m_controller.tracking();
    const bool column = tracking.group() != TableTrackingModel::Group::None;
    m_tableView->setRules(tracking.ruledRow(),
                          column ? LeagueTableItemModel::columnOf(tracking.ruledColumn()) : -1);
}

void LeagueTablePanel::setLastUpdateClick(std::function<void()> click)
{
    m_lastUpdate->setOnClick(std::move(click));
}

void LeagueTablePanel::refreshTable()
{
    const LeagueTableModel &table = m_controller.table();
    m_title->setText(table.title());
    SetShown(m_title, !table.title().isEmpty());
    m_lastUpdate->setText(table.lastUpdate());
    m_lastUpdate->setToolTip(table.lastUpdateTooltip());
    SetTextColour(m_lastUpdate, ToColour(table.lastUpdateColour()));
    m_tableView->setReachableVisible(table.possibleRankingVisible());
    refreshPanels();
}

void LeagueTablePanel::refreshPanels()
{
    const StandingsPanels &panels = m_controller.panels();
    m_tableView->setFormGuideVisible(panels.formGuide);
    SetShown(m_formLegend, panels.formGuide && !m_controller.table().possibleRankingVisible());
    SetShown(m_lock, panels.secondClubLockShown);
    if (m_lock->isChecked() != panels.secondClubLock)
        m_lock->setChecked(panels.secondClubLock);
}

} // namespace kestrava
