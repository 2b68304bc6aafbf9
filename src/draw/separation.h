// Whether the entrants still to draw can all be kept apart from those they
// should not meet: the one test that the group and the knock-out draws share.
//
// Every entrant carries a key: his club, his source group, the byes' own key,
// or kUnkeyed (he may meet anybody). Two entrants of one key should not meet in
// a first-round match, and a group should hold no more entrants of one key
// than that key's bound. The draws keep their own order of preference and ask
// here, before they take a slot or a group, whether the entrants left after it
// can still all be placed that way; only a draw for which no such placement
// exists at all goes on without asking.
//
// - Bracket: the key of every key can still be kept apart when each key's
//   entrants left find as many first-round matches with a free slot and none of
//   their key in them (two of one key never share a match; any other mix can
//   always be arranged, by a counting argument over the matches).
// - Groups: a flow from the keys through the groups, each group taking at
//   least and at most a given number of those left (so that the groups stay as
//   evenly filled as the draw's order fills them) and of each key no more than
//   its bound allows.
#pragma once

#include "draw/drawentrant.h"

#include <functional>
#include <map>
#include <vector>

namespace bw {

inline constexpr int kUnkeyed = -1; // meets anybody
inline constexpr int kFreeSlot = -2; // a slot nobody stands in yet

// Who a draw keeps apart: nobody; the byes and the clubs or source groups; or
// also the best-placed qualifiers among themselves.
enum class Apart { Nobody, Primary, All };

enum class ApartBy { Nothing, Clubs, Sources };

// The keys of a draw's entrants: the byes one key, then each club or source
// group its own.
class SeparationKeys {
public:
    explicit SeparationKeys(ApartBy by) : m_by(by) {}

    // The key of `who` when everybody is kept apart who may be.
    int key(const DrawEntrant& who) const;
    // That key at `level`: kUnkeyed for whom that level does not keep apart.
    static int atLevel(int key, Apart level);

private:
    static constexpr int kBye = 0;
    static constexpr int kBestPlaced = 1;
    static constexpr int kFirst = 2;

    ApartBy m_by;
    mutable std::map<QString, int> m_clubs; // numbered as first met
};

// `bracket`: per bracket slot the key of who stands there, or kFreeSlot (first-
// round match k is slots 2k and 2k+1). `pending`: the keys of the entrants and
// byes still to place. True when they all fit into the free slots without two
// of one key in a match (whatever stands in the filled slots already).
bool bracketSeparable(const std::vector<int>& bracket, const std::vector<int>& pending);

struct GroupRoom {
    std::vector<int> keys; // of the entrants the group holds (kUnkeyed ones may be left out)
    int least = 0;         // of the entrants still to place, how many it takes at least
    int most = 0;          // and at most
};

// `bound(key)`: the most entrants of `key` one group may hold. True when the
// entrants with keys `pending` can all be spread over the groups within their
// least and most and within every key's bound.
bool groupsSeparable(const std::vector<GroupRoom>& groups, const std::vector<int>& pending,
                     const std::function<int(int)>& bound);

} // namespace bw
