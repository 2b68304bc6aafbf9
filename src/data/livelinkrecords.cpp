#include "data/livelinkrecords.h"

#include "data/sql.h"
#include "data/transaction.h"
#include "platform/germantext.h"

#include <algorithm>

namespace bw {

int readLiveTournamentId(const QSqlDatabase& db, int tid)
{
    return scalar(db, QStringLiteral("SELECT LiveID FROM Turnierdaten WHERE TID=:tid"), {{QStringLiteral("tid"), tid}})
        .toInt();
}

void storeLiveTournamentId(const QSqlDatabase& db, int tid, int expected, int liveId)
{
    const QSqlQuery q = execute(
        db, QStringLiteral("UPDATE Turnierdaten SET LiveID=:live WHERE TID=:tid AND COALESCE(LiveID,0)=:expected"),
        {{QStringLiteral("live"), liveId}, {QStringLiteral("tid"), tid}, {QStringLiteral("expected"), expected}});
    if (q.numRowsAffected() != 1)
        throw AppError(
            QStringLiteral("Die Zuordnung des Turniers wurde inzwischen an einem anderen Arbeitsplatz geändert."));
}

QList<LinkedClass> readLinkedClasses(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db,
                          QStringLiteral("SELECT KID, kbezeichnung, system, LiveKlassenID FROM Turnierklassen "
                                         "WHERE TID=:tid ORDER BY KID"),
                          {{QStringLiteral("tid"), tid}});
    QList<LinkedClass> classes;
    while (q.next())
        classes.append({q.value(0).toInt(), q.value(1).toString(), classKindOf(q.value(2)), q.value(3).toInt()});
    // The databases order names differently; the German collator orders them alike.
    const QCollator collator = german::collator();
    std::stable_sort(classes.begin(), classes.end(), [&](const LinkedClass& a, const LinkedClass& b) {
        const int c = collator.compare(a.kbezeichnung, b.kbezeichnung);
        return c != 0 ? c < 0 : a.kind < b.kind;
    });
    return classes;
}

void storeClassMapping(const QSqlDatabase& db, int tid, const QList<LinkedClass>& asRead,
                       const QMap<int, int>& liveIdByKid)
{
    Transaction transaction(db);
    for (const LinkedClass& c : asRead) {
        const int liveId = liveIdByKid.value(c.kid, 0);
        if (liveId == c.liveKlassenID)
            continue;
        const QSqlQuery q = execute(db,
                                    QStringLiteral("UPDATE Turnierklassen SET LiveKlassenID=:live WHERE TID=:tid "
                                                   "AND KID=:kid AND COALESCE(LiveKlassenID,0)=:expected"),
                                    {{QStringLiteral("live"), liveId},
                                     {QStringLiteral("tid"), tid},
                                     {QStringLiteral("kid"), c.kid},
                                     {QStringLiteral("expected"), c.liveKlassenID}});
        if (q.numRowsAffected() != 1)
            throw AppError(QStringLiteral("Die Klasse \"%1\" wurde inzwischen an einem anderen Arbeitsplatz geändert.")
                               .arg(c.kbezeichnung));
    }
    transaction.commit();
}

} // namespace bw
