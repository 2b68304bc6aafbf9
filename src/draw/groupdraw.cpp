#include "draw/groupdraw.h"

#include <algorithm>

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

int takeFirst(std::vector<int>& list)
{
    const int value = list.front();
    list.erase(list.begin());
    return value;
}

// Best-placed qualifiers count their own ranks: the second best-placed is no
// "Zweiter".
bool sameRank(const DrawEntrant& a, const DrawEntrant& b)
{
    return a.rank == b.rank && (a.source == kBestPlacedSource) == (b.source == kBestPlacedSource);
}

class GroupDraw {
public:
    GroupDraw(const GroupGrid& grid, const std::vector<DrawEntrant>& entrants, RandomSource& random)
        : m_grid(grid), m_entrants(entrants), m_random(random), m_snake(snakeOrder(grid.groups, grid.places))
    {
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
    void placeSeeds(std::vector<int> seeds, bool randomSeeds)
    {
        while (!seeds.empty()) {
            const auto cell = nextInSnake();
            if (!cell)
                return;
            place(randomSeeds ? takeAtRandom(seeds, m_random) : takeFirst(seeds), cell->first, cell->second);
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
        for (std::vector<int>& club : clubs) {
            while (!club.empty()) {
                const int e = takeAtRandom(club, m_random);
                const auto target = groupForClubmember(m_entrants[std::size_t(e)]);
                if (!target)
                    return;
                place(e, target->first, target->second);
            }
        }
    }

    void placeSources(std::vector<int> rest)
    {
        while (!rest.empty()) {
            const auto cell = nextInSnake();
            if (!cell)
                return;
            for (int row = 0; row < m_grid.places; ++row) {
                const auto& there = m_grid.at(cell->first, row);
                const DrawEntrant& e = m_entrants[std::size_t(rest.front())];
                if (!there || !sameSource(*there, e) || rest.size() < 2)
                    continue;
                for (std::size_t q = rest.size() - 1; q > 0; --q) {
                    if (sameRank(m_entrants[std::size_t(rest[q])], e)) {
                        std::swap(rest.front(), rest[q]);
                        break;
                    }
                }
            }
            place(takeFirst(rest), cell->first, cell->second);
        }
    }

    std::vector<GroupPlacement> placed() const { return m_placed; }

private:
    // The group of the lowest filling (among those with a free row) that holds
    // fewest of the entrant's clubmates, the lowest on ties; its first free row.
    std::optional<std::pair<int, int>> groupForClubmember(const DrawEntrant& e) const
    {
        std::optional<std::pair<int, int>> best;
        int bestFilled = 0, bestMates = 0;
        for (int g = 0; g < m_grid.groups; ++g) {
            int filled = 0, mates = 0, freeRow = -1;
            for (int row = 0; row < m_grid.places; ++row) {
                const auto& cell = m_grid.at(g, row);
                if (!cell) {
                    if (freeRow < 0)
                        freeRow = row;
                    continue;
                }
                ++filled;
                if (sameClub(*cell, e))
                    ++mates;
            }
            if (freeRow < 0)
                continue;
            if (!best || filled < bestFilled || (filled == bestFilled && mates < bestMates)) {
                best = {g, freeRow};
                bestFilled = filled;
                bestMates = mates;
            }
        }
        return best;
    }

    GroupGrid m_grid;
    const std::vector<DrawEntrant>& m_entrants;
    RandomSource& m_random;
    std::vector<std::pair<int, int>> m_snake;
    std::size_t m_next = 0;
    std::vector<GroupPlacement> m_placed;
};

} // namespace

std::vector<GroupPlacement> planGroupDraw(const GroupGrid& grid, const std::vector<DrawEntrant>& entrants,
                                          const std::vector<int>& seeds, GroupRule rule, bool randomSeeds,
                                          RandomSource& random)
{
    GroupDraw draw(grid, entrants, random);
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

    draw.placeSeeds(seedList, randomSeeds);
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
