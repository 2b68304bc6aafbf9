#include "data/livepublishrecords.h"

#include "data/dbvalue.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/germantext.h"

#include <QSqlQuery>

#include <algorithm>

namespace bw {

namespace {

std::optional<int> optionalInt(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toInt();
}

std::optional<bool> optionalBool(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toInt() != 0;
}

std::optional<QDateTime> optionalDateTime(const QVariant& value)
{
    const QDateTime read = readDateTime(value);
    if (!read.isValid())
        return std::nullopt;
    return read;
}

} // namespace

QList<PublishClass> readPublishClasses(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db,
                          s("SELECT KID, kbezeichnung, system, LiveKlassenID FROM Turnierklassen "
                            "WHERE TID=:tid ORDER BY KID"),
                          {{s("tid"), tid}});
    QList<PublishClass> classes;
    while (q.next())
        classes.append({q.value(0).toInt(), q.value(1).toString(), classKindOf(q.value(2)), q.value(3).toInt()});
    // The databases order names differently; the German collator orders them alike.
    const QCollator collator = german::collator();
    std::stable_sort(classes.begin(), classes.end(), [&](const PublishClass& a, const PublishClass& b) {
        const int c = collator.compare(a.kbezeichnung, b.kbezeichnung);
        return c != 0 ? c < 0 : a.kind < b.kind;
    });
    return classes;
}

std::optional<LiveClassRow> readLiveClassRow(const QSqlDatabase& db, int tid, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT kbezeichnung, system, mann, frau, saetze, altersklasseID, atag, uhrzeit "
                            "FROM Turnierklassen WHERE TID=:tid AND KID=:kid"),
                          {{s("tid"), tid}, {s("kid"), kid}});
    if (!q.next())
        return std::nullopt;
    LiveClassRow row;
    row.kbezeichnung = q.value(0).toString();
    row.system = optionalInt(q.value(1));
    row.mann = optionalBool(q.value(2));
    row.frau = optionalBool(q.value(3));
    row.saetze = optionalInt(q.value(4));
    row.altersklasseID = q.value(5).toString();
    row.atag = optionalDateTime(q.value(6));
    row.uhrzeit = optionalDateTime(q.value(7));
    return row;
}

std::optional<LivePhases> readLivePhases(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT phase1, phase2, phase3 FROM Gruppeneinstellungen WHERE KID=:kid"),
                          {{s("kid"), kid}});
    if (!q.next())
        return std::nullopt;
    return LivePhases{optionalInt(q.value(0)), optionalInt(q.value(1)), optionalInt(q.value(2))};
}

QList<LivePlayer> readLivePlayers(const QSqlDatabase& db, int tid, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT p.SID, p.vorname, p.nachname, p.verein, p.LiveSpielerID "
                            "FROM Spieler_im_turnier e INNER JOIN Spielerdaten p ON p.SID=e.SID AND p.TID=e.TID "
                            "WHERE e.KID=:kid AND p.TID=:tid ORDER BY p.SID"),
                          {{s("kid"), kid}, {s("tid"), tid}});
    QList<LivePlayer> players;
    while (q.next())
        players.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                        optionalInt(q.value(4))});
    return players;
}

QList<StoredLiveMatch> readLiveMatches(const QSqlDatabase& db, int tid, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT phase, spielnummer, SID1, spieler1, SID2, spieler2, "
                            "satz1, satz2, satz3, satz4, satz5, satz6, satz7, satz8, satz9, ergebnis, "
                            "parentspiel1, parentsieger1, parentspiel2, parentsieger2, beendet, in_planung, "
                            "begonnen, spielstart, geplanter_tag, gruppe "
                            "FROM Spielplan WHERE KID=:kid AND TID=:tid ORDER BY spielnummer"),
                          {{s("kid"), kid}, {s("tid"), tid}});
    QList<StoredLiveMatch> matches;
    while (q.next()) {
        StoredLiveMatch m;
        m.phase = optionalInt(q.value(0));
        m.spielnummer = q.value(1).toInt();
        m.sid1 = optionalInt(q.value(2));
        m.spieler1 = q.value(3).toString();
        m.sid2 = optionalInt(q.value(4));
        m.spieler2 = q.value(5).toString();
        for (int i = 0; i < 9; ++i)
            m.saetze[size_t(i)] = optionalInt(q.value(6 + i));
        m.ergebnis = q.value(15).toString();
        m.parentspiel1 = q.value(16).toInt();
        m.parentsieger1 = q.value(17).toInt() != 0;
        m.parentspiel2 = q.value(18).toInt();
        m.parentsieger2 = q.value(19).toInt() != 0;
        m.beendet = q.value(20).toInt() != 0;
        m.inPlanung = q.value(21).toInt() != 0;
        m.begonnen = q.value(22).toInt() != 0;
        m.spielstart = optionalDateTime(q.value(23));
        m.geplanterTag = optionalDateTime(q.value(24));
        m.gruppe = optionalInt(q.value(25));
        matches.append(m);
    }
    return matches;
}

void storeCreatedOnlineClass(const QSqlDatabase& db, int tid, int kid, int liveKlassenID)
{
    inTransaction(db, [&] {
        const QSqlQuery q = execute(db,
                                    s("UPDATE Turnierklassen SET LiveKlassenID=:live WHERE TID=:tid AND KID=:kid "
                                      "AND COALESCE(LiveKlassenID,0)=0"),
                                    {{s("live"), liveKlassenID}, {s("tid"), tid}, {s("kid"), kid}});
        if (q.numRowsAffected() != 1)
            throw AppError(s("Die Klasse wurde inzwischen an einem anderen Arbeitsplatz geändert: die neue "
                             "Online-Klasse %1 konnte ihr nicht zugeordnet werden.")
                               .arg(liveKlassenID));
    });
}

} // namespace bw
