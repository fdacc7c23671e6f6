#include "NewsStrip.h"

#include "online/OnlineModels.h"
#include "platform/Cards.h"

#include <QHBoxLayout>

namespace kestrava {

NewsStrip::NewsStrip(NewsModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    m_introFrame = new QFrame(this);
    m_introFrame->setObjectName(QStringLiteral("introFrame"));
    m_introFrame->setProperty("kintro", true);
    auto *introRow = new QHBoxLayout(m_introFrame);
    introRow->setContentsMargins(10, 2, 10, 2);
    m_introText = ValueLabel(m_introFrame, "introText", 9.5, false);
    SetTextColour(m_introText, QColor(11, 64, 64));
    introRow->addWidget(m_introText);
    row->addWidget(m_introFrame, 1);

    m_columnTitles = new QWidget(this);
    m_columnTitles->setObjectName(QStringLiteral("columnTitles"));
    auto *titlesRow = new QHBoxLayout(m_columnTitles);
    titlesRow->setContentsMargins(0, 0, 0, 0);
    titlesRow->setSpacing(6);
    for (const QString &text : { QStringLiteral("dom. : Domicile"), QStringLiteral("ext. : Extérieur") }) {
        auto *chip = new QLabel(text, m_columnTitles);
        chip->setProperty("kchip", true);
        titlesRow->addWidget(chip);
    }
    row->addStretch(0);
    row->addWidget(m_columnTitles, 0, Qt::AlignRight | Qt::AlignBottom);

    connect(&m_model, &NewsModel::changed, this, &NewsStrip::refresh);
    refresh();
}

void NewsStrip::refresh()
{
    m_introText->setText(ScreenText(m_model.text));
    m_introText->setToolTip(ScreenText(m_model.text));
    SetShown(m_introFrame, m_model.visible);
    SetShown(m_columnTitles, m_model.columnTitles);
}

} // namespace kestrava
