#include "data/planlistrecords.h"

#include "data/dbvalue.h"
#include "data/sql.h"

#include <QSqlQuery>

namespace bw {

QList<PlanListMatch> readPlanList(const QSqlDatabase& db, int kid, std::optional<int> gruppe)
{
    QString sql = s("SELECT spielnummer,geplanter_tag,geplante_zeit,spieler1,spieler2,gruppe,geplanter_tisch,schiri,"
                    "ergebnis,beendet,begonnen,in_planung,satz1,satz2,satz3,satz4,satz5,satz6,satz7,satz8,satz9 "
                    "FROM Spielplan WHERE KID=:k");
    QVariantMap params{{s("k"), kid}};
    if (gruppe) {
        sql += s(" AND gruppe=:g");
        params.insert(s("g"), *gruppe);
    }
    sql += s(" ORDER BY spielnummer");
    QSqlQuery q = execute(db, sql, params);
    QList<PlanListMatch> rows;
    while (q.next()) {
        PlanListMatch m;
        m.spielnummer = q.value(0).toInt();
        m.geplanterTag = readDate(q.value(1));
        const QDateTime zeit = readWallClock(q.value(2));
        if (zeit.isValid())
            m.geplanteZeit = zeit.time();
        m.spieler1 = q.value(3).toString();
        m.spieler2 = q.value(4).toString();
        m.gruppe = q.value(5).isNull() ? -1 : q.value(5).toInt();
        m.geplanterTisch = q.value(6).toString();
        m.schiri = q.value(7).toString();
        m.ergebnis = q.value(8).toString();
        m.beendet = q.value(9).toInt() != 0;
        m.begonnen = q.value(10).toInt() != 0;
        m.inPlanung = q.value(11).toInt() != 0;
        for (int i = 0; i < 9; ++i) {
            if (!q.value(12 + i).isNull())
                m.saetze[size_t(i)] = q.value(12 + i).toInt();
        }
        rows.append(m);
    }
    return rows;
}

int readSetsToWin(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT saetze FROM Turnierklassen WHERE KID=:k"), {{s("k"), kid}});
    return q.next() ? q.value(0).toInt() : 0;
}

std::optional<UmpireSheetMatch> readUmpireSheetMatch(const QSqlDatabase& db, int kid, int spielnummer)
{
    // The clubs come with the match, so the sheet reads one consistent state.
    QSqlQuery q = execute(db,
                          s("SELECT m.spielnummer,m.schiri,m.an_platte,m.spieler1,m.spieler2,p1.verein,p2.verein "
                            "FROM Spielplan m LEFT JOIN Spielerdaten p1 ON p1.SID=m.SID1 "
                            "LEFT JOIN Spielerdaten p2 ON p2.SID=m.SID2 WHERE m.KID=:k AND m.spielnummer=:n"),
                          {{s("k"), kid}, {s("n"), spielnummer}});
    if (!q.next())
        return std::nullopt;
    UmpireSheetMatch m;
    m.spielnummer = q.value(0).toInt();
    m.schiri = q.value(1).toString();
    m.anPlatte = q.value(2).toString();
    m.spieler1 = q.value(3).toString();
    m.spieler2 = q.value(4).toString();
    m.verein1 = q.value(5).toString();
    m.verein2 = q.value(6).toString();
    return m;
}

} // namespace bw
