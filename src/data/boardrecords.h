// What the planning board "Spieleplaner" reads and writes: the tournament's
// days, classes and tables, the matches of a class without a planned time, the
// matches planned on one day, the class colour, and a drop on the board as one
// guarded transaction.
//
// A drop is checked against what the board showed: the dropped match still
// unplanned (or still where it was shown), each match it displaces still where
// it was shown, and no other match planned into the target cells. Board writers
// take lockBoard() first, so two desks dropping onto one cell queue and the
// second finds the first's match there; a conflict throws BoardConflict and
// nothing is stored.
#pragma once

#include "platform/apperror.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace bw {

// A drop whose board was out of date.
class BoardConflict : public AppError {
public:
    BoardConflict();
};

struct BoardDays {
    QDate tvon; // invalid for Null
    QDate tbis;
};
BoardDays readBoardDays(const QSqlDatabase& db, int tid);

struct BoardClassRow {
    int kid = 0;
    int system = 0;
    QString kbezeichnung;
    QString farbe; // empty for Null
    bool operator==(const BoardClassRow&) const = default;
};
// The tournament's classes by name.
QList<BoardClassRow> readBoardClasses(const QSqlDatabase& db, int tid);

// The tournament's table labels once each, in German order with numbers by
// value ("2" before "10"; the same on every backend, whatever its collation).
QStringList readBoardTables(const QSqlDatabase& db, int tid);

// A match row (nummer -1) or a team game row as the board reads it.
struct BoardMatchRow {
    int kid = 0;
    int spielnummer = 0;
    int nummer = -1;
    QString spieler1;
    QString spieler2;
    QString schiri;         // empty for Null
    QString geplanterTisch; // empty for Null
    std::optional<QTime> geplanteZeit;
    bool operator==(const BoardMatchRow&) const = default;
};
// The class's rows ordered by match (and game) number: match rows, or for a
// team class its games.
QList<BoardMatchRow> readBoardClassMatches(const QSqlDatabase& db, int kid, bool teamClass);
// The tournament's match rows planned on `day` ordered by match number, then
// its games planned on that day ordered by match and game number.
QList<BoardMatchRow> readBoardDayMatches(const QSqlDatabase& db, int tid, const QDate& day);

void storeClassColour(const QSqlDatabase& db, int kid, const QString& farbe);

// Which match: a game of a team match has its game number, a match row -1.
struct BoardMatchKey {
    int kid = 0;
    int spielnummer = 0;
    int nummer = -1;
    bool operator==(const BoardMatchKey&) const = default;
};

// A place on the board: the day, the table label and the ten-minute slot (a
// stored time belongs to the slot it falls in).
struct BoardPlace {
    QDate day;
    QString table;
    QTime slot;
    bool operator==(const BoardPlace&) const = default;
};

// One drop as the board computed it.
struct BoardWrite {
    int tid = 0;
    BoardMatchKey match;
    std::optional<BoardPlace> from;  // where the board showed it; none: in the list, unplanned
    std::optional<BoardPlace> to;    // none: taken off the board
    // Matches the target covers, each where the board showed it; they are unplanned.
    QList<std::pair<BoardMatchKey, BoardPlace>> displaced;
    bool operator==(const BoardWrite&) const = default;
};

// Serialises the board writers of a tournament until the transaction ends.
void lockBoard(const QSqlDatabase& db, int tid);

// Stores a drop in one transaction: checks what the board showed, unplans the
// displaced matches (a game's encounter row too) and stores the dropped match's
// place, or unplans it when it was dropped onto the list. Throws BoardConflict
// when the board was out of date, DbError on a failed statement; nothing is
// stored then.
void storeBoardWrite(const QSqlDatabase& db, const BoardWrite& write);

// The time stored for a slot ("1899-12-30 hh:mm:00") and the slot of a time.
QDateTime storedPlanTime(const QTime& time);
QTime planSlot(const QTime& time);

} // namespace bw
