// Validators of the plan-definition files: everything the readers rely on, and what
// makes the content a fair and readable plan. Each check returns one line per fault
// (empty when the content passes); genplanfiles runs them before it writes, the
// tests run them over the shipped files.
#pragma once

#include "draw/planfiles.h"

#include <QList>
#include <QStringList>

namespace bw::planfilecheck {

// A complete round robin of `places` (every pair exactly once), played in rounds in
// which nobody plays twice, 1-2 in the last round, and from five places on nobody
// in two matches in a row.
QStringList checkGroupOrder(const QList<Pairing>& order, int places);

// Blocks 1 .. 13, each found at its own key line, each passing checkGroupOrder.
QStringList checkGroupOrderFile(const QString& path);

// The readers' rules; 2s-2 matches; every match but the final feeds exactly one
// later slot with its winner and, in the winners' bracket, one with its loser;
// nobody plays on after two losses; the final meets both brackets' winners; the
// layout: the drawing fits the header's extent, labels and connectors do not
// overlap, no line runs through another match, the winners' bracket lies above the
// losers' bracket and the final at the right.
QStringList checkDoubleKoPlan(const DoubleKoPlan& plan, int size);

// Blocks 2, 4, ..., 256, each found at its own key line, each passing checkDoubleKoPlan.
QStringList checkDoubleKoFile(const QString& path);

// The round of the losers' bracket that match `match` belongs to (1 = the one that
// pairs first-round losers), 0 for a match of the winners' bracket or the final.
int losersRound(const DoubleKoPlan& plan, int match);

// The matches of the losers' bracket in which two entrants can meet that may have
// met before in the same bracket plan, in match order.
QList<int> possibleRematches(const DoubleKoPlan& plan, int size);

} // namespace bw::planfilecheck
