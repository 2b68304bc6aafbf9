#include "data/drawrecords.h"

#include "data/sql.h"

#include <QSet>
#include <QSqlQuery>

namespace bw {

namespace {

// One side of the phase's match rows with the entrant's club, partner and
// standings row of the phase before.
QString sideQuery(ClassKind kind, int side)
{
    const QString sid = side == 1 ? s("s.SID1") : s("s.SID2");
    const QString text = side == 1 ? s("s.spieler1") : s("s.spieler2");
    QString sql;
    if (kind == ClassKind::Team) {
        sql = s("SELECT ") + sid + s(", m.teamname, m.verein, m.s1, t.GID, t.pos FROM Spielplan s "
                                     "INNER JOIN Teams m ON m.MID=") +
              sid + s(" AND m.KID=s.KID ");
    } else {
        sql = s("SELECT ") + sid + s(", ") + text +
              s(", p.verein, d.partner_SID, t.GID, t.pos FROM Spielplan s "
                "INNER JOIN Spielerdaten p ON p.SID=") +
              sid + s(" LEFT JOIN Doppelpartner d ON d.KID=s.KID AND d.SID=") + sid + s(" ");
    }
    sql += s("LEFT JOIN Tabellen t ON t.KID=s.KID AND t.phase=:prev AND t.SID=") + sid +
           s(" WHERE s.KID=:k AND s.phase=:p AND ") + sid + s(">0 ORDER BY s.spielnummer");
    return sql;
}

} // namespace

QList<PhaseEntrant> readPhaseEntrants(const QSqlDatabase& db, int kid, int phase, ClassKind kind)
{
    QList<PhaseEntrant> entrants;
    QSet<int> seen;
    for (int side = 1; side <= 2; ++side) {
        QSqlQuery q = execute(db, sideQuery(kind, side), {{s("k"), kid}, {s("p"), phase}, {s("prev"), phase - 1}});
        while (q.next()) {
            PhaseEntrant e;
            e.id = q.value(0).toInt();
            if (seen.contains(e.id))
                continue;
            seen.insert(e.id);
            e.name = q.value(1).toString();
            e.verein = q.value(2).toString();
            e.partnerId = q.value(3).isNull() ? 0 : q.value(3).toInt();
            if (!q.value(4).isNull()) {
                e.sourceGid = q.value(4).toInt();
                e.sourcePos = q.value(5).toInt();
            }
            entrants.append(e);
        }
    }
    return entrants;
}

} // namespace bw
