// The standings of a class's groups (Tabellen) and what ranking them, the end
// of a group and the end of a phase read and write.
//
// A group has one Tabellen row per place: the entrant (SID; -1 an empty place,
// -3 a qualifier not known yet), his name as the plan shows it (bez), his rank
// (pos, 0 = first) and his counters. A row is found by class, group and SID
// while it names an entrant; rows without one by their position as well.
//
// The group's matches are its Spielplan rows with gruppe = GID. A match with an
// empty side (spieler1 or spieler2 empty) is never played and does not keep its
// group or phase open.
//
// The writes join the caller's transaction; writers of slots (sendOnPlace,
// sendOnBestPlaced) run under lockClassMatches() (matchrecords.h).
#pragma once

#include "data/sql.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace bw {

// The counters of a standings row; Null reads as 0.
struct StandingsCounters {
    int spielanzahl = 0;
    int matchegewonnen = 0, matcheverloren = 0;
    int spielegewonnen = 0, spieleverloren = 0;
    int saetzegewonnen = 0, saetzeverloren = 0;
    int punktegewonnen = 0, punkteverloren = 0;
    bool operator==(const StandingsCounters&) const = default;
};

// One Tabellen row.
struct StandingsRow {
    int gid = 0;
    int pos = 0;
    int sid = -1;
    QString bez; // empty for Null
    StandingsCounters counters;
    int parentGID = -1;
    int parentpos = -1;
    int phase = 0;
    bool operator==(const StandingsRow&) const = default;
};

// Every row of the group, by position (rows of one position by SID).
QList<StandingsRow> readGroupStandings(const QSqlDatabase& db, int kid, int gid);
// Where the draw put each entrant of the group (Gruppen.pos), by entrant id.
QHash<int, int> readDrawOrder(const QSqlDatabase& db, int kid, int gid);
// The rows of the phase that stand at position `pos` and name an entrant, by group.
QList<StandingsRow> readPlacedAt(const QSqlDatabase& db, int kid, int phase, int pos);

// One game of a team match as the standings count it: its result in sets
// ("a:b", team 1 first; empty when none was chosen) and its stored sets.
struct GameScore {
    int nummer = 0;
    QString ergebnis;
    std::array<std::optional<int>, 9> saetze; // satz1..satz9, nothing for Null
    bool operator==(const GameScore&) const = default;
};

// One group match as the standings count it.
struct GroupMatch {
    int spielnummer = 0;
    int sid1 = -1;
    int sid2 = -1;
    QString spieler1; // empty for Null
    QString spieler2;
    bool beendet = false;
    int siegerSID = -1; // -1 for Null
    int verliererSID = -1;
    QString ergebnis;
    std::array<std::optional<int>, 9> saetze; // satz1..satz9, nothing for Null
    int gruppe = -1;
    int phase = 0;
    QList<GameScore> spiele; // the games of a team match (readGroupGames)
    bool operator==(const GroupMatch&) const = default;

    // Whether it is still to be played: not finished and both sides named.
    bool open() const { return !beendet && !spieler1.isEmpty() && !spieler2.isEmpty(); }
};

// The group's matches by number.
QList<GroupMatch> readGroupMatches(const QSqlDatabase& db, int kid, int gid);
// The games of the group's team matches given to their matches in `matches`.
void readGroupGames(const QSqlDatabase& db, int kid, int gid, QList<GroupMatch>& matches);
// The games of one team match, by number.
QList<GameScore> readMatchGames(const QSqlDatabase& db, int kid, int spielnummer);
// One match of the class; nothing when there is none.
std::optional<GroupMatch> readGroupMatch(const QSqlDatabase& db, int kid, int spielnummer);
// The numbers of the phase's matches still to be played (GroupMatch::open).
QList<int> openMatchesOfPhase(const QSqlDatabase& db, int kid, int phase);

// Turnierklassen.system of the class; nothing when the class is gone or the
// value is Null.
std::optional<int> readClassSystem(const QSqlDatabase& db, int kid);

// A new position for a row of the group: a row naming an entrant is found by
// its SID, any other by its SID and old position as well.
struct PositionChange {
    int sid = -1;
    int oldPos = 0;
    int newPos = 0;
    bool operator==(const PositionChange&) const = default;
};
// Writes the positions (in the caller's transaction, or in one of its own);
// the rows that leave a position another one takes are moved in two steps, so
// no two rows are ever confused.
void writePositions(const QSqlDatabase& db, int kid, int gid, const QList<PositionChange>& changes);

// Writes the counters of the entrant's row of the group.
void writeCounters(const QSqlDatabase& db, int kid, int gid, int sid, const StandingsCounters& counters);

// What fills a slot fed by a group's place or a rank of the best-placed list.
struct PlaceEntrant {
    int sid = -1;
    QString bez;
};

// A slot a send-on left alone: its match is called, running or finished and
// holds another entrant there than the one the place went to (a placement
// match played with a group's provisional holder). That match keeps who
// played it; the organiser has to take it back before the place is filled.
struct KeptSlot {
    int spielnummer = 0;
    int phase = 0;
    int parentGID = -1; // the place it waits for
    int parentpos = -1;
    int held = -1;      // the entrant it holds
    PlaceEntrant entrant; // the one the place went to
};

// How many rows a send-on wrote, whether one of them became a bye, and the
// slots it kept.
struct SendOnResult {
    int written = 0;
    bool byes = false;
    QList<KeptSlot> kept;
};

// Sends the entrant of place `pos` of group `gid` on: into the match slots
// (in a team class also into every game of each such match), group places and
// standings rows that wait for that place. Without an
// entrant (sid below 0) a knock-out slot gets a bye (Freilos) and a slot of a
// group match or a group place becomes an empty place. The sides of a match
// that is called, running or finished never change (KeptSlot).
SendOnResult sendOnPlace(const QSqlDatabase& db, int kid, int gid, int pos, const PlaceEntrant& entrant);

// The same for rank `rank` (from 0) of the best-placed list of the phase
// before `phase`: the slots of `phase` that wait for it.
SendOnResult sendOnBestPlaced(const QSqlDatabase& db, int kid, int phase, int rank, const PlaceEntrant& entrant);

} // namespace bw
