// The certificate dialog "UrkundePrepareForm": a right press on a name of a plan
// fills it (fillFromPlan), the pop-up "Urkunde drucken" shows it; the place
// starts as "1", a plan puts "??" there for the user to overwrite.
#pragma once

#include "output/layoutprintform.h"

namespace bw {

class TUrkundePrepareForm : public LayoutPrintForm {
    Q_OBJECT
public:
    TUrkundePrepareForm(QWidget* parent, Services& services);

    // The entrant's name as the plan shows it, his club and the plan's title
    // ("Spielplan für Herren A (Einzel)"): the class is the title without
    // "Spielplan für ", the place "??".
    void fillFromPlan(const QString& name, const QString& club, const QString& planTitle);

    QLineEdit* PlatzEdit;
};

} // namespace bw
