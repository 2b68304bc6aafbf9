// Preparing an empty tournament database: all 21 tables of a structure version,
// the KO_System rows and the version row of Einstellungen, in one transaction.
// Used by brackwell-mkdb and by the server dialog's "attach the database"
// action; the running program creates tables nowhere else.
#pragma once

#include "data/connection.h"
#include "data/schema.h"

#include <QSqlDatabase>
#include <QString>

namespace bw {

// Whether the database already holds any table (of its current schema).
bool hasTables(const QSqlDatabase& db);

// Fills an empty database. Refuses (AppError) one that holds tables already.
void prepareDatabase(const QSqlDatabase& db, int version = kCurrentStructureVersion);

// Makes a new SQLite file. Refuses an existing file; on any failure no file is
// left behind (it is built under a temporary name and moved into place).
void prepareSqliteFile(const QString& path, int version = kCurrentStructureVersion);

// Prepares the catalog on a PostgreSQL server, creating the database when it does
// not exist; refuses a catalog that already has tables. True when the database
// was created.
bool preparePostgresCatalog(const ServerAddress& server, const QString& database = kServerCatalog,
                            int version = kCurrentStructureVersion);

} // namespace bw
