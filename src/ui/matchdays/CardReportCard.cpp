#include "CardReportCard.h"

#include "matchdays/MatchdaysController.h"
#include "platform/Cards.h"

namespace kestrava {

CardReportCard::CardReportCard(MatchdaysController &controller, QWidget *parent)
    : HoverFrame(parent)
    , m_controller(controller)
{
    StyleOverlay(this, "cardReport");
    MakeClosing(this, [this] { m_controller.clickCardReport(); });
    QVBoxLayout *report = CaptionedColumn(this, QStringLiteral("Cartons par journée"), QMargins(14, 10, 14, 12), 6);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("cardReportText"));
    m_text->setFont(UiFont(8.5));
    report->addWidget(m_text);
    hide();
    connect(&m_controller, &MatchdaysController::changed, this, &CardReportCard::refresh);
}

void CardReportCard::refresh()
{
    m_text->setText(ScreenText(m_controller.cardReport()));
    SetShown(this, m_controller.cardReportVisible());
}

} // namespace kestrava
