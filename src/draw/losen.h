// "Losen" on a page of the draw wizard: the routine that the phase's play
// system and options choose, run on the wizard's DrawModel.
//
// | Phase | System | "Vereinszugehörigkeit beachten" | Routine |
// |---|---|---|---|
// | 1 | groups | no | gruppenlosenfest |
// | 1 | groups | yes | gruppenlosenvereinfest |
// | 1 | single or double knock-out | no | kolosenfest |
// | 1 | single or double knock-out | yes | kolosenfestverein |
// | 2, 3 | groups | - | gruppenlosenfest2 |
// | 2 | knock-out | - | kolosenfest2 |
// | 3 | knock-out | - | kolosenfest3 |
//
// A routine takes what the phase's lists still hold (phase 1: the seed list's
// entrants, not its placeholders, and the registered entrants; phases 2 and
// 3: the participant list) and places it with the rules of groupdraw.h and
// kodraw.h around what was placed by hand. What it places leaves its list;
// a seed leaves its placeholder. An entrant that finds no room stays in (or
// returns to) its list, so "Fertig stellen" sees him missing. The phases 2
// and 3 tell group winners, source groups and ranks by the entries' parent
// group and place, never by their texts.
#pragma once

#include "draw/drawmodel.h"
#include "platform/clock.h"

#include <vector>

namespace bw {

enum class Losverfahren {
    gruppenlosenfest,
    gruppenlosenvereinfest,
    kolosenfest,
    kolosenfestverein,
    gruppenlosenfest2,
    kolosenfest2,
    kolosenfest3,
    keines, // the phase does not exist
};

// The routine behind "Losen" of phase `phase` (1..3).
Losverfahren losverfahren(const DrawModel& model, int phase, bool vereinBeachten);

struct LosenOptionen {
    bool randomSeeds = false;       // "zufällig (gesetzte Spieler losen)", "Zufall"
    bool vereinBeachten = false;    // "Vereinszugehörigkeit beachten" (phase 1)
    bool freiloseZufaellig = false; // "Freilose zufällig verteilen"
};

// "Losen" of phase `phase`: runs its routine and disables the button until
// "Alles löschen". `seedPositions` are the KO_System positions of the
// phase's bracket size (readSeedPositions); group phases do not use them.
void losen(DrawModel& model, int phase, const LosenOptionen& options, const std::vector<int>& seedPositions,
           RandomSource& random);

// The routines one by one.
void gruppenlosenfest(DrawModel& model, bool randomSeeds, RandomSource& random);
void gruppenlosenvereinfest(DrawModel& model, bool randomSeeds, RandomSource& random);
void gruppenlosenfest2(DrawModel& model, int phase, bool randomSeeds, RandomSource& random);
void kolosenfest(DrawModel& model, bool randomSeeds, bool freiloseZufaellig, const std::vector<int>& seedPositions,
                 RandomSource& random);
void kolosenfestverein(DrawModel& model, bool randomSeeds, bool freiloseZufaellig,
                       const std::vector<int>& seedPositions, RandomSource& random);
void kolosenfest2(DrawModel& model, bool randomSeeds, bool freiloseZufaellig, const std::vector<int>& seedPositions,
                  RandomSource& random);
void kolosenfest3(DrawModel& model, bool randomSeeds, bool freiloseZufaellig, const std::vector<int>& seedPositions,
                  RandomSource& random);

} // namespace bw
