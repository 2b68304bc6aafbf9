// The match plan dialog "Spielplan". The plan panel gives it its title
// StaticText1: the text of the class shown, and as Tag which plan it lists (-1
// the whole class, else a group number). Its lists arrive with the viewer.
#pragma once

#include <QDialog>

class QLabel;

namespace bw {

class Tspielplan_form : public QDialog {
public:
    explicit Tspielplan_form(QWidget* parent);

    QLabel* StaticText1;
};

} // namespace bw
