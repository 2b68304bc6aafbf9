// Taking a recorded result back (db_zuruecksetzen), without widgets, together
// with everything that followed from it:
//   - the match row loses its result (not finished, no sets, no result,
//     winner and loser undecided); begonnen and in_planung stay for the caller;
//   - a group match's share (one match, its sets and the points of its stored
//     sets, by the score model) leaves the standings rows of both entrants,
//     found by class, group and entrant, and the group is ranked again
//     (Tabelle_Rechnen), who has played nothing back in the draw's order;
//   - every slot filled from the match (rekursiv_zurueck), from its group
//     (gruppe_rekursiv) and, when the take-back reopens an ended phase, from
//     that phase's best-placed list (bestplatzierte_zurueck) gets the draw's
//     placeholder back ("Sieger Spiel 7", "Zweiter Gruppe A", "4. Gruppe A",
//     "2. Bestplatzierter 3. Platz"), and so do the group places and standings
//     rows of a later phase (the open qualifier, counters 0);
//   - a match whose slot is set back is not started any more; when it was
//     finished its own result is taken back first, and so on down the plan.
// The branch is taken from the match row (a group match has gruppe 0 or
// more), never from what is shown. Every match and group is visited once, so
// a plan whose sources run in a circle still ends.
//
// The take-back runs in the caller's transaction under lockClassMatches(); the
// byes it leaves open are settled by the caller (freilosebearbeiten). The
// slot and placeholder recursion is shared with team classes: a subclass
// replaces the three statements of a match's result, its standings share and
// its slot.
#pragma once

#include "data/takebackrecords.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

namespace bw {

class Prompter;
class ResultPlanLink;

class TakeBack {
public:
    TakeBack(const QSqlDatabase& db, int kid);
    virtual ~TakeBack() = default;
    TakeBack(const TakeBack&) = delete;
    TakeBack& operator=(const TakeBack&) = delete;

    // Takes the result of match `spielnummer` back with all that followed
    // from it; a match the class does not have changes nothing.
    void db_zuruecksetzen(int spielnummer);
    // Sets back every slot filled from the match as it was read.
    void rekursiv_zurueck(const TakeBackRow& match);
    // Sets back every slot and place filled from group `gid`.
    void gruppe_rekursiv(int gid);
    // Sets back the slots and places of the next phase filled from the
    // best-placed list of `phase`.
    void bestplatzierte_zurueck(int phase);

    // The matches set back besides the one taken back, as they were before:
    // their numbers, states, entrants and resources.
    const QList<TakeBackRow>& affected() const { return m_affected; }

protected:
    QSqlDatabase db() const { return m_db; }
    int kid() const { return m_kid; }

    // The match row without its result.
    virtual void clearResult(const TakeBackRow& match);
    // The finished match's share out of the standings of its group.
    virtual void subtractShare(const TakeBackRow& match);
    // A slot of the match back to its placeholder, the match not started.
    virtual void resetSide(const TakeBackRow& match, int side, const QString& placeholder);
    // The share of a single match, or of a team match with its games.
    void subtractShareOf(const TakeBackRow& match, bool team);

private:
    void takeBackMatch(const TakeBackRow& match);
    // Sets the slots of `match` named in `placeholders` (empty: leave) back,
    // the match's own result first when it was finished.
    void resetDependent(const TakeBackRow& match, const std::array<QString, 2>& placeholders);
    // The slots and places fed by `parentGID` (within `phase` when above 0).
    void resetFedBy(int parentGID, int phase, const std::function<QString(int pos, int slotPhase)>& placeholder);
    // Whether the phase had ended when this take-back first touched it.
    bool phaseWasEnded(int phase);
    void notePhase(int phase);

    QSqlDatabase m_db;
    int m_kid;
    QSet<int> m_takenBack;  // matches whose result was taken back
    QSet<int> m_expanded;   // matches whose dependants were set back
    QSet<int> m_groups;     // groups whose places were set back
    QSet<int> m_bestPlaced; // phases whose best-placed list was set back
    QHash<int, bool> m_phaseEnded;
    QList<TakeBackRow> m_affected;
};

// The take-back of a team class: a match's games lose their results with it,
// a slot is set back in the match row and in every game, and a team's share
// of a group match counts its games, sets and points from the games.
class TeamTakeBack : public TakeBack {
public:
    using TakeBack::TakeBack;

protected:
    void clearResult(const TakeBackRow& match) override;
    void subtractShare(const TakeBackRow& match) override;
    void resetSide(const TakeBackRow& match, int side, const QString& placeholder) override;
};

// The take-back of the class's kind.
std::unique_ptr<TakeBack> takeBackFor(const QSqlDatabase& db, int kid);

// The placeholder of a slot fed by place `pos` (from 0) of group `gid` in a
// match of `phase`: the draw's text ("Sieger Gruppe A", "4. Gruppe A"), for a
// placement match (phase 4) that of the placement page ("Vierter Gruppe A").
QString groupPlacePlaceholder(int gid, int pos, int phase);

// What the commands of "Spiel zurücksetzen" tell their caller.
enum class TakeBackOutcome {
    Done,
    Conflict, // nothing changed: the match is no longer in the state shown
};

// A called match waiting again (one transaction, guarded by the called
// state): its call times cleared; the row as it was, for its resources.
TakeBackOutcome zuruecksetzenAufgerufen(const QSqlDatabase& db, int kid, int spielnummer, TakeBackRow* before);
// A running match called again (guarded by the running state); it keeps its
// table, entrants and umpire.
TakeBackOutcome zuruecksetzenLaufend(const QSqlDatabase& db, int kid, int spielnummer);
// A finished match running again: its result taken back with everything that
// followed (TakeBack), then begonnen set, and the byes settled; one
// transaction, guarded by the finished state and the `spielende` read
// before (an invalid one: any). `affected` receives the matches set back.
TakeBackOutcome zuruecksetzenBeendet(const QSqlDatabase& db, int kid, int spielnummer, const QDateTime& spielende,
                                     QList<TakeBackRow>* affected = nullptr);

// Gives the resources of a match that was called back to the plan's pools as
// recording does: its entrants to its group's player pool (else the knock-out
// pool), its umpire to "schiri" when he is one of the class's, its table
// (unless typed by hand) by the group's table system: with tables fixed per
// group to the group's pool (else "alleplatten"), with free distribution to
// every table pool.
void giveResourcesBack(ResultPlanLink& plan, int gruppe, int sid1, int sid2, const QString& platte,
                       const QString& schiri, bool manuell, int plattensystem);

inline const QString kNichtWeiterZurueck = QStringLiteral("Spiel kann nicht weiter zurückgesetzt werden");
inline const QString kMehrereSpiele = QStringLiteral("Es können mehrere Spiele betroffen sein. Fortsetzten?");

// "Spiel zurücksetzen" for the match shown in state `shown` (from the plan's
// icon, or the state the result dialog was filled from): waiting or playable
// cannot go back; called -> waiting with its resources back to the pools;
// running -> called; finished -> running after the question (Cancel changes
// nothing), the class drawn again. The plan is rebuilt after each; a match
// another desk changed meanwhile gets the message and the rebuild. Failures
// reach the caller's error box after the plan was rebuilt.
void spielZuruecksetzen(const QSqlDatabase& db, Prompter& prompter, ResultPlanLink& plan, int kid, int spielnummer,
                        MatchStage shown);

} // namespace bw
