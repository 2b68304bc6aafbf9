// An oracle of its own for whether a draw can keep apart who should not meet,
// written without the draw's separation test: brute force over every placement
// for small sizes, a maximum flow (Edmonds-Karp on a capacity matrix) over the
// matches or groups for larger ones. Keys as in draw/separation.h: -1 meets
// anybody, -2 is a free slot, 0 and up a club, source group or the byes.
#pragma once

#include <algorithm>
#include <map>
#include <queue>
#include <vector>

namespace bw::test::oracle {

inline constexpr int kAnybody = -1;
inline constexpr int kFree = -2;
inline constexpr int kLeftFree = -3; // brute force: a free slot nobody took

// Maximum flow by shortest augmenting paths on a dense capacity matrix.
class MatrixFlow {
public:
    explicit MatrixFlow(int nodes) : m_n(nodes), m_cap(std::size_t(nodes * nodes), 0) {}
    void add(int from, int to, int capacity) { m_cap[std::size_t(from * m_n + to)] += std::max(0, capacity); }
    int run(int source, int sink)
    {
        int total = 0;
        for (;;) {
            std::vector<int> parent(std::size_t(m_n), -1);
            parent[std::size_t(source)] = source;
            std::queue<int> queue;
            queue.push(source);
            while (!queue.empty() && parent[std::size_t(sink)] < 0) {
                const int v = queue.front();
                queue.pop();
                for (int w = 0; w < m_n; ++w) {
                    if (parent[std::size_t(w)] < 0 && m_cap[std::size_t(v * m_n + w)] > 0) {
                        parent[std::size_t(w)] = v;
                        queue.push(w);
                    }
                }
            }
            if (parent[std::size_t(sink)] < 0)
                return total;
            int push = 1 << 30;
            for (int w = sink; w != source; w = parent[std::size_t(w)])
                push = std::min(push, m_cap[std::size_t(parent[std::size_t(w)] * m_n + w)]);
            for (int w = sink; w != source; w = parent[std::size_t(w)]) {
                m_cap[std::size_t(parent[std::size_t(w)] * m_n + w)] -= push;
                m_cap[std::size_t(w * m_n + parent[std::size_t(w)])] += push;
            }
            total += push;
        }
    }

private:
    int m_n;
    std::vector<int> m_cap;
};

// --- brackets ---

inline bool clash(int a, int b)
{
    return a >= 0 && a == b;
}

// Every way of putting `pending` into the free slots, one key value at a time;
// a free slot may also stay free.
inline bool bracketByBruteForce(std::vector<int> cells, std::map<int, int> pending)
{
    const auto free = std::find(cells.begin(), cells.end(), kFree);
    if (free == cells.end()) {
        for (const auto& entry : pending) {
            if (entry.second > 0)
                return false;
        }
        return true;
    }
    const std::size_t s = std::size_t(free - cells.begin());
    const int partner = cells[s ^ 1U];
    for (auto& [key, n] : pending) {
        if (n == 0 || clash(key, partner))
            continue;
        --n;
        cells[s] = key;
        const bool done = bracketByBruteForce(cells, pending);
        ++n;
        if (done)
            return true;
    }
    cells[s] = kLeftFree;
    return bracketByBruteForce(cells, pending);
}

// Keys -> matches (one of a key per match, none into a match that holds it) ->
// the sink (as many as the match has free slots).
inline bool bracketByFlow(const std::vector<int>& cells, const std::map<int, int>& pending)
{
    const int matches = int(cells.size() / 2);
    const int keys = int(pending.size());
    const int source = 0, sink = 1 + keys + matches;
    MatrixFlow flow(sink + 1);
    int total = 0, k = 0;
    for (const auto& [key, n] : pending) {
        total += n;
        flow.add(source, 1 + k, n);
        for (int m = 0; m < matches; ++m) {
            const int a = cells[std::size_t(2 * m)], b = cells[std::size_t(2 * m + 1)];
            const int freeSlots = int(a == kFree) + int(b == kFree);
            if (key < 0)
                flow.add(1 + k, 1 + keys + m, freeSlots);
            else if (!clash(key, a) && !clash(key, b))
                flow.add(1 + k, 1 + keys + m, std::min(1, freeSlots));
        }
        ++k;
    }
    for (int m = 0; m < matches; ++m)
        flow.add(1 + keys + m, sink,
                 int(cells[std::size_t(2 * m)] == kFree) + int(cells[std::size_t(2 * m + 1)] == kFree));
    return flow.run(source, sink) == total;
}

inline bool bracketCanKeepApart(const std::vector<int>& cells, const std::vector<int>& pending)
{
    std::map<int, int> count;
    for (const int key : pending)
        ++count[key];
    const long freeSlots = std::count(cells.begin(), cells.end(), kFree);
    if (long(pending.size()) > freeSlots)
        return false;
    if (freeSlots <= 10)
        return bracketByBruteForce(cells, count);
    return bracketByFlow(cells, count);
}

// --- groups ---

// The bound of a key of `total` entrants over `groups` groups: an even spread.
inline int evenShare(int total, int groups)
{
    return (total + groups - 1) / std::max(1, groups);
}

struct GroupCase {
    std::vector<std::vector<int>> held; // keys of the entrants in each group
    std::vector<int> filled;            // entrants in each group (those without key too)
    int places = 0;
    std::vector<int> pending;      // keys of those still to place
    std::map<int, int> bound;      // most of a key in one group
    std::vector<int> take;         // snake order: how many of the pending each group takes; empty: level filling
};

// Whether the final filling is one that filling the groups one entrant at a
// time, always into a group of the lowest filling with a free row, can give:
// a group that took anybody ends at most one above every other group.
inline bool levelFilled(const GroupCase& c, const std::vector<int>& taken)
{
    for (std::size_t g = 0; g < taken.size(); ++g) {
        const int final = c.filled[g] + taken[g];
        if (final > c.places)
            return false;
        if (taken[g] == 0)
            continue;
        for (std::size_t h = 0; h < taken.size(); ++h) {
            if (final > c.filled[h] + taken[h] + 1)
                return false;
        }
    }
    return true;
}

inline bool groupsByBruteForce(const GroupCase& c, std::vector<int>& taken, std::map<int, int>& pending,
                               std::map<std::pair<int, int>, int>& perGroup)
{
    auto next = pending.begin();
    while (next != pending.end() && next->second == 0)
        ++next;
    if (next == pending.end())
        return c.take.empty() ? levelFilled(c, taken) : taken == c.take;
    const int key = next->first;
    --next->second;
    bool done = false;
    for (std::size_t g = 0; g < taken.size() && !done; ++g) {
        if (c.filled[g] + taken[g] >= c.places || (!c.take.empty() && taken[g] >= c.take[g]))
            continue;
        if (key >= 0 && perGroup[{key, int(g)}] + 1 > c.bound.at(key))
            continue;
        ++taken[g];
        ++perGroup[{key, int(g)}];
        done = groupsByBruteForce(c, taken, pending, perGroup);
        --perGroup[{key, int(g)}];
        --taken[g];
    }
    ++pending[key];
    return done;
}

// The least and most of the pending each group takes under level filling:
// every group below the level the pending reach is raised to it, and the
// entrants left then raise some of the groups at that level by one.
inline void levelBounds(const GroupCase& c, std::vector<int>& least, std::vector<int>& most)
{
    const int count = int(c.pending.size());
    int level = *std::min_element(c.filled.begin(), c.filled.end());
    const auto cost = [&](int to) {
        int sum = 0;
        for (const int n : c.filled)
            sum += std::max(0, to - n);
        return sum;
    };
    while (level < c.places && cost(level + 1) <= count)
        ++level;
    const int extra = count - cost(level);
    least.clear();
    most.clear();
    for (const int n : c.filled) {
        least.push_back(std::max(0, level - n));
        most.push_back(least.back() + (extra > 0 && n <= level && level < c.places ? 1 : 0));
    }
}

// Keys -> groups (each as many as the key's bound leaves), groups -> the sink
// (their least) and -> an overflow (beyond it) that holds what is left.
inline bool groupsByFlow(const GroupCase& c)
{
    std::vector<int> least = c.take, most = c.take;
    if (c.take.empty())
        levelBounds(c, least, most);
    std::map<int, int> count;
    for (const int key : c.pending)
        ++count[key];
    const int groups = int(c.filled.size());
    const int keys = int(count.size());
    const int source = 0, overflow = 1 + keys + groups, sink = overflow + 1;
    MatrixFlow flow(sink + 1);
    int total = 0, leastSum = 0, k = 0;
    for (const auto& [key, n] : count) {
        total += n;
        flow.add(source, 1 + k, n);
        for (int g = 0; g < groups; ++g) {
            const auto& held = c.held[std::size_t(g)];
            const int there = int(std::count(held.begin(), held.end(), key));
            flow.add(1 + k, 1 + keys + g, key < 0 ? n : std::max(0, c.bound.at(key) - there));
        }
        ++k;
    }
    for (int g = 0; g < groups; ++g) {
        leastSum += least[std::size_t(g)];
        flow.add(1 + keys + g, sink, least[std::size_t(g)]);
        flow.add(1 + keys + g, overflow, most[std::size_t(g)] - least[std::size_t(g)]);
    }
    if (leastSum > total)
        return false;
    flow.add(overflow, sink, total - leastSum);
    return flow.run(source, sink) == total;
}

inline bool groupsByBruteForce(const GroupCase& c)
{
    std::map<int, int> count;
    for (const int key : c.pending)
        ++count[key];
    std::map<std::pair<int, int>, int> perGroup;
    for (std::size_t g = 0; g < c.held.size(); ++g)
        for (const int key : c.held[g])
            ++perGroup[{key, int(g)}];
    std::vector<int> taken(c.filled.size(), 0);
    return groupsByBruteForce(c, taken, count, perGroup);
}

// Whether the pending can go into the groups so that no group holds more of a
// key than its bound (its own entrants counted).
inline bool groupsCanKeepApart(const GroupCase& c)
{
    if (c.pending.size() <= 8 && c.filled.size() <= 4)
        return groupsByBruteForce(c);
    return groupsByFlow(c);
}

} // namespace bw::test::oracle
