#include "draw/groupdraw.h"

#include "draw/separation.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace bw {

GroupGrid::GroupGrid(int groups_, int places_)
    : groups(std::max(groups_, 0)), places(std::max(places_, 0)), cells(std::size_t(groups * places))
{
}

std::vector<std::pair<int, int>> snakeOrder(int groups, int places)
{
    std::vector<std::pair<int, int>> order;
    order.reserve(std::size_t(std::max(groups * places, 0)));
    for (int row = 0; row < places; ++row) {
        for (int k = 0; k < groups; ++k)
            order.emplace_back(row % 2 == 0 ? k : groups - 1 - k, row);
    }
    return order;
}

namespace {

// Best-placed qualifiers count their own ranks: the second best-placed is no
// "Zweiter".
bool sameRank(const DrawEntrant& a, const DrawEntrant& b)
{
    return a.rank == b.rank && (a.source == kBestPlacedSource) == (b.source == kBestPlacedSource);
}

// The filling each group ends with when `count` more entrants go, one at a
// time, into a group of the lowest filling with a free row: at least `least`
// and at most `most` (the last level reached may be left partly filled).
struct Filling {
    std::vector<int> least;
    std::vector<int> most;
};

Filling levelFilling(const std::vector<int>& filled, int places, int count)
{
    int level = filled.empty() ? 0 : *std::min_element(filled.begin(), filled.end());
    const auto cost = [&](int to) {
        int c = 0;
        for (const int n : filled)
            c += std::max(0, to - n);
        return c;
    };
    while (level < places && cost(level + 1) <= count)
        ++level;
    const int extra = count - cost(level);
    Filling f;
    for (const int n : filled) {
        const int least = std::max(n, level);
        f.least.push_back(least);
        f.most.push_back(extra > 0 && least == level && level < places ? level + 1 : least);
    }
    return f;
}

class GroupDraw {
public:
    GroupDraw(const GroupGrid& grid, const std::vector<DrawEntrant>& entrants, GroupRule rule, RandomSource& random)
        : m_grid(grid), m_entrants(entrants), m_random(random), m_snake(snakeOrder(grid.groups, grid.places)),
          m_keys(rule == GroupRule::Clubs ? ApartBy::Clubs
                                          : rule == GroupRule::Sources ? ApartBy::Sources : ApartBy::Nothing)
    {
        // An even spread over the groups: ceil(c/G) of a key of c entrants.
        for (const auto& cell : grid.cells) {
            if (cell)
                ++m_total[m_keys.key(*cell)];
        }
        for (const DrawEntrant& e : entrants)
            ++m_total[m_keys.key(e)];
    }

    // The next free row in snake order, or none.
    std::optional<std::pair<int, int>> nextInSnake()
    {
        while (m_next < m_snake.size() && m_grid.at(m_snake[m_next].first, m_snake[m_next].second))
            ++m_next;
        if (m_next == m_snake.size())
            return std::nullopt;
        return m_snake[m_next];
    }

    void place(int entrant, int group, int row)
    {
        m_grid.at(group, row) = m_entrants[std::size_t(entrant)];
        m_placed.push_back({entrant, group, row});
    }

    // The seeds, in order or each at random among those left, in snake order.
    // Under rule Sources (the group winners) a seed who would leave the
    // others unable to be spread gives way to the next one in the list who
    // does not.
    void placeSeeds(std::vector<int> seeds, bool randomSeeds, bool spread)
    {
        while (!seeds.empty()) {
            const auto cell = nextInSnake();
            if (!cell)
                return;
            std::size_t at = randomSeeds ? std::size_t(m_random.below(int(seeds.size()))) : 0;
            const Filling target = snakeFilling();
            if (spread) {
                std::vector<std::size_t> order{at};
                for (std::size_t q = 0; q < seeds.size(); ++q) {
                    if (q != at)
                        order.push_back(q);
                }
                at = firstThatSpreads(order, seeds, cell->first, target).value_or(at);
            }
            const int seed = seeds[at];
            seeds.erase(seeds.begin() + std::ptrdiff_t(at));
            placeSpread(seed, cell->first, cell->second, target);
        }
    }

    void placePlain(std::vector<int> pool)
    {
        while (!pool.empty()) {
            const auto cell = nextInSnake();
            if (!cell)
                return;
            place(takeAtRandom(pool, m_random), cell->first, cell->second);
        }
    }

    void placeClubs(const std::vector<int>& pool)
    {
        std::vector<std::vector<int>> clubs =
            clubsLargestFirst(pool, [this](int e) -> const QString& { return m_entrants[std::size_t(e)].club; });
        for (const std::vector<int>& club : clubs)
            m_pending.insert(m_pending.end(), club.begin(), club.end());
        const Filling target = levelFilling(filledPerGroup(), m_grid.places, int(m_pending.size()));
        chooseApart(target);
        for (std::vector<int>& club : clubs) {
            while (!club.empty()) {
                const int e = takeAtRandom(club, m_random);
                forget(e);
                std::optional<int> chosen;
                const std::vector<int> order = groupsForClubmember(m_entrants[std::size_t(e)]);
                for (const int g : order) {
                    if (keepsApart(e, g, target)) {
                        chosen = g;
                        break;
                    }
                }
                if (order.empty())
                    return;
                const int g = chosen.value_or(order.front());
                placeSpread(e, g, firstFreeRow(g), target);
            }
        }
    }

    void placeSources(std::vector<int> rest)
    {
        while (!rest.empty()) {
            const auto cell = nextInSnake();
            if (!cell)
                return;
            // The head of the list; on a clash with its source group the
            // last of its rank, then the first of another rank.
            std::vector<std::size_t> order{0};
            const DrawEntrant& head = m_entrants[std::size_t(rest.front())];
            for (std::size_t q = rest.size() - 1; q > 0; --q) {
                if (sameRank(m_entrants[std::size_t(rest[q])], head))
                    order.push_back(q);
            }
            for (std::size_t q = 1; q < rest.size(); ++q) {
                if (!sameRank(m_entrants[std::size_t(rest[q])], head))
                    order.push_back(q);
            }
            const Filling target = snakeFilling();
            std::optional<std::size_t> at;
            if (m_apart != Apart::Nobody)
                at = firstThatSpreads(order, rest, cell->first, target);
            if (!at)
                at = exchangedWithoutLookAhead(rest, cell->first);
            std::swap(rest.front(), rest[*at]);
            const int e = rest.front();
            rest.erase(rest.begin());
            placeSpread(e, cell->first, cell->second, target);
        }
    }

    // Who is kept apart, from what the groups and entrants hold now.
    void startSpreading(const std::vector<int>& pending)
    {
        m_pending = pending;
        chooseApart(snakeFilling());
    }

    std::vector<GroupPlacement> placed() const { return m_placed; }

private:
    // The participant the exchange without look-ahead lands on: the head,
    // exchanged on each clash in the target group's rows with the last of
    // its rank in the list.
    std::size_t exchangedWithoutLookAhead(const std::vector<int>& rest, int group) const
    {
        std::vector<int> list = rest;
        for (int row = 0; row < m_grid.places; ++row) {
            const auto& there = m_grid.at(group, row);
            const DrawEntrant& e = m_entrants[std::size_t(list.front())];
            if (!there || !sameSource(*there, e) || list.size() < 2)
                continue;
            for (std::size_t q = list.size() - 1; q > 0; --q) {
                if (sameRank(m_entrants[std::size_t(list[q])], e)) {
                    std::swap(list.front(), list[q]);
                    break;
                }
            }
        }
        return std::size_t(std::find(rest.begin(), rest.end(), list.front()) - rest.begin());
    }

    std::vector<int> filledPerGroup() const
    {
        std::vector<int> filled(std::size_t(m_grid.groups), 0);
        for (int g = 0; g < m_grid.groups; ++g) {
            for (int row = 0; row < m_grid.places; ++row)
                filled[std::size_t(g)] += m_grid.at(g, row) ? 1 : 0;
        }
        return filled;
    }

    // The filling when the entrants still to draw take the next free rows in
    // snake order.
    Filling snakeFilling() const
    {
        std::vector<int> filled = filledPerGroup();
        int count = int(m_pending.size());
        for (std::size_t i = m_next; i < m_snake.size() && count > 0; ++i) {
            if (!m_grid.at(m_snake[i].first, m_snake[i].second)) {
                ++filled[std::size_t(m_snake[i].first)];
                --count;
            }
        }
        return {filled, filled};
    }

    int firstFreeRow(int g) const
    {
        for (int row = 0; row < m_grid.places; ++row) {
            if (!m_grid.at(g, row))
                return row;
        }
        return -1;
    }

    void forget(int entrant)
    {
        const auto it = std::find(m_pending.begin(), m_pending.end(), entrant);
        if (it != m_pending.end())
            m_pending.erase(it);
    }

    // The first of `order` (positions in `list`) whose entrant may go into
    // group `g` (after leaving the pending), or none.
    std::optional<std::size_t> firstThatSpreads(const std::vector<std::size_t>& order, const std::vector<int>& list,
                                                int g, const Filling& target)
    {
        for (const std::size_t at : order) {
            const int e = list[at];
            forget(e);
            const bool fits = keepsApart(e, g, target);
            m_pending.push_back(e);
            if (fits)
                return at;
        }
        return std::nullopt;
    }

    // Places a drawn entrant; when that leaves the rest unable to be spread,
    // the draw keeps fewer apart from then on.
    void placeSpread(int entrant, int group, int row, const Filling& target)
    {
        forget(entrant);
        place(entrant, group, row);
        if (m_apart != Apart::Nobody && !separable(target))
            chooseApart(target);
    }

    void chooseApart(const Filling& target)
    {
        m_apart = Apart::All;
        while (m_apart != Apart::Nobody && !separable(target))
            m_apart = Apart(int(m_apart) - 1);
    }

    int key(const DrawEntrant& e) const { return SeparationKeys::atLevel(m_keys.key(e), m_apart); }

    int bound(int k) const
    {
        const auto total = m_total.find(k);
        const int count = total == m_total.end() ? 0 : total->second;
        return (count + m_grid.groups - 1) / std::max(1, m_grid.groups);
    }

    // Whether the pending entrants can be spread, with `entrant` (when not -1)
    // in group `extra`.
    bool separable(const Filling& target, int entrant = -1, int extra = -1) const
    {
        std::vector<GroupRoom> rooms(std::size_t(m_grid.groups));
        for (int g = 0; g < m_grid.groups; ++g) {
            GroupRoom& room = rooms[std::size_t(g)];
            int filled = 0;
            for (int row = 0; row < m_grid.places; ++row) {
                if (const auto& cell = m_grid.at(g, row)) {
                    ++filled;
                    room.keys.push_back(key(*cell));
                }
            }
            if (g == extra) {
                ++filled;
                room.keys.push_back(key(m_entrants[std::size_t(entrant)]));
            }
            room.most = target.most[std::size_t(g)] - filled;
            room.least = std::max(0, target.least[std::size_t(g)] - filled);
            if (room.most < 0)
                return false;
        }
        if (extra >= 0) {
            const int k = key(m_entrants[std::size_t(entrant)]);
            const std::vector<int>& held = rooms[std::size_t(extra)].keys;
            if (k >= 0 && std::count(held.begin(), held.end(), k) > bound(k))
                return false;
        }
        std::vector<int> pending;
        for (const int e : m_pending)
            pending.push_back(key(m_entrants[std::size_t(e)]));
        return groupsSeparable(rooms, pending, [this](int k) { return bound(k); });
    }

    // Whether `entrant` (no longer pending) may go into group `g`.
    bool keepsApart(int entrant, int g, const Filling& target) const
    {
        return m_apart == Apart::Nobody || separable(target, entrant, g);
    }

    // The groups with a free row in the order the rule prefers them for `e`:
    // the lowest filling, the fewest of its clubmates, the lowest group.
    std::vector<int> groupsForClubmember(const DrawEntrant& e) const
    {
        struct Choice {
            int filled, mates, group;
        };
        std::vector<Choice> choices;
        for (int g = 0; g < m_grid.groups; ++g) {
            int filled = 0, mates = 0;
            for (int row = 0; row < m_grid.places; ++row) {
                if (const auto& cell = m_grid.at(g, row)) {
                    ++filled;
                    mates += sameClub(*cell, e) ? 1 : 0;
                }
            }
            if (filled < m_grid.places)
                choices.push_back({filled, mates, g});
        }
        std::stable_sort(choices.begin(), choices.end(), [](const Choice& a, const Choice& b) {
            return std::tie(a.filled, a.mates) < std::tie(b.filled, b.mates);
        });
        std::vector<int> order;
        for (const Choice& c : choices)
            order.push_back(c.group);
        return order;
    }

    GroupGrid m_grid;
    const std::vector<DrawEntrant>& m_entrants;
    RandomSource& m_random;
    std::vector<std::pair<int, int>> m_snake;
    std::size_t m_next = 0;
    std::vector<GroupPlacement> m_placed;
    SeparationKeys m_keys;
    std::map<int, int> m_total;  // entrants per key, in the groups or to draw
    std::vector<int> m_pending;  // entrants still to draw
    Apart m_apart = Apart::Nobody;
};

} // namespace

std::vector<GroupPlacement> planGroupDraw(const GroupGrid& grid, const std::vector<DrawEntrant>& entrants,
                                          const std::vector<int>& seeds, GroupRule rule, bool randomSeeds,
                                          RandomSource& random)
{
    GroupDraw draw(grid, entrants, rule, random);
    std::vector<int> seedList = seeds;
    if (rule == GroupRule::Sources) {
        seedList.clear();
        for (std::size_t e = 0; e < entrants.size(); ++e) {
            if (isGroupWinner(entrants[e]))
                seedList.push_back(int(e));
        }
    }
    std::vector<bool> isSeed(entrants.size(), false);
    for (const int s : seedList)
        isSeed[std::size_t(s)] = true;
    std::vector<int> pool;
    for (std::size_t e = 0; e < entrants.size(); ++e) {
        if (!isSeed[e])
            pool.push_back(int(e));
    }

    if (rule == GroupRule::Sources) {
        std::vector<int> everyone(entrants.size());
        for (std::size_t e = 0; e < entrants.size(); ++e)
            everyone[e] = int(e);
        draw.startSpreading(everyone);
    }
    draw.placeSeeds(seedList, randomSeeds, rule == GroupRule::Sources);
    switch (rule) {
    case GroupRule::Plain:
        draw.placePlain(pool);
        break;
    case GroupRule::Clubs:
        draw.placeClubs(pool);
        break;
    case GroupRule::Sources: {
        // Winners the groups had no room for stay in the list with the rest.
        std::vector<bool> placed(entrants.size(), false);
        for (const GroupPlacement& p : draw.placed())
            placed[std::size_t(p.entrant)] = true;
        std::vector<int> rest;
        for (std::size_t e = 0; e < entrants.size(); ++e) {
            if (!placed[e])
                rest.push_back(int(e));
        }
        draw.placeSources(rest);
        break;
    }
    }
    return draw.placed();
}

} // namespace bw
