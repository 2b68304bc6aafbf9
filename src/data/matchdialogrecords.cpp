#include "data/matchdialogrecords.h"

#include "data/dbvalue.h"
#include "data/matchrecords.h"
#include "data/matchstaterecords.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QSqlQuery>

#include <algorithm>

namespace bw {

namespace {

// The guard of each state over the row's flags.
QString stateGuard(MatchStage state)
{
    switch (state) {
    case MatchStage::Open: return s("in_planung=0 AND begonnen=0 AND beendet=0");
    case MatchStage::Called: return s("in_planung<>0 AND begonnen=0 AND beendet=0");
    case MatchStage::Running: return s("begonnen<>0 AND beendet=0");
    case MatchStage::Finished: return s("beendet<>0");
    }
    return s("1=0");
}

SqlParams planParams(int kid, int spielnummer, const MatchPlan& plan)
{
    return {{s("k"), kid},
            {s("n"), spielnummer},
            {s("tisch"), textOrNull(plan.tisch)},
            {s("tag"), dayOrNull(plan.tag)},
            {s("zeit"), timeOrNull(plan.zeit)},
            {s("schiri"), textOrNull(plan.schiri)}};
}

const QString kPlanColumns = s("geplanter_tisch=:tisch,geplanter_tag=:tag,geplante_zeit=:zeit,schiri=:schiri");

int intOr(const QVariant& value, int fallback)
{
    return value.isNull() ? fallback : value.toInt();
}

// Runs a guarded UPDATE of the match; throws MatchConflict when it changed no row.
void updateGuarded(const QSqlDatabase& db, const QString& assignments, MatchStage expected, const SqlParams& params)
{
    const QSqlQuery q = execute(db,
                                s("UPDATE Spielplan SET ") + assignments + s(" WHERE KID=:k AND spielnummer=:n AND ")
                                    + stateGuard(expected),
                                params);
    if (q.numRowsAffected() < 1)
        throw MatchConflict(kMatchChanged);
}

// Inside the call-up's transaction: no other called or running match of the
// class may hold the match's entrants, its table (unless it is started by
// hand) or its umpire.
void checkResources(const QSqlDatabase& db, int kid, int spielnummer, const MatchCall& call)
{
    // Only a match whose sides can meet is sent to a table, also by hand.
    if (const std::optional<MatchStateRow> row = readMatchStateRow(db, kid, spielnummer)) {
        if (const std::optional<QString> reason = unplayableReason(*row))
            throw MatchConflict(*reason);
    }
    QSqlQuery own = execute(db, s("SELECT SID1,SID2 FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                            {{s("k"), kid}, {s("n"), spielnummer}});
    if (!own.next())
        throw MatchConflict(kMatchChanged);
    const int ownSides[2] = {intOr(own.value(0), -1), intOr(own.value(1), -1)};
    const QString platte = call.platte.trimmed();
    const QString schiri = call.schiri.trimmed();
    QSqlQuery busy = execute(db,
                             s("SELECT spielnummer,SID1,SID2,an_platte,schiri FROM Spielplan WHERE KID=:k "
                               "AND spielnummer<>:n AND beendet=0 AND (in_planung<>0 OR begonnen<>0) "
                               "ORDER BY spielnummer"),
                             {{s("k"), kid}, {s("n"), spielnummer}});
    while (busy.next()) {
        const int other = busy.value(0).toInt();
        for (int column : {1, 2}) {
            const int sid = intOr(busy.value(column), -1);
            if (sid > 0 && (sid == ownSides[0] || sid == ownSides[1]))
                throw MatchConflict(
                    QStringLiteral("Ein Spieler dieses Spiels ist inzwischen in Spiel %1 aufgerufen.").arg(other));
        }
        if (!call.manuell && !platte.isEmpty() && busy.value(3).toString().trimmed() == platte)
            throw ResourceBusy(QStringLiteral("Tisch %1 ist inzwischen mit Spiel %2 belegt.").arg(platte).arg(other));
        if (!schiri.isEmpty() && busy.value(4).toString().trimmed() == schiri)
            throw ResourceBusy(
                QStringLiteral("Der Schiedsrichter %1 ist inzwischen in Spiel %2 eingesetzt.").arg(schiri).arg(other));
    }
}

} // namespace

QVariant textOrNull(const QString& text)
{
    return text.trimmed().isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

QVariant timeOrNull(const QTime& time)
{
    if (!time.isValid())
        return QVariant(QMetaType::fromType<QString>());
    return QDateTime(QDate(1899, 12, 30), QTime(time.hour(), time.minute()));
}

QVariant dayOrNull(const QDate& day)
{
    return day.isValid() ? QVariant(day) : QVariant(QMetaType::fromType<QString>());
}

MatchStage MatchDialogRow::state() const
{
    if (beendet)
        return MatchStage::Finished;
    if (begonnen)
        return MatchStage::Running;
    if (inPlanung)
        return MatchStage::Called;
    return MatchStage::Open;
}

std::optional<MatchDialogRow> readMatchDialogRow(const QSqlDatabase& db, int kid, int spielnummer)
{
    QString columns = s("spielnummer,SID1,SID2,spieler1,spieler2,phase,gruppe,geplanter_tag,geplante_zeit,"
                        "geplanter_tisch,schiri,an_platte,in_planung,begonnen,beendet,manuell,ergebnis");
    for (int k = 1; k <= 9; ++k)
        columns += s(",satz") + QString::number(k);
    for (const QString& column : kLaterCallColumns)
        columns += QLatin1Char(',') + column;
    columns += s(",spielende");
    QSqlQuery q = execute(db, s("SELECT ") + columns + s(" FROM Spielplan WHERE KID=:k AND spielnummer=:n"),
                          {{s("k"), kid}, {s("n"), spielnummer}});
    if (!q.next())
        return std::nullopt;
    MatchDialogRow row;
    row.spielnummer = q.value(0).toInt();
    row.sid1 = intOr(q.value(1), -1);
    row.sid2 = intOr(q.value(2), -1);
    row.spieler1 = q.value(3).toString();
    row.spieler2 = q.value(4).toString();
    row.phase = intOr(q.value(5), 0);
    row.gruppe = intOr(q.value(6), -1);
    row.geplanterTag = readDate(q.value(7));
    row.geplanteZeit = readDateTime(q.value(8)).time();
    row.geplanterTisch = q.value(9).toString();
    row.schiri = q.value(10).toString();
    row.anPlatte = q.value(11).toString();
    row.inPlanung = intOr(q.value(12), 0) != 0;
    row.begonnen = intOr(q.value(13), 0) != 0;
    row.beendet = intOr(q.value(14), 0) != 0;
    row.manuell = intOr(q.value(15), 0) != 0;
    row.ergebnis = q.value(16).toString();
    for (int k = 0; k < 9; ++k) {
        const QVariant v = q.value(17 + k);
        if (!v.isNull())
            row.saetze[size_t(k)] = v.toInt();
    }
    for (size_t c = 0; c < kLaterCallColumns.size(); ++c)
        row.spaetereAufrufe[c] = readDateTime(q.value(26 + int(c)));
    row.spielende = readDateTime(q.value(26 + int(kLaterCallColumns.size())));
    return row;
}

QStringList readGroupTables(const QSqlDatabase& db, int kid, int gruppe)
{
    QSqlQuery q = execute(db, s("SELECT platte FROM Platten WHERE KID=:k AND GID=:g ORDER BY platte"),
                          {{s("k"), kid}, {s("g"), gruppe}});
    QStringList tables;
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (!tables.contains(name))
            tables.append(name);
    }
    return tables;
}

QStringList readClassUmpires(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT s.snname,s.svname FROM Schiri s INNER JOIN Schiri_im_turnier st "
                            "ON s.SCHIRIID=st.SCHIRIID WHERE st.KID=:k ORDER BY s.snname,s.svname,s.SCHIRIID"),
                          {{s("k"), kid}});
    QStringList umpires;
    while (q.next())
        umpires.append(q.value(0).toString() + s(", ") + q.value(1).toString());
    return umpires;
}

void expectMatchStage(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected)
{
    updateGuarded(db, s("spielnummer=spielnummer"), expected, {{s("k"), kid}, {s("n"), spielnummer}});
}

void planMatch(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected, const MatchPlan& plan)
{
    updateGuarded(db, kPlanColumns, expected, planParams(kid, spielnummer, plan));
}

void callMatch(const QSqlDatabase& db, int kid, int spielnummer, const MatchPlan& plan, const MatchCall& call)
{
    inTransaction(db, [&] {
        lockClassMatches(db, kid);
        checkResources(db, kid, spielnummer, call);
        updateGuarded(db, kPlanColumns, MatchStage::Open, planParams(kid, spielnummer, plan));
        updateGuarded(db,
                      s("aufruf1_sp1=:a1,aufruf1_sp2=:a2,aufruf1_sch=:a3,in_planung=:p,"
                        "an_platte=:platte,schiri=:sch,manuell=:m"),
                      MatchStage::Open,
                      {{s("k"), kid},
                       {s("n"), spielnummer},
                       {s("a1"), call.moment},
                       {s("a2"), call.moment},
                       {s("a3"), call.moment},
                       {s("p"), true},
                       {s("platte"), textOrNull(call.platte)},
                       {s("sch"), textOrNull(call.schiri)},
                       {s("m"), call.manuell}});
    });
}

void startMatch(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected, const MatchPlan& plan,
                const MatchCall& call, const QDateTime& moment)
{
    if (expected != MatchStage::Open && expected != MatchStage::Called)
        throw MatchConflict(kMatchChanged);
    inTransaction(db, [&] {
        lockClassMatches(db, kid);
        SqlParams params{{s("k"), kid}, {s("n"), spielnummer}, {s("ss"), moment}, {s("p"), false}, {s("b"), true}};
        QString assignments = s("spielstart=:ss,in_planung=:p,begonnen=:b");
        if (expected == MatchStage::Open) {
            // Started straight away: it holds table, entrants and umpire as a
            // called match does, only without call times.
            checkResources(db, kid, spielnummer, call);
            params.insert(s("platte"), textOrNull(call.platte));
            params.insert(s("sch"), textOrNull(call.schiri));
            params.insert(s("m"), call.manuell);
            assignments += s(",an_platte=:platte,schiri=:sch,manuell=:m");
        }
        updateGuarded(db, kPlanColumns, expected, planParams(kid, spielnummer, plan));
        updateGuarded(db, assignments, expected, params);
    });
}

void storeLaterCall(const QSqlDatabase& db, int kid, int spielnummer, MatchStage expected, const QString& column,
                    const QDateTime& moment)
{
    if (std::find(kLaterCallColumns.begin(), kLaterCallColumns.end(), column) == kLaterCallColumns.end())
        throw AppError(QStringLiteral("Unbekannter Aufruf: %1").arg(column));
    updateGuarded(db, column + s("=:t"), expected,
                  {{s("k"), kid},
                   {s("n"), spielnummer},
                   {s("t"), moment.isValid() ? QVariant(moment) : QVariant(QMetaType::fromType<QString>())}});
}

} // namespace bw
