// Seeding helpers of the player and referee tests: classes, age classes and
// players with their entries, and a statement made to fail inside the database.
#pragma once

#include "data/classkind.h"
#include "data/schema.h"
#include "data/sql.h"
#include "support/testdatabase.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace bw::test {

// A class of the tournament; mann/frau admit the sexes.
inline void seedClass(const QSqlDatabase& db, int tid, int kid, const QString& name, ClassKind kind = ClassKind::Einzel, double fee = 0,
                      const QVariant& ageClass = QString(), bool mann = true, bool frau = true)
{
    insertRow(db, s("Turnierklassen"),
              {{s("TID"), tid}, {s("KID"), kid}, {s("system"), storedKind(kind)}, {s("kbezeichnung"), name},
               {s("gebuehr"), fee}, {s("altersklasseID"), ageClass}, {s("mann"), mann}, {s("frau"), frau}});
}

inline void seedAgeClass(const QSqlDatabase& db, int tid, const QString& name, const QVariant& von,
                         const QVariant& bis, bool aelter = false, bool juenger = false)
{
    insertRow(db, s("Altersklasse"),
              {{s("TID"), tid}, {s("name"), name}, {s("von"), von}, {s("bis"), bis}, {s("aelter"), aelter},
               {s("juenger"), juenger}});
}

inline void seedPlayer(const QSqlDatabase& db, int tid, int sid, const QString& nachname, const QString& vorname,
                       const QString& verein = s("TTC"), const QVariant& nummer = QVariant(QMetaType::fromType<int>()),
                       bool mann = true)
{
    insertRow(db, s("Spielerdaten"),
              {{s("TID"), tid}, {s("SID"), sid}, {s("nachname"), nachname}, {s("vorname"), vorname},
               {s("verein"), verein}, {s("nummer"), nummer}, {s("mann"), mann}, {s("frau"), !mann}});
}

inline void seedEntry(const QSqlDatabase& db, int tid, int kid, int sid, bool gemeldet = false)
{
    insertRow(db, s("Spieler_im_turnier"),
              {{s("TID"), tid}, {s("KID"), kid}, {s("SID"), sid}, {s("gemeldet"), gemeldet}});
}

inline void seedPair(const QSqlDatabase& db, int kid, int sid, const QVariant& partner,
                     const QVariant& team = QVariant(QMetaType::fromType<QString>()))
{
    insertRow(db, s("Doppelpartner"),
              {{s("KID"), kid}, {s("SID"), sid}, {s("partner_SID"), partner}, {s("mannschaft"), team}});
}

// Makes every INSERT, UPDATE or DELETE (`event`) on a table fail inside the database.
inline void breakStatementsOn(const QSqlDatabase& db, const QString& table, const QString& event)
{
    if (backendOf(db) == Backend::SQLite) {
        execute(db, QStringLiteral("CREATE TRIGGER fault BEFORE %1 ON %2 "
                                   "BEGIN SELECT RAISE(ABORT, 'eingeschleuster Fehler'); END")
                        .arg(event, table));
    } else {
        execute(db, s("CREATE FUNCTION fault() RETURNS trigger AS $$ BEGIN "
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
