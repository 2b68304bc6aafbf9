// The print-size dialog "Drucken": before a knock-out plan prints, the user
// chooses one of five sizes and the paper orientation. Each size entry tells how
// many A4 sheets the plan takes, across by down; the entries follow the
// orientation chosen. Only "Drucken" ends the dialog with QDialog::Accepted;
// "Abbrechen", Escape and closing the window end it without printing.
#pragma once

#include "output/koplanprint.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class TuiButton;

namespace bw {

class Tdruck_form : public QDialog {
    Q_OBJECT
public:
    explicit Tdruck_form(QWidget* parent);

    QGroupBox* RadioGroup1; // "Druckgröße": the sizes 0..4
    QGroupBox* RadioGroup2; // "Druckformat": "Hochformat", "Querformat"
    TuiButton* uiButton1;   // "Drucken"
    TuiButton* uiButton2;   // "Abbrechen"
    // The plan the entries describe: 1 knock-out, 2 double knock-out.
    int Tag = 0;

    // Records the plan and writes the five entries for portrait.
    void fillEntries(const koprint::PlanFigures& figures);

    // The chosen size (RadioGroup1's index) and orientation (RadioGroup2's).
    int size() const;
    koprint::Orientation orientation() const;
    void setSize(int size);
    void setOrientation(koprint::Orientation orientation);
    QString entryText(int size) const;

protected:
    // Every showing starts at size 2 in portrait.
    void showEvent(QShowEvent* event) override;

private:
    void RadioGroup2Click();
    void writeEntries(koprint::Orientation orientation);

    QButtonGroup* m_sizes;
    QButtonGroup* m_formats;
    koprint::PlanFigures m_figures;
};

} // namespace bw
