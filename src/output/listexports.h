// One list export from start to file, without widgets: reads the rows of the
// chosen entry, steps the progress (2 at the start, 2 when the rows are read,
// the maximum set to the rows plus 4, then 1 per row) and writes the sheet or
// the PDF file. Returns the file's path; throws AppError (or DbError) with the
// reason and leaves no new file behind.
#pragma once

#include "output/listexportrows.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

namespace bw {

class PdfListPages;

enum class ExportListKind { Spielplan, GruppenTabellen, Spielerliste, Teamliste };

struct ListExportJob {
    QSqlDatabase db;
    int tid = 0;
    QString turniername;
    klassenwahlinfo info;
};

// A new sheet "<Liste>_<yyyyMMdd-hhmmss>.xlsx" in the folder.
QString exportExcelList(ExportListKind kind, const ListExportJob& job, const QString& folder, const QDateTime& time,
                        ListProgress& progress);

// "<Liste>.pdf" in the folder, replaced only when complete.
QString exportPdfList(ExportListKind kind, const ListExportJob& job, PdfListPages& pages, const QString& folder,
                      ListProgress& progress);

} // namespace bw
