#include "HighlightsPanel.h"

#include "platform/ButtonBarModel.h"
#include "platform/Cards.h"
#include "teamviews/ChartController.h"

#include <QVBoxLayout>

namespace kestrava {

namespace {
constexpr int PanelWidth = 372;
} // namespace

HighlightsPanel::HighlightsPanel(ChartController &controller, ButtonBarModel &buttons, QWidget *parent)
    : OverlayPanel(buttons, QStringLiteral("highlightsPanel"), parent)
    , m_controller(controller)
{
    setFixedWidth(PanelWidth);

    QVBoxLayout *layout = openColumn(QStringLiteral("Le plus de...."), 12, QMargins(18, 14, 18, 14), 4);
    for (int i = 0; i < HighlightCount; ++i) {
        layout->addSpacing(i == 0 ? 2 : 6);
        layout->addWidget(CaptionLabel(HighlightHeading(i), this));
        m_records[i] = ValueLabel(this, "highlight", 9.5, false);
        m_records[i]->setObjectName(QStringLiteral("highlight%1").arg(i));
        SetTextColour(m_records[i], Palette::Navy);
        layout->addWidget(m_records[i]);
    }
    layout->addSpacing(8);
    layout->addLayout(buttonRow({ Btn::CloseHighlights }));

    connect(&m_controller.highlights(), &HighlightsModel::changed, this, &HighlightsPanel::refresh);
    refresh();
}

void HighlightsPanel::refresh()
{
    const HighlightsModel &model = m_controller.highlights();
    for (int i = 0; i < HighlightCount; ++i)
        m_records[i]->setText(ScreenText(model.texts[i]));
    SetShown(this, model.visible);
}

} // namespace kestrava
