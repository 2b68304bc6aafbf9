#include "results/standingsstep.h"

#include "platform/prompter.h"

namespace bw {

StandingsStep::StandingsStep(TieResolver& resolver, Prompter& prompter, ResultPlanLink& plan)
    : m_resolver(resolver), m_prompter(prompter), m_plan(plan)
{
}

void StandingsStep::attach(ResultEngine& engine)
{
    engine.prepareGroupStep = [this](const QSqlDatabase& db, const ResultEntry& entry, const Ergebnis& ergebnis,
                                     const Saetze& saetze) { prepare(db, entry, ergebnis, saetze); };
    engine.groupStep = [this](const QSqlDatabase& db, const RecordedResult& result, AfterCommit& after) {
        write(db, result, after);
    };
}

void StandingsStep::prepare(const QSqlDatabase& db, const ResultEntry& entry, const Ergebnis& ergebnis,
                            const Saetze& saetze)
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
