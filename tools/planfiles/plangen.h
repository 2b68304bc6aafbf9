// The content of the two plan-definition files under resources/Files/, generated
// rather than typed, so that every block follows the same rules.
//
// system.txt: the round-robin order of a group of 1 to 13 places. Rounds come
// from the circle method (each place plays once per round; with an odd number of
// places one sits out each round); the round holding 1-2, the meeting of the two
// best seeds, is played last and 1-2 is its last match. Within the rounds the
// matches are arranged so that, where the group size allows, no place plays two
// matches in a row.
//
// ko_system.txt: a double knock-out plan for every bracket of 2, 4, ..., 256 slots.
// Winners' bracket: s-1 matches. Losers' bracket: s-2 matches; its first round
// pairs the losers of neighbouring first-round matches, then rounds alternate
// between taking in the losers of the next winners' round and halving the field.
// The losers come in crossed (match j meets the loser of winners' match j XOR x),
// x chosen per round so that early rematches are avoided as long as the bracket
// allows it. One final between both bracket winners, no deciding second final:
// every match is written in advance, and one played only if needed would stay
// open. Matches are numbered in playing order: winners' round 1, losers' round 1,
// then per winners' round r >= 2 that round and the two losers' rounds it feeds.
// Layout: the winners' bracket above, the losers' bracket below, one grid column
// per round of the losers' bracket so that each winners' round ends in the column
// of the losers' round that takes in its losers, and the final at the right.
#pragma once

#include "draw/planfiles.h"

#include <QByteArray>
#include <QList>

namespace bw::plangen {

inline constexpr int kLargestGroup = 13;
inline constexpr int kLargestBracket = 256;

// True when the two matches have a place in common.
bool sharePlace(const Pairing& a, const Pairing& b);

// The rounds of a group of `places`, in playing order.
QList<QList<Pairing>> roundRobinRounds(int places);

// The double knock-out plan for `size` slots (a power of two, 2 .. kLargestBracket).
DoubleKoPlan doubleKoPlan(int size);

// The crossing x of each drop-in round t = 1 .. log2(size) - 1.
QList<int> dropInCrossings(int size);

QByteArray groupOrderFileText();
QByteArray doubleKoFileText();

} // namespace bw::plangen
