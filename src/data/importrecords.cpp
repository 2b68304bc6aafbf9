#include "data/importrecords.h"

#include "data/classkind.h"
#include "data/concurrency.h"
#include "data/dbvalue.h"
#include "data/keys.h"
#include "data/playerrecords.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/germantext.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace bw {

QString ImportItem::text() const
{
    return displayName(nachname, vorname);
}

// ---------------------------------------------------------------- source database

SourceDatabase::SourceDatabase(const QString& path)
    : m_connection(openSqliteReadOnly(path, uniqueConnectionName(QStringLiteral("importsource"))))
{
    const QSqlDatabase db = m_connection.db();
    auto require = [&db](const QString& table, const QStringList& columns) {
        QStringList live = liveColumns(db, table);
        for (QString& name : live)
            name = name.toLower();
        if (live.isEmpty())
            throw AppError(QStringLiteral("Die Datei ist keine Turnierdatenbank: die Tabelle %1 fehlt.").arg(table));
        for (const QString& column : columns)
            if (!live.contains(column.toLower()))
                throw AppError(QStringLiteral("Die Datei ist keine Turnierdatenbank: der Tabelle %1 fehlt die Spalte %2.")
                                   .arg(table, column));
        return live;
    };
    require(s("Turnierdaten"), {s("TID"), s("turniername")});
    const QStringList players =
        require(s("Spielerdaten"), {s("TID"), s("SID"), s("nachname"), s("vorname"), s("verein"), s("geb"),
                                    s("kverband"), s("bverband"), s("lverband"), s("land"), s("mann"), s("frau")});
    m_hasStrength = players.contains(s("spielstaerke"));
    m_hasEmail = players.contains(s("email"));
}

QList<SourceTournament> SourceDatabase::tournaments() const
{
    QList<SourceTournament> list;
    QSqlQuery q = execute(m_connection.db(), s("SELECT TID, turniername FROM Turnierdaten"));
    while (q.next())
        list.append({q.value(0).toInt(), q.value(1).toString()});
    return list;
}

QList<ImportItem> SourceDatabase::players(int tid) const
{
    const QString strength = m_hasStrength ? s("spielstaerke") : s("NULL");
    const QString email = m_hasEmail ? s("email") : s("NULL");
    QSqlQuery q = execute(m_connection.db(),
                          s("SELECT SID, nachname, vorname, verein, %1, %2, geb, mann, frau, kverband, lverband, "
                            "bverband, land FROM Spielerdaten WHERE TID=:tid ORDER BY SID")
                              .arg(strength, email),
                          {{s("tid"), tid}});
    QList<ImportItem> items;
    while (q.next()) {
        ImportItem item;
        item.id = q.value(0).toInt();
        item.nachname = q.value(1).toString();
        item.vorname = q.value(2).toString();
        item.verein = q.value(3).toString();
        item.spielstaerke = q.value(4).toString();
        item.email = q.value(5).toString();
        const QDate geb = readDate(q.value(6));
        item.geb = geb.isValid() ? german::formatDate(geb) : QString();
        item.mann = q.value(7).toInt() != 0;
        item.frau = q.value(8).toInt() != 0;
        item.kverband = q.value(9).toString();
        item.lverband = q.value(10).toString();
        item.bverband = q.value(11).toString();
        item.land = q.value(12).toString();
        items.append(item);
    }
    return items;
}

// ---------------------------------------------------------------- staging table

void replaceStagingRows(const QSqlDatabase& db, const QList<StagingRow>& rows)
{
    inTransaction(db, [&] {
        execute(db, s("DELETE FROM Import"));
        for (const StagingRow& row : rows)
            execute(db, s("INSERT INTO Import VALUES (:d1,:d2,:d3,:d4,:d5)"),
                    {{s("d1"), row.nachname}, {s("d2"), row.vorname}, {s("d3"), row.kid}, {s("d4"), row.verein},
                     {s("d5"), row.klassen}});
    });
}

QList<StagingRow> stagingRows(const QSqlDatabase& db)
{
    QList<StagingRow> rows;
    QSqlQuery q = execute(db, s("SELECT nachname, vorname, KID, verein, klassen FROM Import"));
    while (q.next())
        rows.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toInt(), q.value(3).toString(),
                     q.value(4).toString()});
    return rows;
}

// ---------------------------------------------------------------- writing

namespace {

QVariant nullInt()
{
    return QVariant(QMetaType::fromType<int>());
}

// A text as stored: an empty one as "", never Null.
QString stored(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// The values of a new player row, his keys aside.
SqlParams playerParams(const ImportItem& item)
{
    const std::optional<QDate> geb = item.geb.isEmpty() ? std::nullopt : german::parseDate(item.geb);
    return {
        {s("nachname"), stored(item.nachname)},
        {s("vorname"), stored(item.vorname)},
        {s("verein"), stored(item.verein)},
        {s("geb"), geb ? QVariant(*geb) : QVariant(QMetaType::fromType<QDate>())},
        {s("nummer"), nullInt()},
        {s("kverband"), stored(item.kverband)},
        {s("bverband"), stored(item.bverband)},
        {s("lverband"), stored(item.lverband)},
        {s("land"), stored(item.land)},
        {s("zubezahlen"), QVariant(QMetaType::fromType<double>())},
        {s("bezahlt"), false},
        {s("angemeldet"), false},
        {s("mann"), item.mann},
        {s("frau"), item.frau},
        {s("spklasse"), stored(item.spielklasse)},
        {s("spielstaerke"), stored(item.spielstaerke)},
        {s("email"), stored(item.email)},
    };
}

using Name = std::pair<QString, QString>;

// The names of the tournament's players, read under the table lock.
QSet<Name> presentNames(const QSqlDatabase& db, int tid)
{
    QSet<Name> names;
    QSqlQuery q = execute(db, s("SELECT nachname, vorname FROM Spielerdaten WHERE TID=:tid"), {{s("tid"), tid}});
    while (q.next())
        names.insert({q.value(0).toString(), q.value(1).toString()});
    return names;
}

// The kinds of the tournament's classes that the entries name, each row
// locked for share in key order.
QHash<int, ClassKind> namedClasses(const QSqlDatabase& db, int tid, const QList<ImportItem>& items)
{
    QList<int> named;
    for (const ImportItem& item : items)
        if (item.fromForm())
            named += item.classIds;
    std::sort(named.begin(), named.end());
    named.erase(std::unique(named.begin(), named.end()), named.end());
    QHash<int, ClassKind> kinds;
    for (int kid : named) {
        if (!lockRow(db, s("Turnierklassen"), kid, RowLock::Share))
            continue;
        QSqlQuery q = execute(db, s("SELECT system FROM Turnierklassen WHERE KID=:kid AND TID=:tid"),
                              {{s("kid"), kid}, {s("tid"), tid}});
        if (q.next())
            kinds.insert(kid, classKindOf(q.value(0)).value_or(ClassKind::Einzel));
    }
    return kinds;
}

} // namespace

ImportOutcome importPlayers(const QSqlDatabase& db, int tid, const QList<ImportItem>& items,
                            const std::function<void(int)>& progress)
{
    PreparedStatement playerInsert(db, positionalInsert(s("Spielerdaten")));
    PreparedStatement entryInsert(db, s("INSERT INTO Spieler_im_turnier VALUES (:tid,:kid,:sid,:gemeldet)"));
    PreparedStatement pairInsert(db, s("INSERT INTO Doppelpartner VALUES (:kid,:sid,:partner,:mannschaft)"));
    playerInsert.bind({{s("tid"), tid}, {s("livespielerid"), 0}});
    entryInsert.bind({{s("tid"), tid}, {s("gemeldet"), false}});
    pairInsert.bind({{s("partner"), nullInt()}, {s("mannschaft"), QVariant(QMetaType::fromType<QString>())}});
    return inTransaction(db, [&] {
        ImportOutcome outcome;
        if (!lockRow(db, s("Turnierdaten"), tid, RowLock::Share))
            throw StaleRecord::gone(s("Das Turnier"));
        // The key and the names under the table's lock until the end: a desk
        // importing the same names meanwhile waits and then finds them.
        int sid = nextKey(db, s("Spielerdaten"));
        QSet<Name> present = presentNames(db, tid);
        const QHash<int, ClassKind> classes = namedClasses(db, tid, items);
        int done = 0;
        for (const ImportItem& item : items) {
            const Name name{item.nachname, item.vorname};
            if (present.contains(name)) {
                outcome.present.append(item.text());
            } else {
                present.insert(name);
                playerInsert.bind(playerParams(item));
                playerInsert.exec({{s("sid"), sid}});
                QSet<int> entered;
                for (int kid : item.fromForm() ? item.classIds : QList<int>()) {
                    if (entered.contains(kid))
                        continue;
                    entered.insert(kid);
                    const auto kind = classes.constFind(kid);
                    if (kind == classes.constEnd()) {
                        outcome.unknownClasses.append(QStringLiteral("%1: Klasse %2").arg(item.text()).arg(kid));
                        continue;
                    }
                    entryInsert.exec({{s("kid"), kid}, {s("sid"), sid}});
                    if (*kind != ClassKind::Einzel)
                        pairInsert.exec({{s("kid"), kid}, {s("sid"), sid}});
                }
                ++sid;
                ++outcome.imported;
            }
            if (progress)
                progress(++done);
        }
        return outcome;
    });
}

} // namespace bw
