#include "results/standings.h"

#include "data/classkind.h"
#include "data/matchrecords.h"
#include "data/transaction.h"
#include "platform/apperror.h"
#include "results/scoremodel.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace bw {

StandingsCounters tabellenitem::counters() const
{
    StandingsCounters c;
    c.spielanzahl = spielanzahl;
    c.matchegewonnen = matchegewonnen;
    c.matcheverloren = matcheverloren;
    c.spielegewonnen = spielegewonnen;
    c.spieleverloren = spieleverloren;
    c.saetzegewonnen = saetzegewonnen;
    c.saetzeverloren = saetzeverloren;
    c.punktegewonnen = punktegewonnen;
    c.punkteverloren = punkteverloren;
    return c;
}

tabellenitem itemOf(const StandingsRow& row)
{
    tabellenitem item;
    const StandingsCounters& c = row.counters;
    item.spielanzahl = c.spielanzahl;
    item.SID = row.sid;
    item.pos = row.pos;
    item.matchegewonnen = c.matchegewonnen;
    item.matcheverloren = c.matcheverloren;
    item.punktegewonnen = c.punktegewonnen;
    item.punkteverloren = c.punkteverloren;
    item.spielegewonnen = c.spielegewonnen;
    item.spieleverloren = c.spieleverloren;
    item.saetzegewonnen = c.saetzegewonnen;
    item.saetzeverloren = c.saetzeverloren;
    item.bez = row.bez;
    item.gid = row.gid;
    return item;
}

std::array<int, 8> rankKeys(const tabellenitem& i, bool team)
{
    if (team)
        return {i.matchegewonnen - i.matcheverloren, i.matchegewonnen, i.spielegewonnen - i.spieleverloren,
                i.spielegewonnen,                    i.saetzegewonnen - i.saetzeverloren, i.saetzegewonnen,
                i.punktegewonnen - i.punkteverloren, i.punktegewonnen};
    return {i.spielegewonnen - i.spieleverloren, i.spielegewonnen, i.saetzegewonnen - i.saetzeverloren,
            i.saetzegewonnen,                    i.punktegewonnen - i.punkteverloren, i.punktegewonnen,
            0,                                   0};
}

namespace {

using Items = QList<tabellenitem>;

void markTie(Items& list, qsizetype begin, qsizetype end, int& nextTie)
{
    for (qsizetype i = begin; i < end; ++i) {
        list[i].farbe = kMarkiert;
        list[i].tie = nextTie;
    }
    ++nextTie;
}

// Orders list[begin, end), entrants equal in their keys, by the balance of
// their matches among themselves, again within every smaller set it leaves
// equal; marks what it cannot part.
void orderByDirectResults(Items& list, qsizetype begin, qsizetype end, const QList<DirectResult>& results,
                          int& nextTie)
{
    if (end - begin < 2)
        return;
    QSet<int> members;
    for (qsizetype i = begin; i < end; ++i)
        members.insert(list[i].SID);
    QHash<int, int> balance;
    for (const DirectResult& r : results) {
        if (r.winner != r.loser && members.contains(r.winner) && members.contains(r.loser)) {
            ++balance[r.winner];
            --balance[r.loser];
        }
    }
    std::stable_sort(list.begin() + begin, list.begin() + end, [&](const tabellenitem& a, const tabellenitem& b) {
        return balance.value(a.SID) > balance.value(b.SID);
    });
    if (balance.value(list[begin].SID) == balance.value(list[end - 1].SID)) {
        markTie(list, begin, end, nextTie);
        return;
    }
    for (qsizetype start = begin; start < end;) {
        qsizetype stop = start + 1;
        while (stop < end && balance.value(list[stop].SID) == balance.value(list[start].SID))
            ++stop;
        orderByDirectResults(list, start, stop, results, nextTie);
        start = stop;
    }
}

// Sorts by the keys, keeping the given order among equals, and hands each run
// of equal entries to `equal(begin, end)`.
template <typename Equal>
Items sortByKeys(Items list, bool team, Equal equal)
{
    for (tabellenitem& item : list) {
        item.farbe = 0;
        item.tie = -1;
    }
    std::stable_sort(list.begin(), list.end(), [team](const tabellenitem& a, const tabellenitem& b) {
        return rankKeys(a, team) > rankKeys(b, team);
    });
    for (qsizetype start = 0; start < list.size();) {
        qsizetype stop = start + 1;
        while (stop < list.size() && rankKeys(list[stop], team) == rankKeys(list[start], team))
            ++stop;
        if (stop - start > 1)
            equal(list, start, stop);
        start = stop;
    }
    for (qsizetype i = 0; i < list.size(); ++i)
        list[i].pos = int(i);
    return list;
}

} // namespace

Items rankGroup(Items entrants, bool team, const QList<DirectResult>& results, const QHash<int, int>& drawOrder)
{
    // Who has played nothing has no result to be ranked by: among themselves
    // they take the places the draw gave them.
    QList<qsizetype> idle;
    for (qsizetype i = 0; i < entrants.size(); ++i) {
        if (entrants[i].spielanzahl == 0)
            idle.append(i);
    }
    Items inDrawOrder;
    for (const qsizetype i : idle)
        inDrawOrder.append(entrants[i]);
    std::stable_sort(inDrawOrder.begin(), inDrawOrder.end(), [&](const tabellenitem& a, const tabellenitem& b) {
        return drawOrder.value(a.SID, a.pos) < drawOrder.value(b.SID, b.pos);
    });
    for (qsizetype k = 0; k < idle.size(); ++k)
        entrants[idle[k]] = inDrawOrder[k];
    int nextTie = 0;
    return sortByKeys(std::move(entrants), team, [&](Items& list, qsizetype begin, qsizetype end) {
        orderByDirectResults(list, begin, end, results, nextTie);
    });
}

Items rankCandidates(Items candidates, bool team)
{
    int nextTie = 0;
    return sortByKeys(std::move(candidates), team,
                      [&](Items& list, qsizetype begin, qsizetype end) { markTie(list, begin, end, nextTie); });
}

bool hasTies(const Items& ranked)
{
    return std::any_of(ranked.begin(), ranked.end(), [](const tabellenitem& i) { return i.marked(); });
}

QList<DirectResult> directResults(const QList<GroupMatch>& matches)
{
    QList<DirectResult> results;
    for (const GroupMatch& m : matches) {
        if (m.beendet && m.siegerSID > -1 && m.verliererSID > -1)
            results.append({m.siegerSID, m.verliererSID});
    }
    return results;
}

StandingsCounters countersOf(int sid, const QList<GroupMatch>& matches, const StandingsCounters& base)
{
    StandingsCounters c;
    c.matchegewonnen = base.matchegewonnen;
    c.matcheverloren = base.matcheverloren;
    for (const GroupMatch& m : matches) {
        if (!m.beendet || (m.sid1 != sid && m.sid2 != sid) || m.sid1 == m.sid2)
            continue;
        if (m.siegerSID != sid && m.verliererSID != sid)
            continue; // finished without an outcome that names the entrant
        const bool first = m.sid1 == sid;
        ++c.spielanzahl;
        if (m.siegerSID == sid)
            ++c.spielegewonnen;
        else
            ++c.spieleverloren;
        if (const std::optional<Ergebnis> result = readErgebnis(m.ergebnis)) {
            c.saetzegewonnen += first ? result->saetze1 : result->saetze2;
            c.saetzeverloren += first ? result->saetze2 : result->saetze1;
        }
        const SetPoints points = matchPoints(m.saetze);
        c.punktegewonnen += first ? points.side1 : points.side2;
        c.punkteverloren += first ? points.side2 : points.side1;
    }
    return c;
}

StandingsCounters teamCountersOf(int mid, const QList<GroupMatch>& matches)
{
    StandingsCounters c;
    for (const GroupMatch& m : matches) {
        if (!m.beendet || (m.sid1 != mid && m.sid2 != mid) || m.sid1 == m.sid2)
            continue;
        if (m.siegerSID != mid && m.verliererSID != mid)
            continue;
        const bool first = m.sid1 == mid;
        const auto add = [first](int& won, int& lost, int side1, int side2) {
            won += first ? side1 : side2;
            lost += first ? side2 : side1;
        };
        ++c.spielanzahl;
        if (m.siegerSID == mid)
            ++c.matchegewonnen;
        else
            ++c.matcheverloren;
        if (const std::optional<Ergebnis> games = readErgebnis(m.ergebnis))
            add(c.spielegewonnen, c.spieleverloren, games->saetze1, games->saetze2);
        for (const GameScore& game : m.spiele) {
            if (const std::optional<Ergebnis> sets = readErgebnis(game.ergebnis))
                add(c.saetzegewonnen, c.saetzeverloren, sets->saetze1, sets->saetze2);
            const SetPoints points = matchPoints(game.saetze);
            add(c.punktegewonnen, c.punkteverloren, points.side1, points.side2);
        }
    }
    return c;
}

QList<PositionChange> positionChanges(const QList<StandingsRow>& rows, const Items& ranked)
{
    QHash<int, int> newPos;
    for (qsizetype i = 0; i < ranked.size(); ++i)
        newPos.insert(ranked[i].SID, int(i));
    QList<PositionChange> changes;
    int next = int(ranked.size());
    for (const StandingsRow& row : rows) {
        const int pos = row.sid > -1 ? newPos.value(row.sid, -1) : next++;
        if (pos < 0)
            throw AppError(QStringLiteral("Der Tabelleneintrag %1 fehlt in der Rangfolge.").arg(row.bez));
        if (pos != row.pos)
            changes.append({row.sid, row.pos, pos});
    }
    return changes;
}

bool isTeamClass(const QSqlDatabase& db, int kid)
{
    const std::optional<int> system = readClassSystem(db, kid);
    return system && classKindOf(*system) == ClassKind::Team;
}

namespace {

QList<PositionChange> rankingChanges(const QSqlDatabase& db, int kid, int gid)
{
    const QList<StandingsRow> rows = readGroupStandings(db, kid, gid);
    Items entrants;
    for (const StandingsRow& row : rows) {
        if (row.sid > -1)
            entrants.append(itemOf(row));
    }
    if (entrants.isEmpty())
        return {};
    const Items ranked = rankGroup(entrants, isTeamClass(db, kid), directResults(readGroupMatches(db, kid, gid)),
                                   readDrawOrder(db, kid, gid));
    return positionChanges(rows, ranked);
}

} // namespace

void Tabelle_Rechnen(const QSqlDatabase& db, int KID, int GID)
{
    // Most rankings change nothing (every drawing of a plan ranks every
    // group): those take no write lock.
    if (!Transaction::active(db) && rankingChanges(db, KID, GID).isEmpty())
        return;
    inTransaction(db, [&] {
        lockClassMatches(db, KID);
        writePositions(db, KID, GID, rankingChanges(db, KID, GID));
    });
}

Items checkedOrder(const Items& ranked, const Items& answer)
{
    const auto refuse = [] { throw AppError(QStringLiteral("Die Reihenfolge der Tabellenplätze ist ungültig.")); };
    if (answer.size() != ranked.size())
        refuse();
    Items ordered;
    for (qsizetype i = 0; i < ranked.size(); ++i) {
        const auto found = std::find_if(ranked.begin(), ranked.end(),
                                        [&](const tabellenitem& r) { return r.SID == answer[i].SID; });
        if (found == ranked.end())
            refuse();
        // An entry may only take the place of an entry of its own tie.
        const tabellenitem& place = ranked[i];
        if (found->SID != place.SID && (!found->marked() || found->tie != place.tie))
            refuse();
        ordered.append(*found);
        ordered.last().pos = int(i);
    }
    QSet<int> seen;
    for (const tabellenitem& item : ordered)
        seen.insert(item.SID);
    if (seen.size() != ordered.size())
        refuse();
    return ordered;
}

} // namespace bw
