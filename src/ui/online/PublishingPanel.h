#pragma once

#include "platform/ClickableWidgets.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace kestrava {

class PublishingController;
class Session;

// "Expédition fichier", the editor's publishing frame: the introduction text, the version to
// announce, bonuses and penalties, the pseudonym and password, and the sending buttons. Every
// change goes to the controller and the boxes show back what the model keeps.
//
// Object names: "introEdit", "ownVersion", "versionEdit", "bonusTeam", "bonusPoints",
// "publishingBonusLines", "pseudoEdit", "passwordEdit", "storeLabel".
class PublishingPanel : public OverlayPanel
{
    Q_OBJECT
public:
    PublishingPanel(PublishingController &controller, Session &session, QWidget *parent = nullptr);

    void refresh();

private:
    PublishingController &m_controller;
    Session &m_session;
    QPlainTextEdit *m_intro = nullptr;
    QLabel *m_ownVersion = nullptr;
    QLineEdit *m_version = nullptr;
    QComboBox *m_team = nullptr;
    QLineEdit *m_points = nullptr;
    QListWidget *m_bonusLines = nullptr;
    QLineEdit *m_pseudo = nullptr;
    QLineEdit *m_password = nullptr;
    ClickableLabel *m_store = nullptr;
};

} // namespace kestrava
