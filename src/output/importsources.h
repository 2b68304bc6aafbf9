// The player import's sources turned into entries, without widgets: a sheet's
// table under the user's mapping of columns to player fields, and a returned
// registration form with its staging rows.
#pragma once

#include "data/importrecords.h"
#include "output/registrationformreader.h"
#include "output/sheetreader.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace bw {

// The player fields a sheet's columns can be mapped to, in the order offered.
const QStringList& sheetFieldLabels();

inline const QString kNamesNotMapped =
    QStringLiteral("Sie müssen mindestens die Felder Nachname und Vorname ausgewählt haben");
inline const QString kTooManyColumns =
    QStringLiteral("Sie können nicht mehr Spalten als im Excelformular vorhanden sind auswählen ");

// The mapping checked against the table: the message to show, or empty.
QString checkSheetMapping(const TextTable& table, const QStringList& order);

// The entries of a sheet: the label at position i of `order` names the
// table's column i. Texts are trimmed; a club without "Verein" mapped is
// "ohne Verein"; a birth date that does not read as a date stays empty; a row
// without surname or first name gives no entry. The mapping must have passed
// checkSheetMapping.
QList<ImportItem> sheetItems(const TextTable& table, const QStringList& order);

// A registration form as the import takes it: its club, one entry per taken
// row (in row order, each with the keys of its ticked classes) and one
// staging row per ticked box.
struct FormImport {
    QString verein;
    QList<ImportItem> items;
    QList<StagingRow> staging;
};
FormImport formImport(const ReturnedForm& form);

} // namespace bw
