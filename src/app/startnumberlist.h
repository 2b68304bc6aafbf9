// The list of start numbers (rows from loadStartNumbers() in data/playerrecords.h)
// laid out for the dialog's preview (pixels, fonts in points) and for the
// printout (tenths of a millimetre, y upwards, see platformui/printcanvas.h). Both
// layouts are plain data, so they can be checked without a screen or a printer.
#pragma once

#include "data/playerrecords.h"
#include "platformui/printcanvas.h"

#include <QList>
#include <QString>

namespace bw {

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
