// What the match list viewer and the umpire sheet read of a class's matches:
// the rows of the viewer, by match number, for the class or one of its groups,
// the class's sets to win, and the one match an umpire sheet is printed for
// with the clubs of its two sides.
#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QTime>

#include <array>
#include <optional>

namespace bw {

// One Spielplan row as the viewer lists it.
struct PlanListMatch {
    int spielnummer = 0;
    QDate geplanterTag;   // invalid for Null
    QTime geplanteZeit;   // invalid for Null
    QString spieler1;
    QString spieler2;
    int gruppe = -1;      // -1 for Null
    QString geplanterTisch; // empty for Null
    QString schiri;       // empty for Null
    QString ergebnis;
    bool beendet = false;
    bool begonnen = false;
    bool inPlanung = false;
    std::array<std::optional<int>, 9> saetze; // satz1 .. satz9 (satzwert), nothing for Null
    bool operator==(const PlanListMatch&) const = default;
};

// The matches of the class ordered by number; with a group (>= 0) only the
// matches whose `gruppe` is that group.
QList<PlanListMatch> readPlanList(const QSqlDatabase& db, int kid, std::optional<int> gruppe);

// The class's sets to win (Turnierklassen.saetze); 0 for Null or no class.
int readSetsToWin(const QSqlDatabase& db, int kid);

// The match an umpire sheet shows: its names, table and umpire, and the club
// of each side (empty when the side is no player or has none).
struct UmpireSheetMatch {
    int spielnummer = 0;
    QString schiri;
    QString anPlatte;
    QString spieler1;
    QString spieler2;
    QString verein1;
    QString verein2;
    bool operator==(const UmpireSheetMatch&) const = default;
};
// Nothing when the class has no such match.
std::optional<UmpireSheetMatch> readUmpireSheetMatch(const QSqlDatabase& db, int kid, int spielnummer);

} // namespace bw
