#include "data/planrecords.h"

#include "data/schema.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>

namespace bw {

DrawRowInserter::DrawRowInserter(const QSqlDatabase& db, int kid)
    : m_gruppen(db, positionalInsert(s("Gruppen"))), m_tabellen(db, positionalInsert(s("Tabellen"))),
      m_platten(db, positionalInsert(s("Platten")))
{
    for (PreparedStatement* insert : {&m_gruppen, &m_tabellen, &m_platten})
        insert->bind(s("kid"), kid);
    m_gruppen.bind(s("markiert"), false);
    m_tabellen.bind(s("markiert"), false);
    for (const char* counter : {"spielanzahl", "matchegewonnen", "matcheverloren", "spielegewonnen", "spieleverloren",
                                "saetzegewonnen", "saetzeverloren", "punktegewonnen", "punkteverloren"})
        m_tabellen.bind(s(counter), 0);
}

void DrawRowInserter::insertPlace(const GroupPlaceRow& row)
{
    const SqlParams place{{s("gid"), row.gid},
                          {s("pos"), row.pos},
                          {s("sid"), row.sid},
                          {s("bez"), row.bez},
                          {s("parentgid"), row.parentGID},
                          {s("parentpos"), row.parentpos},
                          {s("phase"), row.phase}};
    m_gruppen.bind(s("plattensystem"), row.plattensystem);
    m_gruppen.exec(place);
    m_tabellen.exec(place);
}

void DrawRowInserter::insertTable(const GroupTableRow& row)
{
    m_platten.exec({{s("gid"), row.gid}, {s("platte"), row.platte}, {s("phase"), row.phase}});
}

void deleteDrawFrom(const QSqlDatabase& db, int kid, int fromPhase)
{
    for (const char* table : {"Tabellen", "Gruppen", "Platten", "Spielplan", "Teamspiele"}) {
        if (fromPhase <= 1)
            execute(db, QStringLiteral("DELETE FROM %1 WHERE KID=:kid").arg(s(table)), {{s("kid"), kid}});
        else
            execute(db, QStringLiteral("DELETE FROM %1 WHERE KID=:kid AND phase>=:p").arg(s(table)),
                    {{s("kid"), kid}, {s("p"), fromPhase}});
    }
}

int lastMatchNumber(const QSqlDatabase& db, int kid, int phase)
{
    const QVariant last = scalar(db, s("SELECT MAX(spielnummer) FROM Spielplan WHERE KID=:kid AND phase=:p"),
                                 {{s("kid"), kid}, {s("p"), phase}});
    return last.isNull() ? 0 : last.toInt();
}

QHash<int, FinishingPlace> readFinishingPlaces(const QSqlDatabase& db, int kid, int phase)
{
    QSqlQuery q = execute(db, s("SELECT SID,GID,pos FROM Tabellen WHERE KID=:kid AND phase=:p AND SID>0"),
                          {{s("kid"), kid}, {s("p"), phase}});
    QHash<int, FinishingPlace> places;
    while (q.next())
        places.insert(q.value(0).toInt(), {q.value(1).toInt(), q.value(2).toInt()});
    return places;
}

bool phaseHasOpenMatch(const QSqlDatabase& db, int kid, int phase)
{
    return !scalar(db,
                   s("SELECT spielnummer FROM Spielplan WHERE KID=:kid AND phase=:p AND beendet=0 "
                     "AND SID1>0 AND SID2>0"),
                   {{s("kid"), kid}, {s("p"), phase}})
                .isNull();
}

QByteArray planStamp(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT spielnummer,SID1,spieler1,SID2,spieler2,siegerSID,verliererSID,ergebnis,"
                            "beendet,begonnen,in_planung,phase FROM Spielplan WHERE KID=:kid ORDER BY spielnummer"),
                          {{s("kid"), kid}});
    QCryptographicHash hash(QCryptographicHash::Sha1);
    while (q.next()) {
        const int columns = q.record().count();
        for (int c = 0; c < columns; ++c) {
            hash.addData(q.isNull(c) ? QByteArrayLiteral("\x01") : q.value(c).toString().toUtf8());
            hash.addData(QByteArrayView("\0", 1));
        }
    }
    return hash.result();
}

} // namespace bw
