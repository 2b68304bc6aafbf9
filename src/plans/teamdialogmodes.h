// The modes in which the plan opens the match dialog of team classes
// (results/tergebnis_team.h), by the state of the clicked match: planning,
// call-up, called, running and finished, and a match started by hand. Each
// reads the match with its games and fills the dialog (the lists of planning
// from the database, those of the call-up from the free pools), sets its
// action and shows it; none writes. It is also what the dialog's stored
// call-up and start change on the plan.
#pragma once

#include "plans/matchdialogs.h"
#include "results/tergebnis.h"

#include <QDate>
#include <QSqlDatabase>

#include <functional>

namespace bw {

class Tergebnis_team;
class Tspielplaene;
struct HeldTeamResources;

class TeamDialogModes : public MatchDialogs {
public:
    TeamDialogModes(Tspielplaene& plans, Tergebnis_team& dialog, std::function<QSqlDatabase()> database);

    void spielplanen(int spielnummer) override;
    bool spielaufrufen1(int spielnummer) override;
    void spielaufgerufen(int spielnummer) override;
    void setPlatteHint(const QString& hint) override;
    void spielstarten(int spielnummer) override;
    void spielbeendet(int spielnummer) override;
    bool nextTicked() const override;
    bool next1Ticked() const override;
    // "Spiel manuell starten": the call-up of a team match whatever the pools
    // hold, typed tables accepted; modal. A match whose teams cannot meet
    // (both known, two different ones, none taken early from a group) is
    // refused (kNichtStartbar).
    bool spielmanuellstarten(int spielnummer) override;
    // "Spiel bearbeiten" of the planning board: the dialog for team match
    // `spielnummer` of class `kid` in the mode of its stored state,
    // non-modal. `firstDay` is the tournament's first day.
    void bearbeiten(int kid, int spielnummer, const QDate& firstDay);

    // "Spiel zurücksetzen" of a team match shown in state `shown`: waiting or
    // playable cannot go back; called -> waiting with both teams and every
    // game's table (one of the class's) and umpire back in the pools;
    // running -> called. The match row and its games in one transaction,
    // guarded by the state shown; the plan rebuilt after each.
    void spielZuruecksetzen(int spielnummer, MatchStage shown);

    // What the dialog's stored actions change on the plan of the class shown.
    void matchCalled(int spielnummer, const HeldTeamResources& held);
    void matchStarted(int spielnummer);
    void rebuildStates();

private:
    // Reads the match and fills the dialog; false when it has no such match.
    bool fill(TergebnisMode mode, int kid, int spielnummer, const QDate& classDay, bool byHand = false);
    bool fillShown(TergebnisMode mode, int spielnummer, bool byHand = false);
    bool shownClass() const;
    void show(bool focused);
    QSqlDatabase db() const { return m_database(); }

    Tspielplaene& m_plans;
    Tergebnis_team& m_dialog;
    std::function<QSqlDatabase()> m_database;
    int m_kid = 0; // the class of the match the dialog was filled with
    // The dialog was set up for another class's games by bearbeiten.
    bool m_otherSetup = false;
};

} // namespace bw
