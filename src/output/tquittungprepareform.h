// The receipt dialog "Quittung drucken", opened by the player page's button
// "Quittung" with that page's player (fill). The amount shows with two decimals
// and may be changed before printing.
#pragma once

#include "output/layoutprintform.h"

namespace bw {

class TQuittungPrepareForm : public LayoutPrintForm {
    Q_OBJECT
public:
    TQuittungPrepareForm(QWidget* parent, Services& services);

    // Name "Nachname, Vorname", the club, no class, and the amount to pay as
    // the player page shows it: a number becomes "12,50", anything else "0,00".
    void fill(const QString& nachname, const QString& vorname, const QString& verein, const QString& amount);

    QLineEdit* BetragEdit;
};

} // namespace bw
