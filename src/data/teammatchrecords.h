// What the team match dialog reads and stores of one team match: its games
// (Teamspiele, found by KID, spielnummer and nummer) beside the match row of
// Spielplan, which holds the state and the call times as for any match.
//
// The games' plan and line-up are stored with the state the dialog was filled
// from as guard; a call-up or a start stores the games and the match row in one
// transaction, so another desk that moved the match meanwhile makes it write
// nothing (MatchConflict).
#pragma once

#include "data/matchdialogrecords.h"
#include "data/teamrecords.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QTime>

#include <array>
#include <optional>
#include <vector>

namespace bw {

// One game of a team match as the dialog shows it. Null texts read empty.
struct TeamGameRow {
    int nummer = 0;
    int mid1 = -1;
    int mid2 = -1;
    QString spieler1; // team 1's name, or the placeholder of an open side
    QString spieler2;
    int gruppe = -1;
    QDate geplanterTag; // invalid for Null
    QTime geplanteZeit; // invalid for Null
    QString geplanterTisch;
    QString schiri;
    QString anPlatte;
    std::optional<QString> sbez1; // the line-up of the game, nothing for Null
    std::optional<QString> sbez2;
    std::optional<int> p1;
    std::optional<int> p2;
    std::array<std::optional<int>, 9> saetze;
    QString ergebnis;
};

// The games of the match in the order of their numbers.
std::vector<TeamGameRow> readTeamGames(const QSqlDatabase& db, int kid, int spielnummer);

// The team with its members; nothing when there is no team of that id.
std::optional<TeamRoster> readTeamRoster(const QSqlDatabase& db, int mid);

// What the dialog stores of one game: its plan and the line-up of its
// positions. Empty texts store Null; a text with content is stored as it is.
struct TeamGamePlan {
    int nummer = 0;
    MatchPlan plan;
    std::optional<int> p1;
    std::optional<int> p2;
    QString sbez1;
    QString sbez2;
};

// Stores the games of a match in the state `expected`, each with its plan
// (with `withTable` also as the table it is played at) and line-up, the teams'
// texts of game 1 in every game and -1 for the players' ids. One transaction.
void planTeamMatch(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected,
                   const std::vector<TeamGamePlan>& games, bool withTable);

// Calls an open team match up: its games with their tables, then the match row
// as a call-up stores it, without table and umpire of its own (the games carry
// them). Unless started by hand, no game table may be in use by another called
// or running match of the class; no game umpire ever. One transaction.
void callTeamMatch(const QSqlDatabase& db, int kid, int spielnummer, const std::vector<TeamGamePlan>& games,
                   bool manuell, const QDateTime& moment);

// Starts a called team match at `moment` with its games. One transaction.
void startTeamMatch(const QSqlDatabase& db, int kid, int spielnummer, const std::vector<TeamGamePlan>& games,
                    const QDateTime& moment);

// The games of a match taken back from called to waiting (`called` false) or
// from running to called (`called` true), as the match row was; inside the
// caller's transaction.
void setTeamGamesBack(const QSqlDatabase& db, int kid, int spielnummer, bool called);

// Whether the class has a table of that name (Platten1).
bool plattencheck(const QSqlDatabase& db, int kid, const QString& platte);

} // namespace bw
