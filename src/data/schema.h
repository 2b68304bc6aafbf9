// The one definition of the tournament database: its 21 tables with their columns
// in physical order, each column's logical type and the structure versions it
// exists in. Everything else about the structure is rendered from it: the CREATE
// TABLE statements for SQLite and PostgreSQL, the column lists of positional
// inserts, and the verifier that compares a live database with a version.
//
// Column order is part of the format: inserts list their values positionally.
// Names are never quoted; PostgreSQL folds them to lower case, so every name
// comparison is case-insensitive.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

namespace bw {

enum class Backend { SQLite, PostgreSQL };

// The backend of an open connection (QSQLITE or QPSQL); throws AppError otherwise.
Backend backendOf(const QSqlDatabase& db);

constexpr int kOldestStructureVersion = 2;
constexpr int kCurrentStructureVersion = 6;
// Tournament id of the row of Einstellungen that holds the structure version.
constexpr int kVersionRowTid = -999;

enum class ColumnType {
    Integer,  // 32-bit integer
    Text,     // one-line text
    Memo,     // multi-line text of any length
    DateTime, // date with time of day, stored in one canonical form (see dbvalue.h)
    YesNo,    // INTEGER 0/1
    Floating, // double, e.g. money amounts
};

struct ColumnDef {
    QString name;
    ColumnType type;
    int since = kOldestStructureVersion; // first structure version holding the column
    int until = kCurrentStructureVersion; // last structure version holding it

    bool existsIn(int version) const { return version >= since && version <= until; }
};

struct TableDef {
    QString name;
    std::vector<ColumnDef> columns;
    QString primaryKey; // empty: none

    std::vector<ColumnDef> columnsOf(int version) const;
    const ColumnDef* column(const QString& name) const; // case-insensitive
};

// The 21 tables in a fixed order.
const std::vector<TableDef>& schemaTables();
// A table by name (case-insensitive); nullptr when there is none.
const TableDef* findTable(const QString& name);
// Same, but throws AppError for an unknown table (a programming error).
const TableDef& table(const QString& name);

// The column names of a table in its physical order, for the given version.
QStringList columnNames(const QString& table, int version = kCurrentStructureVersion);

// "INSERT INTO T VALUES (:c1,...)": one named parameter per column of version 6 in
// column order, named after the column in lower case (":tid", ":sid", ...).
QString positionalInsert(const QString& table);

// The SQL type of a column on a backend (with its CHECK for yes/no columns).
QString sqlType(const ColumnDef& column, Backend backend);

// CREATE TABLE and CREATE INDEX statements of all tables for a structure version.
QStringList createStatements(Backend backend, int version = kCurrentStructureVersion);

// Compares a live database with a structure version: every table of the schema
// must exist with exactly the version's columns in order (names compared
// case-insensitively). Returns one German line per difference; empty when equal.
QStringList verifyStructure(const QSqlDatabase& db, int version = kCurrentStructureVersion);

// The column names of a live table in physical order (empty when it does not exist).
QStringList liveColumns(const QSqlDatabase& db, const QString& table);

} // namespace bw
