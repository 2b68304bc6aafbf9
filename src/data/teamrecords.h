// The teams of a team class as the team builder keeps them: a Teams row per
// team with its players, reserves and two doubles, and the team's name in the
// members' Doppelpartner rows of the class (mannschaft). Storing and deleting a
// team each run in one transaction; questions to the user come before.
#pragma once

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace bw {

// An id with its display text: a class, a player ("Nachname, Vorname") or a team.
struct NamedId {
    int id = 0;
    QString name;
    bool operator==(const NamedId&) const = default;
};

// The slots of a team; their number is the class format's, an empty slot is 0.
struct TeamSlots {
    QList<int> players;  // s1..s4
    QList<int> reserves; // r1, r2
    QList<int> double1;  // d1_1, d1_2
    QList<int> double2;  // d2_1, d2_2
};

struct TeamRow {
    int tid = 0;
    int kid = 0;
    int mid = 0;
    QString teamname;
    QString verein;
    bool angemeldet = false;
    // s1..s4, r1, r2, d1_1, d1_2, d2_1, d2_2 as stored: a player id, 0 for an
    // empty slot, null for a slot the format does not have.
    QList<QVariant> slotColumns;
};

// A member of a team as the lists and the web site name him.
struct TeamMemberName {
    QString nachname;
    QString vorname;
};

// A team with the player at each of its ten places; a place is empty when it
// holds no id above 0 or no player of that id exists.
struct TeamRoster {
    QString teamname;
    QString verein;
    std::array<std::optional<TeamMemberName>, 4> spieler; // s1 .. s4
    std::array<std::optional<TeamMemberName>, 2> reserve; // r1, r2
    std::array<std::optional<TeamMemberName>, 4> doppel;  // d1_1, d1_2, d2_1, d2_2
};

enum class TeamScope { Tournament, Class, Team };

// The teams of a tournament (id = TID), of a class (id = KID) or the one team
// of id = MID, in the order
// they were entered, with their members, in one query.
std::vector<TeamRoster> readTeamRosters(const QSqlDatabase& db, TeamScope scope, int id);

// The team classes of the tournament.
QList<NamedId> teamClasses(const QSqlDatabase& db, int tid);
// The players entered in the class, by name.
QList<NamedId> registeredPlayers(const QSqlDatabase& db, int kid);
// The distinct clubs of those players, sorted; no empty one.
QStringList registeredClubs(const QSqlDatabase& db, int kid);
// The teams of the class, by name.
QList<NamedId> classTeamList(const QSqlDatabase& db, int kid);
// Players and reserves per team of the class's format; 0 and 0 without one.
std::pair<int, int> teamFormatSize(const QSqlDatabase& db, int kid);
std::optional<TeamRow> readTeam(const QSqlDatabase& db, int mid);
// The team of the class that has the player among its players or reserves.
std::optional<NamedId> teamOfPlayer(const QSqlDatabase& db, int kid, int sid);
// Every player of the class who plays or is reserve in one of its teams.
QSet<int> playersInTeams(const QSqlDatabase& db, int kid);
// The team of the class with exactly that name.
std::optional<int> teamByName(const QSqlDatabase& db, int kid, const QString& name);
// "Nachname, Vorname" of a player, or nothing when there is no such player.
std::optional<QString> playerName(const QSqlDatabase& db, int sid);

// Stores a team in one transaction: a new Teams row (mid 0; not checked in) or
// the row of mid (its tournament, class and check-in state stay); then the
// team's name in the Doppelpartner rows of its members, after taking it from
// the rows of players no longer in it. Returns the team's id.
int storeTeam(const QSqlDatabase& db, int tid, int kid, int mid, const QString& name, const QString& club,
              const TeamSlots& lineup);
// Deletes the team and takes its name from the class's Doppelpartner rows that
// carry it, in one transaction.
void deleteTeam(const QSqlDatabase& db, int kid, int mid, const QString& name);
// Takes a player's team name from his row of the class.
void clearPlayerTeam(const QSqlDatabase& db, int kid, int sid);

} // namespace bw
