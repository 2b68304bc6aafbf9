// The match rows of a class as the service receives them: each row's loser flag
// (a match of the losers' side of a double knock-out) and its group or round,
// worked out from the class's rows and the play systems of its phases alone.
//
// - A phase played in groups (and every phase of a class without group
//   settings) sends the row's group.
// - A knock-out phase sends the round: 1 for a match without parent matches,
//   else one more than its parent's round; a winners'-side match fed from the
//   losers' side keeps that parent's round. With two parents the higher of the
//   two candidates counts.
// - In a double knock-out a match is on the losers' side when a parent match
//   is, or when both slots wait for the losers of two matches. The phase's
//   final (its highest match number) is never flagged.
// - Placement matches (phase 4) are sent unflagged, in the round after their
//   parents' (a match for third place gets the final's round).
//
// Rows are taken by match number, so a parent is always worked out before the
// matches it feeds; there is no limit on the numbers.
#pragma once

#include "data/livepublishrecords.h"
#include "live/liverecords.h"

#include <QList>

#include <optional>

namespace bw {

QList<LiveMatch> liveMatches(QList<StoredLiveMatch> rows, const std::optional<LivePhases>& phases);

} // namespace bw
