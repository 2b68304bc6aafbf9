// Running statements: every statement of the data layer goes through execute(),
// which binds named parameters (never splices values into the text), converts
// dates and booleans to the stored forms (dbvalue.h) and turns a failure into a
// DbError carrying the database's own text.
#pragma once

#include "platform/apperror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantMap>

namespace bw {

// A failed statement or connection; the message is the database's own text.
class DbError : public AppError {
public:
    using AppError::AppError;
};

// A statement text, a column or parameter name, or any other literal as a
// QString: s("SELECT KID FROM Turnierklassen WHERE TID=:tid"). The literal is
// UTF-8 like the source files.
inline QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// Parameters by name without the colon: {{"tid", 3}} binds ":tid".
using SqlParams = QVariantMap;

// Runs one statement and returns the positioned-before-first query. Throws DbError.
QSqlQuery execute(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {});

// The first column of the first row, or a null QVariant when there is no row.
QVariant scalar(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {});

} // namespace bw
