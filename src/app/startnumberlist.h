// The list of start numbers: the players of a tournament who have one, ordered
// by number, laid out for the dialog's preview (pixels, fonts in points) and for
// the printout (tenths of a millimetre, y upwards, see platform/printcanvas.h).
// Both layouts are plain data, so they can be checked without a screen or a
// printer.
#pragma once

#include "platform/printcanvas.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace bw {

struct StartNumberRow {
    int nummer = 0;
    QString name; // "Nachname, Vorname"
    QString verein;

    bool operator==(const StartNumberRow&) const = default;
};

// The tournament's players with a start number, by number.
QList<StartNumberRow> loadStartNumbers(const QSqlDatabase& db, int tid);

// The preview picture: its height and what is drawn on it. Texts carry their
// font size in points in `height`.
struct StartNumberPreview {
    int height = 0;
    PrintPage items;
};
StartNumberPreview layoutStartNumberPreview(const QList<StartNumberRow>& rows, const QString& turniername,
                                            int width, int viewportHeight);

// The printout on a page of the given printer, page by page: the first page
// with title, heads and rule, every page as many rows as fit.
QList<PrintPage> layoutStartNumberPrint(const QList<StartNumberRow>& rows, const QString& turniername,
                                        const PageMetrics& page);

} // namespace bw
