// The knock-out draw: where each entrant of a phase goes in its bracket.
//
// The bracket keeps the size it was laid out with (N slots, first-round match
// k is slots 2k and 2k+1, the upper half slots 0 .. N/2-1); slots filled
// before the draw keep their entrants. Byes = free slots - entrants to draw.
//
// 1. Seeds (phase 1: the seed list; phases 2 and 3: the group winners, in list
//    order) take the KO_System positions of size N: seed k the position of
//    row k, or with random seeds each row in turn one seed at random among
//    those left. A seed placed by hand keeps his slot and his row is skipped;
//    a seed whose row's slot holds another seed placed by hand takes one of
//    the skipped rows instead. An entrant placed by hand on a seed's slot who
//    is no seed goes back among those to draw. While byes are left and
//    "Freilose zufällig verteilen" is not ticked, the seeds get a bye beside
//    them in row order (those placed by hand too), when that slot is free.
//    Seeds beyond the last row stay in the seed list in phase 1 and are drawn
//    with the others in phases 2 and 3.
// 2. Halves marks: a seed marks his clubmates (phase 1 with club separation)
//    or the others of his source group (phases 2 and 3) for the other half,
//    and so does every entrant drawn after. The marks belong to the draw.
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
//      included), into the empty slots from the top: an entrant first beside
//      a bye, then into its marked half beside nobody of its own source group,
//      then anywhere beside nobody of it, then the first empty slot.
//    Whatever slot these prefer is taken only when everyone still to draw can
//    afterwards be kept apart from those he should not meet (separation.h):
//    byes from byes, clubmates (Clubs) or qualifiers of one source group
//    (Sources) from each other, and where that also holds the best-placed
//    qualifiers from each other. Otherwise the next slot in the same order of
//    preference that keeps this possible is taken, looking beyond the first
//    slots too. A draw that cannot keep them apart at all goes by the
//    preferences alone.
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
    int seedRow = -1; // a seed placed here by hand: his KO_System row (seed number - 1)
};

struct KoDrawInput {
    std::vector<KoSlot> bracket;     // the laid-out bracket as the draw finds it
    std::vector<DrawEntrant> entrants; // those to draw, in list order
    // Per KO_System row (seed k at index k-1) the index of its seed among the
    // entrants, -1 when that seed was placed by hand. Rule Sources with none
    // given takes the group winners in list order.
    std::vector<int> seeds;
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

// The group winners among `entrants`, in list order.
std::vector<int> groupWinners(const std::vector<DrawEntrant>& entrants);

// The other slot of a first-round match.
inline int partnerSlot(int slot)
{
    return slot % 2 == 0 ? slot + 1 : slot - 1;
}

} // namespace bw
