#include "draw/kodraw.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace bw {

namespace {

struct Cell {
    KoSlot::Kind kind = KoSlot::Kind::Empty;
    DrawEntrant who;
    KoFill fill;
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
        : m_in(input), m_random(random), m_size(int(input.bracket.size()))
    {
        for (std::size_t s = 0; s < input.bracket.size(); ++s)
            m_cells.push_back({input.bracket[s].kind, input.bracket[s].who, KoFill{}});
    }

    KoPlan run()
    {
        const std::vector<int> seeds = seedList();
        const std::vector<int> rows = seedSlots();
        const std::size_t seedsDrawn =
            m_in.rule == KoRule::Sources ? seeds.size() : std::min(seeds.size(), rows.size());
        const int toDraw = int(m_in.entrants.size() - seeds.size() + seedsDrawn);
        int byesBesideSeeds = m_in.randomByes ? 0 : std::max(0, emptyCount() - toDraw);

        // Every entrant not placed yet, the seeds too, so that their marks
        // follow them when they are drawn with the others.
        std::vector<Item> waiting;
        for (std::size_t e = 0; e < m_in.entrants.size(); ++e)
            waiting.push_back({m_in.entrants[e], {KoFill::From::Entrant, int(e)}, 0});

        std::vector<int> seedsLeft = seeds;
        std::vector<bool> taken(m_in.entrants.size(), false);
        for (std::size_t r = 0; r < rows.size() && !seedsLeft.empty(); ++r) {
            int e = seedsLeft.front();
            if (m_in.randomSeeds)
                e = takeAtRandom(seedsLeft, m_random);
            else
                seedsLeft.erase(seedsLeft.begin());
            taken[std::size_t(e)] = true;
            const int s = rows[r];
            if (m_cells[std::size_t(s)].kind == KoSlot::Kind::Entrant) {
                // Placed here by hand: drawn again with the others.
                const Cell& there = m_cells[std::size_t(s)];
                waiting.push_back({there.who, there.fill.from == KoFill::From::Kept ? KoFill{KoFill::From::Slot, s}
                                                                                    : there.fill,
                                   0});
            }
            put(s, m_in.entrants[std::size_t(e)], {KoFill::From::Entrant, e});
            const int partner = partnerSlot(s);
            if (byesBesideSeeds > 0 && m_cells[std::size_t(partner)].kind == KoSlot::Kind::Empty) {
                put(partner, DrawEntrant::freilos(), {KoFill::From::Bye, -1});
                --byesBesideSeeds;
            }
            markOthers(waiting, taken, m_in.entrants[std::size_t(e)], s);
        }

        KoPlan plan;
        std::vector<Item> pool;
        for (const Item& item : waiting) {
            if (item.source.from == KoFill::From::Entrant && taken[std::size_t(item.source.index)])
                continue;
            if (item.source.from == KoFill::From::Entrant && m_in.rule != KoRule::Sources
                && std::find(seedsLeft.begin(), seedsLeft.end(), item.source.index) != seedsLeft.end()) {
                plan.undrawn.push_back(item.source.index); // more seeds than seed rows
                continue;
            }
            pool.push_back(item);
        }
        const int byes = std::max(0, emptyCount() - int(pool.size()));
        m_entrantsLeft = int(pool.size());

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
    std::vector<int> seedList() const
    {
        if (m_in.rule != KoRule::Sources)
            return m_in.seeds;
        std::vector<int> winners;
        for (std::size_t e = 0; e < m_in.entrants.size(); ++e) {
            if (isGroupWinner(m_in.entrants[e]))
                winners.push_back(int(e));
        }
        return winners;
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

    int emptyCount() const
    {
        return int(std::count_if(m_cells.begin(), m_cells.end(),
                                 [](const Cell& c) { return c.kind == KoSlot::Kind::Empty; }));
    }

    void put(int s, const DrawEntrant& who, KoFill fill)
    {
        m_cells[std::size_t(s)] = {who.bye ? KoSlot::Kind::Bye : KoSlot::Kind::Entrant, who, fill};
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

    int otherHalf(int s) const { return s < m_size / 2 ? 2 : 1; }

    void markOthers(std::vector<Item>& items, const std::vector<bool>& taken, const DrawEntrant& placed, int s) const
    {
        for (Item& item : items) {
            const bool gone = item.source.from == KoFill::From::Entrant && taken[std::size_t(item.source.index)];
            if (!gone && separated(item.who, placed))
                item.mark = otherHalf(s);
        }
    }

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

    std::optional<int> chooseSlot(const Item& item) const
    {
        // An entrant goes beside another entrant only while enough entrants
        // are left for the slots that need one.
        const bool mustServe = !item.who.bye && m_entrantsLeft - 1 < entrantsNeeded();
        std::vector<int> open;
        for (int s = 0; s < m_size; ++s) {
            if (m_cells[std::size_t(s)].kind == KoSlot::Kind::Empty
                && (!mustServe || partnerKind(s) != KoSlot::Kind::Entrant))
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
                if (tier(s))
                    return s;
            }
        }
        return std::nullopt;
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
    int m_entrantsLeft = 0; // entrants still to place
};

} // namespace

KoPlan planKnockoutDraw(const KoDrawInput& input, RandomSource& random)
{
    return KoDraw(input, random).run();
}

} // namespace bw
