// The structure version of a tournament database and the upgrade of an older
// structure to version 6. The upgrade only adds and drops the columns it names,
// step by step from the stored version, in one transaction; the version row is
// written last. Columns get the types of the schema, so an upgraded database
// equals a freshly prepared one.
#pragma once

#include "data/connection.h"

#include <QSqlDatabase>
#include <QStringList>

namespace bw {

// The text every caller shows for a database that is not a tournament database
// of a known structure.
inline const QString kWrongDatabase = QStringLiteral("Es wurde eine falsche Datenbank ausgewählt");

// Reads `version` of the version row (Einstellungen, TID -999). Throws DbError
// when the table is missing, AppError when there is no version row or it is empty.
int readStructureVersion(const QSqlDatabase& db);

// Upgrades to version 6 in one transaction (joining the caller's, if any) and
// returns the report lines, each without its line end. The version is read again
// inside the transaction (another desk may have upgraded meanwhile; then nothing
// is done and the report is empty). A step that adds a column already present, or
// drops one already gone, where the step allows it, is skipped rather than failed.
// On PostgreSQL the transaction waits at most lockMilliseconds for locks of other
// desks (ServerWaits in data/connection.h holds the program's wait).
// Throws on failure; the database then keeps its old structure and version.
QStringList upgradeStructure(const QSqlDatabase& db, int lockMilliseconds = ServerWaits().lockMilliseconds);

} // namespace bw
