// Seeding helpers of the player and referee tests: classes, age classes and
// players with their entries, and a statement made to fail inside the database.
#pragma once

#include "data/schema.h"
#include "data/sql.h"
#include "support/testdatabase.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace bw::test {

inline QString ls(const char* text)
{
    return QString::fromUtf8(text);
}

// A class of the tournament: kind 0 singles ... 3 team; mann/frau admit the sexes.
inline void seedClass(const QSqlDatabase& db, int tid, int kid, const QString& name, int kind = 0, double fee = 0,
                      const QVariant& ageClass = QString(), bool mann = true, bool frau = true)
{
    insertRow(db, ls("Turnierklassen"),
              {{ls("TID"), tid}, {ls("KID"), kid}, {ls("system"), kind}, {ls("kbezeichnung"), name},
               {ls("gebuehr"), fee}, {ls("altersklasseID"), ageClass}, {ls("mann"), mann}, {ls("frau"), frau}});
}

inline void seedAgeClass(const QSqlDatabase& db, int tid, const QString& name, const QVariant& von,
                         const QVariant& bis, bool aelter = false, bool juenger = false)
{
    insertRow(db, ls("Altersklasse"),
              {{ls("TID"), tid}, {ls("name"), name}, {ls("von"), von}, {ls("bis"), bis}, {ls("aelter"), aelter},
               {ls("juenger"), juenger}});
}

inline void seedPlayer(const QSqlDatabase& db, int tid, int sid, const QString& nachname, const QString& vorname,
                       const QString& verein = ls("TTC"), const QVariant& nummer = QVariant(QMetaType::fromType<int>()),
                       bool mann = true)
{
    insertRow(db, ls("Spielerdaten"),
              {{ls("TID"), tid}, {ls("SID"), sid}, {ls("nachname"), nachname}, {ls("vorname"), vorname},
               {ls("verein"), verein}, {ls("nummer"), nummer}, {ls("mann"), mann}, {ls("frau"), !mann}});
}

inline void seedEntry(const QSqlDatabase& db, int tid, int kid, int sid, bool gemeldet = false)
{
    insertRow(db, ls("Spieler_im_turnier"),
              {{ls("TID"), tid}, {ls("KID"), kid}, {ls("SID"), sid}, {ls("gemeldet"), gemeldet}});
}

inline void seedPair(const QSqlDatabase& db, int kid, int sid, const QVariant& partner,
                     const QVariant& team = QVariant(QMetaType::fromType<QString>()))
{
    insertRow(db, ls("Doppelpartner"),
              {{ls("KID"), kid}, {ls("SID"), sid}, {ls("partner_SID"), partner}, {ls("mannschaft"), team}});
}

// Makes every INSERT, UPDATE or DELETE (`event`) on a table fail inside the database.
inline void breakStatementsOn(const QSqlDatabase& db, const QString& table, const QString& event)
{
    if (backendOf(db) == Backend::SQLite) {
        execute(db, QStringLiteral("CREATE TRIGGER fault BEFORE %1 ON %2 "
                                   "BEGIN SELECT RAISE(ABORT, 'eingeschleuster Fehler'); END")
                        .arg(event, table));
    } else {
        execute(db, ls("CREATE FUNCTION fault() RETURNS trigger AS $$ BEGIN "
                       "RAISE EXCEPTION 'eingeschleuster Fehler'; END $$ LANGUAGE plpgsql"));
        execute(db, QStringLiteral("CREATE TRIGGER fault BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION fault()")
                        .arg(event, table));
    }
}

inline QVariant nullInt()
{
    return QVariant(QMetaType::fromType<int>());
}

} // namespace bw::test
