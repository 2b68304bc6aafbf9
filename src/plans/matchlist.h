// The match list of the viewer "Spielplan" in its two displays, laid out as
// data: on screen in pixels (text heights in points) and on paper in tenths of
// a millimetre with y upwards (platformui/printcanvas.h), page by page. Display
// 1 shows the set results of finished matches, display 2 the planned time,
// table, umpire, result and state of every match.
#pragma once

#include "data/planlistrecords.h"
#include "platformui/printcanvas.h"

#include <QList>
#include <QString>

#include <array>
#include <utility>

namespace bw::matchlist {

enum class Display { One = 1, Two = 2 };

// A match's column texts; empty where the match has nothing to show.
struct Entry {
    QString nummer;
    QString tag; // the planned day, printouts only
    QString zeit;
    QString spieler1;
    QString spieler2;
    QString gruppe; // the group letter
    QString tisch;
    QString schiri;
    QString ergebnis; // only for a finished match
    QString status;
    std::array<QString, 9> saetze; // only for a finished match: "+7", "-9", "-0"
    bool operator==(const Entry&) const = default;
};

// The state text: "Beendet", "Begonnen", "Aufgerufen", "-- kein Spiel --" when
// a side has no name, the first that applies; empty for a match waiting or
// ready to be called.
QString stateText(const PlanListMatch& match);
Entry entryOf(const PlanListMatch& match);

// The number of set columns of a class: 2·saetze − 1, at most 9.
int setColumns(int saetze);

// ---- On screen -------------------------------------------------------------

// The picture's height for `count` rows in a viewport of this height.
int screenHeight(Display display, int count, int viewportHeight);
// The top of row `index` and the distance between rows.
int screenRowTop(Display display, int index);
int screenRowStep(Display display);
// The rows [first, last) that lie (partly) between the pixel rows top and bottom.
std::pair<int, int> screenRowsBetween(Display display, int top, int bottom, int count);
// What is drawn once: headings, their lines and, in display 1, the set numbers
// and the column lines down to the last row.
PrintPage screenFrame(Display display, int width, int saetze, int count);
// What row `index` draws.
PrintPage screenRow(Display display, const Entry& entry, int index, int width);

// ---- On paper --------------------------------------------------------------

// 2.0 on a page more than 1999 tenths of a millimetre high, else 1.35.
double printScale(int pageHeight);

// The two titles of every page.
struct PrintTitles {
    QString turniername;
    QString spielplantext; // "Spielplan für " + class
};

// The printout, page by page: titles and headings (in display 1 with the set
// numbers and both lines) on every page, rows until the position reaches the
// page height less 10 mm.
QList<PrintPage> layoutPrint(Display display, const QList<Entry>& entries, int saetze, const PrintTitles& titles,
                             const PageMetrics& page, const TextWidthFn& textWidth = printTextWidth);

} // namespace bw::matchlist
