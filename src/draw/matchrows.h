// Creating the matches of a class. spielplanfuellen writes the match row and, in
// a team class, one game row per game of the class's team-match format: the
// games whose two sides both name a line-up position, numbered 1, 2, ... in the
// format's order whichever of the nine places they stand in, each with the two
// teams and texts of the match's sides. A bye encounter gets its games too; a
// singles, doubles or mixed class gets none. The plan generation and the
// placement matches write hundreds of rows through one writer, which prepares
// each insert once.
#pragma once

#include "data/classrecords.h"
#include "data/matchrecords.h"

#include <QSqlDatabase>

#include <optional>

namespace bw {

// The number of games of a team match in this format.
int teamGameCount(const TeamFormat& format);

class MatchRowWriter {
public:
    // `format` is the class's team-match format as readTeamFormat() gives it,
    // read once by the caller; only a class of kind Team uses it. Make the writer
    // before the transaction it writes in (see PreparedStatement).
    MatchRowWriter(const QSqlDatabase& db, int tid, int kid, ClassKind kind, const std::optional<TeamFormat>& format);

    // Inserts the match and its games, all or nothing (joins the caller's
    // transaction). Throws DbError.
    void spielplanfuellen(const NewMatch& match);

    // Games written per match.
    int games() const { return m_games; }

private:
    QSqlDatabase m_db;
    MatchInserter m_inserter;
    int m_games = 0;
};

} // namespace bw
