// The match flow of the class shown, without widgets: the playability check,
// the demotion, the marks of the class start, the offer of the next playable
// matches and the rebuild of states and pools from the database. It changes
// the session's states and pools and tells each changed match to the pages
// (`changed`), which show it on every icon of the match.
#pragma once

#include "data/matchstaterecords.h"
#include "plans/plansession.h"

#include <QSqlDatabase>

#include <functional>

namespace bw {

class MatchDialogs;

// The set hints of a finished match's row ("+7, -9, -0" and "-7, +9, +0").
MatchState finishedState(const MatchStateRow& row);

class MatchFlow {
public:
    MatchFlow(PlanSession& session, std::function<void(int spielnummer)> changed);

    // Marks an open match playable when both ids are entrants (above 0) and
    // not the same one, both are free in its player pool and its table pool
    // holds a table; never sets a match back. Returns whether the match is
    // playable now. The rebuild and the offer also pass over a match with a
    // side taken from a group that has not ended (MatchStateRow::sidesDecided).
    bool spielmoeglich(int phase, int gruppe, int spielnummer, int sid1, int sid2);
    // Sets every open match of the class back to waiting whose sides cannot
    // meet yet, whose entrants are not both free or whose table pool is empty.
    void planupdate(const QSqlDatabase& db);
    // The marks of the class start: every phase-1 match whose two entrant texts
    // are not empty (placeholders and byes too) becomes playable for a moment.
    void markStart(const QSqlDatabase& db);
    // Offers the open matches of the phase that are playable, by match number,
    // one call-up after another while both dialogs' "next" ticks are set; the
    // pools are looked at afresh for each match.
    void possiblegames(const QSqlDatabase& db, int phase, MatchDialogs& dialogs);
    // Rebuilds states and pools from the class's rows: resources of called and
    // running matches out of the pools, called, running and finished states as
    // stored, every open match checked. Returns whether a match is called,
    // running or finished (the class has started). In a team class a called
    // or running match holds the tables of its games and no umpire.
    bool statusladen(const QSqlDatabase& db, bool team = false);

    // Sets a match's state and tells the pages.
    void setState(int spielnummer, const MatchState& state);

private:
    PlanSession& m_session;
    std::function<void(int)> m_changed;
};

} // namespace bw
