// What the plan panel reads to draw a class's plans. Each table is read once per
// rebuild, ordered, so the drawing never depends on the order a server happens
// to return rows in: the class row, its settings row, the group places and
// standings rows of a phase, all match rows, the tables per group and the
// class's referees.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace bw {

// The columns of Turnierklassen the plans read; a Null integer reads 0.
struct PlanClassRow {
    int saetze = 0;
    int system = 0;
    int platten = 0;
    int punkteprosieg = 0;
    QDate atag;       // invalid for Null
    QDateTime uhrzeit; // invalid for Null
    bool operator==(const PlanClassRow&) const = default;
};
// Nothing when there is no such class.
std::optional<PlanClassRow> readPlanClass(const QSqlDatabase& db, int kid);

// The settings row as the plans read it: every integer -1 for Null, all -1 (and
// `present` false) without a row; plattenbez empty for Null.
struct PlanSettingsRow {
    bool present = false;
    int phase[3] = {-1, -1, -1};
    int gruppenanzahl[3] = {-1, -1, -1};
    int teilnehmer[3] = {-1, -1, -1};
    int besten[3] = {-1, -1, -1};
    int bestplazierten[3] = {-1, -1, -1};
    QString plattenbez;
};
PlanSettingsRow readPlanSettings(const QSqlDatabase& db, int kid);

// One Gruppen row of a phase.
struct PlanPlaceRow {
    int gid = 0;
    int pos = 0;
    int sid = 0;
    QString bez;
    bool operator==(const PlanPlaceRow&) const = default;
};
// The phase's group places ordered by group and position.
QList<PlanPlaceRow> readPlanPlaces(const QSqlDatabase& db, int kid, int phase);

// One Tabellen row (Null counters read 0).
struct PlanStandingsRow {
    int gid = 0;
    int pos = 0;
    int sid = 0;
    QString bez;
    int matchegewonnen = 0, matcheverloren = 0;
    int spielegewonnen = 0, spieleverloren = 0;
    int saetzegewonnen = 0, saetzeverloren = 0;
    int punktegewonnen = 0, punkteverloren = 0;
    bool operator==(const PlanStandingsRow&) const = default;
};
// The phase's standings rows ordered by group and rank.
QList<PlanStandingsRow> readPlanStandings(const QSqlDatabase& db, int kid, int phase);

// One Spielplan row as the plans show it.
struct PlanMatchRow {
    int spielnummer = 0;
    int sid1 = 0;
    QString spieler1;
    int sid2 = 0;
    QString spieler2;
    int phase = 0;
    int gruppe = -1; // -1 for Null
    bool beendet = false;
    bool inPlanung = false;
    bool begonnen = false;
    QString geplanterTisch; // empty for Null
    bool tischNull = true;
    int parentspiel1 = -1; // the match whose winner or loser fills slot 1; -1 for Null
    int parentspiel2 = -1;
    QString ergebnis; // the result "3:1"; empty for Null
    bool operator==(const PlanMatchRow&) const = default;
};
// All match rows of the class ordered by match number, in one query.
QList<PlanMatchRow> readPlanMatches(const QSqlDatabase& db, int kid);

// The tables each group may use (Platten), by group number, each in German
// order with numbers by value (the same on both backends).
QHash<int, QStringList> readGroupTableNames(const QSqlDatabase& db, int kid);
// Every table of the class once, ordered by name (code points, the same on both
// backends).
QStringList readClassTableNames(const QSqlDatabase& db, int kid);

// A referee of the class who is checked in.
struct PlanReferee {
    int schiriid = 0;
    QString snname;
    QString svname;
    bool operator==(const PlanReferee&) const = default;
};
// The checked-in referees of the class, ordered by name and key.
QList<PlanReferee> readPlanReferees(const QSqlDatabase& db, int kid);

// What a player card shows of a player: nothing when there is no such player.
struct PlayerCardRow {
    QString nachname;
    QString vorname;
    QString verein;
    QDate geb;              // invalid for Null
    QStringList klassen;    // the classes he is entered in, in German order
    bool operator==(const PlayerCardRow&) const = default;
};
std::optional<PlayerCardRow> readPlayerCard(const QSqlDatabase& db, int sid);
// The doubles partner of a player in a class; 0 when he has none.
int readDoublesPartner(const QSqlDatabase& db, int sid, int kid);
// The club of a player (Spielerdaten) or of a team (Teams); empty when there is
// no such row.
QString readPlayerClub(const QSqlDatabase& db, int sid);
QString readTeamClub(const QSqlDatabase& db, int teamId);

// A called match (in_planung) as the call-up reminders read it: the names, the
// umpire (Null when the match has none) and the nine call times (Null: not made).
struct CalledMatchRow {
    QString spieler1;
    QString spieler2;
    std::optional<QString> schiri;
    // aufruf[call][who]: call 0..2 (first, second, third), who 0 player 1,
    // 1 player 2, 2 umpire.
    std::optional<QDateTime> aufruf[3][3];
};
// The class's called matches in match order.
QList<CalledMatchRow> readCalledMatches(const QSqlDatabase& db, int kid);

// Whether the class has a match that is called, running or finished: the class
// has started.
bool classHasStarted(const QSqlDatabase& db, int kid);
// Whether the phase has a match that is called, running or finished.
bool phaseHasPlayedMatch(const QSqlDatabase& db, int kid, int phase);

} // namespace bw
