// The planning board "Spieleplaner" without widgets: one tournament day as a
// time table (one column per table, one row per ten minutes from 00:10 to
// 23:50), the planned matches of every class placed in it as boxes of two
// cells, and the chosen class's matches that wait for a time as a list.
//
// Drops are computed first (planFromList, move, takeOff give the BoardWrite to
// store, with what the board showed to check it against) and applied once
// stored (apply, which says what changed). A match needs two rows: a drop onto
// the last row is refused. A match moved over its own cells displaces nothing
// but itself, so it keeps its umpire.
#pragma once

#include "data/boardrecords.h"

#include <QColor>
#include <QSqlDatabase>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace bw {

// The item of a class entry, a list entry or a grid cell.
struct kitem {
    int nummer = 0;      // game number of a team game; -1 for a match row
    int spielnummer = 0; // match number
    int KID = 0;         // class of the match; the class key of a class entry
    QString schiri;      // umpire's display text; the class's display text of a class entry
    QString farbe;       // colour name of the match's class
    QString spieler1;
    QString spieler2;
    bool ersteZeile = false;  // the upper cell of a placed match
    bool zweiteZeile = false; // the lower cell of a placed match
    bool teamklasse = false;  // a class entry of a team class
    BoardMatchKey key() const { return {KID, spielnummer, nummer}; }
    bool operator==(const kitem&) const = default;
};

// The twenty colour names a class may have, in the order the colour box shows
// them, and their colours; a name that is none of them (or empty) shows as
// clCream.
const QStringList& boardColourNames();
QColor boardColour(const QString& name);
inline const QString kFallbackColour = QStringLiteral("clCream");

// The grid's rows: 0 the header, 1 .. 143 the ten-minute rows.
inline constexpr int kBoardRows = 144;
inline constexpr int kLastBoardRow = kBoardRows - 1;
inline constexpr int kCurrentBoardRow = 75; // 12:30

// The row of a time of day (minutes cut to the ten), and a row's time.
int boardRow(const QTime& time);
QTime rowTime(int row);
// "hh:mm" of a row.
QString rowLabel(int row);

// A class entry's display text: "Herren A (Einzel)".
QString classDisplayText(const QString& kbezeichnung, int system);

// What a drop will do, to be stored and then applied.
struct BoardDrop {
    BoardWrite write;
    kitem item;          // the dropped match as it will show
    int column = 0;      // target column (when placed)
    int row = 0;         // target row (when placed)
    bool fromList = false;
};

// What apply() changed.
struct BoardChange {
    QList<int> columns;         // columns whose cells changed
    bool listEntryRemoved = false;
    bool relist = false;        // a match of the chosen class went off: list it again
    bool operator==(const BoardChange&) const = default;
};

class BoardModel {
public:
    // Filling, as the board is shown.
    void setTournament(int tid, const QDate& von, const QDate& bis);
    void setTables(const QStringList& tables); // column labels, in order
    void setClasses(const QList<BoardClassRow>& classes);
    void chooseClass(int index); // -1: none
    // The chosen class's entries from its rows: those without a time whose two
    // names are known.
    void setClassMatches(const QList<BoardMatchRow>& rows);
    void setDay(const QDate& day);
    // Places the day's rows; a later row over the same cells hides the earlier.
    // Rows without a time, a known table or both names stay off the board.
    void placeDay(const QList<BoardMatchRow>& rows);

    int tid() const { return m_tid; }
    const QDate& day() const { return m_day; }
    const QDate& von() const { return m_von; }
    const QDate& bis() const { return m_bis; }
    bool canGoBack() const { return m_von.isValid() && m_von < m_day; }
    bool canGoForward() const { return m_bis.isValid() && m_bis > m_day; }

    const QStringList& tables() const { return m_tables; }
    int columnCount() const { return int(m_tables.size()) + 1; }
    // The column of a table label; 0 when it is none of the tournament's.
    int columnOf(const QString& table) const;

    const QList<kitem>& classes() const { return m_classes; }
    int chosenClass() const { return m_chosen; }
    const kitem* chosenClassItem() const;
    // The colour name shown for the chosen class (clCream when it has none of the twenty).
    QString chosenColour() const;
    // A class's colour changed: its entry, its boxes and the list take it.
    void setClassColour(int kid, const QString& farbe);

    const QList<kitem>& entries() const { return m_entries; }
    QString entryText(int index) const;
    int entryIndex(const BoardMatchKey& key) const;

    // The item of a cell; nothing for an empty cell, the time column or the header.
    std::optional<kitem> cell(int row, int column) const;
    QString cellText(int row, int column) const;

    // Drops; nothing when the drop does nothing (outside the table cells, the
    // last row, an empty source cell, an entry that is gone).
    std::optional<BoardDrop> planFromList(const BoardMatchKey& entry, int row, int column) const;
    std::optional<BoardDrop> move(int fromRow, int fromColumn, int toRow, int toColumn) const;
    std::optional<BoardDrop> takeOff(int row, int column) const;
    BoardChange apply(const BoardDrop& drop);

private:
    struct Placed {
        kitem item; // flags unset
        int column = 0;
        int row = 0;
    };
    int placedAt(int row, int column) const;
    BoardPlace placeOf(const Placed& p) const;
    QString classColour(int kid) const;
    void rebuildCells();
    std::optional<BoardDrop> dropOnto(const kitem& item, const std::optional<BoardPlace>& from, int row,
                                      int column) const;

    int m_tid = 0;
    QDate m_von, m_bis, m_day;
    QStringList m_tables;
    QList<kitem> m_classes;
    int m_chosen = -1;
    QList<kitem> m_entries;
    std::vector<Placed> m_placed;
    std::vector<int> m_cells; // index into m_placed per row and column, -1 when empty
};

// The board read from the database. Errors reach the caller (DbError).
// Shows the tournament's first day with its first class chosen.
void showBoard(BoardModel& board, const QSqlDatabase& db, int tid);
// Chooses a class and lists its matches that wait for a time.
void chooseBoardClass(BoardModel& board, const QSqlDatabase& db, int index);
// Shows another day: its matches placed anew; the class and list stay.
void showBoardDay(BoardModel& board, const QSqlDatabase& db, const QDate& day);
// Stores the chosen class's colour and shows it.
void storeBoardColour(BoardModel& board, const QSqlDatabase& db, const QString& farbe);
// Stores a drop and applies it; a match of the chosen class taken off is listed
// again. When the board was out of date nothing is stored, the day and the list
// are read again and BoardConflict reaches the caller.
BoardChange dropOnBoard(BoardModel& board, const QSqlDatabase& db, const BoardDrop& drop);

} // namespace bw
