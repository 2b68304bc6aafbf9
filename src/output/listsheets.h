// The four lists as spreadsheets: the title in A1, a yellow header row with
// thin borders and an auto-filter in row 2, a bordered row per entry from row
// 3 (the group tables: a block per phase and group). Results are text cells
// ("3:1" never becomes a time), "0:0" and no result leave the cell empty. Each
// call writes a new file "<Liste>_<yyyyMMdd-hhmmss>.xlsx" into the folder and
// returns its path; a failure leaves no file. The progress steps once per row.
#pragma once

#include "output/listexportrows.h"

#include <QDateTime>
#include <QString>

namespace bw {

// `hasGroups`: the sheet gets the column "Gruppe" with each match's group.
QString writeSpielplanSheet(const ListRows<ExportMatch>& list, bool hasGroups, const QString& folder,
                            const QDateTime& time, ListProgress& progress);
QString writeSpielerlisteSheet(const ListRows<ExportPlayer>& list, const QString& folder, const QDateTime& time,
                               ListProgress& progress);
QString writeTeamlisteSheet(const ListRows<ExportTeam>& list, const QString& folder, const QDateTime& time,
                            ListProgress& progress);
QString writeGruppenTabellenSheet(const ListRows<ExportStanding>& list, const QString& folder, const QDateTime& time,
                                  ListProgress& progress);

} // namespace bw
