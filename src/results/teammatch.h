// One team match as its dialog shows it, without widgets: the two teams with
// the line-up choices of each, and per game its plan (day, time, table, umpire
// with the lists offered), its positions, its result and set entries. The
// dialog is a form over it; it reads the match once when filled and hands the
// games' plans and line-up back when an action stores them.
#pragma once

#include "data/classrecords.h"
#include "data/matchdialogrecords.h"
#include "data/teammatchrecords.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <optional>
#include <vector>

namespace bw {

// The line-up positions in the order of a team's six choices: single players
// 1 to 4, then double 1 (11) and double 2 (12).
inline constexpr std::array<int, 6> kTeamPositions{1, 2, 3, 4, 11, 12};
// The choice of a position, -1 for a position there is none of.
int lineupIndex(int teamposition);

// A player as the line-up shows him: "Nachname, V."; with the full first name
// when a namesake in his team would look the same; the surname alone without a
// first name.
QString memberText(const TeamMemberName& member, bool fullFirstName = false);

// One line-up choice: the texts it offers and the one chosen (empty: none).
struct LineupChoice {
    QStringList items;
    QString text;
    bool operator==(const LineupChoice&) const = default;
};
using TeamLineup = std::array<LineupChoice, 6>;

// The choices of a team: its players and reserves in every single choice,
// players 1 to 4 preselected in their own choice; its two pairs ("A / B") in
// both double choices, each preselected in its own. No team: all empty.
TeamLineup teamLineup(const std::optional<TeamRoster>& roster);

// Selects in the line-up of side 1 or 2 what the games store for its positions
// (a later game over an earlier one); a stored text the choice does not offer,
// or Null in a game that was stored, leaves it without selection. Games never
// stored (no positions) leave the preselection.
void restoreLineup(TeamLineup& lineup, int side, const std::vector<TeamGameRow>& games);

// The number of set entries a game result opens: a + b of "a:b" when it is one
// of `items`, else 0.
int openedSetEntries(const QString& result, const QStringList& items);

struct TeamGameEntry {
    int nummer = 0;
    std::optional<int> p1; // the positions of the class's format
    std::optional<int> p2;
    QDate tag;
    QString zeit; // "hh:mm" as typed
    QString tisch;
    QString schiri;
    QStringList tische;  // the tables offered
    QStringList schiris; // the umpires offered
    QString erg;         // the game's result "a:b"
    std::array<QString, 9> saetze;
};

// How the dialog is filled: the class's start day for games without one, and
// for a call-up the free tables of the match's pool and the free umpires.
struct TeamMatchFill {
    QDate startDay;
    bool callUp = false;
    QStringList freeTables;
    QStringList freeUmpires;
    bool withResults = false; // a finished match: the games' results and sets
};

struct TeamMatch {
    int kid = 0;
    int spielnummer = 0;
    int gruppe = -1;
    int phase = 0;
    MatchStage stage = MatchStage::Open;
    int mid1 = -1;
    int mid2 = -1;
    QString team1;
    QString team2;
    TeamLineup lineup1;
    TeamLineup lineup2;
    std::vector<TeamGameEntry> games; // the match's games by number
    QString ergebnis;                 // the whole match "a:b"
    QDateTime spielende;              // when its result was stored; invalid for none
    std::array<QDateTime, 6> spaetereAufrufe;

    // The games' plans and line-up as they are stored. Throws AppError naming
    // the first game whose time is not a time of day; then nothing is stored.
    std::vector<TeamGamePlan> gamePlans() const;
    // The first game whose table is not one of those offered, or 0.
    int gameWithoutValidTable() const;
};

// Reads the match and its games; nothing when the class has no such match.
std::optional<TeamMatch> loadTeamMatch(const QSqlDatabase& db, int kid, int spielnummer, const TeamMatchFill& fill);

} // namespace bw
