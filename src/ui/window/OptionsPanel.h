#pragma once

#include "platform/ClickableWidgets.h"

#include <QStringList>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace kestrava {

class OptionsController;

// "Configuration": the favourite team, the four option boxes, the publisher's address with its
// "Vérifier et enregistrer", "Dream Team" and "Fermer". It draws
// the options model and forwards every choice to the controller.
class OptionsPanel : public OverlayPanel
{
    Q_OBJECT
public:
    OptionsPanel(OptionsController &controller, ButtonBarModel &buttons, QWidget *parent = nullptr);

    void refresh();

private:
    OptionsController &m_controller;
    QListWidget *m_list = nullptr;
    QLabel *m_crest = nullptr;
    QLabel *m_caption = nullptr;
    std::array<QCheckBox *, 4> m_boxes {}; // boxes 4, 5, 6 and 7
    QLineEdit *m_site = nullptr;           // "Adresse de l'éditeur"
    QStringList m_shownEntries;
    QString m_shownCaption;
};

} // namespace kestrava
