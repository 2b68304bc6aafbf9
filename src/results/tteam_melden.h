// The team check-in dialog: the team's players and reserves with one check box
// each, so that the desk chooses who is checked in or out along with the team.
// It only asks; the caller writes the team's and the ticked members' flags in
// one transaction once the dialog has been confirmed, and "Abbrechen" writes
// nothing. Modal, without a close box.
#pragma once

#include "data/checkinrecords.h"

#include <QDialog>

#include <array>

class QLabel;
class TuiButton;
class TuiCheckbox;

namespace bw {

class Tteam_melden : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMembers = 6;

    explicit Tteam_melden(QWidget* parent = nullptr);

    // Captions for checking in ("Team anmelden", "anmelden") or out ("abmelden").
    void prepare(bool checkIn);
    // Empties the labels, ticks and hides every box, then shows one named box
    // per member in his slot (1-4 players, 5 and 6 reserves).
    void FormActivate(const QList<TeamMember>& members);
    // The players of the shown and ticked boxes.
    QList<int> tickedMembers() const;
    // Whether the dialog checks in (its caption is "Team anmelden").
    bool checksIn() const;

    std::array<QLabel*, kMembers> names{}; // st1..st4, r1, r2
    std::array<TuiCheckbox*, kMembers> boxes{}; // uiCheckbox1..uiCheckbox6
    std::array<int, kMembers> tags{}; // each box's player
    // Their modal results end the dialog: OK for "Übernehmen", Cancel for "Abbrechen".
    TuiButton* uiButton1; // "Übernehmen"
    TuiButton* uiButton2; // "Abbrechen"
};

} // namespace bw
