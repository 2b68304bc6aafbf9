// The layout of a knock-out or double knock-out phase's page, without widgets:
// the phase's match rows in; lines, the entrants' labels, the status icons and
// the tool icons out, for screen and print.
//
// Geometry by zoom (pixels): column width S, row height R (a double knock-out
// uses half the rows of a knock-out), top T, left L, the labels' font size and
// the lift F of a label above its line.
//
//   zoom  S    R (KO)  R (double KO)  T   L   font  F
//   1     120  16      8              48  20  7     10
//   2     180  24      12             48  30  8     13
//   3     240  30      15             48  40  9     16
#pragma once

#include "draw/planfiles.h"
#include "plans/groupplanlayout.h"

namespace bw::plan {

struct BracketGeometry {
    int S = 0;
    int R = 0;
    int T = 0;
    int L = 0;
    int fontSize = 0;
    int F = 0;
};
// Zoom 1..3; any other zoom is taken as 2.
BracketGeometry bracketGeometry(int zoom, bool doubleKo);

// The size of a status icon on a bracket page.
inline constexpr QSize kBracketIconSize{25, 16};

// M: the phase's first-round matches (both parents -1, no group) among its rows.
int firstRoundMatches(const QList<PlanMatchRow>& phaseMatches);

// The phase winner's label: the first-named side of a finished final when its
// result gives it more sets or games ("3:1"), else the second, with its id as
// the label's Tag (a certificate reads the club by it); while the final is
// open "Sieger Spiel " + its number and -1.
struct PhaseWinner {
    QString text;
    int id = -1;
};
PhaseWinner phaseWinner(const PlanMatchRow& final);

// The single knock-out bracket of a phase: its match rows ordered by number, the
// first-round matches first. With no first-round match the layout is empty
// (size 0 x 0): nothing is drawn and the page keeps what it shows.
PlanLayout koplanLayout(const QList<PlanMatchRow>& phaseMatches, int zoom);

// The double knock-out bracket of a phase from its block of the plan-definition
// file; `offset` is added to the file's match numbers (the highest match number
// of the phase before). A plan that was not found (file or block missing) gives
// the empty 700 x 500 picture with the tool icons.
PlanLayout doubleKoLayout(const DoubleKoPlan& plan, const QList<PlanMatchRow>& phaseMatches, int offset, int zoom);

// The pool "allespieler": every SID1, then SID2, of 0 or more of the class's
// matches outside groups, in match order, each once.
QList<PoolItem> allPlayersPool(const QList<PlanMatchRow>& classMatches);

} // namespace bw::plan
