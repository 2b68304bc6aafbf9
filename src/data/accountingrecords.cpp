#include "data/accountingrecords.h"

#include "data/sql.h"

namespace bw {

namespace {

std::optional<double> optionalNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

} // namespace

QList<AccountingRow> accountingRows(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(
        db,
        s("SELECT Spielerdaten.SID, Spielerdaten.vorname, Spielerdaten.nachname, Spielerdaten.verein, "
          "Spielerdaten.zubezahlen, Spielerdaten.bezahlt, Spieler_im_turnier.gemeldet, Turnierklassen.kbezeichnung, "
          "Turnierklassen.system, Turnierklassen.gebuehr "
          "FROM (Spielerdaten INNER JOIN Spieler_im_turnier ON Spielerdaten.TID = Spieler_im_turnier.TID "
          "AND Spielerdaten.SID = Spieler_im_turnier.SID) "
          "INNER JOIN Turnierklassen ON Turnierklassen.TID = Spieler_im_turnier.TID "
          "AND Spieler_im_turnier.KID = Turnierklassen.KID "
          "WHERE Spielerdaten.TID = :tid AND Turnierklassen.system <> :team "
          "ORDER BY Spielerdaten.SID, Turnierklassen.KID"),
        {{s("tid"), tid}, {s("team"), storedKind(ClassKind::Team)}});
    QList<AccountingRow> rows;
    while (q.next()) {
        AccountingRow row;
        row.sid = q.value(0).toInt();
        row.vorname = q.value(1).toString();
        row.nachname = q.value(2).toString();
        row.verein = q.value(3).toString();
        row.zubezahlen = optionalNumber(q.value(4));
        row.bezahlt = q.value(5).toInt() != 0;
        row.gemeldet = q.value(6).toInt() != 0;
        row.kbezeichnung = q.value(7).toString();
        row.system = classKindOf(q.value(8));
        row.gebuehr = optionalNumber(q.value(9));
        rows.append(row);
    }
    return rows;
}

} // namespace bw
