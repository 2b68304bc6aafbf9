// What the match states of a class are rebuilt from: the match rows with their
// stored state (called, running, finished), what a called or running match
// holds (entrants, table, umpire) and a finished match's result and sets. Read
// by match number, so every scan meets the matches in the same order on both
// backends.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace bw {

struct MatchStateRow {
    int spielnummer = 0;
    int phase = 0;
    int gruppe = -1; // -1 for Null
    int sid1 = 0;    // 0 for Null
    int sid2 = 0;
    QString spieler1;
    QString spieler2;
    bool inPlanung = false;
    bool begonnen = false;
    bool beendet = false;
    QString anPlatte; // empty for Null
    QString schiri;   // empty for Null
    QString ergebnis; // empty for Null
    std::array<std::optional<int>, 9> saetze; // satz1..satz9, nothing for Null
    // A side is taken from a group that has not ended: its holder is the
    // group's provisional one (a placement slot filled early).
    bool awaitsGroup = false;

    bool open() const { return !inPlanung && !begonnen && !beendet; }
    // Whether its sides can meet now: two entrants (ids above 0), not the same
    // one, and neither taken from a group that has not ended.
    bool sidesDecided() const { return sid1 > 0 && sid2 > 0 && sid1 != sid2 && !awaitsGroup; }
    bool operator==(const MatchStateRow&) const = default;
};

// Every match of the class.
QList<MatchStateRow> readMatchStateRows(const QSqlDatabase& db, int kid);
// The class's matches neither called, running nor finished; of one phase when
// it is given.
QList<MatchStateRow> readOpenMatchRows(const QSqlDatabase& db, int kid, std::optional<int> phase = std::nullopt);
// One match; nothing when the class has no such match.
std::optional<MatchStateRow> readMatchStateRow(const QSqlDatabase& db, int kid, int spielnummer);

// Why the match cannot be played now (MatchStateRow::sidesDecided), as a
// German message; nothing when it can.
std::optional<QString> unplayableReason(const MatchStateRow& row);

} // namespace bw
