#pragma once

#include <QFrame>

class QLabel;

namespace kestrava {

class MainController;

// "A Propos": the program, its version, the publisher's pages and "Fermer".
//
// Object names: "aboutBox", "aboutVersion", "homeLink", "contactLink".
class AboutBox : public QFrame
{
    Q_OBJECT
public:
    explicit AboutBox(MainController &controller, QWidget *parent = nullptr);

    void refresh();

private:
    MainController &m_controller;
    QLabel *m_version = nullptr;
};

} // namespace kestrava
