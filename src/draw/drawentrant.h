// What the draw routines know of an entrant, a group row or a bracket slot:
// the club (phase 1, for club separation) or the source group and rank
// (phases 2 and 3, for keeping one group's qualifiers apart). The routines
// plan on these alone and never look at names, so a text that happens to
// begin with "S" or to end in a group's letter means nothing to them.
#pragma once

#include "platform/clock.h"

#include <QString>

#include <algorithm>
#include <map>
#include <vector>

namespace bw {

// Source groups that are not a group of the previous phase.
inline constexpr int kNoSource = -1;          // not known: never a seed, never anybody's group-mate
inline constexpr int kByeSource = -2;         // the byes count as one group among themselves
inline constexpr int kBestPlacedSource = -3;  // so do the best-placed qualifiers

struct DrawEntrant {
    QString club;           // empty: no club, nobody's clubmate
    int source = kNoSource; // global index of the source group, or one of the values above
    int rank = -1;          // finishing rank in the source group from 0 (0: the winner)
    bool bye = false;

    static DrawEntrant freilos() { return {QString(), kByeSource, -1, true}; }
};

inline bool sameClub(const DrawEntrant& a, const DrawEntrant& b)
{
    return !a.club.isEmpty() && a.club == b.club;
}

inline bool sameSource(const DrawEntrant& a, const DrawEntrant& b)
{
    return a.source != kNoSource && a.source == b.source;
}

// Group winners are the seeds of a later phase.
inline bool isGroupWinner(const DrawEntrant& e)
{
    return e.source >= 0 && e.rank == 0;
}

// One at random among those left: one below(k) over their order, so a random
// seed reproduces a draw.
template <typename T>
T takeAtRandom(std::vector<T>& left, RandomSource& random)
{
    const auto at = left.begin() + random.below(int(left.size()));
    T taken = std::move(*at);
    left.erase(at);
    return taken;
}

// The order of club separation: the clubs with most members first, equal
// counts by club name (so the order of the list they come in does not
// matter), members without a club last; each club's members in the order
// given. `clubOf` gives a member's club.
template <typename Member, typename ClubOf>
std::vector<std::vector<Member>> clubsLargestFirst(const std::vector<Member>& members, ClubOf clubOf)
{
    std::map<QString, std::vector<Member>> byClub;
    std::vector<Member> clubless;
    for (const Member& m : members) {
        const QString& club = clubOf(m);
        (club.isEmpty() ? clubless : byClub[club]).push_back(m);
    }
    std::vector<std::vector<Member>> clubs;
    for (auto& entry : byClub)
        clubs.push_back(std::move(entry.second));
    std::stable_sort(clubs.begin(), clubs.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    clubs.push_back(std::move(clubless));
    return clubs;
}

} // namespace bw
