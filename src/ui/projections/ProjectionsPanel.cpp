#include "ProjectionsPanel.h"

#include "platform/ButtonBarModel.h"
#include "platform/Cards.h"
#include "projections/ProjectionsController.h"
#include "projections/ProjectionsItemModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QTableView>
#include <QVBoxLayout>

namespace kestrava {

namespace {
constexpr int RowHeight = 24;
constexpr int PositionWidth = 33;
} // namespace

ProjectionsPanel::ProjectionsPanel(ProjectionsController &controller, ButtonBarModel &buttons, QWidget *parent)
    : OverlayPanel(buttons, QStringLiteral("projectionsPanel"), parent)
    , m_controller(controller)
{

    QVBoxLayout *layout = openColumn(QStringLiteral("Projections de fin de saison"), 13, QMargins(18, 14, 18, 14), 8);
    m_status = ValueLabel(this, "projectionsStatus", 9, false);
    SetTextColour(m_status, Palette::Muted);
    layout->addWidget(m_status);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("projectionsProgress"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(8);
    layout->addWidget(m_progress);

    m_model = new ProjectionsItemModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("projectionsTable"));
    m_table->setModel(m_model);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setShowGrid(true);
    m_table->setIconSize(QSize(16, 16));
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(RowHeight);
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
    header->setFixedHeight(40);
    const int widths[] = {132, 36, 78, 62, 74, 62, 62, 72, 58};
    for (int c = 0; c < ProjectionsItemModel::FirstPosition; ++c)
        header->resizeSection(c, widths[c]);
    for (int c = ProjectionsItemModel::FirstPosition; c < ProjectionsItemModel::ColumnTotal; ++c)
        header->resizeSection(c, PositionWidth);
    m_table->setFont(UiFont(8.5));
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every club and every position in sight: no scrolling.
    int width = 2 * m_table->frameWidth();
    for (int c = 0; c < ProjectionsItemModel::ColumnTotal; ++c)
        width += header->sectionSize(c);
    m_table->setFixedSize(width, 2 * m_table->frameWidth() + header->height() + TeamCount * RowHeight);
    layout->addWidget(m_table, 0, Qt::AlignLeft);

    auto *bottom = new QHBoxLayout;
    auto *legend = new QLabel(
        QStringLiteral("« assuré », « impossible » et places possibles : calcul exact sur toutes les suites de "
                       "résultats. Pourcentages : saisons simulées. Case grise : place hors d'atteinte."),
        this);
    legend->setWordWrap(true);
    legend->setFont(UiFont(8));
    SetTextColour(legend, Palette::Muted);
    bottom->addWidget(legend, 1);
    bottom->addLayout(buttonRow({Btn::CloseProjections}));
    layout->addLayout(bottom);

    connect(&m_controller.model(), &ProjectionsModel::changed, this, &ProjectionsPanel::refresh);
    refresh();
}

void ProjectionsPanel::refresh()
{
    const ProjectionsModel &model = m_controller.model();
    m_status->setText(model.status);
    m_progress->setValue(qRound(model.progress * 100));
    SetShown(m_progress, model.running);
    if (model.report.get() != m_shownReport) {
        m_shownReport = model.report.get();
        m_model->setReport(model.report);
    }
    SetShown(this, model.visible);
}

} // namespace kestrava
