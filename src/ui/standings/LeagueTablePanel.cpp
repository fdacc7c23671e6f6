#include "LeagueTablePanel.h"

#include "platform/Cards.h"
#include "standings/FormGuide.h"
#include "standings/LeagueTableItemModel.h"
#include "standings/LeagueTableView.h"
#include "standings/StandingsController.h"

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
    layout->addWidget(m_strip);

    layout->addWidget(m_tableView, 0, Qt::AlignLeft);

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
    refreshTable();
    refreshPanels();
}

void LeagueTablePanel::addBesideTitle(QWidget *widget)
{
    static_cast<QHBoxLayout *>(m_strip->layout())->addWidget(widget, 1);
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
}

void LeagueTablePanel::refreshPanels()
{
    const bool formGuide = m_controller.panels().formGuide;
    m_tableView->setFormGuideVisible(formGuide);
    SetShown(m_formLegend, formGuide);
}

} // namespace kestrava
