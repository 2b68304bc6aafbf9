// Check-in on the day of the tournament. A player is checked in per class entry
// (Spieler_im_turnier.gemeldet), a team per team row (Teams.angemeldet). These
// functions read and set the flags and deliver the rows of the check-in page's
// tabs and lists; the page decides what is shown.
//
// A team check-in writes the team's flag and the flags of the members the user
// ticked in one short transaction after the member dialog has closed, so no
// transaction waits on a person.
//
// Two desks: every writer locks in one order, the teams by key and then the
// players' entries by key, whatever order the page lists them in; a transaction
// the server still breaks off for a deadlock is run again (inTransaction).
#pragma once

#include "data/myitem.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace bw {

enum class CheckInOrder { Name, Club };

// Whether the player's entry in the class is checked in; false without an entry.
bool istgemeldet(const QSqlDatabase& db, int sid, int kid, int tid);

// Checks a player in or out of one class, or with kid 0 of every class he
// entered that is not a team class (his team-class entries change with his
// team). Joins the caller's transaction; several statements run in one.
void spieleranmeldung(const QSqlDatabase& db, int tid, int sid, bool flag, int kid);

// One tab of the check-in page after "Alle": the class's name with its kind.
struct CheckInTab {
    int kid = 0;
    QString text; // "Herren A (Einzel)"
};
// The classes of the tournament by kind (singles, doubles, mixed, team), each
// kind by name.
QList<CheckInTab> checkInTabs(const QSqlDatabase& db, int tid);

// The players entered in a class: ID = SID, name "Nachname, Vorname", verein,
// gemeldet for that class.
QList<Myitem> classPlayers(const QSqlDatabase& db, int tid, int kid, CheckInOrder order = CheckInOrder::Name);

// Every player of the tournament: gemeldet when every one of his class entries
// is checked in (so also a player who entered no class), teilgemeldet when at
// least one is.
QList<Myitem> allPlayers(const QSqlDatabase& db, int tid, CheckInOrder order = CheckInOrder::Name);

// Teams of one class, or of the whole tournament with kid 0, by name: ID = MID,
// partnerID = the team's class, name = team name, verein, gemeldet = angemeldet.
QList<Myitem> checkInTeams(const QSqlDatabase& db, int tid, int kid);

// The display text of a list entry: a player "Name, Vorname (Verein)", a team its name.
QString playerEntryText(const Myitem& item);

// A member of a team as the team check-in dialog lists him.
struct TeamMember {
    int slot = 0; // 1..4 players s1..s4, 5 and 6 reserves r1, r2
    int sid = 0;
    QString name; // "Nachname, Vorname"
};
// The team's players and reserves that exist as players, in slot order.
QList<TeamMember> teamMembers(const QSqlDatabase& db, int mid);

// Checks a team in or out (kid 0: whatever its class) together with the given
// members in class memberKid, in one transaction.
void teamanmeldung(const QSqlDatabase& db, int tid, int mid, bool flag, int kid, const QList<int>& members,
                   int memberKid);

// "alle Spieler an/abmelden": every listed player in one transaction, by key.
// progress is told how many players (from 1) are being written before each.
void setPlayersCheckIn(const QSqlDatabase& db, int tid, const QList<int>& sids, bool flag, int kid,
                       const std::function<void(int done, int total)>& progress = {});

// "alle Teams an/abmelden": every listed team with all its players and reserves,
// each in the tab's class or, with kid 0, in the team's own class; one transaction.
void setTeamsCheckIn(const QSqlDatabase& db, int tid, const QList<Myitem>& teams, bool flag, int kid);

} // namespace bw
