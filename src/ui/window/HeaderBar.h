#pragma once

#include <QWidget>

namespace kestrava {

class MainController;

// The navy band across the top of the window: the league logo (a click shows the work list of the
// last run), the program's name (the editor's click shows or hides "Expé Fichier"), the season,
// and the bar's buttons.
//
// Object names: "header", "logo", "programTitle", "button<i>".
class HeaderBar : public QWidget
{
    Q_OBJECT
public:
    explicit HeaderBar(MainController &controller, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kestrava
