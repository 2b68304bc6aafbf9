// Referees of a tournament (Schiri) with the classes they may umpire
// (Schiri_im_turnier): listing, reading, inserting, changing, deleting and the
// search by typed surname prefix. A referee is addressed by his key SCHIRIID;
// every save runs in one transaction and the page's texts are checked first.
// Two desks: a change is written only over the referee as the page loaded him,
// a class only while it exists; otherwise StaleRecord (concurrency.h).
#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace bw {

// One referee as the list shows him.
struct SchiriInfo {
    int id = 0;
    QString nachname;
    QString vorname;
    QString verein;
    bool angemeldet = false;

    QString name() const;
};

// The stored values of one referee, without his keys.
struct RefereeRecord {
    QString snname;
    QString svname;
    std::optional<QDate> sgeb;
    QString sverein;
    bool sangemeldet = false;
    QString skverband;
    QString sbverband;
    QString slverband;
    QString sland;
    QString smemo;
    QString sklasse;

    bool operator==(const RefereeRecord&) const = default;
};

// The referee page's fields as typed.
struct RefereeTexts {
    QString nachname, vorname, geb, verein, kverband, bverband, lverband, land, memo, klasse;
    bool angemeldet = false;
};

// The page's checks in their order, and the conversion: surname and first name
// must not be blank, an empty club becomes "ohne Verein", a birth date must be
// empty or a date. Names and club are kept as typed, the rest trimmed.
struct RefereeConversion {
    std::optional<RefereeRecord> record;
    QString error;
};
RefereeConversion convertRefereeTexts(const RefereeTexts& texts);

// A class the referee page offers: "Name (Einzel)" etc.
struct RefereeClass {
    int kid = 0;
    QString text;
};
QList<RefereeClass> loadRefereeClasses(const QSqlDatabase& db, int tid);

QList<SchiriInfo> loadReferees(const QSqlDatabase& db, int tid);

struct RefereeData {
    int tid = 0;
    int id = 0;
    RefereeRecord record;
    QList<int> kids; // ascending

    bool operator==(const RefereeData&) const = default;
};
std::optional<RefereeData> readReferee(const QSqlDatabase& db, int id);

// Inserts a referee offered for the given classes; returns his key. Throws
// StaleRecord when one of the classes no longer exists.
int insertReferee(const QSqlDatabase& db, int tid, const RefereeRecord& record, const QList<int>& kids);
// Writes the record into the referee and replaces his classes. `loaded` is
// the referee as the page loaded him: throws StaleRecord when he no longer
// exists or is stored otherwise, or when one of the classes no longer exists.
void updateReferee(const QSqlDatabase& db, const RefereeData& loaded, const RefereeRecord& record,
                   const QList<int>& kids);
// The referee page's save: inserts (no `loaded`) or updates the referee and
// returns him as now stored, the values the page keeps as loaded.
RefereeData saveReferee(const QSqlDatabase& db, int tid, const std::optional<RefereeData>& loaded,
                        const RefereeRecord& record, const QList<int>& kids);
// Deletes the referee with his classes.
void deleteReferee(const QSqlDatabase& db, int id);

// The first referee (by surname, then first name) whose surname begins with the
// prefix, without regard to case; the prefix is plain text.
std::optional<SchiriInfo> findRefereeByPrefix(const QSqlDatabase& db, int tid, const QString& prefix);

} // namespace bw
