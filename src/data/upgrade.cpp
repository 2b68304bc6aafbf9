#include "data/upgrade.h"

#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QSqlRecord>

#include <algorithm>

namespace bw {

namespace {

bool hasColumn(const QSqlDatabase& db, const QString& tableName, const QString& column)
{
    return liveColumns(db, tableName).contains(column, Qt::CaseInsensitive);
}

void addColumn(const QSqlDatabase& db, const QString& tableName, const QString& column)
{
    const TableDef& t = table(tableName);
    const ColumnDef* c = t.column(column);
    execute(db, QStringLiteral("ALTER TABLE %1 ADD %2 %3").arg(t.name, c->name, sqlType(*c, backendOf(db))));
}

} // namespace

int readStructureVersion(const QSqlDatabase& db)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM Einstellungen WHERE TID=:tid"),
                          {{QStringLiteral("tid"), kVersionRowTid}});
    const int column = q.record().indexOf(QStringLiteral("version"));
    if (!q.next() || column < 0 || q.isNull(column))
        throw AppError(QStringLiteral("Die Datenbank enthält keine Strukturversion."));
    return q.value(column).toInt();
}

QStringList upgradeStructure(const QSqlDatabase& db, int lockMilliseconds)
{
    Transaction transaction(db);
    if (backendOf(db) == Backend::PostgreSQL) {
        // set_config(..., true) is SET LOCAL with a bound value: it ends with the transaction.
        execute(db, QStringLiteral("SELECT set_config('lock_timeout', :ms, true)"),
                {{QStringLiteral("ms"), QString::number(std::max(1, lockMilliseconds))}});
        // Two desks upgrading at once: the second waits here and then finds version 6.
        execute(db, QStringLiteral("LOCK TABLE Einstellungen IN SHARE ROW EXCLUSIVE MODE"));
    }
    const int v = readStructureVersion(db);
    if (v > kCurrentStructureVersion)
        throw AppError(kWrongDatabase);

    QStringList report;
    if (v < 3) {
        addColumn(db, QStringLiteral("Import"), QStringLiteral("klassen"));
        report << QStringLiteral("- Import Tabelle angepasst");
    }
    if (v < 4) {
        addColumn(db, QStringLiteral("Spieler_im_turnier"), QStringLiteral("gemeldet"));
        addColumn(db, QStringLiteral("Spielerdaten"), QStringLiteral("spielstaerke"));
        addColumn(db, QStringLiteral("Spielerdaten"), QStringLiteral("email"));
        addColumn(db, QStringLiteral("Turnierklassen"), QStringLiteral("punkteprosieg"));
        addColumn(db, QStringLiteral("Turnierklassen"), QStringLiteral("nachgebuehr"));
        report << QStringLiteral("- Turnier-Spieler Tabelle angepasst") << QStringLiteral("- Spieler Tabelle angepasst")
               << QStringLiteral("- Turnierklassen Tabelle angepasst");
    }
    if (v < 5) {
        // The check-in flag moves from the player to the class entry. A database
        // may have either half done already; a failed statement would abort the
        // whole transaction on PostgreSQL, so look first.
        if (hasColumn(db, QStringLiteral("Spielerdaten"), QStringLiteral("gemeldet")))
            execute(db, QStringLiteral("ALTER TABLE Spielerdaten DROP COLUMN gemeldet"));
        if (!hasColumn(db, QStringLiteral("Spieler_im_turnier"), QStringLiteral("gemeldet")))
            addColumn(db, QStringLiteral("Spieler_im_turnier"), QStringLiteral("gemeldet"));
        report << QStringLiteral("- Turnier-Spieler Tabelle angepasst") << QStringLiteral("- Spieler Tabelle angepasst");
    }
    if (v < 6) {
        addColumn(db, QStringLiteral("Turnierdaten"), QStringLiteral("LiveID"));
        addColumn(db, QStringLiteral("Spielerdaten"), QStringLiteral("LiveSpielerID"));
        addColumn(db, QStringLiteral("Turnierklassen"), QStringLiteral("LiveKlassenID"));
        report << QStringLiteral("- Turnierdaten Tabelle angepasst") << QStringLiteral("- Spieler Tabelle angepasst")
               << QStringLiteral("- Turnierklassen Tabelle angepasst");
    }
    if (v != kCurrentStructureVersion) {
        execute(db, QStringLiteral("UPDATE Einstellungen SET version=:v WHERE TID=:tid"),
                {{QStringLiteral("v"), kCurrentStructureVersion}, {QStringLiteral("tid"), kVersionRowTid}});
        report << QStringLiteral("- DB-Versionsbezeichnung angepasst");
    }
    transaction.commit();
    return report;
}

} // namespace bw
