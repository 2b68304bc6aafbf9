// The match plan dialog "Spielplan". Its content arrives with the plan drawing.
#pragma once

#include <QDialog>

namespace bw {

class Tspielplan_form : public QDialog {
public:
    explicit Tspielplan_form(QWidget* parent);
};

} // namespace bw
