#include "data/matchstaterecords.h"

#include "data/sql.h"

#include <QSqlQuery>

namespace bw {

namespace {

// A side whose group (parentGID) still has a match to play between two named
// sides, as the group end counts it.
QString awaitsGroup(const char* side)
{
    const QString parent = s("Spielplan.parentGID") + QLatin1String(side);
    return s("(") + parent + s(">=0 AND EXISTS (SELECT 1 FROM Spielplan g WHERE g.KID=Spielplan.KID AND g.gruppe=") +
           parent + s(" AND g.beendet=0 AND g.spieler1<>'' AND g.spieler2<>''))");
}

const QString kColumns = QStringLiteral(
    "SELECT spielnummer,phase,gruppe,SID1,SID2,spieler1,spieler2,in_planung,begonnen,beendet,an_platte,schiri,"
    "ergebnis,satz1,satz2,satz3,satz4,satz5,satz6,satz7,satz8,satz9,CASE WHEN %1 OR %2 THEN 1 ELSE 0 END "
    "FROM Spielplan ").arg(awaitsGroup("1"), awaitsGroup("2"));

int intOr(const QVariant& value, int fallback)
{
    return value.isNull() ? fallback : value.toInt();
}

QList<MatchStateRow> readRows(QSqlQuery& q)
{
    QList<MatchStateRow> rows;
    while (q.next()) {
        MatchStateRow r;
        r.spielnummer = q.value(0).toInt();
        r.phase = intOr(q.value(1), 0);
        r.gruppe = intOr(q.value(2), -1);
        r.sid1 = intOr(q.value(3), 0);
        r.sid2 = intOr(q.value(4), 0);
        r.spieler1 = q.value(5).toString();
        r.spieler2 = q.value(6).toString();
        r.inPlanung = intOr(q.value(7), 0) != 0;
        r.begonnen = intOr(q.value(8), 0) != 0;
        r.beendet = intOr(q.value(9), 0) != 0;
        r.anPlatte = q.value(10).toString();
        r.schiri = q.value(11).toString();
        r.ergebnis = q.value(12).toString();
        for (int k = 0; k < 9; ++k)
            if (!q.value(13 + k).isNull())
                r.saetze[size_t(k)] = q.value(13 + k).toInt();
        r.awaitsGroup = q.value(22).toInt() != 0;
        rows.append(r);
    }
    return rows;
}

} // namespace

QList<MatchStateRow> readMatchStateRows(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, kColumns + s("WHERE KID=:k ORDER BY spielnummer"), {{s("k"), kid}});
    return readRows(q);
}

QList<MatchStateRow> readOpenMatchRows(const QSqlDatabase& db, int kid, std::optional<int> phase)
{
    const QString open = s("WHERE KID=:k AND in_planung=0 AND begonnen=0 AND beendet=0");
    QSqlQuery q = phase ? execute(db, kColumns + open + s(" AND phase=:p ORDER BY spielnummer"),
                                  {{s("k"), kid}, {s("p"), *phase}})
                        : execute(db, kColumns + open + s(" ORDER BY spielnummer"), {{s("k"), kid}});
    return readRows(q);
}

std::optional<MatchStateRow> readMatchStateRow(const QSqlDatabase& db, int kid, int spielnummer)
{
    QSqlQuery q = execute(db, kColumns + s("WHERE KID=:k AND spielnummer=:n"), {{s("k"), kid}, {s("n"), spielnummer}});
    const QList<MatchStateRow> rows = readRows(q);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.front();
}

std::optional<QString> unplayableReason(const MatchStateRow& row)
{
    if (row.sid1 <= 0 || row.sid2 <= 0)
        return QStringLiteral("Die beiden Seiten von Spiel %1 stehen noch nicht fest.").arg(row.spielnummer);
    if (row.sid1 == row.sid2)
        return QStringLiteral("Beide Seiten von Spiel %1 sind derselbe Teilnehmer.").arg(row.spielnummer);
    if (row.awaitsGroup)
        return QStringLiteral("Ein Platz von Spiel %1 kommt aus einer Gruppe, die noch nicht beendet ist.")
            .arg(row.spielnummer);
    return std::nullopt;
}

} // namespace bw
