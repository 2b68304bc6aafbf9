#include "plans/matchflow.h"

#include "data/teammatchrecords.h"

#include "plans/matchdialogs.h"
#include "results/scoremodel.h"

namespace bw {

MatchState finishedState(const MatchStateRow& row)
{
    MatchState state;
    state.tag = kBeendet;
    state.ergebnis = row.ergebnis;
    state.hint = setHint(row.saetze);
    state.mirroredHint = mirroredSetHint(row.saetze);
    return state;
}

MatchFlow::MatchFlow(PlanSession& session, std::function<void(int)> changed)
    : m_session(session), m_changed(std::move(changed))
{
}

void MatchFlow::setState(int spielnummer, const MatchState& state)
{
    m_session.states.set(spielnummer, state);
    if (m_changed)
        m_changed(spielnummer);
}

bool MatchFlow::spielmoeglich(int, int gruppe, int spielnummer, int sid1, int sid2)
{
    if (sid1 <= 0 || sid2 <= 0 || sid1 == sid2)
        return false;
    const ResourcePools& pools = m_session.pools;
    if (!pools.entrantsFree(gruppe, sid1, sid2) || !pools.tableFree(gruppe))
        return false;
    setState(spielnummer, MatchState{kSpielbar, {}, {}, {}});
    return true;
}

void MatchFlow::planupdate(const QSqlDatabase& db)
{
    const ResourcePools& pools = m_session.pools;
    for (const MatchStateRow& row : readOpenMatchRows(db, m_session.kid)) {
        if (!row.sidesDecided() || !pools.tableFree(row.gruppe) || !pools.entrantsFree(row.gruppe, row.sid1, row.sid2))
            setState(row.spielnummer, MatchState{});
    }
}

void MatchFlow::markStart(const QSqlDatabase& db)
{
    for (const MatchStateRow& row : readMatchStateRows(db, m_session.kid))
        if (row.phase == 1 && !row.spieler1.isEmpty() && !row.spieler2.isEmpty())
            setState(row.spielnummer, MatchState{kSpielbar, {}, {}, {}});
}

void MatchFlow::possiblegames(const QSqlDatabase& db, int phase, MatchDialogs& dialogs)
{
    for (const MatchStateRow& row : readOpenMatchRows(db, m_session.kid, phase)) {
        const ResourcePools& pools = m_session.pools;
        if (!row.sidesDecided() || !pools.tableFree(row.gruppe) || !pools.entrantsFree(row.gruppe, row.sid1, row.sid2))
            continue;
        if (!dialogs.nextTicked() || !dialogs.next1Ticked())
            continue;
        dialogs.spielaufrufen1(row.spielnummer);
    }
}

bool MatchFlow::statusladen(const QSqlDatabase& db, bool team)
{
    const QList<MatchStateRow> rows = readMatchStateRows(db, m_session.kid);
    ResourcePools& pools = m_session.pools;
    bool started = false;
    for (const MatchStateRow& row : rows) {
        if (!row.inPlanung && !row.begonnen)
            continue;
        if (!team) {
            pools.takeRunning({row.gruppe, row.sid1, row.sid2, row.anPlatte, row.schiri});
            continue;
        }
        // A team match holds both teams and the table of each of its games.
        pools.takeRunning({row.gruppe, row.sid1, row.sid2, {}, {}});
        for (const TeamGameRow& game : readTeamGames(db, m_session.kid, row.spielnummer))
            pools.takeRunning({row.gruppe, row.sid1, row.sid2, game.geplanterTisch, {}});
    }
    for (const MatchStateRow& row : rows) {
        if (row.open()) {
            setState(row.spielnummer, MatchState{});
            if (row.sidesDecided())
                spielmoeglich(row.phase, row.gruppe, row.spielnummer, row.sid1, row.sid2);
            continue;
        }
        started = true;
        if (row.beendet)
            setState(row.spielnummer, finishedState(row));
        else
            setState(row.spielnummer, MatchState{row.begonnen ? kLaeuft : kAufgerufen, {}, {}, {}});
    }
    return started;
}

} // namespace bw
