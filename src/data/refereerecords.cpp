#include "data/refereerecords.h"

#include "data/classrecords.h"
#include "data/concurrency.h"
#include "data/dbvalue.h"
#include "data/keys.h"
#include "data/playerrecords.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/apperror.h"
#include "platform/germantext.h"

#include <QSqlQuery>

#include <algorithm>

namespace bw {

namespace {

SqlParams recordParams(const RefereeRecord& r)
{
    return {
        {s("snname"), r.snname},
        {s("svname"), r.svname},
        {s("sgeb"), r.sgeb ? QVariant(*r.sgeb) : QVariant(QMetaType::fromType<QDate>())},
        {s("sverein"), r.sverein},
        {s("sangemeldet"), r.sangemeldet},
        {s("skverband"), r.skverband},
        {s("sbverband"), r.sbverband},
        {s("slverband"), r.slverband},
        {s("sland"), r.sland},
        {s("smemo"), r.smemo},
        {s("sklasse"), r.sklasse},
    };
}

const QString kReferee = QStringLiteral("Der Schiedsrichter");

// Offers the referee for the classes (each once, in key order), each class
// locked so that a desk deleting it meanwhile takes the row with it.
void insertClasses(const QSqlDatabase& db, int tid, int id, const QList<int>& kids)
{
    QList<int> sorted = kids;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (int kid : sorted) {
        if (!lockRow(db, s("Turnierklassen"), kid, RowLock::Share))
            throw StaleRecord::gone(s("Die Klasse"));
        execute(db, s("INSERT INTO Schiri_im_turnier VALUES (:tid,:id,:kid)"),
                {{s("tid"), tid}, {s("id"), id}, {s("kid"), kid}});
    }
}

} // namespace

QString SchiriInfo::name() const
{
    return displayName(nachname, vorname);
}

RefereeConversion convertRefereeTexts(const RefereeTexts& t)
{
    if (t.nachname.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("Bitte geben Sie einen Nachnamen ein")};
    if (t.vorname.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("Bitte geben Sie einen Vornamen ein")};
    RefereeRecord r;
    r.snname = t.nachname;
    r.svname = t.vorname;
    r.sverein = t.verein.trimmed().isEmpty() ? QStringLiteral("ohne Verein") : t.verein;
    if (!t.geb.trimmed().isEmpty()) {
        r.sgeb = german::parseDate(t.geb);
        if (!r.sgeb)
            return {std::nullopt, QStringLiteral("Das Geburtsdatum wurde nicht korrekt eingegeben")};
    }
    r.sangemeldet = t.angemeldet;
    r.skverband = t.kverband.trimmed();
    r.sbverband = t.bverband.trimmed();
    r.slverband = t.lverband.trimmed();
    r.sland = t.land.trimmed();
    r.smemo = toStoredMemo(t.memo.trimmed());
    r.sklasse = t.klasse.trimmed();
    return {r, QString()};
}

QList<RefereeClass> loadRefereeClasses(const QSqlDatabase& db, int tid)
{
    QList<RefereeClass> classes;
    QSqlQuery q = execute(db, s("SELECT KID,system,kbezeichnung FROM Turnierklassen WHERE TID=:tid"),
                          {{s("tid"), tid}});
    while (q.next()) {
        if (const std::optional<ClassKind> kind = classKindOf(q.value(1)))
            classes.append({q.value(0).toInt(), q.value(2).toString() + kindSuffix(kind)});
    }
    std::stable_sort(classes.begin(), classes.end(),
                     [](const RefereeClass& a, const RefereeClass& b) { return german::lessThan(a.text, b.text); });
    return classes;
}

QList<SchiriInfo> loadReferees(const QSqlDatabase& db, int tid)
{
    QList<SchiriInfo> referees;
    QSqlQuery q = execute(db, s("SELECT SCHIRIID,snname,svname,sverein,sangemeldet FROM Schiri WHERE TID=:tid "
                                "ORDER BY SCHIRIID"),
                          {{s("tid"), tid}});
    while (q.next())
        referees.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                         q.value(4).toInt() != 0});
    return referees;
}

std::optional<RefereeData> readReferee(const QSqlDatabase& db, int id)
{
    QSqlQuery q = execute(db, s("SELECT TID,snname,svname,sgeb,sverein,sangemeldet,skverband,sbverband,slverband,"
                                "sland,smemo,sklasse FROM Schiri WHERE SCHIRIID=:id"),
                          {{s("id"), id}});
    if (!q.next())
        return std::nullopt;
    RefereeData data;
    data.id = id;
    data.tid = q.value(0).toInt();
    RefereeRecord& r = data.record;
    r.snname = q.value(1).toString();
    r.svname = q.value(2).toString();
    if (!q.value(3).isNull())
        r.sgeb = readDate(q.value(3));
    r.sverein = q.value(4).toString();
    r.sangemeldet = q.value(5).toInt() != 0;
    r.skverband = q.value(6).toString();
    r.sbverband = q.value(7).toString();
    r.slverband = q.value(8).toString();
    r.sland = q.value(9).toString();
    r.smemo = q.value(10).toString();
    r.sklasse = q.value(11).toString();
    QSqlQuery c = execute(db, s("SELECT KID FROM Schiri_im_turnier WHERE SCHIRIID=:id ORDER BY KID"),
                          {{s("id"), id}});
    while (c.next())
        data.kids.append(c.value(0).toInt());
    return data;
}

int insertReferee(const QSqlDatabase& db, int tid, const RefereeRecord& record, const QList<int>& kids)
{
    return inTransaction(db, [&] {
        const int id = nextKey(db, s("Schiri"));
        SqlParams params = recordParams(record);
        params.insert(s("tid"), tid);
        params.insert(s("schiriid"), id);
        execute(db, positionalInsert(s("Schiri")), params);
        insertClasses(db, tid, id, kids);
        return id;
    });
}

void updateReferee(const QSqlDatabase& db, const RefereeData& loaded, const RefereeRecord& record,
                   const QList<int>& kids)
{
    inTransaction(db, [&] {
        const int id = loaded.id;
        const RefereeData stored = lockAsLoaded(db, s("Schiri"), id, kReferee, loaded, readReferee);
        SqlParams params = recordParams(record);
        params.insert(s("id"), id);
        execute(db, s("UPDATE Schiri SET snname=:snname, svname=:svname, sverein=:sverein, sgeb=:sgeb, "
                      "skverband=:skverband, sbverband=:sbverband, slverband=:slverband, sland=:sland, "
                      "sangemeldet=:sangemeldet, smemo=:smemo, sklasse=:sklasse WHERE SCHIRIID=:id"),
                params);
        execute(db, s("DELETE FROM Schiri_im_turnier WHERE SCHIRIID=:id"), {{s("id"), id}});
        insertClasses(db, stored.tid, id, kids);
    });
}

RefereeData saveReferee(const QSqlDatabase& db, int tid, const std::optional<RefereeData>& loaded,
                        const RefereeRecord& record, const QList<int>& kids)
{
    return inTransaction(db, [&] {
        int id = 0;
        if (loaded) {
            updateReferee(db, *loaded, record, kids);
            id = loaded->id;
        } else {
            id = insertReferee(db, tid, record, kids);
        }
        return *readReferee(db, id);
    });
}

void deleteReferee(const QSqlDatabase& db, int id)
{
    inTransaction(db, [&] {
        execute(db, s("DELETE FROM Schiri WHERE SCHIRIID=:id"), {{s("id"), id}});
        execute(db, s("DELETE FROM Schiri_im_turnier WHERE SCHIRIID=:id"), {{s("id"), id}});
    });
}

std::optional<SchiriInfo> findRefereeByPrefix(const QSqlDatabase& db, int tid, const QString& prefix)
{
    QList<SchiriInfo> matches;
    for (const SchiriInfo& r : loadReferees(db, tid)) {
        if (german::startsWithIgnoringCase(r.nachname, prefix))
            matches.append(r);
    }
    if (matches.isEmpty())
        return std::nullopt;
    return *std::min_element(matches.cbegin(), matches.cend(), [](const SchiriInfo& a, const SchiriInfo& b) {
        return nameLessThan(a.nachname, a.vorname, b.nachname, b.vorname);
    });
}

} // namespace bw
