#include "live/publishrounds.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace bw {

namespace {

constexpr int kGroups = 0;
constexpr int kDoubleKnockOut = 2;

// The play system of phase 1..3; 0 (groups) for no settings or a Null column,
// nothing for any other phase (placement matches).
std::optional<int> playSystem(const std::optional<LivePhases>& phases, const std::optional<int>& phase)
{
    if (!phase || *phase < 1 || *phase > 3)
        return std::nullopt;
    if (!phases)
        return kGroups;
    const std::optional<int>& stored = *phase == 1 ? phases->phase1 : *phase == 2 ? phases->phase2 : phases->phase3;
    return stored.value_or(kGroups);
}

} // namespace

QList<LiveMatch> liveMatches(QList<StoredLiveMatch> rows, const std::optional<LivePhases>& phases)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const StoredLiveMatch& a, const StoredLiveMatch& b) { return a.spielnummer < b.spielnummer; });

    // The final of a phase is its highest match number.
    QHash<int, int> finalOfPhase;
    for (const StoredLiveMatch& row : rows)
        if (row.phase)
            finalOfPhase[*row.phase] = std::max(finalOfPhase.value(*row.phase), row.spielnummer);

    QHash<int, int> round;      // by match number
    QSet<int> losersSide;       // match numbers
    QList<LiveMatch> matches;
    matches.reserve(rows.size());
    for (const StoredLiveMatch& row : rows) {
        const std::optional<int> system = playSystem(phases, row.phase);
        bool loser = false;
        if (system == kDoubleKnockOut && row.spielnummer != finalOfPhase.value(*row.phase)) {
            const bool parent1 = row.parentspiel1 > 0;
            const bool parent2 = row.parentspiel2 > 0;
            loser = (parent1 && losersSide.contains(row.parentspiel1)) ||
                    (parent2 && losersSide.contains(row.parentspiel2)) ||
                    (parent1 && parent2 && !row.parentsieger1 && !row.parentsieger2);
            if (loser)
                losersSide.insert(row.spielnummer);
        }

        std::optional<int> groupOrRound;
        if (system == kGroups) {
            groupOrRound = row.gruppe;
        } else {
            // Placement matches follow their parents whatever side these were on.
            const bool placement = !system;
            const auto candidate = [&](int parent) {
                int h = round.value(parent) + 1;
                if (!placement && !loser && losersSide.contains(parent))
                    --h;
                return h;
            };
            int h = 1;
            if (row.parentspiel1 > 0)
                h = candidate(row.parentspiel1);
            if (row.parentspiel2 > 0)
                h = row.parentspiel1 > 0 ? std::max(h, candidate(row.parentspiel2)) : candidate(row.parentspiel2);
            round.insert(row.spielnummer, h);
            groupOrRound = h;
        }

        LiveMatch m;
        m.phase = row.phase;
        m.loserSide = loser;
        m.groupOrRound = groupOrRound;
        m.spielnummer = row.spielnummer;
        m.sid1 = row.sid1;
        m.spieler1 = row.spieler1;
        m.sid2 = row.sid2;
        m.spieler2 = row.spieler2;
        m.inPlanung = row.inPlanung;
        m.begonnen = row.begonnen;
        m.beendet = row.beendet;
        m.saetze = row.saetze;
        m.spielstart = row.spielstart;
        m.geplanterTag = row.geplanterTag;
        m.ergebnis = row.ergebnis;
        matches.append(m);
    }
    return matches;
}

} // namespace bw
