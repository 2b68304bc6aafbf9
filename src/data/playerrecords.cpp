#include "data/playerrecords.h"

#include "data/concurrency.h"
#include "data/dbvalue.h"
#include "data/keys.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/apperror.h"
#include "platform/germantext.h"

#include <QSet>
#include <QSqlQuery>

#include <algorithm>

namespace bw {

namespace {

template <typename T>
QVariant nullable(const std::optional<T>& value)
{
    return value ? QVariant::fromValue(*value) : QVariant(QMetaType::fromType<T>());
}

template <typename T>
std::optional<T> optionalOf(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.value<T>();
}

SqlParams recordParams(const PlayerRecord& r)
{
    return {
        {s("nachname"), r.nachname},
        {s("vorname"), r.vorname},
        {s("verein"), r.verein},
        {s("geb"), nullable(r.geb)},
        {s("nummer"), nullable(r.nummer)},
        {s("kverband"), r.kverband},
        {s("bverband"), r.bverband},
        {s("lverband"), r.lverband},
        {s("land"), r.land},
        {s("zubezahlen"), nullable(r.zubezahlen)},
        {s("bezahlt"), r.bezahlt},
        {s("angemeldet"), false},
        {s("mann"), r.mann},
        {s("frau"), r.frau},
        {s("spklasse"), r.spklasse},
        {s("spielstaerke"), r.spielstaerke},
        {s("email"), r.email},
    };
}

// Enters the player in the classes (each once, in key order), each class
// locked so that a desk deleting it meanwhile takes the entry with it.
void insertClassEntries(const QSqlDatabase& db, int tid, int sid, const QList<int>& kids)
{
    QList<int> sorted = kids;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (int kid : sorted) {
        if (!lockRow(db, s("Turnierklassen"), kid, RowLock::Share))
            throw StaleRecord::gone(s("Die Klasse"));
        execute(db, s("INSERT INTO Spieler_im_turnier VALUES (:tid,:kid,:sid,:gemeldet)"),
                {{s("tid"), tid}, {s("kid"), kid}, {s("sid"), sid}, {s("gemeldet"), false}});
    }
}

QList<int> entryKids(const PlayerData& data)
{
    QList<int> kids;
    for (const ClassEntryRow& entry : data.classes)
        kids << entry.kid;
    return kids;
}

QList<std::pair<int, std::optional<int>>> partners(const PlayerData& data)
{
    QList<std::pair<int, std::optional<int>>> list;
    for (const PairRow& pair : data.pairs)
        list.append({pair.kid, pair.partnerSid});
    return list;
}

const QString kPlayer = QStringLiteral("Der Spieler");

void writePlayer(const QSqlDatabase& db, const PlayerData& stored, const PlayerRecord& record, const QList<int>& kids)
{
    const int sid = stored.sid;
    SqlParams params = recordParams(record);
    params.insert(s("sid"), sid);
    execute(db, s("UPDATE Spielerdaten SET nachname=:nachname, vorname=:vorname, verein=:verein, geb=:geb, "
                  "nummer=:nummer, kverband=:kverband, bverband=:bverband, lverband=:lverband, land=:land, "
                  "zubezahlen=:zubezahlen, bezahlt=:bezahlt, angemeldet=:angemeldet, mann=:mann, frau=:frau, "
                  "spklasse=:spklasse, spielstaerke=:spielstaerke, email=:email WHERE SID=:sid"),
            params);

    // The entries that stay keep their check-in; only new ones start unchecked.
    const QList<int> existing = entryKids(stored);
    for (int kid : existing) {
        if (!kids.contains(kid))
            execute(db, s("DELETE FROM Spieler_im_turnier WHERE SID=:sid AND KID=:kid"),
                    {{s("sid"), sid}, {s("kid"), kid}});
    }
    QList<int> added;
    for (int kid : kids) {
        if (!existing.contains(kid))
            added << kid;
    }
    insertClassEntries(db, stored.tid, sid, added);
}

} // namespace

QString displayName(const QString& nachname, const QString& vorname)
{
    return nachname + QStringLiteral(", ") + vorname;
}

bool nameLessThan(const QString& nachname1, const QString& vorname1, const QString& nachname2,
                  const QString& vorname2)
{
    const int c = german::collator().compare(nachname1, nachname2);
    return c != 0 ? c < 0 : german::lessThan(vorname1, vorname2);
}

QString classEntryPrefix(ClassKind kind)
{
    return kindName(kind) + QStringLiteral(" - ");
}

PlayerConversion convertPlayerTexts(const PlayerTexts& t)
{
    PlayerRecord r;
    r.nachname = t.nachname;
    r.vorname = t.vorname;
    r.verein = t.verein;
    if (!t.geb.trimmed().isEmpty()) {
        r.geb = german::parseDate(t.geb);
        if (!r.geb)
            return {std::nullopt, QStringLiteral("Das Geburtsdatum wurde nicht korrekt eingegeben")};
    }
    if (!t.nummer.trimmed().isEmpty()) {
        bool ok = false;
        const int n = t.nummer.trimmed().toInt(&ok);
        if (!ok)
            return {std::nullopt, QStringLiteral("Die Rückennummer wurde nicht korrekt eingegeben")};
        r.nummer = n;
    }
    if (!t.zubezahlen.trimmed().isEmpty()) {
        r.zubezahlen = german::parseNumber(t.zubezahlen);
        if (!r.zubezahlen)
            return {std::nullopt, QStringLiteral("Die Startgebühr wurde nicht korrekt eingegeben")};
    }
    r.kverband = t.kverband.trimmed();
    r.bverband = t.bverband.trimmed();
    r.lverband = t.lverband.trimmed();
    r.land = t.land.trimmed();
    r.bezahlt = t.bezahlt;
    r.mann = t.mann;
    r.frau = t.frau;
    r.spklasse = t.spklasse.trimmed();
    r.spielstaerke = t.spielstaerke.trimmed();
    r.email = t.email.trimmed();
    return {r, QString()};
}

QList<SpielerInfo> loadPlayers(const QSqlDatabase& db, int tid)
{
    QList<SpielerInfo> players;
    QSqlQuery q = execute(db, s("SELECT SID,nachname,vorname,verein,angemeldet FROM Spielerdaten WHERE TID=:tid "
                                "ORDER BY SID"),
                          {{s("tid"), tid}});
    while (q.next())
        players.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                        q.value(4).toInt() != 0});
    return players;
}

QStringList playerColumnValues(const QSqlDatabase& db, int tid, const QString& column, bool withEmpty)
{
    static const QStringList allowed{s("kverband"), s("bverband"), s("lverband"), s("land"), s("spklasse"),
                                     s("verein")};
    if (!allowed.contains(column))
        throw AppError(QStringLiteral("Unbekannte Spalte %1").arg(column));
    QStringList values;
    QSet<QString> seen;
    QSqlQuery q = execute(db, QStringLiteral("SELECT DISTINCT %1 FROM Spielerdaten WHERE TID=:tid").arg(column),
                          {{s("tid"), tid}});
    while (q.next()) {
        const QString value = q.value(0).toString();
        if ((value.isEmpty() && !withEmpty) || seen.contains(value))
            continue;
        seen.insert(value);
        values << value;
    }
    std::sort(values.begin(), values.end(), german::lessThan);
    return values;
}

QList<KlassenInfo> loadOfferedClasses(const QSqlDatabase& db, int tid)
{
    QList<KlassenInfo> classes;
    QSqlQuery q = execute(db, s("SELECT KID,system,kbezeichnung,gebuehr FROM Turnierklassen WHERE TID=:tid"),
                          {{s("tid"), tid}});
    while (q.next()) {
        // A class of an unknown kind cannot be entered here.
        const std::optional<ClassKind> kind = classKindOf(q.value(1));
        if (!kind)
            continue;
        classes.append({q.value(0).toInt(), *kind, q.value(3).toDouble(), classEntryPrefix(*kind) + q.value(2).toString()});
    }
    std::stable_sort(classes.begin(), classes.end(),
                     [](const KlassenInfo& a, const KlassenInfo& b) { return german::lessThan(a.text, b.text); });
    return classes;
}

std::optional<PlayerData> readPlayer(const QSqlDatabase& db, int sid)
{
    QSqlQuery q = execute(db, s("SELECT TID,nachname,vorname,verein,geb,nummer,kverband,bverband,lverband,land,"
                                "zubezahlen,bezahlt,mann,frau,spklasse,spielstaerke,email "
                                "FROM Spielerdaten WHERE SID=:sid"),
                          {{s("sid"), sid}});
    if (!q.next())
        return std::nullopt;
    PlayerData data;
    data.sid = sid;
    data.tid = q.value(0).toInt();
    PlayerRecord& r = data.record;
    r.nachname = q.value(1).toString();
    r.vorname = q.value(2).toString();
    r.verein = q.value(3).toString();
    if (!q.value(4).isNull())
        r.geb = readDate(q.value(4));
    r.nummer = optionalOf<int>(q.value(5));
    r.kverband = q.value(6).toString();
    r.bverband = q.value(7).toString();
    r.lverband = q.value(8).toString();
    r.land = q.value(9).toString();
    r.zubezahlen = optionalOf<double>(q.value(10));
    r.bezahlt = q.value(11).toInt() != 0;
    r.mann = q.value(12).toInt() != 0;
    r.frau = q.value(13).toInt() != 0;
    r.spklasse = q.value(14).toString();
    r.spielstaerke = q.value(15).toString();
    r.email = q.value(16).toString();

    QSqlQuery c = execute(db, s("SELECT KID,gemeldet FROM Spieler_im_turnier WHERE SID=:sid ORDER BY KID"),
                          {{s("sid"), sid}});
    while (c.next())
        data.classes.append({c.value(0).toInt(), c.value(1).toInt() != 0});
    QSqlQuery p = execute(db, s("SELECT KID,partner_SID,mannschaft FROM Doppelpartner WHERE SID=:sid ORDER BY KID"),
                          {{s("sid"), sid}});
    while (p.next())
        data.pairs.append({p.value(0).toInt(), optionalOf<int>(p.value(1)), optionalOf<QString>(p.value(2))});
    return data;
}

bool samePlayer(const PlayerData& a, const PlayerData& b)
{
    return a.sid == b.sid && a.record == b.record && entryKids(a) == entryKids(b) && partners(a) == partners(b);
}

int insertPlayer(const QSqlDatabase& db, int tid, const PlayerRecord& record, const QList<int>& kids)
{
    return inTransaction(db, [&] {
        const int sid = nextKey(db, s("Spielerdaten"));
        SqlParams params = recordParams(record);
        params.insert(s("tid"), tid);
        params.insert(s("sid"), sid);
        params.insert(s("livespielerid"), 0);
        execute(db, positionalInsert(s("Spielerdaten")), params);
        insertClassEntries(db, tid, sid, kids);
        return sid;
    });
}

void updatePlayer(const QSqlDatabase& db, const PlayerData& loaded, const PlayerRecord& record,
                  const QList<int>& kids)
{
    inTransaction(db, [&] {
        writePlayer(db, lockAsLoaded(db, s("Spielerdaten"), loaded.sid, kPlayer, loaded, readPlayer, samePlayer),
                    record, kids);
    });
}

PlayerData savePlayer(const QSqlDatabase& db, int tid, const std::optional<PlayerData>& loaded,
                      const PlayerRecord& record, const QList<int>& kids, const QList<PartnerLine>& lines,
                      const QSet<std::pair<int, int>>& takeOver)
{
    return inTransaction(db, [&] {
        int sid = 0;
        if (loaded) {
            updatePlayer(db, *loaded, record, kids);
            sid = loaded->sid;
        } else {
            sid = insertPlayer(db, tid, record, kids);
        }
        storePartners(db, sid, lines, takeOver);
        return *readPlayer(db, sid);
    });
}


void deletePlayer(const QSqlDatabase& db, int sid)
{
    inTransaction(db, [&] {
        const SqlParams p{{s("sid"), sid}};
        execute(db, s("DELETE FROM Spielerdaten WHERE SID=:sid"), p);
        execute(db, s("DELETE FROM Spieler_im_turnier WHERE SID=:sid"), p);
        execute(db, s("DELETE FROM Doppelpartner WHERE SID=:sid"), p);
        execute(db, s("UPDATE Doppelpartner SET partner_SID=NULL WHERE partner_SID=:sid"), p);
    });
}

QList<SpielerInfo> clubMembers(const QSqlDatabase& db, int tid, const QString& club)
{
    QList<SpielerInfo> players;
    QSqlQuery q = execute(db, s("SELECT SID,nachname,vorname,verein,angemeldet FROM Spielerdaten "
                                "WHERE verein=:verein AND TID=:tid ORDER BY SID"),
                          {{s("verein"), club}, {s("tid"), tid}});
    while (q.next())
        players.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                        q.value(4).toInt() != 0});
    return players;
}

std::optional<SpielerInfo> findPlayerByPrefix(const QSqlDatabase& db, int tid, const QString& prefix)
{
    // Compared here rather than with LIKE: the prefix stays plain text, and case
    // is ignored for umlauts too, the same on both backends.
    QList<SpielerInfo> matches;
    for (const SpielerInfo& p : loadPlayers(db, tid)) {
        if (german::startsWithIgnoringCase(p.nachname, prefix))
            matches.append(p);
    }
    if (matches.isEmpty())
        return std::nullopt;
    return *std::min_element(matches.cbegin(), matches.cend(), [](const SpielerInfo& a, const SpielerInfo& b) {
        return nameLessThan(a.nachname, a.vorname, b.nachname, b.vorname);
    });
}

std::optional<QString> findClubByPrefix(const QSqlDatabase& db, int tid, const QString& prefix)
{
    for (const QString& club : playerColumnValues(db, tid, s("verein"), true)) {
        if (german::startsWithIgnoringCase(club, prefix))
            return club;
    }
    return std::nullopt;
}

bool sexEligible(const QSqlDatabase& db, int kid, bool mann, bool frau)
{
    QSqlQuery q = execute(db, s("SELECT mann,frau FROM Turnierklassen WHERE KID=:kid"), {{s("kid"), kid}});
    if (!q.next())
        return false;
    return (mann && q.value(0).toInt() != 0) || (frau && q.value(1).toInt() != 0);
}

bool ageEligible(const AgeLimits& a, const QDate& b)
{
    if (!a.von && !a.bis)
        return true;
    if (a.von && a.bis && *a.von < b && b < *a.bis)
        return true;
    if (a.von && a.aelter && b < *a.von)
        return true;
    if (a.bis && a.juenger && b > *a.bis)
        return true;
    return false;
}

bool ageEligible(const QSqlDatabase& db, int kid, const QDate& birth)
{
    // The age class is named by the class; names are unique only within a tournament.
    QSqlQuery q = execute(db, s("SELECT a.von,a.bis,a.aelter,a.juenger FROM Altersklasse a "
                                "INNER JOIN Turnierklassen t ON a.name=t.altersklasseID AND a.TID=t.TID "
                                "WHERE t.KID=:kid"),
                          {{s("kid"), kid}});
    if (!q.next())
        return true;
    AgeLimits limits;
    if (!q.value(0).isNull())
        limits.von = readDate(q.value(0));
    if (!q.value(1).isNull())
        limits.bis = readDate(q.value(1));
    limits.aelter = q.value(2).toInt() != 0;
    limits.juenger = q.value(3).toInt() != 0;
    return ageEligible(limits, birth);
}

bool startNumberInUse(const QSqlDatabase& db, int tid, int number)
{
    return !scalar(db, s("SELECT SID FROM Spielerdaten WHERE TID=:tid AND nummer=:n"),
                   {{s("tid"), tid}, {s("n"), number}})
                .isNull();
}

int nextFreeStartNumber(const QSqlDatabase& db, int tid)
{
    // 1 or a number just above a used one, whichever is the smallest free one.
    const QVariant n = scalar(db, s("SELECT MIN(c.n) FROM (SELECT 1 AS n UNION "
                                    "SELECT nummer+1 FROM Spielerdaten WHERE TID=:t1 AND nummer>0 "
                                    "AND nummer<2147483647) c "
                                    "WHERE NOT EXISTS (SELECT 1 FROM Spielerdaten s WHERE s.TID=:t2 AND "
                                    "s.nummer=c.n)"),
                              {{s("t1"), tid}, {s("t2"), tid}});
    return n.isNull() ? 1 : n.toInt();
}

QList<StartNumberRow> loadStartNumbers(const QSqlDatabase& db, int tid)
{
    QList<StartNumberRow> rows;
    QSqlQuery q = execute(db,
                          s("SELECT nummer,nachname,vorname,verein FROM Spielerdaten "
                            "WHERE TID=:tid AND nummer IS NOT NULL ORDER BY nummer,nachname,vorname"),
                          {{s("tid"), tid}});
    while (q.next())
        rows.append({q.value(0).toInt(), displayName(q.value(1).toString(), q.value(2).toString()),
                     q.value(3).toString()});
    return rows;
}

} // namespace bw
