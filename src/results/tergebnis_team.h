// The result dialog of a team match ("Spielverwaltung"). The plan panel sets it
// up for the team class it loads (game rows, captions, result items), which it
// keeps; the rows themselves arrive with team result entry.
#pragma once

#include "results/resultdialogsetup.h"

#include <QDialog>

class QComboBox;
class TuiCheckbox;

namespace bw {

class Tergebnis_team : public QDialog {
public:
    explicit Tergebnis_team(QWidget* parent);

    QComboBox* ergebniscombo; // the result of the whole team match
    TuiCheckbox* next;        // "nächstes mögliches Spiel anzeigen"
    TuiCheckbox* next1;       // "nächstes mögliches Spiel aufrufen"

    // Fills the team result list; the set-up is kept for the game rows.
    void setResultSetup(const ResultDialogSetup& setup);
    const ResultDialogSetup& resultSetup() const { return m_setup; }

private:
    ResultDialogSetup m_setup;
};

} // namespace bw
