// Entrants, brackets and groups for the tests of the draw routines, and what
// a plan says of them.
#pragma once

#include "draw/groupdraw.h"
#include "draw/kodraw.h"

#include <algorithm>
#include <vector>

namespace bw::test::draw {

inline DrawEntrant club(const QString& name)
{
    return {name, kNoSource, -1, false};
}

inline DrawEntrant qualifier(int group, int rank)
{
    return {QString(), group, rank, false};
}

inline DrawEntrant bestPlaced(int k)
{
    return {QString(), kBestPlacedSource, k, false};
}

inline std::vector<int> iota(int n, int from = 0)
{
    std::vector<int> v;
    for (int i = 0; i < n; ++i)
        v.push_back(from + i);
    return v;
}

// The group of each entrant (-1: not placed).
inline std::vector<int> groupOf(const std::vector<GroupPlacement>& placed, std::size_t entrants)
{
    std::vector<int> g(entrants, -1);
    for (const GroupPlacement& p : placed)
        g[std::size_t(p.entrant)] = p.group;
    return g;
}

inline std::vector<KoSlot> emptyBracket(int n)
{
    return std::vector<KoSlot>(std::size_t(n));
}

inline int bracketFor(int participants)
{
    int n = 2;
    while (n < participants)
        n *= 2;
    return n;
}

// The slot each entrant ends in; -1 none.
inline std::vector<int> slotOf(const KoPlan& plan, std::size_t entrants)
{
    std::vector<int> at(entrants, -1);
    for (std::size_t s = 0; s < plan.bracket.size(); ++s) {
        if (plan.bracket[s].from == KoFill::From::Entrant)
            at[std::size_t(plan.bracket[s].index)] = int(s);
    }
    return at;
}

inline bool isBye(const KoPlan& plan, int s)
{
    return plan.bracket[std::size_t(s)].from == KoFill::From::Bye;
}

inline int byeCount(const KoPlan& plan)
{
    return int(std::count_if(plan.bracket.begin(), plan.bracket.end(),
                             [](const KoFill& f) { return f.from == KoFill::From::Bye; }));
}

inline bool twoByesMeet(const KoPlan& plan)
{
    for (std::size_t s = 0; s + 1 < plan.bracket.size(); s += 2) {
        if (isBye(plan, int(s)) && isBye(plan, int(s) + 1))
            return true;
    }
    return false;
}

} // namespace bw::test::draw
