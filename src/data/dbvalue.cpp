#include "data/dbvalue.h"

#include <QTimeZone>

namespace bw {

namespace {
const QString kCanonicalFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

QString canonicalDateTime(const QDateTime& value)
{
    return value.toString(kCanonicalFormat);
}

QString withoutNul(QString text)
{
    return text.remove(QChar(0));
}

QVariant toDbValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        return d.isValid() ? QVariant(canonicalDateTime(d.startOfDay())) : QVariant(QMetaType::fromType<QString>());
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.isValid() ? QVariant(canonicalDateTime(dt)) : QVariant(QMetaType::fromType<QString>());
    }
    case QMetaType::Bool:
        return QVariant(value.toBool() ? 1 : 0);
    case QMetaType::QString: {
        // PostgreSQL cannot hold U+0000 in a text at all: pasted into a page
        // field it would fail the whole statement.
        const QString text = value.toString();
        return text.contains(QChar(0)) ? QVariant(withoutNul(text)) : value;
    }
    default:
        return value;
    }
}

QDateTime readDateTime(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDateTime) {
        // The PostgreSQL driver may hand a timestamp without zone back as UTC or
        // as local time; the wall-clock reading is what was stored either way.
        const QDateTime dt = value.toDateTime();
        return QDateTime(dt.date(), dt.time());
    }
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay();
    const QString text = value.toString().trimmed();
    QDateTime dt = QDateTime::fromString(text.left(19), kCanonicalFormat);
    if (!dt.isValid())
        dt = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")).startOfDay();
    return dt;
}

QDateTime readWallClock(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate) {
        const QDateTime dt = readDateTime(value);
        return dt.isValid() ? QDateTime(dt.date(), dt.time(), Qt::UTC) : QDateTime();
    }
    const QString text = value.toString().trimmed();
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return {};
    const QTime time = text.size() >= 19 ? QTime::fromString(text.mid(11, 8), QStringLiteral("hh:mm:ss")) : QTime(0, 0);
    return QDateTime(date, time.isValid() ? time : QTime(0, 0), Qt::UTC);
}

QDate readDate(const QVariant& value)
{
    return readDateTime(value).date();
}

QString toStoredMemo(const QString& text)
{
    QString stored = text;
    stored.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return stored;
}

QString fromStoredMemo(const QString& stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace bw
