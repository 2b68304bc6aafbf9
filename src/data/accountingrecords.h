// The rows of the entry-fee accounting: one per class entry of a player of the
// tournament in a class that is not a team class, ordered by player key (and a
// player's entries by class key). Each row repeats the player's name, club,
// payment flag and amount beside the class and its fee.
#pragma once

#include "data/classkind.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace bw {

struct AccountingRow {
    int sid = 0;
    QString vorname;
    QString nachname;
    QString verein;
    std::optional<double> zubezahlen; // the player's amount; nothing for Null
    bool bezahlt = false;
    bool gemeldet = false;
    QString kbezeichnung;
    std::optional<ClassKind> system;
    std::optional<double> gebuehr; // the class's fee; nothing for Null
};

QList<AccountingRow> accountingRows(const QSqlDatabase& db, int tid);

} // namespace bw
