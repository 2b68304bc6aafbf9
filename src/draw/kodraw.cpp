#include "draw/kodraw.h"

#include "draw/separation.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace bw {

namespace {

struct Cell {
    KoSlot::Kind kind = KoSlot::Kind::Empty;
    DrawEntrant who;
    KoFill fill;
    int seedRow = -1; // a seed placed by hand
};

// One entrant or bye still to draw.
struct Item {
    DrawEntrant who;
    KoFill source;
    int mark = 0; // 0 none, 1 upper half, 2 lower half
};

class KoDraw {
public:
    KoDraw(const KoDrawInput& input, RandomSource& random)
        : m_in(input), m_random(random), m_size(int(input.bracket.size())), m_keys(apartBy(input.rule)),
          m_seedsByRow(input.rule == KoRule::Sources && input.seeds.empty() ? groupWinners(input.entrants)
                                                                             : input.seeds)
    {
        for (const KoSlot& slot : input.bracket)
            m_cells.push_back({slot.kind, slot.who, KoFill{}, slot.kind == KoSlot::Kind::Entrant ? slot.seedRow : -1});
    }

    KoPlan run()
    {
        KoPlan plan;
        std::vector<Item> waiting;
        for (std::size_t e = 0; e < m_in.entrants.size(); ++e)
            waiting.push_back({m_in.entrants[e], {KoFill::From::Entrant, int(e)}, 0});
        std::vector<bool> taken(m_in.entrants.size(), false);
        const std::vector<std::pair<int, int>> rowSeeds = placeSeeds(waiting, taken);

        std::vector<Item> pool;
        for (const Item& item : waiting) {
            const bool entrant = item.source.from == KoFill::From::Entrant;
            if (entrant && taken[std::size_t(item.source.index)])
                continue;
            if (entrant && m_in.rule != KoRule::Sources && isSeed(item.source.index)) {
                plan.undrawn.push_back(item.source.index); // more seeds than seed rows
                continue;
            }
            pool.push_back(item);
        }

        // Byes beside the seeds in row order, those placed by hand too; then
        // their marks.
        int byesBesideSeeds = m_in.randomByes ? 0 : std::max(0, emptyCount() - int(pool.size()));
        for (const auto& [row, slot] : rowSeeds) {
            const int partner = partnerSlot(slot);
            if (byesBesideSeeds > 0 && m_cells[std::size_t(partner)].kind == KoSlot::Kind::Empty) {
                put(partner, DrawEntrant::freilos(), {KoFill::From::Bye, -1});
                --byesBesideSeeds;
            }
        }
        for (const auto& [row, slot] : rowSeeds)
            markOthers(pool, slot, m_cells[std::size_t(slot)].who);

        const int byes = std::max(0, emptyCount() - int(pool.size()));
        m_entrantsLeft = int(pool.size());
        for (const Item& item : pool)
            m_pending.push_back(m_keys.key(item.who));
        for (int b = 0; b < byes; ++b)
            m_pending.push_back(m_keys.key(DrawEntrant::freilos()));
        m_apart = Apart::All;
        while (m_apart != Apart::Nobody && !bracketSeparable(slotKeys(), pendingKeys()))
            m_apart = Apart(int(m_apart) - 1);

        if (m_in.rule == KoRule::Clubs) {
            drawClubs(pool, plan);
            for (int b = 0; b < byes; ++b)
                placeItem({DrawEntrant::freilos(), {KoFill::From::Bye, -1}, 0}, plan);
        } else {
            for (int b = 0; b < byes; ++b)
                pool.push_back({DrawEntrant::freilos(), {KoFill::From::Bye, -1}, 0});
            while (!pool.empty()) {
                const Item item = takeAtRandom(pool, m_random);
                if (const auto s = placeItem(item, plan))
                    markOthers(pool, *s, item.who);
            }
        }

        for (int s = 0; s < m_size; ++s) {
            if (m_cells[std::size_t(s)].kind == KoSlot::Kind::Empty)
                put(s, DrawEntrant::freilos(), {KoFill::From::Bye, -1});
        }
        for (const Cell& cell : m_cells)
            plan.bracket.push_back(cell.fill);
        return plan;
    }

private:
    static ApartBy apartBy(KoRule rule)
    {
        switch (rule) {
        case KoRule::Plain:
            break;
        case KoRule::Clubs:
            return ApartBy::Clubs;
        case KoRule::Sources:
            return ApartBy::Sources;
        }
        return ApartBy::Nothing;
    }

    bool isSeed(int entrant) const
    {
        return std::find(m_seedsByRow.begin(), m_seedsByRow.end(), entrant) != m_seedsByRow.end();
    }

    // The slots of the seed rows; a row that leaves the bracket, repeats a
    // slot or pairs two seeds ends the rows there.
    std::vector<int> seedSlots() const
    {
        std::vector<int> rows;
        std::vector<bool> used(std::size_t(m_size), false);
        for (const int position : m_in.seedPositions) {
            const int s = position - 1;
            if (s < 0 || s >= m_size || used[std::size_t(s)] || used[std::size_t(partnerSlot(s))])
                break;
            used[std::size_t(s)] = true;
            rows.push_back(s);
        }
        return rows;
    }

    // Places the seeds that are to draw; an entrant placed by hand on a seed's
    // slot joins `waiting`. Returns (row, slot) of every seed in the bracket,
    // drawn or placed by hand, in row order.
    std::vector<std::pair<int, int>> placeSeeds(std::vector<Item>& waiting, std::vector<bool>& taken)
    {
        const std::vector<int>& byRow = m_seedsByRow;
        const std::vector<int> rowSlots = seedSlots();
        std::vector<int> seedsLeft;
        for (const int e : byRow) {
            if (e >= 0)
                seedsLeft.push_back(e);
        }
        const auto holdsHandSeed = [&](int s) { return m_cells[std::size_t(s)].seedRow >= 0; };
        // Rows a seed drawn now may take: first those whose own seed is to
        // draw, then, for the seeds whose slot another seed placed by hand
        // holds, the rows of seeds placed by hand.
        std::vector<int> rows;
        std::vector<int> spare;
        int blocked = 0;
        for (std::size_t r = 0; r < rowSlots.size() && r < byRow.size(); ++r) {
            if (byRow[r] < 0) {
                if (!holdsHandSeed(rowSlots[r]))
                    spare.push_back(int(r));
            } else if (holdsHandSeed(rowSlots[r])) {
                ++blocked;
            } else {
                rows.push_back(int(r));
            }
        }
        spare.resize(std::min(spare.size(), std::size_t(blocked)));
        std::vector<int> inOrder; // who takes each row without random seeds
        for (const int r : rows)
            inOrder.push_back(byRow[std::size_t(r)]);
        for (std::size_t r = 0; r < rowSlots.size() && r < byRow.size(); ++r) {
            if (byRow[r] >= 0 && holdsHandSeed(rowSlots[r]))
                inOrder.push_back(byRow[r]);
        }
        rows.insert(rows.end(), spare.begin(), spare.end());

        std::vector<std::pair<int, int>> placed;
        for (std::size_t i = 0; i < rows.size() && !seedsLeft.empty(); ++i) {
            int e = inOrder[i];
            if (m_in.randomSeeds)
                e = takeAtRandom(seedsLeft, m_random);
            else
                seedsLeft.erase(std::find(seedsLeft.begin(), seedsLeft.end(), e));
            taken[std::size_t(e)] = true;
            const int s = rowSlots[std::size_t(rows[i])];
            if (m_cells[std::size_t(s)].kind == KoSlot::Kind::Entrant) {
                // Placed here by hand and no seed: drawn again with the others.
                const Cell& there = m_cells[std::size_t(s)];
                waiting.push_back({there.who, there.fill.from == KoFill::From::Kept ? KoFill{KoFill::From::Slot, s}
                                                                                    : there.fill,
                                   0});
            }
            put(s, m_in.entrants[std::size_t(e)], {KoFill::From::Entrant, e});
            placed.emplace_back(rows[i], s);
        }
        for (int s = 0; s < m_size; ++s) {
            if (m_cells[std::size_t(s)].seedRow >= 0)
                placed.emplace_back(m_cells[std::size_t(s)].seedRow, s);
        }
        // Row order; at a row both a seed placed there by hand and one drawn
        // into it: the one placed by hand first.
        std::stable_sort(placed.begin(), placed.end(), [this](const auto& a, const auto& b) {
            if (a.first != b.first)
                return a.first < b.first;
            return m_cells[std::size_t(a.second)].seedRow >= 0 && m_cells[std::size_t(b.second)].seedRow < 0;
        });
        return placed;
    }

    int emptyCount() const
    {
        return int(std::count_if(m_cells.begin(), m_cells.end(),
                                 [](const Cell& c) { return c.kind == KoSlot::Kind::Empty; }));
    }

    void put(int s, const DrawEntrant& who, KoFill fill)
    {
        m_cells[std::size_t(s)] = {who.bye ? KoSlot::Kind::Bye : KoSlot::Kind::Entrant, who, fill, -1};
    }

    bool separated(const DrawEntrant& a, const DrawEntrant& b) const
    {
        switch (m_in.rule) {
        case KoRule::Plain:
            return false;
        case KoRule::Clubs:
            return sameClub(a, b);
        case KoRule::Sources:
            return sameSource(a, b);
        }
        return false;
    }

    int key(const DrawEntrant& who) const { return SeparationKeys::atLevel(m_keys.key(who), m_apart); }

    std::vector<int> slotKeys() const
    {
        std::vector<int> keys;
        for (const Cell& cell : m_cells)
            keys.push_back(cell.kind == KoSlot::Kind::Empty ? kFreeSlot : key(cell.who));
        return keys;
    }

    std::vector<int> pendingKeys() const
    {
        std::vector<int> keys;
        for (const int k : m_pending)
            keys.push_back(SeparationKeys::atLevel(k, m_apart));
        return keys;
    }

    // Whether `item` in free slot `s` keeps everyone apart who is to be.
    bool keepsApart(const Item& item, int s) const
    {
        if (m_apart == Apart::Nobody)
            return true;
        std::vector<int> keys = slotKeys();
        const int k = key(item.who);
        if (k >= 0 && keys[std::size_t(partnerSlot(s))] == k)
            return false;
        keys[std::size_t(s)] = k;
        return bracketSeparable(keys, pendingKeys());
    }

    int otherHalf(int s) const { return s < m_size / 2 ? 2 : 1; }

    void markOthers(std::vector<Item>& items, int s, const DrawEntrant& placed) const
    {
        for (Item& item : items) {
            if (separated(item.who, placed))
                item.mark = otherHalf(s);
        }
    }

    // Places an item by the rule's slot choice; the slot, or none when the
    // bracket is full.
    std::optional<int> placeItem(const Item& item, KoPlan& plan)
    {
        const auto pending = std::find(m_pending.begin(), m_pending.end(), m_keys.key(item.who));
        if (pending != m_pending.end())
            m_pending.erase(pending);
        const std::optional<int> s = chooseSlot(item);
        if (!item.who.bye)
            --m_entrantsLeft;
        if (s)
            put(*s, item.who, item.source);
        else if (item.source.from == KoFill::From::Entrant)
            plan.undrawn.push_back(item.source.index);
        else if (item.source.from == KoFill::From::Slot)
            plan.unplacedSlots.push_back(item.source.index);
        return s;
    }

    KoSlot::Kind partnerKind(int s) const { return m_cells[std::size_t(partnerSlot(s))].kind; }

    // Slots that must still get an entrant so that no two byes meet: the
    // free slot beside each bye, and one slot of each match with both free.
    int entrantsNeeded() const
    {
        int need = 0;
        for (int s = 0; s < m_size; s += 2) {
            const KoSlot::Kind a = m_cells[std::size_t(s)].kind, b = m_cells[std::size_t(s + 1)].kind;
            if ((a == KoSlot::Kind::Empty) != (b == KoSlot::Kind::Empty))
                need += (a == KoSlot::Kind::Bye || b == KoSlot::Kind::Bye) ? 1 : 0;
            else if (a == KoSlot::Kind::Empty)
                ++need;
        }
        return need;
    }

    // The rule's order of preference over `candidates`: each tier in turn, within
    // it the slots in their order.
    void inPreference(const Item& item, const std::vector<int>& candidates, const std::function<bool(int)>& take) const
    {
        const auto inHalf = [&](int s) { return item.mark == (s < m_size / 2 ? 1 : 2); };
        const auto besideBye = [&](int s) { return partnerKind(s) == KoSlot::Kind::Bye; };
        const auto clear = [&](int s) {
            const Cell& partner = m_cells[std::size_t(partnerSlot(s))];
            if (partner.kind == KoSlot::Kind::Bye)
                return !item.who.bye;
            return partner.kind != KoSlot::Kind::Entrant || item.who.bye || !separated(item.who, partner.who);
        };
        std::vector<std::function<bool(int)>> tiers;
        if (!item.who.bye) {
            tiers.emplace_back([&](int s) { return inHalf(s) && besideBye(s); });
            tiers.emplace_back(besideBye);
        }
        tiers.emplace_back([&](int s) { return inHalf(s) && clear(s); });
        tiers.emplace_back(clear);
        tiers.emplace_back([](int) { return true; });
        for (const auto& tier : tiers) {
            for (const int s : candidates) {
                if (tier(s) && take(s))
                    return;
            }
        }
    }

    std::optional<int> chooseSlot(const Item& item) const
    {
        // An entrant goes beside another entrant only while enough entrants
        // are left for the slots that need one.
        const bool mustServe = !item.who.bye && m_entrantsLeft - 1 < entrantsNeeded();
        std::vector<int> empty;
        std::vector<int> open;
        for (int s = 0; s < m_size; ++s) {
            if (m_cells[std::size_t(s)].kind != KoSlot::Kind::Empty)
                continue;
            empty.push_back(s);
            if (!mustServe || partnerKind(s) != KoSlot::Kind::Entrant)
                open.push_back(s);
        }
        std::vector<int> candidates = open;
        if (m_in.rule != KoRule::Sources) {
            // the first slots of the matches before any second slot
            const bool firstFree = std::any_of(open.begin(), open.end(), [](int s) { return s % 2 == 0; });
            candidates.clear();
            for (const int s : open) {
                if ((s % 2 == 0) == firstFree)
                    candidates.push_back(s);
            }
        }

        std::optional<int> preferred;
        std::optional<int> chosen;
        std::vector<bool> tried(std::size_t(m_size), false);
        const auto test = [&](int s) {
            if (!preferred)
                preferred = s;
            if (tried[std::size_t(s)])
                return false;
            tried[std::size_t(s)] = true;
            if (keepsApart(item, s))
                chosen = s;
            return chosen.has_value();
        };
        inPreference(item, candidates, test);
        if (!chosen)
            inPreference(item, empty, test);
        return chosen ? chosen : preferred;
    }

    void drawClubs(const std::vector<Item>& pool, KoPlan& plan)
    {
        std::vector<std::vector<Item>> clubs =
            clubsLargestFirst(pool, [](const Item& item) -> const QString& { return item.who.club; });
        for (std::vector<Item>& club : clubs) {
            while (!club.empty()) {
                const Item item = takeAtRandom(club, m_random);
                if (const auto s = placeItem(item, plan))
                    markOthers(club, *s, item.who);
            }
        }
    }

    const KoDrawInput& m_in;
    RandomSource& m_random;
    int m_size;
    std::vector<Cell> m_cells;
    SeparationKeys m_keys;
    // Per KO_System row the entrant index of its seed, -1 for a seed placed by hand.
    const std::vector<int> m_seedsByRow;
    std::vector<int> m_pending; // keys of the entrants and byes still to draw, all apart
    Apart m_apart = Apart::Nobody;
    int m_entrantsLeft = 0; // entrants still to place
};

} // namespace

std::vector<int> groupWinners(const std::vector<DrawEntrant>& entrants)
{
    std::vector<int> winners;
    for (std::size_t e = 0; e < entrants.size(); ++e) {
        if (isGroupWinner(entrants[e]))
            winners.push_back(int(e));
    }
    return winners;
}

KoPlan planKnockoutDraw(const KoDrawInput& input, RandomSource& random)
{
    return KoDraw(input, random).run();
}

} // namespace bw
