#include "results/standingsstep.h"

#include "platform/prompter.h"

#include <algorithm>

namespace bw {

StandingsStep::StandingsStep(TieResolver& resolver, Prompter& prompter, ResultPlanLink& plan)
    : m_resolver(resolver), m_prompter(prompter), m_plan(plan)
{
}

void StandingsStep::attach(ResultEngine& engine)
{
    engine.prepareGroupStep = [this](const QSqlDatabase& db, const ResultEntry& entry, const Ergebnis& ergebnis,
                                     const Saetze& saetze, const QList<GameScore>& spiele) {
        prepare(db, entry, ergebnis, saetze, spiele);
    };
    engine.groupStep = [this](const QSqlDatabase& db, const RecordedResult& result, AfterCommit& after) {
        write(db, result, after);
    };
}

void StandingsStep::prepare(const QSqlDatabase& db, const ResultEntry& entry, const Ergebnis& ergebnis,
                            const Saetze& saetze, const QList<GameScore>& spiele)
{
    m_prepared = -1;
    m_decision = {};
    std::optional<GroupMatch> match = readGroupMatch(db, entry.kid, entry.spielnummer);
    if (!match || match->gruppe < 0)
        return;
    // The match as the recording will store it.
    const bool side1Won = ergebnis.sieger() == 1;
    match->beendet = true;
    match->saetze = saetze;
    if (!spiele.isEmpty()) {
        // A team match's games as stored, those entered as they will be.
        match->spiele = readMatchGames(db, entry.kid, entry.spielnummer);
        for (const GameScore& game : spiele) {
            const auto stored = std::find_if(match->spiele.begin(), match->spiele.end(),
                                             [&](const GameScore& g) { return g.nummer == game.nummer; });
            if (stored != match->spiele.end())
                *stored = game;
        }
    }
    match->ergebnis = ergebnis.text();
    match->siegerSID = side1Won ? match->sid1 : match->sid2;
    match->verliererSID = side1Won ? match->sid2 : match->sid1;
    m_decision = decideStandings(db, entry.kid, *match, m_resolver);
    m_prepared = entry.spielnummer;
    m_preparedClass = entry.kid;
}

void StandingsStep::write(const QSqlDatabase& db, const RecordedResult& result, AfterCommit& after)
{
    const bool prepared = m_prepared == result.spielnummer && m_preparedClass == result.kid;
    const StandingsOutcome outcome =
        writeStandings(db, result.kid, result.spielnummer, prepared ? m_decision : StandingsDecision{});
    const int kid = result.kid;
    after.add([this, outcome, kid] {
        for (const QString& pool : m_plan.poolNames()) {
            if (!pool.startsWith(QLatin1String("sliste")))
                continue;
            for (const int sid : outcome.sentOn)
                m_plan.addToPool(pool, QString::number(sid), sid);
        }
        m_plan.redraw(kid);
        announceStandings(m_prompter, outcome);
    });
}

} // namespace bw
