#include "data/cascades.h"

#include "data/sql.h"
#include "data/transaction.h"

#include <QList>

namespace bw {

namespace {

void deleteWhere(const QSqlDatabase& db, const char* table, const char* column, int id)
{
    execute(db, QStringLiteral("DELETE FROM %1 WHERE %2=:id").arg(QLatin1String(table), QLatin1String(column)),
            {{QStringLiteral("id"), id}});
}

} // namespace

void deleteTournament(const QSqlDatabase& db, int tid)
{
    inTransaction(db, [&] {
        for (const char* t : {"Turnierdaten", "Einstellungen", "Spielerdaten", "Altersklasse", "Spieler_im_turnier",
                              "Schiri", "Schiri_im_turnier"})
            deleteWhere(db, t, "TID", tid);
        execute(db, QStringLiteral("DELETE FROM Import"));

        QList<int> classes;
        {
            QSqlQuery q = execute(db, QStringLiteral("SELECT KID FROM Turnierklassen WHERE TID=:id"),
                                  {{QStringLiteral("id"), tid}});
            while (q.next())
                classes << q.value(0).toInt();
        }
        for (int kid : classes) {
            for (const char* t : {"Doppelpartner", "Gesetzt", "Gruppen", "Gruppeneinstellungen", "Spielplan",
                                  "Tabellen", "Turnierklassen", "Platten", "Platten1", "Teams", "Teamsystem",
                                  "Teamspiele"})
                deleteWhere(db, t, "KID", kid);
        }
    });
}

void deleteClass(const QSqlDatabase& db, int kid)
{
    // The class row goes first: a desk writing rows that refer to the class
    // locks it (concurrency.h), so the other deletes see what it wrote.
    inTransaction(db, [&] {
        for (const char* t : {"Turnierklassen", "Gruppeneinstellungen", "Gesetzt", "Doppelpartner",
                              "Spieler_im_turnier", "Spielplan", "Gruppen", "Tabellen", "Platten", "Platten1", "Teams",
                              "Teamsystem", "Schiri_im_turnier", "Teamspiele"})
            deleteWhere(db, t, "KID", kid);
    });
}

} // namespace bw
