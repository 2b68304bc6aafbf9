#include "draw/losen.h"

#include "draw/groupdraw.h"
#include "draw/kodraw.h"

#include <algorithm>
#include <functional>

namespace bw {

namespace {

DrawEntrant entrantOf(const DrawEntry& e)
{
    if (e.isBye())
        return DrawEntrant::freilos();
    DrawEntrant d;
    d.club = e.item.verein;
    d.rank = e.parentpos;
    if (e.parentGID >= 0)
        d.source = e.parentGID;
    else if (e.parentGID == kBestplatziertenliste)
        d.source = kBestPlacedSource;
    return d;
}

GroupGrid gridOf(const DrawPhase& ph)
{
    const int places = ph.groups.isEmpty() ? 0 : int(ph.groups.front().size());
    GroupGrid grid(int(ph.groups.size()), places);
    for (int g = 0; g < grid.groups; ++g) {
        for (int row = 0; row < std::min(places, int(ph.groups[g].size())); ++row) {
            if (!ph.groups[g][row].isEmpty())
                grid.at(g, row) = entrantOf(ph.groups[g][row]);
        }
    }
    return grid;
}

// The bracket as the draw finds it; `seedRow` gives the KO_System row of a
// seed placed by hand, -1 for anybody else.
std::vector<KoSlot> bracketOf(const DrawPhase& ph, const std::function<int(const DrawEntry&)>& seedRow)
{
    std::vector<KoSlot> bracket;
    for (const DrawEntry& e : ph.koinfos) {
        if (e.isEmpty())
            bracket.push_back({});
        else if (e.isBye())
            bracket.push_back({KoSlot::Kind::Bye, entrantOf(e)});
        else
            bracket.push_back({KoSlot::Kind::Entrant, entrantOf(e), seedRow(e)});
    }
    return bracket;
}

// The entrants of phase 1 in drawing order: the seeds that hold an entrant
// (placeholders of seeds placed by hand are none), then the registered.
struct Phase1Entrants {
    std::vector<DrawEntry> entries;
    std::vector<DrawEntrant> entrants;
    std::vector<int> seedRow; // per seed entrant its row in the seed list
    std::vector<int> seeds;
    std::vector<int> seedsByRow; // per row of the seed list its seed entrant, -1 for a placeholder
    int registeredFrom = 0;
};

Phase1Entrants phase1Entrants(const DrawModel& model)
{
    Phase1Entrants p;
    for (int row = 0; row < model.seeds().size(); ++row) {
        const DrawEntry& e = model.seeds()[row];
        if (e.item.ID <= 0) {
            p.seedsByRow.push_back(-1);
            continue;
        }
        p.seedsByRow.push_back(int(p.entries.size()));
        p.seeds.push_back(int(p.entries.size()));
        p.seedRow.push_back(row);
        p.entries.push_back(e);
    }
    p.registeredFrom = int(p.entries.size());
    for (const DrawEntry& e : model.registered())
        p.entries.push_back(e);
    for (const DrawEntry& e : p.entries)
        p.entrants.push_back(entrantOf(e));
    return p;
}

// Takes the drawn entrants out of the phase-1 lists: a seed leaves its
// placeholder, a registered entrant his row. Every placeholder then reads as
// after a draw.
void takeFromPhase1Lists(DrawModel& model, const Phase1Entrants& p, const std::vector<bool>& drawn)
{
    for (std::size_t k = 0; k < p.seedRow.size(); ++k) {
        if (drawn[std::size_t(p.seeds[k])])
            model.seeds()[p.seedRow[k]] = DrawEntry();
    }
    for (int row = 0; row < model.seeds().size(); ++row) {
        if (model.seeds()[row].isEmpty())
            model.seeds()[row] = DrawEntry::seedPlaceholder(row + 1, SeedGap::Drawn);
    }
    QList<DrawEntry> left;
    for (int i = 0; i < model.registered().size(); ++i) {
        if (!drawn[std::size_t(p.registeredFrom + i)])
            left.append(model.registered()[i]);
    }
    model.registered() = left;
}

void drawPhase1Groups(DrawModel& model, GroupRule rule, bool randomSeeds, RandomSource& random)
{
    const Phase1Entrants p = phase1Entrants(model);
    const std::vector<GroupPlacement> placed =
        planGroupDraw(gridOf(model.phase(1)), p.entrants, p.seeds, rule, randomSeeds, random);
    std::vector<bool> drawn(p.entries.size(), false);
    for (const GroupPlacement& at : placed) {
        model.placeInGroup(1, at.group, at.row, p.entries[std::size_t(at.entrant)]);
        drawn[std::size_t(at.entrant)] = true;
    }
    takeFromPhase1Lists(model, p, drawn);
}

// Writes a knock-out plan into the phase's slots; returns the entries of
// slots that gave way to a seed and found no other slot.
QList<DrawEntry> applyKoPlan(DrawModel& model, int phase, const KoPlan& plan, const std::vector<DrawEntry>& entries,
                             std::vector<bool>& drawn)
{
    const QList<DrawEntry> before = model.phase(phase).koinfos;
    for (std::size_t s = 0; s < plan.bracket.size(); ++s) {
        const KoFill& fill = plan.bracket[s];
        switch (fill.from) {
        case KoFill::From::Kept:
            break;
        case KoFill::From::Entrant:
            model.placeInSlot(phase, int(s), entries[std::size_t(fill.index)]);
            drawn[std::size_t(fill.index)] = true;
            break;
        case KoFill::From::Slot:
            model.placeInSlot(phase, int(s), before[fill.index]);
            break;
        case KoFill::From::Bye:
            model.placeInSlot(phase, int(s), DrawEntry::bye());
            break;
        }
    }
    QList<DrawEntry> homeless;
    for (const int s : plan.unplacedSlots)
        homeless.append(before[s]);
    return homeless;
}

void drawPhase1Bracket(DrawModel& model, KoRule rule, bool randomSeeds, bool freiloseZufaellig,
                       const std::vector<int>& seedPositions, RandomSource& random)
{
    const Phase1Entrants p = phase1Entrants(model);
    // A seed placed by hand carries his seed number.
    const auto seedRow = [](const DrawEntry& e) {
        return e.item.ID > 0 && e.item.gesetzt >= 1 ? e.item.gesetzt - 1 : -1;
    };
    const KoDrawInput input{bracketOf(model.phase(1), seedRow), p.entrants, p.seedsByRow, seedPositions, rule,
                            randomSeeds, freiloseZufaellig};
    const KoPlan plan = planKnockoutDraw(input, random);
    std::vector<bool> drawn(p.entries.size(), false);
    const QList<DrawEntry> homeless = applyKoPlan(model, 1, plan, p.entries, drawn);
    takeFromPhase1Lists(model, p, drawn);
    for (const DrawEntry& e : homeless)
        model.addRegistered(e);
}

void drawLaterBracket(DrawModel& model, int phase, bool randomSeeds, bool freiloseZufaellig,
                      const std::vector<int>& seedPositions, RandomSource& random)
{
    DrawPhase& ph = model.phase(phase);
    const std::vector<DrawEntry> entries(ph.participants.begin(), ph.participants.end());
    std::vector<DrawEntrant> entrants;
    for (const DrawEntry& e : entries)
        entrants.push_back(entrantOf(e));
    // The seeds are the group winners in the order the list was loaded in;
    // those placed by hand keep their rows.
    QList<DrawEntry> winners;
    for (const DrawEntry& e : ph.participantsLoaded) {
        if (isGroupWinner(entrantOf(e)))
            winners.append(e);
    }
    std::vector<int> seedsByRow;
    for (const DrawEntry& w : winners) {
        const auto at = std::find(entries.begin(), entries.end(), w);
        seedsByRow.push_back(at == entries.end() ? -1 : int(at - entries.begin()));
    }
    const auto seedRow = [&winners](const DrawEntry& e) { return int(winners.indexOf(e)); };
    const KoDrawInput input{bracketOf(ph, seedRow), entrants, seedsByRow, seedPositions, KoRule::Sources,
                            randomSeeds, freiloseZufaellig};
    const KoPlan plan = planKnockoutDraw(input, random);
    std::vector<bool> drawn(entries.size(), false);
    const QList<DrawEntry> homeless = applyKoPlan(model, phase, plan, entries, drawn);
    QList<DrawEntry> left;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!drawn[i])
            left.append(entries[i]);
    }
    model.phase(phase).participants = left + homeless;
}

} // namespace

Losverfahren losverfahren(const DrawModel& model, int phase, bool vereinBeachten)
{
    if (phase < 1 || phase > 3 || !model.phase(phase).exists())
        return Losverfahren::keines;
    const DrawPhase& ph = model.phase(phase);
    if (phase == 1) {
        if (ph.isGroups())
            return vereinBeachten ? Losverfahren::gruppenlosenvereinfest : Losverfahren::gruppenlosenfest;
        return vereinBeachten ? Losverfahren::kolosenfestverein : Losverfahren::kolosenfest;
    }
    if (ph.isGroups())
        return Losverfahren::gruppenlosenfest2;
    return phase == 2 ? Losverfahren::kolosenfest2 : Losverfahren::kolosenfest3;
}

void losen(DrawModel& model, int phase, const LosenOptionen& options, const std::vector<int>& seedPositions,
           RandomSource& random)
{
    switch (losverfahren(model, phase, options.vereinBeachten)) {
    case Losverfahren::gruppenlosenfest:
        gruppenlosenfest(model, options.randomSeeds, random);
        break;
    case Losverfahren::gruppenlosenvereinfest:
        gruppenlosenvereinfest(model, options.randomSeeds, random);
        break;
    case Losverfahren::kolosenfest:
        kolosenfest(model, options.randomSeeds, options.freiloseZufaellig, seedPositions, random);
        break;
    case Losverfahren::kolosenfestverein:
        kolosenfestverein(model, options.randomSeeds, options.freiloseZufaellig, seedPositions, random);
        break;
    case Losverfahren::gruppenlosenfest2:
        gruppenlosenfest2(model, phase, options.randomSeeds, random);
        break;
    case Losverfahren::kolosenfest2:
        kolosenfest2(model, options.randomSeeds, options.freiloseZufaellig, seedPositions, random);
        break;
    case Losverfahren::kolosenfest3:
        kolosenfest3(model, options.randomSeeds, options.freiloseZufaellig, seedPositions, random);
        break;
    case Losverfahren::keines:
        return;
    }
    model.setLosenEnabled(phase, false);
}

void gruppenlosenfest(DrawModel& model, bool randomSeeds, RandomSource& random)
{
    drawPhase1Groups(model, GroupRule::Plain, randomSeeds, random);
}

void gruppenlosenvereinfest(DrawModel& model, bool randomSeeds, RandomSource& random)
{
    drawPhase1Groups(model, GroupRule::Clubs, randomSeeds, random);
}

void gruppenlosenfest2(DrawModel& model, int phase, bool randomSeeds, RandomSource& random)
{
    DrawPhase& ph = model.phase(phase);
    std::vector<DrawEntrant> entrants;
    for (const DrawEntry& e : ph.participants)
        entrants.push_back(entrantOf(e));
    const std::vector<GroupPlacement> placed =
        planGroupDraw(gridOf(ph), entrants, {}, GroupRule::Sources, randomSeeds, random);
    std::vector<bool> drawn(entrants.size(), false);
    for (const GroupPlacement& at : placed) {
        model.placeInGroup(phase, at.group, at.row, ph.participants[at.entrant]);
        drawn[std::size_t(at.entrant)] = true;
    }
    QList<DrawEntry> left;
    for (int i = 0; i < ph.participants.size(); ++i) {
        if (!drawn[std::size_t(i)])
            left.append(ph.participants[i]);
    }
    ph.participants = left;
}

void kolosenfest(DrawModel& model, bool randomSeeds, bool freiloseZufaellig, const std::vector<int>& seedPositions,
                 RandomSource& random)
{
    drawPhase1Bracket(model, KoRule::Plain, randomSeeds, freiloseZufaellig, seedPositions, random);
}

void kolosenfestverein(DrawModel& model, bool randomSeeds, bool freiloseZufaellig,
                       const std::vector<int>& seedPositions, RandomSource& random)
{
    drawPhase1Bracket(model, KoRule::Clubs, randomSeeds, freiloseZufaellig, seedPositions, random);
}

void kolosenfest2(DrawModel& model, bool randomSeeds, bool freiloseZufaellig, const std::vector<int>& seedPositions,
                  RandomSource& random)
{
    drawLaterBracket(model, 2, randomSeeds, freiloseZufaellig, seedPositions, random);
}

void kolosenfest3(DrawModel& model, bool randomSeeds, bool freiloseZufaellig, const std::vector<int>& seedPositions,
                  RandomSource& random)
{
    drawLaterBracket(model, 3, randomSeeds, freiloseZufaellig, seedPositions, random);
}

} // namespace bw
