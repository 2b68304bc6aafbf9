// The matches of a class (Spielplan, found by KID and spielnummer) and the games
// of its team matches (Teamspiele, found by KID, spielnummer and nummer):
// inserting them, reading their slots, and the guarded slot writes by which
// byes are settled (draw/byes.h).
//
// A slot is one side of a match or game: the entrant's id (SID1/SID2, in a game
// MID1/MID2), its text (spieler1/spieler2) and the group and place it comes from
// (parentGID1/parentpos1, parentGID2/parentpos2). A slot whose entrant is not
// known yet holds leererPlatz and a placeholder text: "Sieger Spiel " or
// "Verlierer Spiel " followed by the number of the match whose winner or loser
// it waits for. Whoever fills such a slot finds it by that exact text and writes
// over it only while it still holds it, so an entrant that another desk wrote
// meanwhile stays.
//
// Writers of a class's slots (the bye run, result entry, take-back, the plan
// generation) take lockClassMatches() first inside their transaction, so two
// desks never settle the same class from stale reads at once.
#pragma once

#include "data/sql.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace bw {

// leererPlatz: the id of a slot whose entrant is not known yet.
constexpr int leererPlatz = -1;
// Freilos: the id of a bye.
constexpr int Freilos = -2;
inline const QString kFreilosText = QStringLiteral("Freilos");

// "Sieger Spiel n" and "Verlierer Spiel n".
QString winnerPlaceholder(int spielnummer);
QString loserPlaceholder(int spielnummer);

// The values a new match gets from its caller; everything else a new match has
// (sets 0, result "0:0", no flags, undecided, nothing planned) is fixed.
struct NewMatch {
    int spielnummer = 0;
    int sid1 = leererPlatz; // MID in a team class; Freilos for a bye
    int sid2 = leererPlatz;
    QString spieler1;
    QString spieler2;
    int parentspiel1 = -1; // the match whose winner or loser fills the slot
    int parentspiel2 = -1;
    bool parentsieger1 = false; // the winner (true) or the loser of it
    bool parentsieger2 = false;
    int parentGID1 = -1; // source group and place; -3 the best-placed list
    int parentpos1 = -1;
    int parentGID2 = -1;
    int parentpos2 = -1;
    int phase = 1; // 1-3, 4 a placement match
    int gruppe = -1; // the group of a group match
    int platz = -1;  // the place a placement match decides
};

// Inserts the rows of new matches of one class with one prepared statement per
// table. Runs in the caller's transaction; make it before that transaction (see
// PreparedStatement).
class MatchInserter {
public:
    MatchInserter(const QSqlDatabase& db, int tid, int kid);

    // The Spielplan row of the match.
    void insertMatch(const NewMatch& match);
    // Game `nummer` of the team match: the teams and texts of the match's sides,
    // no players yet, the match's phase, group and sources.
    void insertGame(const NewMatch& match, int nummer);

private:
    QSqlDatabase m_db;
    int m_tid;
    int m_kid;
    PreparedStatement m_match;
    std::optional<PreparedStatement> m_game; // prepared with the first game
};

// One side of a match or game as its slot columns hold it; Null reads as -1.
struct MatchSide {
    int id = leererPlatz;
    QString text;
    int parentGID = -1;
    int parentpos = -1;
    bool operator==(const MatchSide&) const = default;
};

// The slots and the outcome of a match row (nummer 0) or of a game (nummer 1..).
struct MatchSlots {
    int spielnummer = 0;
    int nummer = 0;
    std::array<MatchSide, 2> sides;
    int siegerSID = -1; // -1 undecided; Null reads as -1
    int verliererSID = -1;
    bool operator==(const MatchSlots&) const = default;
};

// The class's match rows, by match number.
QList<MatchSlots> readMatchSlots(const QSqlDatabase& db, int kid);
// The class's games, by match number and game number.
QList<MatchSlots> readGameSlots(const QSqlDatabase& db, int kid);

// Serialises the writers of the class's slots until the transaction ends
// (PostgreSQL: a transaction-scoped advisory lock per class; SQLite: the write
// lock that BEGIN IMMEDIATE took already). Throws AppError outside a transaction.
void lockClassMatches(const QSqlDatabase& db, int kid);

// The guarded writes of slots and outcomes of one class, each statement prepared
// when it is first needed. Make it before the transaction it writes in (see
// PreparedStatement).
class MatchSlotWriter {
public:
    MatchSlotWriter(const QSqlDatabase& db, int kid);

    // Writes side `side` (0 or 1) of the match row (nummer 0) or game as `row`
    // holds it, over the text `expected`; false when the slot holds another text
    // by now and was left as it is.
    bool writeSide(const MatchSlots& row, int side, const QString& expected);
    // Writes the outcome of the match row or game as `row` holds it, while its
    // sides still hold the ids of `row`; false when they do not.
    bool writeOutcome(const MatchSlots& row);

    // How many statements this writer has run.
    int statements() const { return m_statements; }

private:
    PreparedStatement& statement(int index);
    bool run(int index, const MatchSlots& row, SqlParams params);

    QSqlDatabase m_db;
    int m_kid;
    int m_statements = 0;
    // Sides 1 and 2 and the outcome of a match row, then of a game.
    std::array<std::optional<PreparedStatement>, 6> m_prepared;
};

} // namespace bw
