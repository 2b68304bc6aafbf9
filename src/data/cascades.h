// Deleting a tournament or a class with every row that depends on it. Each runs
// in one transaction (joining the caller's, if any): a failure part-way leaves
// the database as it was instead of rows nobody can reach any more.
#pragma once

#include <QSqlDatabase>

namespace bw {

// The tournament with its options, players, age classes, entries, referees and
// classes with all their rows; also every staging row of Import (of all
// tournaments). KO_System and the version row stay.
void deleteTournament(const QSqlDatabase& db, int tid);

// The class with its settings, seeds, pairs, entries, matches, groups,
// standings, tables, teams, team-match format, referee offers and team games.
void deleteClass(const QSqlDatabase& db, int kid);

} // namespace bw
