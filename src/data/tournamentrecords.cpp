#include "data/tournamentrecords.h"

#include "data/concurrency.h"
#include "data/dbvalue.h"
#include "data/keys.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace bw {

namespace {

const char* const kColumns[kTournamentFieldCount] = {
    "turniername", "zusatz", "austragungsort", "tvon", "tbis", "startberechtigung", "turniermodus",
    "veranstalter", "homepage", "gesamtleitung", "turnierleitung", "schiedsrichter", "osr", "meldeschluss",
    "auslosung", "meldeinfo", "meldung_an", "ainfo", "tische", "baelle", "netze", "zaehlgeraete", "banden",
    "preise", "verpflegung", "weg", "verschiedenes", "erstehilfe",
};

const QString kTournament = QStringLiteral("Das Turnier");

bool isControlOrBlank(QChar c)
{
    return c.unicode() <= 0x20 || c.unicode() == 0x7F || c.isSpace() || c.category() == QChar::Other_Control;
}

// The values d1..d28 as they are stored: trimmed texts, dates at midnight.
SqlParams fieldParams(const TournamentData& data)
{
    SqlParams params;
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        const auto field = TournamentField(i);
        const QVariant& value = data[field];
        QVariant stored;
        if (isDateField(field))
            stored = value.toDate().isValid() ? QVariant(QDateTime(value.toDate(), QTime(0, 0))) : QVariant();
        else
            stored = trimmedText(value.toString());
        params.insert(QStringLiteral("d%1").arg(i + 1), stored);
    }
    return params;
}

} // namespace

QString tournamentColumn(TournamentField field)
{
    return QString::fromLatin1(kColumns[int(field)]);
}

bool isDateField(TournamentField field)
{
    return field == TournamentField::tvon || field == TournamentField::tbis
        || field == TournamentField::meldeschluss || field == TournamentField::auslosung;
}

QString trimmedText(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isControlOrBlank(text.at(begin)))
        ++begin;
    while (end > begin && isControlOrBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

int insertTournament(const QSqlDatabase& db, const TournamentData& data, const std::array<bool, 4>& options)
{
    QString placeholders;
    for (int i = 0; i <= kTournamentFieldCount + 1; ++i)
        placeholders += (i ? QStringLiteral(",:d%1") : QStringLiteral(":d%1")).arg(i);
    return inTransaction(db, [&] {
        const int tid = nextKey(db, QStringLiteral("Turnierdaten"));
        SqlParams params = fieldParams(data);
        params.insert(QStringLiteral("d0"), tid);
        params.insert(QStringLiteral("d29"), 0);
        execute(db, QStringLiteral("INSERT INTO Turnierdaten VALUES (%1)").arg(placeholders), params);
        execute(db,
                QStringLiteral("INSERT INTO Einstellungen VALUES (:TID,:einstellung1,:einstellung2,:einstellung3,"
                               ":einstellung4,:v)"),
                {{QStringLiteral("TID"), tid},
                 {QStringLiteral("einstellung1"), options[0]},
                 {QStringLiteral("einstellung2"), options[1]},
                 {QStringLiteral("einstellung3"), options[2]},
                 {QStringLiteral("einstellung4"), options[3]},
                 {QStringLiteral("v"), QVariant()}});
        return tid;
    });
}

void updateTournament(const QSqlDatabase& db, int tid, const TournamentData& loaded, const TournamentData& data)
{
    QString assignments;
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        if (i)
            assignments += QStringLiteral(", ");
        assignments += QStringLiteral("%1=:d%2").arg(QString::fromLatin1(kColumns[i])).arg(i + 1);
    }
    SqlParams params = fieldParams(data);
    params.insert(QStringLiteral("d0"), tid);
    inTransaction(db, [&] {
        lockAsLoaded(db, QStringLiteral("Turnierdaten"), tid, kTournament, loaded, readTournament);
        execute(db, QStringLiteral("UPDATE Turnierdaten SET %1 WHERE TID=:d0").arg(assignments), params);
    });
}

StoredTournament saveTournament(const QSqlDatabase& db, int tid, const std::optional<TournamentData>& loaded,
                                const TournamentData& data, const std::array<bool, 4>& options)
{
    return inTransaction(db, [&] {
        StoredTournament stored{tid, {}};
        if (loaded)
            updateTournament(db, tid, *loaded, data);
        else
            stored.tid = insertTournament(db, data, options);
        stored.data = *readTournament(db, stored.tid);
        return stored;
    });
}

std::optional<TournamentData> readTournament(const QSqlDatabase& db, int tid)
{
    QSqlQuery query = execute(db, QStringLiteral("SELECT * FROM Turnierdaten WHERE TID=:k"), {{QStringLiteral("k"), tid}});
    if (!query.next())
        return std::nullopt;
    const QSqlRecord record = query.record();
    TournamentData data;
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        const auto field = TournamentField(i);
        const QVariant value = query.value(record.indexOf(QString::fromLatin1(kColumns[i])));
        if (value.isNull())
            continue;
        data[field] = isDateField(field) ? QVariant(readDate(value)) : QVariant(value.toString());
    }
    return data;
}

QList<TournamentEntry> listTournaments(const QSqlDatabase& db)
{
    QList<TournamentEntry> list;
    QSqlQuery query = execute(db, QStringLiteral("SELECT TID,turniername FROM Turnierdaten ORDER BY TID"));
    while (query.next())
        list.append({query.value(0).toInt(), query.value(1).toString()});
    return list;
}

} // namespace bw
