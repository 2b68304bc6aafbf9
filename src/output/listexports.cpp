#include "output/listexports.h"

#include "output/listsheets.h"
#include "output/pdflists.h"

namespace bw {

namespace {

// Reads the list's rows between the first two steps and sets the maximum.
template <class Row, class Read>
ListRows<Row> readList(Read read, ListProgress& progress, int extra = 4)
{
    progress.step(2);
    ListRows<Row> list = read();
    progress.step(2);
    progress.setMaximum(int(list.rows.size()) + extra);
    return list;
}

} // namespace

QString exportExcelList(ExportListKind kind, const ListExportJob& job, const QString& folder, const QDateTime& time,
                        ListProgress& progress)
{
    const ListExportRows rows(job.db, job.tid, job.turniername, job.info);
    switch (kind) {
    case ExportListKind::Spielplan:
        return writeSpielplanSheet(readList<ExportMatch>([&] { return rows.spielplan(); }, progress),
                                   job.info.hasGroups, folder, time, progress);
    case ExportListKind::GruppenTabellen:
        // The sheet's bar counts the rows alone.
        return writeGruppenTabellenSheet(
            readList<ExportStanding>([&] { return rows.gruppenTabellen(); }, progress, 0), folder, time, progress);
    case ExportListKind::Spielerliste:
        return writeSpielerlisteSheet(readList<ExportPlayer>([&] { return rows.spielerliste(); }, progress), folder,
                                      time, progress);
    case ExportListKind::Teamliste:
        return writeTeamlisteSheet(readList<ExportTeam>([&] { return rows.teamliste(); }, progress), folder, time,
                                   progress);
    }
    return QString();
}

QString exportPdfList(ExportListKind kind, const ListExportJob& job, PdfListPages& pages, const QString& folder,
                      ListProgress& progress)
{
    const ListExportRows rows(job.db, job.tid, job.turniername, job.info);
    switch (kind) {
    case ExportListKind::Spielplan:
        return pages.PDFSpielplan(readList<ExportMatch>([&] { return rows.spielplan(); }, progress),
                                  job.turniername, folder, progress);
    case ExportListKind::GruppenTabellen:
        return pages.PDFGruppenTabellen(readList<ExportStanding>([&] { return rows.gruppenTabellen(); }, progress),
                                        job.turniername, folder, progress);
    case ExportListKind::Spielerliste:
        return pages.PDFSpielerliste(readList<ExportPlayer>([&] { return rows.spielerliste(); }, progress),
                                     job.turniername, folder, progress);
    case ExportListKind::Teamliste:
        return pages.PDFTeamliste(readList<ExportTeam>([&] { return rows.teamliste(); }, progress),
                                  job.turniername, folder, progress);
    }
    return QString();
}

} // namespace bw
