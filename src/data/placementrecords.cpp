#include "data/placementrecords.h"

#include "data/matchrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/apperror.h"

#include <QSqlQuery>

namespace bw {

namespace {

int intOr(const QVariant& value, int fallback)
{
    return value.isNull() ? fallback : value.toInt();
}

const QString kMatchColumns =
    QStringLiteral("spielnummer,SID1,SID2,spieler1,spieler2,siegerSID,verliererSID,in_planung,begonnen,beendet");

PlacementMatchRow matchRow(const QSqlQuery& q)
{
    PlacementMatchRow row;
    row.spielnummer = q.value(0).toInt();
    row.sid1 = intOr(q.value(1), -1);
    row.sid2 = intOr(q.value(2), -1);
    row.spieler1 = q.value(3).toString();
    row.spieler2 = q.value(4).toString();
    row.siegerSID = intOr(q.value(5), -1);
    row.verliererSID = intOr(q.value(6), -1);
    row.played = q.value(7).toInt() != 0 || q.value(8).toInt() != 0 || q.value(9).toInt() != 0;
    return row;
}

} // namespace

PlacementNumbers readPlacementNumbers(const QSqlDatabase& db, int kid)
{
    PlacementNumbers numbers;
    const SqlParams k{{s("k"), kid}};
    numbers.storedPlatz = intOr(scalar(db, s("SELECT MAX(platz) FROM Spielplan WHERE KID=:k AND phase=4"), k), 0);
    numbers.m = intOr(scalar(db, s("SELECT MAX(spielnummer) FROM Spielplan WHERE KID=:k AND phase<4"), k), 0);
    QSqlQuery q = execute(db, s("SELECT MAX(spielnummer), MAX(gruppe) FROM Spielplan WHERE KID=:k"), k);
    if (q.next()) {
        numbers.maxMatch = intOr(q.value(0), 0);
        numbers.maxGroup = intOr(q.value(1), 0);
    }
    return numbers;
}

QList<PlacementMatchRow> readPlacementMatches(const QSqlDatabase& db, int kid)
{
    QList<PlacementMatchRow> rows;
    QSqlQuery q = execute(db, s("SELECT ") + kMatchColumns + s(" FROM Spielplan WHERE KID=:k AND phase=4 ORDER BY spielnummer"),
                          {{s("k"), kid}});
    while (q.next())
        rows << matchRow(q);
    return rows;
}

std::optional<PlacementMatchRow> readMatchOfPlacement(const QSqlDatabase& db, int kid, int spielnummer)
{
    QSqlQuery q = execute(db, s("SELECT ") + kMatchColumns + s(" FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                          {{s("k"), kid}, {s("n"), spielnummer}});
    if (!q.next())
        return std::nullopt;
    return matchRow(q);
}

bool groupHasFinishedMatch(const QSqlDatabase& db, int kid, int gid)
{
    return !scalar(db,
                   s("SELECT spielnummer FROM Spielplan WHERE KID=:k AND gruppe=:g AND beendet<>0 "
                     "AND SID1<>-1 AND SID2<>-1"),
                   {{s("k"), kid}, {s("g"), gid}})
                .isNull();
}

std::optional<GroupRankHolder> readGroupRankHolder(const QSqlDatabase& db, int kid, int gid, int pos)
{
    QSqlQuery q = execute(db, s("SELECT SID, bez FROM Tabellen WHERE KID=:k AND GID=:g AND pos=:p"),
                          {{s("k"), kid}, {s("g"), gid}, {s("p"), pos}});
    if (!q.next())
        return std::nullopt;
    return GroupRankHolder{intOr(q.value(0), -1), q.value(1).toString()};
}

void deletePlacementMatches(const QSqlDatabase& db, int kid)
{
    const SqlParams k{{s("k"), kid}};
    execute(db,
            s("DELETE FROM Teamspiele WHERE KID=:k AND spielnummer IN "
              "(SELECT spielnummer FROM Spielplan WHERE KID=:k AND phase=4)"),
            k);
    execute(db, s("DELETE FROM Spielplan WHERE KID=:k AND phase=4"), k);
}

int maxMatchNumber(const QSqlDatabase& db, int kid)
{
    return intOr(scalar(db, s("SELECT MAX(spielnummer) FROM Spielplan WHERE KID=:k"), {{s("k"), kid}}), 0);
}

bool sameEntrant(const PlacementSlotValue& value, int otherId, const QString& otherText)
{
    if (value.id > 0)
        return value.id == otherId;
    return value.id == -1 && otherId == -1 && !value.text.isEmpty() && value.text == otherText;
}

void writePlacementSlot(const QSqlDatabase& db, int kid, int spielnummer, int side, const PlacementSlotValue& value)
{
    Transaction transaction(db);
    lockClassMatches(db, kid);
    const std::optional<PlacementMatchRow> row = readMatchOfPlacement(db, kid, spielnummer);
    if (row && !row->played
        && sameEntrant(value, side == 1 ? row->sid2 : row->sid1, side == 1 ? row->spieler2 : row->spieler1))
        throw SameEntrant();
    const QString sql = side == 1
        ? s("UPDATE Spielplan SET SID1=:id, spieler1=:t, parentspiel1=:ps, parentGID1=:pg, parentpos1=:pp "
            "WHERE KID=:k AND spielnummer=:n AND phase=4 AND in_planung=0 AND begonnen=0 AND beendet=0")
        : s("UPDATE Spielplan SET SID2=:id, spieler2=:t, parentspiel2=:ps, parentGID2=:pg, parentpos2=:pp "
            "WHERE KID=:k AND spielnummer=:n AND phase=4 AND in_planung=0 AND begonnen=0 AND beendet=0");
    QSqlQuery q = execute(db, sql,
                          {{s("id"), value.id},
                           {s("t"), value.text},
                           {s("ps"), value.parentspiel},
                           {s("pg"), value.parentGID},
                           {s("pp"), value.parentpos},
                           {s("k"), kid},
                           {s("n"), spielnummer}});
    if (q.numRowsAffected() != 1)
        throw StaleRecord::changed(QStringLiteral("Das Spiel %1").arg(spielnummer));
    transaction.commit();
}

} // namespace bw
