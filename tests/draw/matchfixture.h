// Small helpers of the match row and bye tests: a class of a kind, a match row
// with its sides, and the values of a row by column name.
#pragma once

#include "data/classrecords.h"
#include "data/matchrecords.h"
#include "data/sql.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>

namespace bw::test {

inline constexpr int kTid = 7;

// A class of this kind; a team class gets `format`.
inline int makeClass(const QSqlDatabase& db, ClassKind kind, const TeamFormat& format = {})
{
    ClassRecord record;
    record.system = kind;
    record.kbezeichnung = QStringLiteral("Klasse %1").arg(int(kind));
    return insertClass(db, kTid, record, {}, format);
}

// A match between two sides; the sources default to none.
inline NewMatch match(int spielnummer, const MatchSide& first, const MatchSide& second)
{
    NewMatch m;
    m.spielnummer = spielnummer;
    m.sid1 = first.id;
    m.spieler1 = first.text;
    m.parentGID1 = first.parentGID;
    m.parentpos1 = first.parentpos;
    m.sid2 = second.id;
    m.spieler2 = second.text;
    m.parentGID2 = second.parentGID;
    m.parentpos2 = second.parentpos;
    return m;
}

inline MatchSide entrant(int id, const QString& name, int gid = -1, int pos = -1)
{
    return {id, name, gid, pos};
}
inline MatchSide bye(int gid = -1, int pos = -1)
{
    return {Freilos, kFreilosText, gid, pos};
}
inline MatchSide winnerOf(int n)
{
    return {leererPlatz, winnerPlaceholder(n), -1, -1};
}
inline MatchSide loserOf(int n)
{
    return {leererPlatz, loserPlaceholder(n), -1, -1};
}

// Every column of the rows a query finds, by lower-case column name; Null as an
// invalid QVariant, anything else as its text.
inline QList<QVariantMap> rowsByColumn(QSqlQuery q)
{
    QList<QVariantMap> rows;
    while (q.next()) {
        QVariantMap row;
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i).toLower(), q.isNull(i) ? QVariant() : QVariant(q.value(i).toString()));
        rows << row;
    }
    return rows;
}

} // namespace bw::test
