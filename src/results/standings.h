// Group standings without widgets: the counters of a group's entrants from its
// finished matches, the one ranking of a group (Tabelle_Rechnen) and of the
// best-placed list, and the tie resolver through which the user orders what the
// ranking cannot decide.
//
// The ranking. Entrants are compared by their counters, each pair as won and
// lost: for singles, doubles and mixed the match difference, matches won, the
// set difference, sets won, the point difference, points won; for teams the
// team-match difference, team matches won, the game difference, games won, the
// set difference, sets won, the point difference, points won. Entrants equal
// in all of them are ordered by the
// balance of their wins and losses in the group's matches among themselves;
// when that balance parts them into smaller sets, each set is compared again by
// its own matches. What stays equal keeps its old order (the stored positions,
// so an order set by hand survives) and is a tie: its entries are marked and
// the user may order them among themselves. Entrants who have played nothing
// (after a result was taken back, too) stand in the order of the draw, never
// in one that a result left behind.
//
// Rows without an entrant (an empty place, a qualifier not known yet) are not
// ranked; they follow the ranked rows in their old order.
#pragma once

#include "data/standingsrecords.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>

namespace bw {

// farbe of an entry whose rank is set by hand (drawn red).
constexpr int kMarkiert = 255;

// One ranked row of a group or one candidate of the best-placed list.
struct tabellenitem {
    int spielanzahl = 0;
    int SID = -1;
    int pos = 0; // the old position when ranked; the new one after
    int matchegewonnen = 0, matcheverloren = 0;
    int punktegewonnen = 0, punkteverloren = 0;
    int spielegewonnen = 0, spieleverloren = 0;
    int saetzegewonnen = 0, saetzeverloren = 0;
    QString bez;
    int farbe = 0; // 0, or kMarkiert
    int tie = -1;  // entries of one tie share the number; -1 for none
    int gid = -1;  // the group the row stands in

    bool marked() const { return farbe == kMarkiert; }
    StandingsCounters counters() const;
    bool operator==(const tabellenitem&) const = default;
};

tabellenitem itemOf(const StandingsRow& row);

// The keys of the ranking in their order, greater is better (a singles
// class has six, the last two are 0).
std::array<int, 8> rankKeys(const tabellenitem& item, bool team);

// A finished match's winner and loser.
struct DirectResult {
    int winner = -1;
    int loser = -1;
};

// Ranks the entrants given in their old order (see above); returns them in
// their new order with pos = index and the ties marked. `drawOrder` gives the
// draw's position of an entrant by id (readDrawOrder).
QList<tabellenitem> rankGroup(QList<tabellenitem> entrants, bool team, const QList<DirectResult>& results,
                              const QHash<int, int>& drawOrder = {});
// Ranks the best-placed candidates given in group order by the keys alone
// (they played in different groups); equal ones keep their order and are a tie.
QList<tabellenitem> rankCandidates(QList<tabellenitem> candidates, bool team);
// Whether an entry is marked.
bool hasTies(const QList<tabellenitem>& ranked);

// The winners and losers of the finished matches.
QList<DirectResult> directResults(const QList<GroupMatch>& matches);

// The counters of the entrant from the finished matches among `matches`
// (singles, doubles, mixed): matches played, won and lost, sets from the
// result, points from the stored sets; the team-match pair is kept from `base`.
StandingsCounters countersOf(int sid, const QList<GroupMatch>& matches, const StandingsCounters& base = {});

// The counters of the team from the finished team matches among `matches`
// with their games: team matches played, won and lost, games from the match's
// result, sets from the results of its games (a game without one adds none),
// points from the stored sets of every game; team 1 is the first-named side of
// every game.
StandingsCounters teamCountersOf(int mid, const QList<GroupMatch>& matches);

// The ranking of a group as it would store its positions: for every row whose
// position changes, the change.
QList<PositionChange> positionChanges(const QList<StandingsRow>& rows, const QList<tabellenitem>& ranked);

// Whether the class plays team matches (its counters and keys are a team's).
bool isTeamClass(const QSqlDatabase& db, int kid);

// Ranks the group and stores the positions that changed, in one transaction
// (joining the caller's) under the class's match lock. A group without ranked
// rows is left as it is.
void Tabelle_Rechnen(const QSqlDatabase& db, int KID, int GID);

// Orders what a ranking left tied: the list as ranked with the tied entries
// marked; the answer is the same entries in the order chosen (only marked
// entries of one tie change places with each other). The caller asks before
// its transaction and never holds one while the user decides.
class TieResolver {
public:
    virtual ~TieResolver() = default;
    virtual QList<tabellenitem> resolveTies(const QList<tabellenitem>& ranked) = 0;
};

// The answer of a resolver checked against the list it was given: the same
// entries, every unmarked one at its place and every tie on the places it
// had; positions set to the new order. Throws AppError otherwise.
QList<tabellenitem> checkedOrder(const QList<tabellenitem>& ranked, const QList<tabellenitem>& answer);

} // namespace bw
