// What a finished draw stores besides its matches: the places of its groups
// (one Gruppen and one Tabellen row per place), the tables each group and the
// knock-out plans may use (Platten), and what the plan generation reads of the
// class's earlier phases in a new draw of one phase.
//
// Group places: GID is the class's group index over all phases (phase-1 groups
// from 0, then phase 2's, then phase 3's), pos the place from 0. A place of a
// later phase whose entrant is not known yet holds offenerQualifikant with the
// qualifier text, and parentGID/parentpos name the group and finishing rank it
// waits for (-3: the best-placed list, the rank counted from 0). Result entry
// finds these rows by the parent columns and rewrites Tabellen.pos when it ranks
// a group, so a standings row's pos is the finishing rank.
//
// The writes here join the caller's transaction: the plan generation deletes,
// writes and settles byes in one transaction under lockClassMatches().
#pragma once

#include "data/sql.h"

#include <QByteArray>
#include <QHash>
#include <QSqlDatabase>
#include <QString>

namespace bw {

// offenerQualifikant: the id of a later-phase place whose qualifier is not known yet.
constexpr int offenerQualifikant = -3;
// Bestplatziertenliste: the parent group of a place fed by the best-placed list.
constexpr int Bestplatziertenliste = -3;

// One place of a group: its Gruppen row and its Tabellen row (counters 0).
struct GroupPlaceRow {
    int gid = 0;
    int pos = 0;
    int sid = -1;
    QString bez;
    int parentGID = -1;
    int parentpos = -1;
    int plattensystem = 0; // 0 tables shared by all groups, 1 tables fixed per group
    int phase = 1;
    bool operator==(const GroupPlaceRow&) const = default;
};

// One Platten row: a table a group may use (GID -1: the knock-out plans).
struct GroupTableRow {
    int gid = -1;
    QString platte;
    int phase = 1;
    bool operator==(const GroupTableRow&) const = default;
};

// Inserts group places and tables with one prepared statement per table. Make it
// before the transaction it writes in (see PreparedStatement).
class DrawRowInserter {
public:
    DrawRowInserter(const QSqlDatabase& db, int kid);
    void insertPlace(const GroupPlaceRow& row); // Gruppen, then Tabellen
    void insertTable(const GroupTableRow& row);

private:
    PreparedStatement m_gruppen;
    PreparedStatement m_tabellen;
    PreparedStatement m_platten;
};

// Deletes the class's group places, tables, matches and games of phase
// `fromPhase` and later; `fromPhase` 1 deletes them all (placement matches,
// phase 4, go with every phase).
void deleteDrawFrom(const QSqlDatabase& db, int kid, int fromPhase);

// The highest match number of the phase; 0 when it has none.
int lastMatchNumber(const QSqlDatabase& db, int kid, int phase);

// Where an entrant of the phase finished: his standings row's group and rank.
struct FinishingPlace {
    int gid = -1;
    int pos = -1;
    bool operator==(const FinishingPlace&) const = default;
};
// The standings rows of the phase's entrants by their key (SID, the first
// player's of a pair, MID), this class only; places still waiting for their
// qualifier are left out.
QHash<int, FinishingPlace> readFinishingPlaces(const QSqlDatabase& db, int kid, int phase);

// Whether the phase has a match still to be played between two known entrants
// (a match against a bye is never played and does not count).
bool phaseHasOpenMatch(const QSqlDatabase& db, int kid, int phase);

// A fingerprint of the class's matches as they are stored (sides, outcomes,
// states), to tell whether another desk changed the plan since it was read.
QByteArray planStamp(const QSqlDatabase& db, int kid);

} // namespace bw
