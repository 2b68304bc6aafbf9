#include "data/liveregistrationrecords.h"

#include "data/classkind.h"
#include "data/concurrency.h"
#include "data/dbvalue.h"
#include "data/keys.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QSqlQuery>

#include <algorithm>

namespace bw {

namespace {

const QString kPlayer = QStringLiteral("Der Spieler");

std::optional<QDate> optionalDate(const QVariant& value)
{
    const QDate date = readDate(value);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

SqlParams playerParams(const RegisteredPlayer& p)
{
    return {
        {s("nachname"), p.nachname},
        {s("vorname"), p.vorname},
        {s("verein"), p.verein},
        {s("email"), p.email},
        {s("geb"), p.geb ? QVariant(*p.geb) : QVariant(QMetaType::fromType<QDate>())},
        {s("kverband"), p.kverband},
        {s("bverband"), p.bverband},
        {s("lverband"), p.lverband},
        {s("land"), p.land},
        {s("livespielerid"), p.liveSpielerID},
        {s("spklasse"), p.spklasse},
        {s("mann"), p.mann},
        {s("frau"), p.frau},
        {s("spielstaerke"), p.spielstaerke},
    };
}

// Enters the player in the class unless he is entered in it already.
void enterClass(const QSqlDatabase& db, int tid, int sid, int kid)
{
    if (!lockRow(db, s("Turnierklassen"), kid, RowLock::Share))
        throw StaleRecord::gone(s("Die Klasse"));
    const SqlParams entry{{s("tid"), tid}, {s("kid"), kid}, {s("sid"), sid}};
    if (!scalar(db, s("SELECT SID FROM Spieler_im_turnier WHERE TID=:tid AND KID=:kid AND SID=:sid"), entry).isNull())
        return;
    execute(db, s("INSERT INTO Spieler_im_turnier (TID, KID, SID, gemeldet) VALUES (:tid, :kid, :sid, :gemeldet)"),
            {{s("tid"), tid}, {s("kid"), kid}, {s("sid"), sid}, {s("gemeldet"), false}});
    const std::optional<ClassKind> kind =
        classKindOf(scalar(db, s("SELECT system FROM Turnierklassen WHERE KID=:kid"), {{s("kid"), kid}}));
    if (kind != ClassKind::Doppel && kind != ClassKind::Mixed)
        return;
    const SqlParams pair{{s("kid"), kid}, {s("sid"), sid}};
    if (scalar(db, s("SELECT SID FROM Doppelpartner WHERE KID=:kid AND SID=:sid"), pair).isNull())
        execute(db, s("INSERT INTO Doppelpartner (KID, SID, partner_SID, mannschaft) VALUES (:kid, :sid, NULL, NULL)"),
                pair);
}

} // namespace

QHash<int, int> readPlayersByOnlineId(const QSqlDatabase& db, int tid)
{
    QSqlQuery q = execute(db,
                          s("SELECT SID, LiveSpielerID FROM Spielerdaten WHERE TID=:tid AND LiveSpielerID>0 "
                            "ORDER BY SID"),
                          {{s("tid"), tid}});
    QHash<int, int> players;
    while (q.next()) {
        const int live = q.value(1).toInt();
        if (!players.contains(live))
            players.insert(live, q.value(0).toInt());
    }
    return players;
}

std::optional<Namesake> findNamesake(const QSqlDatabase& db, int tid, const QString& nachname,
                                     const QString& vorname)
{
    // Compared here rather than with LIKE: the names stay plain text, and case
    // is ignored for umlauts too, the same on both backends.
    QSqlQuery q = execute(db,
                          s("SELECT SID, nachname, vorname, verein, geb FROM Spielerdaten "
                            "WHERE TID=:tid AND (LiveSpielerID IS NULL OR LiveSpielerID=0) ORDER BY SID"),
                          {{s("tid"), tid}});
    while (q.next()) {
        if (q.value(1).toString().compare(nachname, Qt::CaseInsensitive) == 0 &&
            q.value(2).toString().compare(vorname, Qt::CaseInsensitive) == 0)
            return Namesake{q.value(0).toInt(), q.value(3).toString(), optionalDate(q.value(4))};
    }
    return std::nullopt;
}

int storeRegistration(const QSqlDatabase& db, int tid, const RegisteredPlayer& player, int sid,
                      const QList<int>& kids)
{
    return inTransaction(db, [&] {
        // Under the key lock a second desk waits until this one has added the
        // player, and then finds him by his online id.
        lockTable(db, s("Spielerdaten"));
        int target = 0;
        if (player.liveSpielerID > 0)
            target = scalar(db, s("SELECT MIN(SID) FROM Spielerdaten WHERE TID=:tid AND LiveSpielerID=:live"),
                            {{s("tid"), tid}, {s("live"), player.liveSpielerID}})
                         .toInt();
        if (target == 0)
            target = sid;

        SqlParams params = playerParams(player);
        params.insert(s("tid"), tid);
        if (target > 0) {
            params.insert(s("sid"), target);
            const QSqlQuery q = execute(
                db,
                s("UPDATE Spielerdaten SET nachname=:nachname, vorname=:vorname, verein=:verein, email=:email, "
                  "geb=:geb, kverband=:kverband, bverband=:bverband, lverband=:lverband, land=:land, "
                  "LiveSpielerID=:livespielerid, spklasse=:spklasse, mann=:mann, frau=:frau, "
                  "spielstaerke=:spielstaerke WHERE TID=:tid AND SID=:sid "
                  "AND (LiveSpielerID IS NULL OR LiveSpielerID=0 OR LiveSpielerID=:livespielerid)"),
                params);
            if (q.numRowsAffected() != 1) {
                if (scalar(db, s("SELECT SID FROM Spielerdaten WHERE TID=:tid AND SID=:sid"),
                           {{s("tid"), tid}, {s("sid"), target}})
                        .isNull())
                    throw StaleRecord::gone(kPlayer);
                throw AppError(s("Der Spieler \"%1, %2\" wurde inzwischen an einem anderen Arbeitsplatz mit einer "
                                 "anderen Online-Anmeldung verknüpft.")
                                   .arg(player.nachname, player.vorname));
            }
        } else {
            target = nextKey(db, s("Spielerdaten"));
            params.insert(s("sid"), target);
            params.insert(s("nummer"),
                          scalar(db, s("SELECT MAX(nummer) FROM Spielerdaten WHERE TID=:tid"), {{s("tid"), tid}})
                                  .toInt() +
                              1);
            params.insert(s("zubezahlen"), QVariant(QMetaType::fromType<double>()));
            params.insert(s("bezahlt"), false);
            params.insert(s("angemeldet"), false);
            execute(db, positionalInsert(s("Spielerdaten")), params);
        }

        QList<int> sorted = kids;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        for (int kid : sorted)
            enterClass(db, tid, target, kid);
        return target;
    });
}

} // namespace bw
