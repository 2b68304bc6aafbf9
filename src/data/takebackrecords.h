// What taking a match or a result back reads and writes of a class's match
// rows (Spielplan), group places (Gruppen) and standings (Tabellen): the match
// rows with their slots and sources, the rows fed by a match (parentspiel) or
// by a place (parentGID/parentpos), and the statements that set them back.
// The writes join the caller's transaction, which holds lockClassMatches().
#pragma once

#include "data/matchdialogrecords.h"
#include "data/matchrecords.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace bw {

// A match row as the take-back reads it; Null ids and sources read as -1.
struct TakeBackRow {
    int spielnummer = 0;
    int phase = 0;
    int gruppe = -1;
    std::array<MatchSide, 2> sides;     // id, text and source group and place
    std::array<int, 2> parentspiel{-1, -1}; // the match whose winner or loser fills the slot
    std::array<bool, 2> parentsieger{false, false};
    int siegerSID = -1;
    int verliererSID = -1;
    bool inPlanung = false;
    bool begonnen = false;
    bool beendet = false;
    bool manuell = false;
    QString anPlatte; // empty for Null
    QString schiri;
    QDateTime spielende; // invalid for Null

    MatchStage stage() const;
};

std::optional<TakeBackRow> readTakeBackRow(const QSqlDatabase& db, int kid, int spielnummer);
// The matches with a slot filled from match `spielnummer`, by number.
QList<TakeBackRow> readRowsFedByMatch(const QSqlDatabase& db, int kid, int spielnummer);
// The matches with a slot fed by group `parentGID` (-3: the best-placed list),
// of phase `phase` when it is above 0, by number.
QList<TakeBackRow> readRowsFedByPlace(const QSqlDatabase& db, int kid, int parentGID, int phase);
// The places (parentpos) of the group places fed by `parentGID`, of phase
// `phase` when it is above 0.
QList<int> readFedPlaces(const QSqlDatabase& db, int kid, int parentGID, int phase);

// The match row without its result: not finished, no sets, no result, winner
// and loser undecided; begonnen and in_planung stay.
void clearMatchResult(const QSqlDatabase& db, int kid, int spielnummer);
// Side `side` (0 or 1) of the match back to the placeholder, the match not
// started and undecided (a bye match decides again when byes are settled).
void resetMatchSide(const QSqlDatabase& db, int kid, int spielnummer, int side, const QString& placeholder);
// The games of a team match without their results: not finished, no sets, no
// result, winner and loser undecided.
void clearGameResults(const QSqlDatabase& db, int kid, int spielnummer);
// Side `side` (0 or 1) of every game of the team match back to the
// placeholder: no team and no player, the game not started and undecided.
void resetGameSides(const QSqlDatabase& db, int kid, int spielnummer, int side, const QString& placeholder);

// The group places and standings rows fed by (parentGID, parentpos) back to
// what the draw wrote: the open qualifier with the placeholder, counters 0.
// Rows that hold it already are left alone. Returns the rows changed.
int resetFedPlaces(const QSqlDatabase& db, int kid, int parentGID, int parentpos, int phase,
                   const QString& placeholder);

// A finished match running again: begonnen, neither called nor finished; only
// while it is not finished. False when no row changed.
bool setRunningAgain(const QSqlDatabase& db, int kid, int spielnummer);
// A called match waiting again: its nine call times cleared and in_planung
// off, only while it is called. False when it is not called (any more).
bool clearCall(const QSqlDatabase& db, int kid, int spielnummer);
// A running match called again: spielstart cleared, begonnen off, in_planung
// on, only while it is running. False when it is not running (any more).
bool clearStart(const QSqlDatabase& db, int kid, int spielnummer);

// What the slots and places fed by the match, its group and the best-placed
// list of its phase hold (id per slot, in a fixed order), to tell whether a
// correction sends another entrant anywhere.
QList<int> fedEntrants(const QSqlDatabase& db, int kid, int spielnummer, int gruppe, int phase);

} // namespace bw
