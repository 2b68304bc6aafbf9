#include "results/groupend.h"

#include "data/groupsettings.h"
#include "data/matchrecords.h"
#include "data/transaction.h"
#include "draw/byes.h"
#include "platform/apperror.h"
#include "platform/prompter.h"
#include "results/takeback.h"

#include <algorithm>

namespace bw {

namespace {

void setCounters(tabellenitem& item, const StandingsCounters& c)
{
    item.spielanzahl = c.spielanzahl;
    item.matchegewonnen = c.matchegewonnen;
    item.matcheverloren = c.matcheverloren;
    item.spielegewonnen = c.spielegewonnen;
    item.spieleverloren = c.spieleverloren;
    item.saetzegewonnen = c.saetzegewonnen;
    item.saetzeverloren = c.saetzeverloren;
    item.punktegewonnen = c.punktegewonnen;
    item.punkteverloren = c.punkteverloren;
}

// The phase's settings of the best-placed list: the place its candidates
// stand at and how many of them go on; nothing when none go on.
struct BestPlaced {
    int besten = 0;
    int bestplazierten = 0;
};
std::optional<BestPlaced> bestPlacedOf(const QSqlDatabase& db, int kid, int phase)
{
    const std::optional<GroupSettings> settings = readGroupSettings(db, kid);
    if (!settings || phase < 1 || phase > kPhaseCount)
        return std::nullopt;
    const std::optional<PhaseSettings>& p = settings->phases[size_t(phase - 1)];
    if (!p || p->bestplazierten < 1)
        return std::nullopt;
    return BestPlaced{p->besten, p->bestplazierten};
}

// The order of a group's rows after the ranking: the ranked entrants, then
// the rows without one in their old order.
QList<StandingsRow> rowsInOrder(const QList<StandingsRow>& rows, const QList<tabellenitem>& ranked)
{
    QList<StandingsRow> ordered;
    for (const tabellenitem& item : ranked) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const StandingsRow& r) { return r.sid == item.SID; });
        ordered.append(*row);
    }
    for (const StandingsRow& row : rows) {
        if (row.sid < 0)
            ordered.append(row);
    }
    return ordered;
}

// Asks the resolver about `ranked` when it holds a tie.
void ask(TieResolver& resolver, const QList<tabellenitem>& ranked, QList<tabellenitem>& asked,
         QList<tabellenitem>& order)
{
    if (!hasTies(ranked))
        return;
    asked = ranked;
    order = checkedOrder(ranked, resolver.resolveTies(ranked));
}

// The order to store: the order the user chose when he was asked about
// exactly this list, else `ranked` when it holds no tie. A list that changed
// since he was asked, or a tie he was not asked about, means another desk
// changed the group or the phase meanwhile.
QList<tabellenitem> decided(const QList<tabellenitem>& ranked, const QList<tabellenitem>& asked,
                            const QList<tabellenitem>& order)
{
    if (!asked.isEmpty()) {
        if (asked != ranked)
            throw AppError(kStandingsChanged);
        return order;
    }
    if (hasTies(ranked))
        throw AppError(kStandingsChanged);
    return ranked;
}

class KeepOrder : public TieResolver {
public:
    QList<tabellenitem> resolveTies(const QList<tabellenitem>& ranked) override { return ranked; }
};

} // namespace

GroupStandings groupStandings(const QSqlDatabase& db, int kid, int gid, const std::optional<GroupMatch>& recorded)
{
    GroupStandings st;
    st.gid = gid;
    st.rows = readGroupStandings(db, kid, gid);
    QList<GroupMatch> matches = readGroupMatches(db, kid, gid);
    const bool team = isTeamClass(db, kid);
    if (team)
        readGroupGames(db, kid, gid, matches);
    if (recorded) {
        for (GroupMatch& m : matches) {
            if (m.spielnummer == recorded->spielnummer)
                m = *recorded;
        }
    }
    QList<tabellenitem> entrants;
    for (const StandingsRow& row : st.rows) {
        if (row.sid < 0)
            continue;
        tabellenitem item = itemOf(row);
        setCounters(item, team ? teamCountersOf(row.sid, matches) : countersOf(row.sid, matches, row.counters));
        entrants.append(item);
    }
    st.ranked = rankGroup(entrants, team, directResults(matches), readDrawOrder(db, kid, gid));
    st.ended = std::none_of(matches.begin(), matches.end(), [](const GroupMatch& m) { return m.open(); });
    return st;
}

QList<tabellenitem> bestPlacedRanking(const QSqlDatabase& db, int kid, int phase, int besten,
                                      const GroupStandings* pending, const QList<tabellenitem>* pendingOrder)
{
    QList<tabellenitem> candidates;
    for (const StandingsRow& row : readPlacedAt(db, kid, phase, besten)) {
        if (!pending || row.gid != pending->gid)
            candidates.append(itemOf(row));
    }
    if (pending && pendingOrder && besten >= 0 && besten < pendingOrder->size()) {
        tabellenitem item = pendingOrder->at(besten);
        item.pos = besten;
        item.farbe = 0;
        item.tie = -1;
        candidates.append(item);
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const tabellenitem& a, const tabellenitem& b) { return a.gid < b.gid; });
    return rankCandidates(candidates, isTeamClass(db, kid));
}

StandingsDecision decideStandings(const QSqlDatabase& db, int kid, const GroupMatch& recorded, TieResolver& resolver)
{
    StandingsDecision decision;
    decision.gid = recorded.gruppe;
    if (recorded.gruppe < 0)
        return decision;
    const GroupStandings st = groupStandings(db, kid, recorded.gruppe, recorded);
    if (st.ended)
        ask(resolver, st.ranked, decision.groupAsked, decision.groupOrder);
    QList<int> open = openMatchesOfPhase(db, kid, recorded.phase);
    if (!recorded.open())
        open.removeAll(recorded.spielnummer);
    if (!open.isEmpty())
        return decision;
    if (const std::optional<BestPlaced> best = bestPlacedOf(db, kid, recorded.phase)) {
        const QList<tabellenitem>& order = decision.groupAsked.isEmpty() ? st.ranked : decision.groupOrder;
        ask(resolver, bestPlacedRanking(db, kid, recorded.phase, best->besten, &st, &order), decision.bestAsked,
            decision.bestOrder);
    }
    return decision;
}

StandingsOutcome writeStandings(const QSqlDatabase& db, int kid, int spielnummer, const StandingsDecision& decision)
{
    return inTransaction(db, [&] {
        StandingsOutcome outcome;
        lockClassMatches(db, kid);
        const std::optional<GroupMatch> match = readGroupMatch(db, kid, spielnummer);
        if (!match || match->gruppe < 0)
            return outcome;
        outcome.gid = match->gruppe;
        outcome.phase = match->phase;
        const GroupStandings st = groupStandings(db, kid, match->gruppe);
        for (const tabellenitem& item : st.ranked) {
            const auto row = std::find_if(st.rows.begin(), st.rows.end(),
                                          [&](const StandingsRow& r) { return r.sid == item.SID; });
            if (row->counters != item.counters())
                writeCounters(db, kid, match->gruppe, item.SID, item.counters());
        }
        const QList<tabellenitem> order =
            st.ended ? decided(st.ranked, decision.groupAsked, decision.groupOrder) : st.ranked;
        writePositions(db, kid, match->gruppe, positionChanges(st.rows, order));

        bool byes = false;
        if (st.ended) {
            outcome.groupEnded = true;
            const QList<StandingsRow> places = rowsInOrder(st.rows, order);
            for (int pos = 0; pos < places.size(); ++pos) {
                const StandingsRow& row = places[pos];
                const SendOnResult sent = sendOnPlace(db, kid, match->gruppe, pos, {row.sid, row.bez});
                byes |= sent.byes;
                outcome.kept += sent.kept;
                if (row.sid > -1)
                    outcome.sentOn.append(row.sid);
            }
        }
        if (openMatchesOfPhase(db, kid, match->phase).isEmpty()) {
            outcome.phaseEnded = true;
            if (const std::optional<BestPlaced> best = bestPlacedOf(db, kid, match->phase)) {
                const QList<tabellenitem> ranked =
                    decided(bestPlacedRanking(db, kid, match->phase, best->besten), decision.bestAsked,
                            decision.bestOrder);
                for (int k = 0; k < best->bestplazierten; ++k) {
                    PlaceEntrant entrant;
                    if (k < ranked.size()) {
                        entrant = {ranked[k].SID, ranked[k].bez};
                        outcome.sentOn.append(ranked[k].SID);
                    }
                    const SendOnResult sent = sendOnBestPlaced(db, kid, match->phase + 1, k, entrant);
                    byes |= sent.byes;
                    outcome.kept += sent.kept;
                }
            }
        }
        if (byes)
            freilosebearbeiten(db, kid);
        return outcome;
    });
}

StandingsOutcome updateStandings(const QSqlDatabase& db, int kid, int spielnummer)
{
    KeepOrder keep;
    StandingsDecision decision;
    if (const std::optional<GroupMatch> match = readGroupMatch(db, kid, spielnummer))
        decision = decideStandings(db, kid, *match, keep);
    return writeStandings(db, kid, spielnummer, decision);
}

QString keptSlotMessage(const KeptSlot& slot)
{
    const QString place = slot.parentGID >= 0
                              ? groupPlacePlaceholder(slot.parentGID, slot.parentpos, slot.phase)
                              : QStringLiteral("%1. Bestplatzierter").arg(slot.parentpos + 1);
    const QString who = slot.entrant.sid > 0 ? slot.entrant.bez : QStringLiteral("niemand");
    return QStringLiteral("Spiel %1 ist bereits aufgerufen oder gespielt und behält seine Spieler. "
                          "Den Platz \"%2\" hat jetzt %3. Setzen Sie Spiel %1 zurück und besetzen Sie "
                          "den Platz erneut.")
        .arg(slot.spielnummer)
        .arg(place, who);
}

void announceStandings(Prompter& prompter, const StandingsOutcome& outcome)
{
    if (outcome.groupEnded)
        prompter.information(kGruppeBeendet);
    if (outcome.phaseEnded)
        prompter.information(kPhaseBeendet);
    for (const KeptSlot& slot : outcome.kept)
        prompter.prompt(PromptKind::Warning, keptSlotMessage(slot), PromptButtons::Ok);
}

} // namespace bw
