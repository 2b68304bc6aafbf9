// The rows of KO_System: for every bracket size N = 2, 4, ..., 1024 the bracket
// position (from 1) of each seed 1..N/2. Seed 1 stands at the top, seed 2 at the
// bottom, seeds 3 and 4 at the inner edges of the two halves, 5-8 at the free
// edges of the quarters, and so on: each new seed s goes to the opposite edge of
// the segment of the seed it would meet first (the seeds of a round sum to
// 2^k + 1), so the best seeds meet last. Positions are distinct and never two
// slots of one first-round match.
#pragma once

#include <QSqlDatabase>

#include <vector>

namespace bw {

constexpr int kLargestBracket = 1024;

struct KoSystemRow {
    int spieler;  // bracket size
    int gesetzt;  // seed number
    int position; // bracket position from 1
};

// Positions of seeds 1..N/2 (index 0 = seed 1) for a bracket of N = 2^k players.
std::vector<int> seedPositions(int bracketSize);

// All rows for N = 2 .. kLargestBracket, by size and seed.
std::vector<KoSystemRow> koSystemRows();

// The seed positions of a bracket of `bracketSize` as the database holds them
// (KO_System by seed number); the knock-out draw takes its seed slots from here.
std::vector<int> readSeedPositions(const QSqlDatabase& db, int bracketSize);

} // namespace bw
