#include "data/boardrecords.h"

#include "data/dbvalue.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/germantext.h"

#include <QSqlQuery>

#include <algorithm>

namespace bw {

namespace {

// Advisory lock keys of the board ("BB"), the second half the tournament.
constexpr int kBoardLockSpace = 0x4242;
// The day a stored time of day belongs to: the time alone is what counts.
const QDate kTimeOnlyDay(1899, 12, 30);

std::optional<QTime> optionalTime(const QVariant& value)
{
    // The stored text "yyyy-MM-dd hh:mm:ss" read directly: a day's board reads
    // a thousand of them.
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.size() >= 19 && text[13] == QLatin1Char(':') && text[16] == QLatin1Char(':')) {
            bool ok[3] = {};
            const QTime time(QStringView(text).mid(11, 2).toInt(&ok[0]), QStringView(text).mid(14, 2).toInt(&ok[1]),
                             QStringView(text).mid(17, 2).toInt(&ok[2]));
            if (ok[0] && ok[1] && ok[2] && time.isValid())
                return time;
        }
    }
    const QDateTime moment = readWallClock(value);
    if (!moment.isValid())
        return std::nullopt;
    return moment.time();
}

int slotIndex(const QTime& time)
{
    return time.hour() * 6 + time.minute() / 10;
}

QString forUpdate(const QSqlDatabase& db)
{
    return backendOf(db) == Backend::PostgreSQL ? s(" FOR UPDATE") : QString();
}

SqlParams keyParams(const BoardMatchKey& key)
{
    SqlParams p{{s("k"), key.kid}, {s("snr"), key.spielnummer}};
    if (key.nummer != -1)
        p.insert(s("n"), key.nummer);
    return p;
}

QString keyCondition(const BoardMatchKey& key)
{
    return key.nummer == -1 ? s("KID=:k AND spielnummer=:snr") : s("KID=:k AND spielnummer=:snr AND nummer=:n");
}

QString tableOf(const BoardMatchKey& key)
{
    return key.nummer == -1 ? s("Spielplan") : s("Teamspiele");
}

struct StoredPlace {
    QDate day;
    QString table;
    std::optional<QTime> time;
};

// The match's planning columns, its row locked for the change; nothing when the
// row is gone.
std::optional<StoredPlace> lockPlace(const QSqlDatabase& db, const BoardMatchKey& key)
{
    QSqlQuery q = execute(db,
                          QStringLiteral("SELECT geplanter_tag,geplanter_tisch,geplante_zeit FROM %1 WHERE %2")
                                  .arg(tableOf(key), keyCondition(key))
                              + forUpdate(db),
                          keyParams(key));
    if (!q.next())
        return std::nullopt;
    return StoredPlace{readWallClock(q.value(0)).date(), q.value(1).toString(), optionalTime(q.value(2))};
}

bool isAt(const std::optional<StoredPlace>& stored, const BoardPlace& place)
{
    return stored && stored->time && stored->day == place.day && stored->table == place.table
        && slotIndex(*stored->time) == slotIndex(place.slot);
}

// Clears a match's planning; for a game also its encounter's row.
void unplan(const QSqlDatabase& db, const BoardMatchKey& key)
{
    execute(db,
            s("UPDATE Spielplan SET schiri=NULL,geplanter_tag=NULL,geplanter_tisch=NULL,geplante_zeit=NULL "
              "WHERE KID=:k AND spielnummer=:snr"),
            {{s("k"), key.kid}, {s("snr"), key.spielnummer}});
    if (key.nummer != -1)
        execute(db,
                s("UPDATE Teamspiele SET schiri=NULL,geplanter_tag=NULL,geplanter_tisch=NULL,geplante_zeit=NULL "
                  "WHERE KID=:k AND spielnummer=:snr AND nummer=:n"),
                keyParams(key));
}

void place(const QSqlDatabase& db, const BoardMatchKey& key, const BoardPlace& to)
{
    SqlParams p = keyParams(key);
    p.insert(s("d"), toDbValue(to.day));
    p.insert(s("t"), to.table);
    p.insert(s("z"), toDbValue(storedPlanTime(to.slot)));
    execute(db,
            QStringLiteral("UPDATE %1 SET geplanter_tag=:d,geplanter_tisch=:t,geplante_zeit=:z WHERE %2")
                .arg(tableOf(key), keyCondition(key)),
            p);
}

BoardMatchRow matchRow(const QSqlQuery& q, int kid, bool game)
{
    // Columns: KID, spielnummer, nummer (games), spieler1, spieler2, schiri, geplanter_tisch, geplante_zeit.
    BoardMatchRow r;
    int c = 0;
    r.kid = kid > 0 ? kid : q.value(c).toInt();
    ++c;
    r.spielnummer = q.value(c++).toInt();
    r.nummer = game ? q.value(c++).toInt() : -1;
    r.spieler1 = q.value(c++).toString();
    r.spieler2 = q.value(c++).toString();
    r.schiri = q.value(c++).toString();
    r.geplanterTisch = q.value(c++).toString();
    r.geplanteZeit = optionalTime(q.value(c));
    return r;
}

QList<BoardMatchRow> readRows(QSqlQuery q, bool game)
{
    QList<BoardMatchRow> rows;
    while (q.next())
        rows.append(matchRow(q, 0, game));
    return rows;
}

const char* kMatchColumns = "KID,spielnummer,spieler1,spieler2,schiri,geplanter_tisch,geplante_zeit";
const char* kGameColumns = "KID,spielnummer,nummer,spieler1,spieler2,schiri,geplanter_tisch,geplante_zeit";

} // namespace

BoardConflict::BoardConflict()
    : AppError(QStringLiteral("Das Spiel wurde inzwischen an einem anderen Arbeitsplatz geändert."))
{
}

BoardDays readBoardDays(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db, s("SELECT tvon,tbis FROM Turnierdaten WHERE TID=:t"), {{s("t"), tid}});
    BoardDays days;
    if (q.next()) {
        days.tvon = readWallClock(q.value(0)).date();
        days.tbis = readWallClock(q.value(1)).date();
    }
    return days;
}

QList<BoardClassRow> readBoardClasses(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db, s("SELECT system,KID,kbezeichnung,farbe FROM Turnierklassen WHERE TID=:t "
                                "ORDER BY kbezeichnung,KID"),
                          {{s("t"), tid}});
    QList<BoardClassRow> rows;
    while (q.next())
        rows.append({q.value(1).toInt(), q.value(0).toInt(), q.value(2).toString(), q.value(3).toString()});
    return rows;
}

QStringList readBoardTables(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db, s("SELECT DISTINCT platte FROM Platten1 WHERE TID=:t AND platte IS NOT NULL"),
                          {{s("t"), tid}});
    QStringList tables;
    while (q.next())
        tables.append(q.value(0).toString());
    // The columns as the plan orders tables: "2" before "10".
    return german::sortedNames(tables);
}

QList<BoardMatchRow> readBoardClassMatches(const QSqlDatabase& db, int kid, bool teamClass)
{
    const QString sql = teamClass
        ? QStringLiteral("SELECT %1 FROM Teamspiele WHERE KID=:k ORDER BY spielnummer,nummer").arg(s(kGameColumns))
        : QStringLiteral("SELECT %1 FROM Spielplan WHERE KID=:k ORDER BY spielnummer").arg(s(kMatchColumns));
    return readRows(execute(db, sql, {{s("k"), kid}}), teamClass);
}

QList<BoardMatchRow> readBoardDayMatches(const QSqlDatabase& db, int tid, const QDate& day)
{
    const SqlParams p{{s("t"), tid}, {s("d"), toDbValue(day)}};
    QList<BoardMatchRow> rows = readRows(
        execute(db,
                QStringLiteral("SELECT %1 FROM Spielplan WHERE TID=:t AND geplanter_tag=:d ORDER BY KID,spielnummer")
                    .arg(s(kMatchColumns)),
                p),
        false);
    rows += readRows(execute(db,
                             QStringLiteral("SELECT %1 FROM Teamspiele WHERE TID=:t AND geplanter_tag=:d "
                                            "ORDER BY KID,spielnummer,nummer")
                                 .arg(s(kGameColumns)),
                             p),
                     true);
    return rows;
}

void storeClassColour(const QSqlDatabase& db, int kid, const QString& farbe)
{
    execute(db, s("UPDATE Turnierklassen SET farbe=:f WHERE KID=:k"), {{s("f"), farbe}, {s("k"), kid}});
}

void lockBoard(const QSqlDatabase& db, int tid)
{
    if (!Transaction::active(db))
        throw AppError(QStringLiteral("Sperre des Spieleplaners außerhalb einer Transaktion"));
    if (backendOf(db) == Backend::PostgreSQL)
        execute(db, s("SELECT pg_advisory_xact_lock(:space, :tid)"), {{s("space"), kBoardLockSpace}, {s("tid"), tid}});
}

void storeBoardWrite(const QSqlDatabase& db, const BoardWrite& write)
{
    inTransaction(db, [&] {
        lockBoard(db, write.tid);
        const std::optional<StoredPlace> dropped = lockPlace(db, write.match);
        if (!dropped)
            throw BoardConflict();
        if (write.from ? !isAt(dropped, *write.from) : dropped->time.has_value())
            throw BoardConflict();
        for (const auto& [key, shown] : write.displaced)
            if (!isAt(lockPlace(db, key), shown))
                throw BoardConflict();
        if (write.to) {
            // Nothing else may stand in the target's two cells: a match in the
            // slot before covers the first with its second cell.
            const auto expected = [&](const BoardMatchKey& key) {
                return key == write.match
                    || std::any_of(write.displaced.begin(), write.displaced.end(),
                                   [&](const auto& d) { return d.first == key; });
            };
            const SqlParams p{{s("t"), write.tid}, {s("d"), toDbValue(write.to->day)}, {s("p"), write.to->table}};
            const int target = slotIndex(write.to->slot);
            QSqlQuery q = execute(db,
                                  s("SELECT KID,spielnummer,-1,spieler1,spieler2,schiri,geplanter_tisch,geplante_zeit "
                                    "FROM Spielplan WHERE TID=:t AND geplanter_tag=:d AND geplanter_tisch=:p "
                                    "UNION ALL SELECT %1 FROM Teamspiele "
                                    "WHERE TID=:t AND geplanter_tag=:d AND geplanter_tisch=:p")
                                      .arg(s(kGameColumns)),
                                  p);
            while (q.next()) {
                const BoardMatchRow r = matchRow(q, 0, true);
                if (!r.geplanteZeit || r.spieler1.isEmpty() || r.spieler2.isEmpty())
                    continue;
                if (std::abs(slotIndex(*r.geplanteZeit) - target) <= 1 && !expected({r.kid, r.spielnummer, r.nummer}))
                    throw BoardConflict();
            }
        }
        for (const auto& d : write.displaced)
            unplan(db, d.first);
        if (write.to)
            place(db, write.match, *write.to);
        else
            unplan(db, write.match);
    });
}

QDateTime storedPlanTime(const QTime& time)
{
    return QDateTime(kTimeOnlyDay, time);
}

QTime planSlot(const QTime& time)
{
    return QTime(time.hour(), time.minute() / 10 * 10);
}

} // namespace bw
