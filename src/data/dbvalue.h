// The stored forms of values whose representation differs between the backends.
// Dates with time of day are written as the canonical text "yyyy-MM-dd hh:mm:ss"
// (SQLite keeps it as text; PostgreSQL parses it into timestamp(0) without time
// zone) and read back as QDateTime/QDate in local time whatever the backend
// returns, so no time-zone shift can creep in. Yes/no columns hold 0/1.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QVariant>

namespace bw {

// The canonical text of a date-time (seconds, no fraction, no zone).
QString canonicalDateTime(const QDateTime& value);

// The text without U+0000, which no PostgreSQL text can hold.
QString withoutNul(QString text);

// The value to bind for a parameter: QDate/QDateTime become the canonical text
// (a null or invalid one becomes Null), bool becomes 0/1, a text loses U+0000,
// anything else is kept.
QVariant toDbValue(const QVariant& value);

// A date/time column as read from either backend; invalid for Null.
QDateTime readDateTime(const QVariant& value);
QDate readDate(const QVariant& value);
// The same wall-clock reading without a zone (Qt::UTC), for readers that only
// show it: no time-zone lookup per value, which counts over thousands of rows.
QDateTime readWallClock(const QVariant& value);

// Multi-line texts keep their lines apart with CR LF in the database; an edit
// control has LF alone.
QString toStoredMemo(const QString& text);
QString fromStoredMemo(const QString& stored);

} // namespace bw
