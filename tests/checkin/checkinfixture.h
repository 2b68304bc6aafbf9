// A small tournament for the check-in and team tests, inserted row by row:
// tournament 1 with two singles classes, a doubles, a mixed and a team class
// (format 4 players, 1 reserve), six players, two teams; tournament 2 with one
// player of its own, which no action on tournament 1 may touch.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace bw::test {

namespace seed {
constexpr int kTid = 1;
constexpr int kOtherTid = 2;
constexpr int kHerrenB = 1;  // singles
constexpr int kHerrenA = 2;  // singles
constexpr int kDoppel = 3;   // doubles
constexpr int kMixed = 4;    // mixed
constexpr int kTeam = 5;     // team class
constexpr int kOtherClass = 9;
// Players: Abel 1 (Herren B, Doppel, team), Berg 2 (Herren B, team), Cramer 3
// (Herren A, team), Dorn 4 (team), Ebert 5 (team reserve), Fuchs 6 (no class),
// Gast 7 (the other tournament).
constexpr int kAbel = 1, kBerg = 2, kCramer = 3, kDorn = 4, kEbert = 5, kFuchs = 6, kGast = 7;
// "TSV A" (MID 1): Abel, Berg, Cramer, Dorn, reserve Ebert. "SV Brunnhain" (MID 2): empty.
constexpr int kTeamA = 1, kTeamB = 2;
} // namespace seed

void seedCheckInTournament(const QSqlDatabase& db);

// gemeldet of one class entry; -1 without the entry, -2 for Null.
int entryFlag(const QSqlDatabase& db, int sid, int kid);
bool teamFlag(const QSqlDatabase& db, int mid);
// Doppelpartner.mannschaft of a player in a class ("<null>" for Null).
QString teamNameOf(const QSqlDatabase& db, int sid, int kid);

} // namespace bw::test
