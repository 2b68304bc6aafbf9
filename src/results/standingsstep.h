// The standings as the result engine's step for a group match: before the
// transaction the group and phase are worked out with the new result and the
// tie resolver is asked (decideStandings); in the transaction they are written
// (writeStandings); after the commit the entrants sent on go into every player
// pool of a group, the class is drawn anew (its standings through the group
// plan's own drawing, which ranks each group) and "Gruppe beendet" and
// "Phase beendet" are shown.
#pragma once

#include "results/groupend.h"
#include "results/resultengine.h"

namespace bw {

class Prompter;

class StandingsStep {
public:
    StandingsStep(TieResolver& resolver, Prompter& prompter, ResultPlanLink& plan);

    // Sets the engine's group step and its preparation to this step.
    void attach(ResultEngine& engine);

    void prepare(const QSqlDatabase& db, const ResultEntry& entry, const Ergebnis& ergebnis, const Saetze& saetze,
                 const QList<GameScore>& spiele);
    void write(const QSqlDatabase& db, const RecordedResult& result, AfterCommit& after);

private:
    TieResolver& m_resolver;
    Prompter& m_prompter;
    ResultPlanLink& m_plan;
    // The match the decision was made for; it holds until the next preparation
    // (a correction writes it in a trial and then for good).
    int m_prepared = -1;
    int m_preparedClass = -1;
    StandingsDecision m_decision;
};

} // namespace bw
