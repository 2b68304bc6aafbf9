// What the match dialog (results/tergebnis.h) needs of the plan panel of its
// class, and the work it hands on to result entry and the take-back. The plan
// panel implements MatchDialogPlanLink; the dialog calls it only after its
// write has committed, or, after a conflict with another desk, to rebuild the
// states from the database.
#pragma once

#include "data/matchdialogrecords.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace bw {

// What a called or started match holds: its entrants, table and umpire, and the
// group whose pools it uses (-1 outside groups).
struct HeldResources {
    int gruppe = -1;
    int sid1 = 0;
    int sid2 = 0;
    QString platte;
    QString schiri;
};

class MatchDialogPlanLink {
public:
    virtual ~MatchDialogPlanLink() = default;

    // A call-up was stored: the match's entrants, table and umpire leave the
    // pools, its icons show it called, and the open matches that lost them fall
    // back to waiting (planupdate).
    virtual void matchCalled(int spielnummer, const HeldResources& match) = 0;
    // A start was stored: its icons show it running. `takenNow` when it started
    // straight from open, whose resources leave the pools as at a call-up.
    virtual void matchStarted(int spielnummer, const std::optional<HeldResources>& takenNow) = 0;
    // statusladen: states, icons and pools of the class rebuilt from the
    // database (after another desk changed the match).
    virtual void rebuildStates() = 0;
};

// A result confirmed in the dialog ("Spiel beendet", "Korrigieren"), as result
// entry takes it over.
struct MatchFinish {
    int kid = 0;
    int spielnummer = 0;
    int gruppe = -1;
    int phase = 0;
    MatchStage expected = MatchStage::Running; // the state the dialog showed
    QDateTime spielende;                       // the end of the result shown (a correction)
    QStringList saetze;                        // set entries 1 .. 2S-1 as typed
    QString ergebnis;                          // one of the result items
    bool schiripool = false;                   // "Verlierer in Schiedsrichterpool übernehmen"
    bool mirroredIcon = false;                 // opened from the mirrored icon ("statusx")
    bool next = false;                         // "nächstes mögliches Spiel anzeigen"
};

} // namespace bw
