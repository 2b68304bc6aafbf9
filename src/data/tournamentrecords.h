// Tournament rows: the 28 fields of a tournament as the tournament page shows
// them, and inserting, updating, reading, listing and deleting them. Every
// action is one transaction; every value is a bound parameter. Two desks: a
// change is written only over the tournament as the page loaded it, otherwise
// StaleRecord (concurrency.h).
#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

namespace bw {

// The tournament's columns after TID, in table order.
enum class TournamentField {
    turniername, zusatz, austragungsort, tvon, tbis, startberechtigung, turniermodus, veranstalter, homepage,
    gesamtleitung, turnierleitung, schiedsrichter, osr, meldeschluss, auslosung, meldeinfo, meldung_an, ainfo,
    tische, baelle, netze, zaehlgeraete, banden, preise, verpflegung, weg, verschiedenes, erstehilfe,
};
constexpr int kTournamentFieldCount = 28;

// The column name of a field.
QString tournamentColumn(TournamentField field);
// True for the four date columns.
bool isDateField(TournamentField field);

// One tournament's values: QString for texts (multi-line texts with CR LF
// between lines), QDate for dates; a null QVariant is a Null column.
struct TournamentData {
    std::array<QVariant, kTournamentFieldCount> values;

    QVariant& operator[](TournamentField f) { return values[size_t(f)]; }
    const QVariant& operator[](TournamentField f) const { return values[size_t(f)]; }
    QString text(TournamentField f) const { return (*this)[f].toString(); }
    QDate date(TournamentField f) const { return (*this)[f].toDate(); }
    bool operator==(const TournamentData&) const = default;
};

struct TournamentEntry {
    int tid = 0;
    QString name;
};

// Trims leading and trailing blanks and control characters (line breaks too).
QString trimmedText(const QString& text);

// Inserts a new tournament with its options row; returns its new key.
int insertTournament(const QSqlDatabase& db, const TournamentData& data, const std::array<bool, 4>& options);
// Writes the fields into the tournament's row (its live id is kept). `loaded`
// is the row as the page loaded it (readTournament): throws StaleRecord when
// the tournament no longer exists or is stored otherwise.
void updateTournament(const QSqlDatabase& db, int tid, const TournamentData& loaded, const TournamentData& data);

// The tournament page's save in one transaction: a new tournament (no
// `loaded`) with its options, or a change of tournament `tid` over `loaded`.
// Returns its key and its row as now stored, the values the page keeps as loaded.
struct StoredTournament {
    int tid = 0;
    TournamentData data;
};
StoredTournament saveTournament(const QSqlDatabase& db, int tid, const std::optional<TournamentData>& loaded,
                                const TournamentData& data, const std::array<bool, 4>& options);
// The row of that tournament, or nothing.
std::optional<TournamentData> readTournament(const QSqlDatabase& db, int tid);
// Every tournament of the database, in the order of their keys.
QList<TournamentEntry> listTournaments(const QSqlDatabase& db);

} // namespace bw
