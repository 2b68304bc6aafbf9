// The printout of a group phase: per group its cross table with the results
// and its standings, the groups one under the other, a page header of the
// tournament name and the plan's title on every page.
//
// Measures are tenths of a millimetre, positions given by their depth d below
// the printable area's top edge (y = -d). The scale f follows the number of
// places T: 1.9 - 0.05 T on pages of 200 mm width or more, else 1.2 - 0.05 T,
// and a measure v of the layout is R(v) = v f rounded half to even. The
// printer's offsets are whole millimetres added to tenths, as the printout has
// always placed them.
//
// The layout is built from rows read before (groupPlanPrintOf) and measured by
// a function handed in, so it is checked without a printer.
#pragma once

#include "platformui/printcanvas.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace bw::groupprint {

// A place of a group (Gruppen in position order).
struct Place {
    int sid = -1;
    QString bez;
    bool operator==(const Place&) const = default;
};

// A match of the group: its two sides' ids and names and the result as stored
// ("3:1"; empty for Null).
struct Match {
    int sid1 = -1;
    int sid2 = -1;
    QString spieler1;
    QString spieler2;
    QString ergebnis;
    bool operator==(const Match&) const = default;
};

// A standings row in rank order with the counters the printout shows.
struct Standing {
    int pos = 0;
    QString bez;
    int matchegewonnen = 0, matcheverloren = 0;
    int spielegewonnen = 0, spieleverloren = 0;
    int saetzegewonnen = 0, saetzeverloren = 0;
    int punktegewonnen = 0, punkteverloren = 0;
    bool operator==(const Standing&) const = default;
};

struct Group {
    QString letter;
    QList<Place> places;
    QList<Match> matches;
    QList<Standing> standings;
};

struct Input {
    QString turniername;
    QString spielplantext; // "Spielplan für " and the class
    int teilnehmer = 0;    // T, places per group
    int punkteProSieg = 1; // P, standings points of a win
    bool team = false;
    QList<Group> groups;
    PageMetrics page;
};

// The measures of a layout (tenths of a millimetre).
struct Measures {
    int f100 = 0; // the scale in hundredths
    int nw = 0;   // name column
    int top = 0;  // depth of the first group's first row line
    int rh = 0;   // row height
    int cw = 0;   // cross-table cell
    int bh = 0;   // block of a group
    int x0 = 0;   // left edge of the cross table
    int y0 = 0;   // depth of the header
    int x2 = 0;   // left edge of the standings

    // v × f rounded half to even.
    int R(int v) const;
};
Measures measuresOf(int teilnehmer, const PageMetrics& page);

// The six standings values of a row, left to right.
QStringList standingsValues(const Standing& row, int punkteProSieg, bool team);
// A result seen from the other side: "3:1" gives "1:3".
QString mirrored(const QString& ergebnis);

// The pages of the printout.
QList<PrintPage> layout(const Input& input, const TextWidthFn& textWidth);

// Reads the groups of a phase of class `kid`: the phase's groups are
// `base` .. `base` + `count` - 1, lettered from "A" by their number. Each group
// is ranked and its positions stored (Tabelle_Rechnen) just before its
// standings are read. Throws on a database error.
QList<Group> readGroups(const QSqlDatabase& db, int kid, int phase, int base, int count);

} // namespace bw::groupprint
