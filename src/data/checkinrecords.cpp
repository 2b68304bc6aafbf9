#include "data/checkinrecords.h"

#include "data/classkind.h"
#include "data/playerrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/apperror.h"
#include "platform/germantext.h"

#include <QHash>

#include <algorithm>

namespace bw {

namespace {

QString nameOf(const QSqlQuery& q, int nachname, int vorname)
{
    return displayName(q.value(nachname).toString(), q.value(vorname).toString());
}

// Sorted with the German collator on both backends (the databases' own
// orderings differ): by name, or by club and then name.
void sortPlayers(QList<Myitem>& items, CheckInOrder order)
{
    const QCollator collator = german::collator();
    std::stable_sort(items.begin(), items.end(), [&](const Myitem& a, const Myitem& b) {
        if (order == CheckInOrder::Club) {
            const int c = collator.compare(a.verein, b.verein);
            if (c != 0)
                return c < 0;
        }
        return collator.compare(a.name, b.name) < 0;
    });
}

void setEntry(const QSqlDatabase& db, int tid, int sid, bool flag, int kid)
{
    execute(db, QStringLiteral("UPDATE Spieler_im_turnier SET gemeldet=:g WHERE TID=:id AND SID=:s AND KID=:kid"),
            {{QStringLiteral("g"), flag}, {QStringLiteral("id"), tid}, {QStringLiteral("s"), sid},
             {QStringLiteral("kid"), kid}});
}

// Two desks checking in the same players lock their entries in one order (by
// key), so neither waits for the other while holding what the other needs.
QList<int> inKeyOrder(QList<int> keys)
{
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

// Sets a team's flag; false when there is no such team (in that class).
bool setTeamFlag(const QSqlDatabase& db, int tid, int mid, bool flag, int kid)
{
    SqlParams p{{QStringLiteral("g"), flag}, {QStringLiteral("id"), tid}, {QStringLiteral("s"), mid}};
    QString sql = QStringLiteral("UPDATE Teams SET angemeldet=:g WHERE TID=:id AND MID=:s");
    if (kid != 0) {
        sql += QStringLiteral(" AND KID=:kid");
        p.insert(QStringLiteral("kid"), kid);
    }
    return execute(db, sql, p).numRowsAffected() > 0;
}

} // namespace

bool istgemeldet(const QSqlDatabase& db, int sid, int kid, int tid)
{
    return scalar(db, QStringLiteral("SELECT gemeldet FROM Spieler_im_turnier WHERE SID=:sid AND TID=:tid AND KID=:kid"),
                  {{QStringLiteral("sid"), sid}, {QStringLiteral("tid"), tid}, {QStringLiteral("kid"), kid}})
               .toInt() != 0;
}

void spieleranmeldung(const QSqlDatabase& db, int tid, int sid, bool flag, int kid)
{
    if (kid != 0) {
        setEntry(db, tid, sid, flag, kid);
        return;
    }
    inTransaction(db, [&] {
        QSqlQuery q = execute(db,
                              QStringLiteral("SELECT st.KID, t.system FROM Turnierklassen t INNER JOIN "
                                             "Spieler_im_turnier st ON t.KID=st.KID WHERE st.TID=:tid AND st.SID=:sid "
                                             "ORDER BY st.KID"),
                              {{QStringLiteral("tid"), tid}, {QStringLiteral("sid"), sid}});
        QList<int> classes;
        while (q.next()) {
            if (classKindOf(q.value(1)) != ClassKind::Team)
                classes << q.value(0).toInt();
        }
        for (int k : classes)
            setEntry(db, tid, sid, flag, k);
    });
}

QList<CheckInTab> checkInTabs(const QSqlDatabase& db, int tid)
{
    struct Row {
        int kid;
        int system; // as stored, for the order
        QString name;
    };
    QList<Row> rows;
    QSqlQuery q = execute(db, QStringLiteral("SELECT KID, kbezeichnung, system FROM Turnierklassen WHERE TID=:id"),
                          {{QStringLiteral("id"), tid}});
    while (q.next())
        rows.append({q.value(0).toInt(), q.value(2).toInt(), q.value(1).toString()});
    const QCollator collator = german::collator();
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        if (a.system != b.system)
            return a.system < b.system;
        return collator.compare(a.name, b.name) < 0;
    });
    QList<CheckInTab> tabs;
    for (const Row& r : rows) {
        const std::optional<ClassKind> kind = classKindOf(r.system);
        tabs.append({r.kid, r.name + QLatin1Char(' ') + (kind ? QStringLiteral("(%1)").arg(kindName(*kind)) : QString())});
    }
    return tabs;
}

QList<Myitem> classPlayers(const QSqlDatabase& db, int tid, int kid, CheckInOrder order)
{
    QList<Myitem> items;
    QSqlQuery q = execute(db,
                          QStringLiteral("SELECT s.SID, s.nachname, s.vorname, s.verein, st.gemeldet "
                                         "FROM Spielerdaten s INNER JOIN Spieler_im_turnier st ON s.SID=st.SID "
                                         "WHERE st.TID=:tid AND st.KID=:kid"),
                          {{QStringLiteral("tid"), tid}, {QStringLiteral("kid"), kid}});
    while (q.next()) {
        Myitem item;
        item.ID = q.value(0).toInt();
        item.name = nameOf(q, 1, 2);
        item.verein = q.value(3).toString();
        item.gemeldet = q.value(4).toInt() != 0;
        item.gesetzt = 0;
        items.append(item);
    }
    sortPlayers(items, order);
    return items;
}

QList<Myitem> allPlayers(const QSqlDatabase& db, int tid, CheckInOrder order)
{
    // Per player: how many class entries, how many of them checked in.
    struct Counts {
        int entries = 0;
        int checkedIn = 0;
    };
    QHash<int, Counts> counts;
    {
        QSqlQuery q = execute(db, QStringLiteral("SELECT SID, gemeldet FROM Spieler_im_turnier WHERE TID=:tid"),
                              {{QStringLiteral("tid"), tid}});
        while (q.next()) {
            Counts& c = counts[q.value(0).toInt()];
            ++c.entries;
            if (q.value(1).toInt() != 0)
                ++c.checkedIn;
        }
    }
    QList<Myitem> items;
    QSqlQuery q = execute(db, QStringLiteral("SELECT SID, nachname, vorname, verein FROM Spielerdaten WHERE TID=:tid"),
                          {{QStringLiteral("tid"), tid}});
    while (q.next()) {
        Myitem item;
        item.ID = q.value(0).toInt();
        item.name = nameOf(q, 1, 2);
        item.verein = q.value(3).toString();
        const Counts c = counts.value(item.ID);
        item.gemeldet = c.checkedIn == c.entries;
        item.teilgemeldet = c.checkedIn > 0;
        item.gesetzt = 0;
        items.append(item);
    }
    sortPlayers(items, order);
    return items;
}

QList<Myitem> checkInTeams(const QSqlDatabase& db, int tid, int kid)
{
    SqlParams p{{QStringLiteral("tid"), tid}};
    QString sql = QStringLiteral("SELECT MID, KID, teamname, verein, angemeldet FROM Teams WHERE TID=:tid");
    if (kid != 0) {
        sql += QStringLiteral(" AND KID=:kid");
        p.insert(QStringLiteral("kid"), kid);
    }
    QList<Myitem> items;
    QSqlQuery q = execute(db, sql, p);
    while (q.next()) {
        Myitem item;
        item.ID = q.value(0).toInt();
        item.partnerID = q.value(1).toInt();
        item.name = q.value(2).toString();
        item.verein = q.value(3).toString();
        item.gemeldet = q.value(4).toInt() != 0;
        item.gesetzt = 0;
        items.append(item);
    }
    const QCollator collator = german::collator();
    std::stable_sort(items.begin(), items.end(),
                     [&](const Myitem& a, const Myitem& b) { return collator.compare(a.name, b.name) < 0; });
    return items;
}

QString playerEntryText(const Myitem& item)
{
    return item.name + QStringLiteral(" (") + item.verein + QLatin1Char(')');
}

QList<TeamMember> teamMembers(const QSqlDatabase& db, int mid)
{
    QList<TeamMember> members;
    QSqlQuery team = execute(db, QStringLiteral("SELECT s1, s2, s3, s4, r1, r2 FROM Teams WHERE MID=:id"),
                             {{QStringLiteral("id"), mid}});
    if (!team.next())
        return members;
    for (int slot = 1; slot <= 6; ++slot) {
        const QVariant id = team.value(slot - 1);
        if (id.isNull())
            continue;
        QSqlQuery player = execute(db, QStringLiteral("SELECT SID, nachname, vorname FROM Spielerdaten WHERE SID=:id"),
                                   {{QStringLiteral("id"), id.toInt()}});
        if (player.next())
            members.append({slot, player.value(0).toInt(), nameOf(player, 1, 2)});
    }
    return members;
}

void teamanmeldung(const QSqlDatabase& db, int tid, int mid, bool flag, int kid, const QList<int>& members,
                   int memberKid)
{
    inTransaction(db, [&] {
        if (!setTeamFlag(db, tid, mid, flag, kid))
            throw AppError(QStringLiteral("Das Team ist nicht mehr in der Datenbank vorhanden."));
        for (int sid : inKeyOrder(members))
            spieleranmeldung(db, tid, sid, flag, memberKid);
    });
}

void setPlayersCheckIn(const QSqlDatabase& db, int tid, const QList<int>& sids, bool flag, int kid,
                       const std::function<void(int, int)>& progress)
{
    const QList<int> ordered = inKeyOrder(sids);
    inTransaction(db, [&] {
        for (int i = 0; i < ordered.size(); ++i) {
            if (progress)
                progress(i + 1, int(ordered.size()));
            spieleranmeldung(db, tid, ordered[i], flag, kid);
        }
    });
}

void setTeamsCheckIn(const QSqlDatabase& db, int tid, const QList<Myitem>& teams, bool flag, int kid)
{
    QList<Myitem> ordered = teams;
    std::sort(ordered.begin(), ordered.end(), [](const Myitem& a, const Myitem& b) { return a.ID < b.ID; });
    inTransaction(db, [&] {
        // The teams first, then their members' entries, each by key.
        QList<std::pair<int, int>> entries; // (SID, KID)
        for (const Myitem& team : ordered) {
            const int teamKid = kid != 0 ? kid : team.partnerID;
            setTeamFlag(db, tid, team.ID, flag, teamKid);
            for (const TeamMember& m : teamMembers(db, team.ID))
                entries.append({m.sid, teamKid});
        }
        std::sort(entries.begin(), entries.end());
        entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
        for (const auto& [sid, entryKid] : entries)
            spieleranmeldung(db, tid, sid, flag, entryKid);
    });
}

} // namespace bw
