// The group draws: where each entrant of a phase goes among its groups.
//
// Snake order: the rows of the groups are filled level by level, level 0 from
// group A to the last group, level 1 back from the last group to A, and so on,
// so the last group of a level also starts the next one. Rows filled before
// the draw (by hand) are skipped: the draw never writes over an entrant.
//
// Three rules:
// - Plain (phase 1 without club separation): the seeds in order, or each one
//   at random among those left, in snake order; then the other entrants, each
//   one at random among those left, on in snake order.
// - Clubs (phase 1 with club separation): the seeds as above; then the clubs,
//   the one with most entrants first (equal counts by club name, entrants
//   without a club last), and within a club its members one at random after
//   the other. Each goes into a group of the lowest filling among the groups
//   with a free row, the one with fewest of its clubmates, the lowest group on
//   ties. So each level fills completely before the next begins.
// - Sources (phases 2 and 3): the group winners in list order, or each one at
//   random among those left, in snake order; then the other participants from
//   the head of the list on, in snake order. One from its own source group
//   in the target group makes the head of the list change places with the
//   last participant of its own rank that fits there, or failing that with
//   the first one of another rank that does.
//
// Clubs and Sources take a group (Clubs) or a participant for a row (Sources)
// only when everyone still to draw can afterwards be spread so that no group
// holds more of one club or one source group than an even spread needs (a
// club or source group of c entrants no more than ceil(c/G) in one of G
// groups; the best-placed qualifiers count as one source group where that is
// possible too), with every group as full as the order of filling makes it
// (separation.h). Otherwise the next choice in the same order of preference
// that keeps this possible is taken. A draw that cannot spread them so at all
// goes by the preferences alone.
//
// "At random among the k left" is one RandomSource::below(k) over the list
// order, so a random seed reproduces a draw.
#pragma once

#include "draw/drawentrant.h"
#include "platform/clock.h"

#include <optional>
#include <utility>
#include <vector>

namespace bw {

// The rows of a phase's groups as the draw finds them: row r of group g at
// g * places + r; an empty optional is a free row.
struct GroupGrid {
    int groups = 0;
    int places = 0;
    std::vector<std::optional<DrawEntrant>> cells;

    GroupGrid(int groups, int places);
    std::optional<DrawEntrant>& at(int group, int row) { return cells[std::size_t(group * places + row)]; }
    const std::optional<DrawEntrant>& at(int group, int row) const
    {
        return cells[std::size_t(group * places + row)];
    }
};

// (group, row) of every cell in snake order.
std::vector<std::pair<int, int>> snakeOrder(int groups, int places);

enum class GroupRule { Plain, Clubs, Sources };

struct GroupPlacement {
    int entrant; // index into the entrants drawn
    int group;
    int row;
    bool operator==(const GroupPlacement&) const = default;
};

// Plans a group draw of `entrants` (in list order) into `grid`; `seeds` are
// indices into `entrants`, in seed order (Rule Sources ignores them and takes
// the group winners). Returns the placements in the order they were drawn;
// an entrant left without a free row is not in it.
std::vector<GroupPlacement> planGroupDraw(const GroupGrid& grid, const std::vector<DrawEntrant>& entrants,
                                          const std::vector<int>& seeds, GroupRule rule, bool randomSeeds,
                                          RandomSource& random);

} // namespace bw
