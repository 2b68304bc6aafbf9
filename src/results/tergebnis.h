// The result dialog of a single or doubles match ("Spielverwaltung"). The plan
// panel sets it up for the class it loads: the set entries shown and the
// result items. The rest of its content arrives with result entry.
#pragma once

#include "results/resultdialogsetup.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;
class TuiCheckbox;

namespace bw {

class Tergebnis : public QDialog {
public:
    explicit Tergebnis(QWidget* parent);

    // The set entries satz1 .. satz9.
    std::array<QLineEdit*, 9> satz{};
    QComboBox* ergebniscombo;
    TuiCheckbox* next;  // "nächstes mögliches Spiel anzeigen"
    TuiCheckbox* next1; // "nächstes mögliches Spiel aufrufen"

    // Shows the set entries 1 .. 2S-1 and fills the result list; the set-up is kept.
    void setResultSetup(const ResultDialogSetup& setup);
    const ResultDialogSetup& resultSetup() const { return m_setup; }

private:
    ResultDialogSetup m_setup;
};

} // namespace bw
