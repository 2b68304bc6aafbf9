// The modes in which the plan opens the match dialog of singles, doubles and
// mixed classes (results/tergebnis.h), by the state of the clicked match:
// planning, call-up, called, running and finished. Each reads the match and
// fills the dialog (the lists of planning from the database, those of the
// call-up from the free pools), sets its action and shows it; none writes.
// The same object is the plan as the dialog reaches it after a confirmed
// call-up or start, or after another desk changed the match.
#pragma once

#include "plans/matchdialogs.h"
#include "results/matchdialoglink.h"

#include <QDate>
#include <QSqlDatabase>

#include <functional>

class Prompter;

namespace bw {

class Tergebnis;
class Tspielplaene;

class ResultDialogModes : public MatchDialogs, public MatchDialogPlanLink {
public:
    ResultDialogModes(Tspielplaene& plans, Tergebnis& ergebnis, std::function<QSqlDatabase()> database);

    // The dialogs of team classes, which their own part fills; a click in a
    // team class goes there.
    MatchDialogs* team = nullptr;

    // MatchDialogs: the operations of the plan that open the dialog.
    void spielplanen(int spielnummer) override;
    bool spielaufrufen1(int spielnummer) override;
    void spielaufgerufen(int spielnummer) override;
    void setPlatteHint(const QString& hint) override;
    void spielstarten(int spielnummer) override;
    void spielbeendet(int spielnummer) override;
    bool nextTicked() const override;
    bool next1Ticked() const override;
    // "Spiel manuell starten": the call-up of a match that the pools do not
    // allow, a typed table accepted; modal. A match whose sides cannot meet
    // (MatchStateRow::sidesDecided) is refused (kNichtStartbar).
    bool spielmanuellstarten(int spielnummer) override;
    // "Spiel bearbeiten" of the planning board: the dialog for match
    // `spielnummer` of class `kid`, which need not be the class the plan
    // shows, in the mode of its stored state (open: planning; called, running,
    // finished: theirs), non-modal. What it stores changes the plan's pools
    // and icons only when the plan shows that class. A match that is gone
    // meanwhile gets the message of another desk's change. False (nothing
    // shown) for a team class, whose games have their own dialog. `firstDay`
    // is the tournament's first day, the day of a class without its own.
    bool bearbeiten(int kid, int spielnummer, const QDate& firstDay);

    // MatchDialogPlanLink: what the dialog's actions change on the plan.
    void matchCalled(int spielnummer, const HeldResources& match) override;
    void matchStarted(int spielnummer, const std::optional<HeldResources>& takenNow) override;
    void rebuildStates() override;

private:
    // Reads the match and fills the dialog; false when it has no such match.
    bool fill(int mode, int spielnummer, bool byHand = false);
    // The dialog holds a match of the class the plan shows.
    bool shownClass() const;
    QSqlDatabase db() const { return m_database(); }

    Tspielplaene& m_plans;
    Tergebnis& m_ergebnis;
    std::function<QSqlDatabase()> m_database;
    // The dialog was set up for another class's sets by bearbeiten.
    bool m_otherSetup = false;
};

} // namespace bw
