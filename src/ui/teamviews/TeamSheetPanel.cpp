#include "TeamSheetPanel.h"

#include "platform/ButtonBarModel.h"
#include "platform/Cards.h"
#include "teamviews/SheetPage.h"
#include "teamviews/TeamViewsController.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace kestrava {

namespace {
constexpr int ListWidth = 168;
} // namespace

TeamSheetPanel::TeamSheetPanel(TeamViewsController &controller, ButtonBarModel &buttons, QWidget *parent)
    : OverlayPanel(buttons, QStringLiteral("sheetPanel"), parent)
    , m_controller(controller)
{

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(14);

    auto *side = new QVBoxLayout;
    side->setSpacing(8);
    side->addWidget(TitleLabel(QStringLiteral("Equipes"), 12, this));
    m_clubs = new QListWidget(this);
    m_clubs->setObjectName(QStringLiteral("clubList"));
    m_clubs->setFixedWidth(ListWidth);
    m_clubs->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_clubs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(
        m_clubs, &QListWidget::currentRowChanged, this, [this](int row) { m_controller.selectClub(row); });
    side->addWidget(m_clubs, 1);

    auto *exportLink = new ClickableLabel(this);
    exportLink->setObjectName(QStringLiteral("exportCalendar"));
    exportLink->setText(QStringLiteral("Exporter le calendrier"));
    exportLink->setProperty("klink", true);
    exportLink->setToolTip(QStringLiteral("Les matches de l'équipe dans un fichier de calendrier (.ics)"));
    exportLink->setOnClick([this] { m_controller.exportCalendar(); });
    side->addWidget(exportLink);
    side->addLayout(buttonRow({ Btn::PrintTeamSheet, Btn::CloseTeamSheet }));
    layout->addLayout(side);

    m_page = new SheetPage(m_controller, this);
    layout->addWidget(m_page, 1);

    connect(&m_controller.sheet(), &TeamSheetModel::changed, this, &TeamSheetPanel::refresh);
    refresh();
}

void TeamSheetPanel::refresh()
{
    const TeamSheetModel &sheet = m_controller.sheet();
    // The list takes its clubs once; the window's selection follows the model's without echo.
    if (m_clubs->count() != sheet.clubs.size()) {
        m_clubs->clear();
        m_clubs->addItems(sheet.clubs);
    }
    if (m_clubs->currentRow() != sheet.selected) {
        const QSignalBlocker quiet(m_clubs);
        m_clubs->setCurrentRow(sheet.selected);
    }
    SetShown(this, sheet.visible);
}

} // namespace kestrava
