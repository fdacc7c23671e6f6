#include "ChartPanel.h"

#include "platform/ButtonBarModel.h"
#include "platform/Cards.h"
#include "season/CrestPixmap.h"
#include "teamviews/ChartBars.h"
#include "teamviews/ChartController.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace kestrava {

namespace {
constexpr int CrestSize = 36;
constexpr int ListWidth = 150;
} // namespace

ChartPanel::ChartPanel(ChartController &controller, ButtonBarModel &buttons, QWidget *parent)
    : OverlayPanel(buttons, QStringLiteral("chartPanel"), parent)
    , m_controller(controller)
{

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(8);

    auto *head = new QHBoxLayout;
    head->setSpacing(10);
    m_crest = new QLabel(this);
    m_crest->setObjectName(QStringLiteral("chartCrest"));
    m_crest->setFixedSize(CrestSize, CrestSize);
    head->addWidget(m_crest);
    m_title = TitleLabel(QString(), 13, this);
    m_title->setObjectName(QStringLiteral("chartTitle"));
    head->addWidget(m_title, 1);
    m_simulated = new QCheckBox(QStringLiteral("Voir aussi les matches simulés"), this);
    m_simulated->setObjectName(QStringLiteral("chartSimulated"));
    m_simulated->setCursor(Qt::PointingHandCursor);
    m_simulated->setToolTip(QStringLiteral("Cochée, le graphique compte aussi les journées à venir"));
    connect(m_simulated, &QCheckBox::clicked, this, [this](bool on) { m_controller.setSimulated(on); });
    head->addWidget(m_simulated, 0, Qt::AlignVCenter);
    layout->addLayout(head);

    auto *body = new QHBoxLayout;
    body->setSpacing(12);
    m_clubs = new QListWidget(this);
    m_clubs->setObjectName(QStringLiteral("chartClubs"));
    m_clubs->setAccessibleName(QStringLiteral("Equipes du graphique"));
    m_clubs->setFixedWidth(ListWidth);
    m_clubs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(
        m_clubs, &QListWidget::currentRowChanged, this, [this](int row) { m_controller.selectClub(row); });
    body->addWidget(m_clubs);
    m_bars = new ChartBars(m_controller.chart(), this);
    body->addWidget(m_bars, 1);
    layout->addLayout(body, 1);

    layout->addLayout(buttonRow({ Btn::ChartTeam, Btn::PrintChart, Btn::CloseChart }));

    connect(&m_controller.chart(), &EvolutionChartModel::changed, this, &ChartPanel::refresh);
    refresh();
}

void ChartPanel::refresh()
{
    const EvolutionChartModel &chart = m_controller.chart();
    if (m_title->text() != chart.title)
        m_title->setText(chart.title);
    if (chart.crestTeam != m_crestTeam) {
        m_crestTeam = chart.crestTeam;
        m_crest->setPixmap(m_crestTeam.isEmpty() ? QPixmap() : CrestPixmap(m_crestTeam, CrestSize));
    }
    if (m_simulated->isChecked() != chart.simulated)
        m_simulated->setChecked(chart.simulated);
    // The list takes its clubs once; its selection follows the model's without echo.
    if (m_clubs->count() != chart.clubs.size()) {
        const QSignalBlocker quiet(m_clubs);
        m_clubs->clear();
        m_clubs->addItems(chart.clubs);
    }
    if (m_clubs->currentRow() != chart.selected) {
        const QSignalBlocker quiet(m_clubs);
        m_clubs->setCurrentRow(chart.selected);
    }
    m_bars->refresh();
    SetShown(this, chart.visible);
}

} // namespace kestrava
