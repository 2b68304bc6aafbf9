// The layout of a group phase's page, without widgets: rows in; lines, fills,
// texts and the specs of the controls placed on the page out. The plan panel's
// PlanCanvas paints it and creates its controls; the plan printing reuses it.
//
// Geometry (pixels, y downwards): left margin L 20, name column W 170, first
// group block at A 50, cross-table column B 30, row 20; a group of n places is
// a block of C = 20 n + 50; the standings table starts at D = 240 + 30 n in the
// "Matrix" layout and at 390 in the "Liste" layout. Group g of the phase starts
// at T(g) = A + g C + gruppenversatz[g]; in "Liste" a group with more matches
// than places pushes every later group down by 20 per extra match.
#pragma once

#include "data/planviewrecords.h"
#include "plans/plansession.h"

#include <QColor>
#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace bw::plan {

inline constexpr int L = 20;
inline constexpr int W = 170;
inline constexpr int A = 50;
inline constexpr int B = 30;
inline constexpr int Row = 20;

enum class GroupLayoutKind { Matrix = 0, Liste = 1 };

// C: the height of a group block of n places.
inline int blockHeight(int places) { return 20 * places + 50; }
// D: the left edge of the standings table.
inline int standingsLeft(GroupLayoutKind kind, int places) { return kind == GroupLayoutKind::Matrix ? 240 + 30 * places : 390; }

struct PlanFill {
    QRect rect;
    QColor color;
    bool operator==(const PlanFill&) const = default;
};

struct PlanText {
    QPoint at; // top-left corner of the text
    QString text;
    bool bold = false;
    bool operator==(const PlanText&) const = default;
};

enum class ControlKind {
    ToolIcon,     // the page's three tool icons (Tag -1)
    GroupIcon,    // "Gruppenspielplan anzeigen" (Tag: group number)
    PlayerLabel,  // member and standings labels (Tag: SID)
    StatusIcon,   // "status" + n and "statusx" + n (Tag 1)
};

// The tool a tool or group icon stands for.
enum class PlanTool { None, Spielplan, Neulosen, Drucken };

struct ControlSpec {
    ControlKind kind = ControlKind::PlayerLabel;
    QString name;
    QRect rect;
    QString caption;
    int tag = 0;
    PlanTool tool = PlanTool::None;
    int fontSize = 0; // a label's point size in "Arial"; 0: the page's font
    bool operator==(const ControlSpec&) const = default;
};

// A page's drawing: what the canvas paints (fills, then lines, then texts) and
// the controls on top of it.
struct PlanLayout {
    QSize size;
    QList<PlanFill> fills;
    QList<QLine> lines;
    QList<PlanText> texts;
    QList<ControlSpec> controls;

    // The control of that name; nullptr when none.
    const ControlSpec* control(const QString& name) const;
    // The texts written at exactly this point.
    QStringList textsAt(QPoint at) const;
};

// The pictures and hints of the tool icons.
inline const QString kSpielplanPicture = QStringLiteral("images\\document_time.bmp");
inline const QString kNeulosenPicture = QStringLiteral("images\\replace.bmp");
inline const QString kDruckenPicture = QStringLiteral("images\\printer.bmp");
QString toolPicture(PlanTool tool);
QString toolHint(PlanTool tool);

// The three tool icons at L, L + 25, L + 50, top 5.
QList<ControlSpec> toolIcons(int left = L);

// Everything one group phase's page is drawn from.
struct GroupPlanInput {
    int phase = 1;
    int firstGroup = 0; // o: the class's number of the phase's first group
    int groups = 0;
    int places = 0;     // n
    GroupLayoutKind kind = GroupLayoutKind::Liste;
    bool team = false;
    int pointsPerWin = 1; // f
    QList<PlanPlaceRow> placeRows;        // the phase's Gruppen rows by group and position
    QList<PlanStandingsRow> standingRows; // the phase's Tabellen rows by group and rank
    QList<PlanMatchRow> matches;          // the class's matches by number
    QHash<int, QStringList> tables;       // the tables per group number
};

struct GroupPlan {
    PlanLayout layout;
    // gruppenversatz: one entry per group and the total after the last.
    QList<int> gruppenversatz;
    // The pools "sliste" + G and "platte" + G of the phase's groups, in group order.
    QList<QPair<QString, QList<PoolItem>>> pools;
};

// "Tisch 5" -> "T5": the first "Tisch" (any case) replaced by "T", then the
// first blank removed.
QString shortTableName(const QString& table);

GroupPlan gruppenplanLayout(const GroupPlanInput& input);

} // namespace bw::plan
