// Age classes of a tournament (Altersklasse): a named pair of birth-date limits,
// open towards older players ("älter") or younger ones ("jünger"). A class refers
// to an age class by its name, so a rename is carried over to the tournament's
// classes. Names are unique within a tournament and never empty.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace bw {

// The name that means "no age limit"; never stored as an age class.
inline const QString kNoAgeLimit = QStringLiteral("ohne Beschränkung");

struct AgeClass {
    QString name;
    QDate von; // invalid: Null
    QDate bis; // invalid: Null
    bool aelter = false;
    bool juenger = false;

    bool operator==(const AgeClass&) const = default;
};

// The tournament's age-class names in the database's row order.
QStringList ageClassNames(const QSqlDatabase& db, int tid);
std::optional<AgeClass> readAgeClass(const QSqlDatabase& db, int tid, const QString& name);

// Why the age class cannot be saved under its name, as the German message the
// user sees; empty when it can. `selected` is the age class being changed (empty
// for a new one): it may keep its own name.
QString ageClassNameProblem(const QSqlDatabase& db, int tid, const QString& selected, const QString& name);

// Saves an age class under its trimmed name: changes the age class `selected`
// when it exists (a new name is also written into the tournament's classes that
// used the old one), else inserts a new one. Throws AppError with the message of
// ageClassNameProblem() when the name is not allowed. One transaction.
void saveAgeClass(const QSqlDatabase& db, int tid, const QString& selected, const AgeClass& ageClass);

void deleteAgeClass(const QSqlDatabase& db, int tid, const QString& name);

} // namespace bw
