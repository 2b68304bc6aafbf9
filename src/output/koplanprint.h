// The paper printouts of a knock-out and a double knock-out phase, without a
// printer: the bracket is laid out once in plan coordinates (tenths of a
// millimetre, y upwards from the plan's top-left corner, so everything lies at a
// negative y, as on a printed page) and then cut into page-sized tiles, row by
// row, each page holding only what touches its tile.
//
// Five sizes (tenths of a millimetre):
//
//   size  column u  row l (KO)  row l/2 (double KO)  font o  text rise t
//   0     200       40          20                   18      25
//   1     300       60          30                   27      37
//   2     400       80          40                   36      50
//   3     600       120         60                   54      75
//   4     800       160         80                   72      100
//
// The plan starts at the left edge h = 100 + the printer's left offset and the
// top edge m = 10 o + its top offset (offsets in whole millimetres, added to
// tenths unchanged). Above the bracket the tournament name (Arial, 2 o) and the
// plan's title (Arial, 1.5 o) are centred on the plan's width.
#pragma once

#include "data/planviewrecords.h"
#include "draw/planfiles.h"
#include "platformui/printcanvas.h"

namespace bw::koprint {

struct SizePreset {
    int u = 0;     // column width
    int l = 0;     // row distance of the knock-out
    int halfL = 0; // row distance of the double knock-out
    int o = 0;     // font height
    int t = 0;     // from a line up to the top of the text written on it
};
// Size 0..4; any other size is taken as 2.
SizePreset sizePreset(int size);

enum class PlanKind { KnockOut = 1, DoubleKnockOut = 2 };
enum class Orientation { Portrait = 0, Landscape = 1 };

// What the sheet estimates and the plan's size are computed from: the phase's
// first-round match count n and, for a double knock-out, the header of the
// plan-definition block for 2 n slots.
struct PlanFigures {
    PlanKind kind = PlanKind::KnockOut;
    int n = 0;
    int columns = 0;
    int rows = 0;
};

// The knock-out bracket of n first-round matches: r further rounds up to the
// final (0 when n is 1) and 2^(r+1) slots.
struct KoBracket {
    int r = 0;
    int slotCount = 2;
};
KoBracket koBracket(int n);

// The estimate the print-size dialog shows: the plan's size without the
// printer's offsets (h = 100, m = 10 o) on A4 sheets of 2100 x 2970, counted
// across and down, each rounded up.
struct SheetEstimate {
    int width = 0; // W'
    int height = 0; // H'
    int across = 0;
    int down = 0;
    bool operator==(const SheetEstimate&) const = default;
};
SheetEstimate estimateSheets(const PlanFigures& figures, int size, Orientation orientation);

// The first line of the dialog's size entries: "Größe 2 (2x1) DIN A4 Seiten".
QString sizeEntryText(int size, const SheetEstimate& estimate);

// The winner of a match by its result "a:b": none (empty) while the result is
// empty or "0:0"; otherwise the first and third characters are compared as
// numbers (a character that is no digit counts 0) and the first-named side
// wins unless its number is the smaller.
QString resultWinner(const QString& ergebnis, const QString& spieler1, const QString& spieler2);

// A plan laid out in plan coordinates: its size and what it draws.
struct PlanPrint {
    int width = 0;
    int height = 0;
    PrintPage items;
};

struct PlanHeader {
    QString tournament;
    QString title; // the plan page's title, "Spielplan für ..."
};

// The single knock-out bracket of a phase: its match rows ordered by number
// (first round first), read one after the other as the bracket needs them.
PlanPrint koPlan(const QList<PlanMatchRow>& phaseMatches, const PlanHeader& header, int size,
                 const PageMetrics& page, const TextWidthFn& textWidth = printTextWidth);

// The double knock-out bracket from its block of the plan-definition file; the
// match lines' numbers are offset by `offset` (the highest match number of the
// phase before) and found among `classMatches`.
PlanPrint doubleKoPlan(const DoubleKoPlan& plan, const QList<PlanMatchRow>& classMatches, int offset,
                       const PlanHeader& header, int size, const PageMetrics& page,
                       const TextWidthFn& textWidth = printTextWidth);

// The tile of a page: its width (paper width less twice the left offset) and
// height (paper height less twice the top offset).
QSize tileSize(const PageMetrics& page);

// The pages of a plan, row by row from the top, each row from the left: as many
// tiles as cover the plan's size and everything it draws; every page holds the
// items that touch its tile, moved by the tile's corner.
QList<PrintPage> tilePages(const PlanPrint& plan, QSize tile, const TextWidthFn& textWidth = printTextWidth);

} // namespace bw::koprint
