#include "draw/separation.h"

#include <algorithm>
#include <limits>
#include <map>

namespace bw {

namespace {

// Maximum flow (Dinic) on a small network.
class Flow {
public:
    explicit Flow(int nodes) : m_first(std::size_t(nodes), -1), m_level(std::size_t(nodes)), m_next(std::size_t(nodes))
    {
    }

    void edge(int from, int to, int capacity)
    {
        if (capacity <= 0)
            return;
        m_edges.push_back({to, capacity, m_first[std::size_t(from)]});
        m_first[std::size_t(from)] = int(m_edges.size()) - 1;
        m_edges.push_back({from, 0, m_first[std::size_t(to)]});
        m_first[std::size_t(to)] = int(m_edges.size()) - 1;
    }

    int run(int source, int sink)
    {
        int total = 0;
        while (levels(source, sink)) {
            m_next = m_first;
            while (const int pushed = push(source, sink, std::numeric_limits<int>::max()))
                total += pushed;
        }
        return total;
    }

private:
    struct Edge {
        int to;
        int capacity;
        int next;
    };

    bool levels(int source, int sink)
    {
        std::fill(m_level.begin(), m_level.end(), -1);
        std::vector<int> queue{source};
        m_level[std::size_t(source)] = 0;
        for (std::size_t at = 0; at < queue.size(); ++at) {
            const int v = queue[at];
            for (int e = m_first[std::size_t(v)]; e >= 0; e = m_edges[std::size_t(e)].next) {
                const Edge& edge = m_edges[std::size_t(e)];
                if (edge.capacity > 0 && m_level[std::size_t(edge.to)] < 0) {
                    m_level[std::size_t(edge.to)] = m_level[std::size_t(v)] + 1;
                    queue.push_back(edge.to);
                }
            }
        }
        return m_level[std::size_t(sink)] >= 0;
    }

    int push(int v, int sink, int limit)
    {
        if (v == sink)
            return limit;
        for (int& e = m_next[std::size_t(v)]; e >= 0; e = m_edges[std::size_t(e)].next) {
            Edge& edge = m_edges[std::size_t(e)];
            if (edge.capacity <= 0 || m_level[std::size_t(edge.to)] != m_level[std::size_t(v)] + 1)
                continue;
            if (const int pushed = push(edge.to, sink, std::min(limit, edge.capacity))) {
                edge.capacity -= pushed;
                m_edges[std::size_t(e ^ 1)].capacity += pushed;
                return pushed;
            }
        }
        return 0;
    }

    std::vector<Edge> m_edges;
    std::vector<int> m_first;
    std::vector<int> m_level;
    std::vector<int> m_next;
};

} // namespace

int SeparationKeys::key(const DrawEntrant& who) const
{
    if (who.bye)
        return kBye;
    switch (m_by) {
    case ApartBy::Nothing:
        break;
    case ApartBy::Clubs:
        if (!who.club.isEmpty())
            return kFirst + m_clubs.try_emplace(who.club, int(m_clubs.size())).first->second;
        break;
    case ApartBy::Sources:
        if (who.source >= 0)
            return kFirst + who.source;
        if (who.source == kBestPlacedSource)
            return kBestPlaced;
        break;
    }
    return kUnkeyed;
}

int SeparationKeys::atLevel(int key, Apart level)
{
    switch (level) {
    case Apart::Nobody:
        return kUnkeyed;
    case Apart::Primary:
        return key == kBestPlaced ? kUnkeyed : key;
    case Apart::All:
        break;
    }
    return key;
}

bool bracketSeparable(const std::vector<int>& bracket, const std::vector<int>& pending)
{
    int freeSlots = 0;
    int openMatches = 0;           // matches with a free slot
    std::map<int, int> besideKey; // key -> matches with one free slot and that key in the other
    for (std::size_t s = 0; s + 1 < bracket.size(); s += 2) {
        const bool freeA = bracket[s] == kFreeSlot, freeB = bracket[s + 1] == kFreeSlot;
        freeSlots += int(freeA) + int(freeB);
        if (freeA || freeB)
            ++openMatches;
        if (freeA != freeB) {
            const int other = freeA ? bracket[s + 1] : bracket[s];
            if (other >= 0)
                ++besideKey[other];
        }
    }
    if (int(pending.size()) > freeSlots)
        return false;
    std::map<int, int> count;
    for (const int key : pending) {
        if (key >= 0)
            ++count[key];
    }
    for (const auto& [key, n] : count) {
        const auto beside = besideKey.find(key);
        if (n + (beside == besideKey.end() ? 0 : beside->second) > openMatches)
            return false;
    }
    return true;
}

bool groupsSeparable(const std::vector<GroupRoom>& groups, const std::vector<int>& pending,
                     const std::function<int(int)>& bound)
{
    const int total = int(pending.size());
    int least = 0, most = 0;
    for (const GroupRoom& g : groups) {
        if (g.least > g.most)
            return false;
        least += g.least;
        most += g.most;
    }
    if (least > total || most < total)
        return false;

    std::map<int, int> count; // pending entrants by key
    int unkeyed = 0;
    for (const int key : pending) {
        if (key >= 0)
            ++count[key];
        else
            ++unkeyed;
    }
    // Per key its room in each group; a key whose room never binds travels
    // with the unkeyed.
    struct Keyed {
        int count;
        std::vector<int> room;
    };
    std::vector<Keyed> keyed;
    for (const auto& [key, n] : count) {
        const int limit = bound(key);
        Keyed k{n, {}};
        bool binds = false;
        for (const GroupRoom& g : groups) {
            const int held = int(std::count(g.keys.begin(), g.keys.end(), key));
            const int room = std::min(g.most, std::max(0, limit - held));
            binds = binds || room < std::min(n, g.most);
            k.room.push_back(room);
        }
        if (binds)
            keyed.push_back(std::move(k));
        else
            unkeyed += n;
    }
    if (keyed.empty())
        return true;

    // source, keyed, the unkeyed, groups, overflow, sink
    const int source = 0;
    const int firstKey = 1;
    const int loose = firstKey + int(keyed.size());
    const int firstGroup = loose + 1;
    const int overflow = firstGroup + int(groups.size());
    const int sink = overflow + 1;
    Flow flow(sink + 1);
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        flow.edge(source, firstKey + int(k), keyed[k].count);
        for (std::size_t g = 0; g < groups.size(); ++g)
            flow.edge(firstKey + int(k), firstGroup + int(g), keyed[k].room[g]);
    }
    flow.edge(source, loose, unkeyed);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int node = firstGroup + int(g);
        flow.edge(loose, node, groups[g].most);
        // What a group must take goes straight to the sink; what it may take
        // beyond shares the overflow, which holds exactly what is left over
        // once every group has its least, so a full flow gives every group at
        // least its least.
        flow.edge(node, sink, groups[g].least);
        flow.edge(node, overflow, groups[g].most - groups[g].least);
    }
    flow.edge(overflow, sink, total - least);
    return flow.run(source, sink) == total;
}

} // namespace bw
