// The entrants of a class with their check-in, as the group set-up and the draw
// list them: the players of a singles class, the pairs and the players without
// partner of a doubles or mixed class, the teams of a team class.
//
// A player counts as checked in by his own entry in the class
// (Spieler_im_turnier.gemeldet; no entry: not checked in), a pair when both of
// its players are, a team by its row (Teams.angemeldet). The database's order
// is not used: every list comes sorted by name with the German collator.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace bw {

struct EntrantPlayer {
    int sid = 0;
    QString nachname;
    QString vorname;
    QString verein;
    bool mann = false;
    bool gemeldet = false;

    bool operator==(const EntrantPlayer&) const = default;
};

// A pair of a doubles or mixed class, listed once under the player whose name
// sorts first.
struct EntrantPair {
    EntrantPlayer first;
    EntrantPlayer second;

    bool gemeldet() const { return first.gemeldet && second.gemeldet; }
    bool operator==(const EntrantPair&) const = default;
};

struct EntrantTeam {
    int mid = 0;
    QString teamname;
    QString verein;
    int s1 = 0; // the team's first player (0 for none)
    bool angemeldet = false;

    bool operator==(const EntrantTeam&) const = default;
};

// The players entered in the class, by surname and first name.
QList<EntrantPlayer> classEntrantPlayers(const QSqlDatabase& db, int kid);

// The pairs of a doubles or mixed class: each pair once, also when both of its
// symmetric rows are there; a pair of which a player is missing from the player
// table is left out.
QList<EntrantPair> classPairs(const QSqlDatabase& db, int kid);

// The players of a doubles or mixed class who have no partner yet.
QList<EntrantPlayer> playersWithoutPartner(const QSqlDatabase& db, int kid);

// The teams of a team class, by name.
QList<EntrantTeam> classTeams(const QSqlDatabase& db, int kid);

} // namespace bw
