// Competition classes of a tournament: the class row of Turnierklassen with its
// table names (Platten1) and, for a team class, its team-match format
// (Teamsystem); finding a class by name and kind; inserting, changing and copying
// a class, each in one transaction; the conversions of the class page's texts
// into stored values; and the assignment of a class's tables to its groups.
// Deleting a class is deleteClass() in cascades.h.
//
// Two desks: a class name is unique within its tournament and kind, checked
// inside the writing transaction under the lock that serialises the class keys;
// a change is written only over the class as the page loaded it, otherwise
// StaleRecord (concurrency.h).
#pragma once

#include "data/classkind.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <optional>

namespace bw {

// " (Einzel)", " (Doppel)", " (Mixed)", " (Team)"; empty for no kind.
QString kindSuffix(std::optional<ClassKind> kind);
// A class as the navigation bars show it: its name followed by the kind's suffix.
QString classCaption(const QString& name, std::optional<ClassKind> kind);
// Splits a bar caption into name and kind; false when it ends in no kind's suffix.
bool splitClassCaption(const QString& caption, QString* name, ClassKind* kind);

// The class page's texts as stored values; what cannot be read falls back.
// A fee in German or plain notation; 0 for an empty field, nothing when it is
// no number.
std::optional<double> feeValue(const QString& text);
// An integer (min, max, sets, tables); the fallback when it is none.
int countValue(const QString& text, int fallback);
// A start time "hh:mm"; nothing for an empty text, garbage or exactly 00:00.
std::optional<QTime> startTimeValue(const QString& text);

// The colour a new class gets.
inline const QString kNewClassColour = QStringLiteral("clCream");

// One row of Turnierklassen without its key and tournament.
struct ClassRecord {
    ClassKind system = ClassKind::Einzel;
    QString kbezeichnung;
    QString kbeschreibung;
    QString spielberechtigung;
    bool mann = true;
    bool frau = false;
    double gebuehr = 0;
    int min = 2;
    int max = 2;
    int saetze = 3;
    int platten = 1;
    QString altersklasseID; // the age class's name, not a key
    QDate atag;
    std::optional<QTime> uhrzeit; // nothing: Null
    QString farbe = kNewClassColour;
    int punkteprosieg = 0; // 0: one point per win, 1: two
    double nachgebuehr = 0;
    int liveKlassenID = 0;

    bool operator==(const ClassRecord&) const = default;
};

// The team-match format of a team class: players and reserves per team and, for
// each of the nine games, the team position of either side (1-4 single player,
// 11 and 12 doubles 1 and 2; nothing: no game).
struct TeamFormat {
    int spieler = 0;
    int reserve = 0;
    std::array<std::optional<int>, 9> a{};
    std::array<std::optional<int>, 9> b{};

    // A game is kept only when both of its sides name a position; a half-filled
    // game becomes no game.
    TeamFormat normalized() const;
    bool operator==(const TeamFormat&) const = default;
};

// "A1".."A4" / "B1".."B4" for single players, "D1", "D2" for doubles; empty for nothing.
QString teamPositionText(std::optional<int> code, bool sideA);

// A class with everything the class page saves of it.
struct ClassData {
    int tid = 0;
    int kid = 0;
    ClassRecord record;
    QStringList tables;               // Platten1 in stored order
    std::optional<TeamFormat> format; // nothing: no Teamsystem row

    bool operator==(const ClassData&) const = default;
};

// "Eine Klasse mit diesem Namen existiert bereits"
extern const QString kClassNameTaken;

// A class as the lists and bars name it.
struct ClassEntry {
    int kid = 0;
    QString name;
    std::optional<ClassKind> kind; // nothing: a stored kind of no known number
};

// The key of the tournament's class with exactly this name and kind; 0 when none.
int getKID(const QSqlDatabase& db, int tid, ClassKind kind, const QString& name);

// The class row; nothing when there is no such class. Throws AppError for a
// class whose stored kind is no known one.
std::optional<ClassRecord> readClass(const QSqlDatabase& db, int kid);
// The class's table names in stored order.
QStringList readTableNames(const QSqlDatabase& db, int kid);
// The class's team-match format; nothing when it has none.
std::optional<TeamFormat> readTeamFormat(const QSqlDatabase& db, int kid);
// The class with its table names and format; nothing when there is no such class.
std::optional<ClassData> readClassData(const QSqlDatabase& db, int kid);

// Every class of the tournament, in the database's row order.
QList<ClassEntry> listClasses(const QSqlDatabase& db, int tid);
// The tournament's classes that have at least one match row.
QList<ClassEntry> listClassesWithPlan(const QSqlDatabase& db, int tid);
// Whether another class of the tournament than `exceptKid` has this name and kind.
bool classNameTaken(const QSqlDatabase& db, int tid, ClassKind kind, const QString& name, int exceptKid);

// Inserts a new class with its table names and, for a team class, its format;
// returns the new key. One transaction. Throws AppError kClassNameTaken when
// the tournament has a class of that name and kind.
int insertClass(const QSqlDatabase& db, int tid, const ClassRecord& record, const QStringList& tables,
                const TeamFormat& format);
// Writes a class back over `loaded`, the class as the page loaded it: the row
// (its colour and online id are kept), its table names replaced, and for a
// team class its format, added when it has none yet. One transaction. Throws
// StaleRecord when the class no longer exists or is stored otherwise than
// loaded (colour and online id aside), AppError kClassNameTaken when another
// class of the tournament has that name and kind.
void updateClass(const QSqlDatabase& db, const ClassData& loaded, const ClassRecord& record,
                 const QStringList& tables, const TeamFormat& format);
// The class page's save: inserts (no `loaded`) or updates the class and
// returns it as now stored, the values the page keeps as loaded.
ClassData saveClass(const QSqlDatabase& db, int tid, const std::optional<ClassData>& loaded,
                    const ClassRecord& record, const QStringList& tables, const TeamFormat& format);

// A copy made by copyClass().
struct ClassCopy {
    int kid = 0;
    QString name;
};
// Copies a class with its table names and, for kind Team, its format under a
// new key and the first name "Kopie<n> von <source's name>" (n = 1, 2, ...)
// that no class of that kind has in the tournament, chosen in the writing
// transaction; the copy keeps the colour and has no online id. Throws
// StaleRecord when the source no longer exists.
ClassCopy copyClass(const QSqlDatabase& db, int tid, int sourceKid, ClassKind kind);

// Replaces the class's table assignment (Platten) with every table for every
// group of every phase that its group settings name; a phase of 0 groups gets the
// one group -1. Returns the number of rows written. One transaction.
int assignTablesToGroups(const QSqlDatabase& db, int kid, const QStringList& tables);

} // namespace bw
