// What recording a match result reads and writes of a class's match rows
// (Spielplan), its group rows (Gruppen), the players (Spielerdaten) and the
// referees (Schiri). The result engine (results/resultengine.h) runs these in
// one transaction under the class's lock (lockClassMatches).
#pragma once

#include "data/refereerecords.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace bw {

// The match row as recording a result needs it.
struct MatchToRecord {
    int spielnummer = 0;
    bool manuell = false; // called with a table typed by hand
    int sid1 = -1;
    int sid2 = -1;
    QString spieler1;
    QString spieler2;
    QString anPlatte; // the table it is played at
    QString schiri;   // its umpire's "surname, first name"
    int phase = 0;
    int gruppe = -1;
    bool beendet = false;
    bool begonnen = false;
    bool inPlanung = false;
};
std::optional<MatchToRecord> readMatchToRecord(const QSqlDatabase& db, int kid, int spielnummer);

// The table system of group `gid`: 1 each group has its own tables, 0 the
// tables are shared; 0 when the group has no rows (a knock-out match).
int readPlattensystem(const QSqlDatabase& db, int kid, int gid);

// The finished state of a match row.
struct MatchResultRow {
    QDateTime spielende;
    std::array<std::optional<int>, 9> saetze; // satz1 .. satz9, empty: Null
    QString ergebnis;
    int siegerSID = -1;
    int verliererSID = -1;
};
// The state a stored result is written over.
enum class ResultOver {
    Running,  // a result recorded: beendet 0, begonnen 1
    Finished, // a result corrected in place: beendet set
    TakenBack, // a result recorded again after its take-back: beendet 0
};
// Stores the result of a match: spielende, the nine sets, ergebnis, winner and
// loser, beendet set and begonnen cleared (in_planung untouched), only while
// the row is in the state `over`. False when it is not: another desk recorded
// it, corrected it or took it back meanwhile.
bool storeMatchResult(const QSqlDatabase& db, int kid, int spielnummer, const MatchResultRow& row,
                      ResultOver over = ResultOver::Running);

// Stores the sets and the result of game `nummer` of a team match (an empty
// result as it is).
void storeGameResult(const QSqlDatabase& db, int kid, int spielnummer, int nummer,
                     const std::array<std::optional<int>, 9>& saetze, const QString& ergebnis);

// Writes an entrant into every slot of the class, in every phase, whose text is
// exactly `placeholder`: side 1 first, then side 2. Returns the rows changed.
int fillWaitingSlots(const QSqlDatabase& db, int kid, const QString& placeholder, int sid, const QString& name);
// The same for the games of the class's team matches (MID1/MID2).
int fillWaitingGameSlots(const QSqlDatabase& db, int kid, const QString& placeholder, int mid, const QString& name);

// A player as a referee would be made of him: names, club, birth date,
// associations, country and class; none when there is no such player.
std::optional<RefereeRecord> refereeRecordOfPlayer(const QSqlDatabase& db, int sid);
// Whether the tournament has a referee of this surname and first name.
bool refereeNamed(const QSqlDatabase& db, int tid, const QString& nachname, const QString& vorname);

} // namespace bw
