// The knock-out draw: where each entrant of a phase goes in its bracket.
//
// The bracket keeps the size it was laid out with (N slots, first-round match
// k is slots 2k and 2k+1, the upper half slots 0 .. N/2-1); slots filled
// before the draw keep their entrants. Byes = free slots - entrants to draw.
//
// 1. Seeds (phase 1: the seed list; phases 2 and 3: the group winners, in list
//    order) take the KO_System positions of size N, seed row by seed row: the
//    next seed in order, or one at random among those left. An entrant placed
//    by hand on such a slot goes back among those to draw. While byes are left
//    and "Freilose zufällig verteilen" is not ticked, each seed gets a bye
//    beside it, when that slot is free. Seeds beyond the last row stay in the
//    seed list in phase 1 and are drawn with the others in phases 2 and 3.
// 2. Halves marks: a placed entrant marks its clubmates (phase 1 with club
//    separation) or the others of its source group (phases 2 and 3) for the
//    other half. The marks belong to the draw alone.
// 3. The others, with the remaining byes:
//    - Plain (phase 1): each one at random among those left (byes included),
//      into the first slots of the matches from the top before any second
//      slot; an entrant first beside a bye, a bye never beside a bye while a
//      slot elsewhere is free.
//    - Clubs (phase 1 with club separation): the clubs with most entrants
//      first (equal counts by name, entrants without club last), within a
//      club one member at random after the other; first slots before second
//      slots; into the marked half, beside no clubmate where one is free, else
//      anywhere beside no clubmate; the byes last, beside entrants.
//    - Sources (phases 2 and 3): each one at random among those left (byes
//      included; they count as one source group), into the empty slots from
//      the top: an entrant first beside a bye, then into its marked half
//      beside nobody of its own source group, then anywhere beside nobody of
//      it, then the first empty slot.
// 4. Every slot still empty becomes a bye.
//
// "At random among the k left" is one RandomSource::below(k) over the list
// order, so a random seed reproduces a draw.
#pragma once

#include "draw/drawentrant.h"
#include "platform/clock.h"

#include <vector>

namespace bw {

enum class KoRule { Plain, Clubs, Sources };

struct KoSlot {
    enum class Kind { Empty, Entrant, Bye };
    Kind kind = Kind::Empty;
    DrawEntrant who;
};

struct KoDrawInput {
    std::vector<KoSlot> bracket;     // the laid-out bracket as the draw finds it
    std::vector<DrawEntrant> entrants; // those to draw, in list order
    std::vector<int> seeds;         // indices into entrants in seed order (rule Sources takes the group winners)
    std::vector<int> seedPositions; // KO_System positions (from 1) of seeds 1, 2, ... for size N
    KoRule rule = KoRule::Plain;
    bool randomSeeds = false;
    bool randomByes = false;        // "Freilose zufällig verteilen"
};

// What a slot holds after the draw.
struct KoFill {
    enum class From { Kept, Entrant, Slot, Bye };
    From from = From::Kept;
    int index = -1; // Entrant: index into the entrants; Slot: the slot it stood in before
    bool operator==(const KoFill&) const = default;
};

struct KoPlan {
    std::vector<KoFill> bracket;
    std::vector<int> undrawn;       // entrants left in their list
    std::vector<int> unplacedSlots; // slots whose entrant gave way to a seed and found no other slot
};

KoPlan planKnockoutDraw(const KoDrawInput& input, RandomSource& random);

// The other slot of a first-round match.
inline int partnerSlot(int slot)
{
    return slot % 2 == 0 ? slot + 1 : slot - 1;
}

} // namespace bw
