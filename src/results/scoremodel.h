// The score of a match: the stored set scores (satzwert) and the result text
// (ergebnis). This is the one place that reads and writes them.
//
// A satzwert holds the points of the set's loser, its sign naming the winner:
//   v >= 0        the first-named side won, W(v):v
//   v < 0         the second-named side won, -v:W(-v)
//   -100          the second-named side won 11:0 (typed as "-0")
//   Null          the set was not played
// with W(x) = 11 for x <= 9, else x + 2 (deuce). The first-named side is side 1
// of the match row (SID1, spieler1).
//
// ergebnis is "a:b": the sets won by side 1 and by side 2, one digit each.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace bw {

// A stored set score; no value: the set was not played.
using Satzwert = std::optional<int>;
// The nine sets of a match row (satz1 .. satz9).
using Saetze = std::array<Satzwert, 9>;

// The stored value of a set the first-named side lost without a point.
constexpr int kSatzOhnePunkt = -100;
// The largest number of points of a set's loser an entry may give; keeps every
// typed value apart from kSatzOhnePunkt.
constexpr int kMaxVerliererpunkte = 99;

// The reading of one set entry.
struct SetEntry {
    bool valid = false; // false: not a set score (the value is then empty)
    Satzwert value;
};

// Reads a set entry: trimmed; empty -> Null; "-" followed only by zeros ->
// kSatzOhnePunkt; otherwise a signed decimal integer ("+9" and "9" give 9) of at
// most kMaxVerliererpunkte points. Anything else is not valid.
SetEntry readSetEntry(const QString& text);

// The entry text of a stored set: "+v" for v >= 0, "-v" for a negative v,
// "-0" for kSatzOhnePunkt, empty for Null.
QString setEntryText(const Satzwert& value);
// The same set seen from the second-named side: "-v" for v >= 0, "+v" for a
// negative v, "+0" for kSatzOhnePunkt, empty for Null.
QString mirroredSetEntryText(const Satzwert& value);

// The set hint of a finished match: the entry texts of the played sets in order,
// joined by ", " ("+7, -9, -0"); its mirror from the second-named side
// ("-7, +9, +0").
QString setHint(const Saetze& saetze);
QString mirroredSetHint(const Saetze& saetze);

// W(x): the winner's points when the loser scored x.
int winnerPoints(int loserPoints);

// The points of both sides in one set.
struct SetPoints {
    int side1 = 0;
    int side2 = 0;
    bool operator==(const SetPoints&) const = default;
};
// The points of a stored set; none for Null.
std::optional<SetPoints> setPoints(const Satzwert& value);
// The points of every played set, summed.
SetPoints matchPoints(const Saetze& saetze);

// A result "a:b".
struct Ergebnis {
    int saetze1 = 0; // sets won by side 1
    int saetze2 = 0; // sets won by side 2
    // 1 when side 1 won (b < a), else 2.
    int sieger() const { return saetze2 < saetze1 ? 1 : 2; }
    int verlierer() const { return 3 - sieger(); }
    QString text() const;
    // The result from side 2: "b:a".
    Ergebnis mirrored() const { return {saetze2, saetze1}; }
    bool operator==(const Ergebnis&) const = default;
};
// Reads a result text: exactly a digit, ":" and a digit; none otherwise.
std::optional<Ergebnis> readErgebnis(const QString& text);

// Whether the sets entered agree with the result: no set left empty before one
// that is entered, the sets won by each side equal the result, and no set
// after the one that decided the match (the one in which the winner reached
// his number of sets). Nothing entered at all (a walkover, a result typed in
// without its sets) agrees with any result. Returns the German message that
// names the disagreement, or nothing.
std::optional<QString> setsDisagreement(const Saetze& saetze, const Ergebnis& ergebnis);

// The result of a team match against the results of its games: when at least
// one game has a result, the games won by each team must equal the team
// result. `games` are the games' results in sets (team 1 first; a game
// without one left out). Returns the German message, or nothing.
std::optional<QString> gamesDisagreement(const QList<Ergebnis>& games, const Ergebnis& ergebnis);

} // namespace bw
