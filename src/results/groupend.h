// What recording a group match does to the standings, without widgets: the
// group's counters and ranking, the end of the group (its entrants sent on
// into the slots and places waiting for their places) and the end of the phase
// (the best-placed list sent on into the next phase).
//
// It runs in two steps, so that nobody waits for a person while the database
// is locked:
//   1. decideStandings(), before the recording's transaction: works out the
//      group and the phase as they will be with the new result and asks the
//      tie resolver for what the ranking leaves tied when the group or the
//      phase ends.
//   2. writeStandings(), inside the recording's transaction after the match
//      row is stored: works it all out again from the stored rows and writes
//      it. When a tie that the user ordered is no longer the one he saw, or a
//      tie appears that he was not asked about (another desk recorded a match
//      of the group or the phase meanwhile), it refuses with kStandingsChanged
//      and the whole recording rolls back.
// The information boxes "Gruppe beendet" and "Phase beendet" are shown after
// the commit (announceStandings).
#pragma once

#include "results/standings.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace bw {

class Prompter;

inline const QString kStandingsChanged =
    QStringLiteral("Das Spiel wurde inzwischen an einem anderen Arbeitsplatz geändert.");
inline const QString kGruppeBeendet = QStringLiteral("Gruppe beendet");
inline const QString kPhaseBeendet = QStringLiteral("Phase beendet");

// One group as a recording leaves it.
struct GroupStandings {
    int gid = -1;
    QList<StandingsRow> rows;    // as stored, by position
    QList<tabellenitem> ranked;  // the entrants with their new counters, ranked
    bool ended = false;          // no match of the group is left to play
};

// Works the group out from its stored matches; `recorded` (when given) stands
// in for the stored row of that match (with its games in a team class). The
// counters are sums over the finished matches, a team class's with their games.
GroupStandings groupStandings(const QSqlDatabase& db, int kid, int gid, const std::optional<GroupMatch>& recorded = {});

// What the user decided before the transaction.
struct StandingsDecision {
    int gid = -1;
    QList<tabellenitem> groupAsked; // the group's ranking the resolver was given; empty: not asked
    QList<tabellenitem> groupOrder; // its answer
    QList<tabellenitem> bestAsked;  // the same of the best-placed list
    QList<tabellenitem> bestOrder;
};

// Step 1 for the group match `recorded` as it will be stored (finished, its
// sets, result, winner and loser); reads only.
StandingsDecision decideStandings(const QSqlDatabase& db, int kid, const GroupMatch& recorded, TieResolver& resolver);

struct StandingsOutcome {
    bool groupEnded = false;
    bool phaseEnded = false;
    int gid = -1;
    int phase = 0;
    QList<int> sentOn; // the ids of the entrants sent on, for the player pools
    QList<KeptSlot> kept; // slots of matches already called or played, left alone
};

// Step 2 for the match `spielnummer` of group `gid`, stored already; in the
// caller's transaction (or in one of its own) under the class's match lock.
// Byes that a send-on leaves are settled in it.
StandingsOutcome writeStandings(const QSqlDatabase& db, int kid, int spielnummer, const StandingsDecision& decision);

// Both steps at once, for a caller with nobody to ask (a tie keeps the order
// the ranking gives it).
StandingsOutcome updateStandings(const QSqlDatabase& db, int kid, int spielnummer);

// "Gruppe beendet", then "Phase beendet", as far as they apply; then, for
// every slot kept, a warning that names the match, the place and the entrant
// it went to (keptSlotMessage).
void announceStandings(Prompter& prompter, const StandingsOutcome& outcome);
QString keptSlotMessage(const KeptSlot& slot);

// The best-placed candidates of the phase ranked (the entrants at place
// `besten` of its groups); `pending` (when given) stands in for the stored
// rows of its group.
QList<tabellenitem> bestPlacedRanking(const QSqlDatabase& db, int kid, int phase, int besten,
                                      const GroupStandings* pending = nullptr, const QList<tabellenitem>* pendingOrder = nullptr);

} // namespace bw
