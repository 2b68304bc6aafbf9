#include "output/koplanprint.h"

#include "plans/bracketlayout.h"

#include <QHash>

#include <algorithm>

namespace bw::koprint {

namespace {

const QString kArial = QStringLiteral("Arial");

// Sheet size of the estimates: DIN A4 in tenths of a millimetre.
constexpr int kA4Width = 2100;
constexpr int kA4Height = 2970;

int ceilDiv(int value, int step)
{
    return step > 0 && value > 0 ? (value + step - 1) / step : 0;
}

int digitValue(const QString& text, int index)
{
    return index < text.size() && text.at(index).isDigit() ? text.at(index).digitValue() : 0;
}

bool hasResult(const QString& ergebnis)
{
    return !ergebnis.isEmpty() && ergebnis != QLatin1String("0:0");
}

// Lays a plan out: positions are given as depths below the plan's top edge.
class PlanWriter {
public:
    PlanWriter(PlanPrint& plan, const TextWidthFn& textWidth) : m_plan(plan), m_textWidth(textWidth) {}

    void line(int x1, int depth1, int x2, int depth2) { m_plan.items.append(PrintItem::lineFrom(x1, -depth1, x2, -depth2)); }
    void text(int x, int depth, int height, const QString& text)
    {
        if (!text.isEmpty())
            m_plan.items.append(PrintItem::textAt(x, -depth, kArial, height, text));
    }
    int width(int height, const QString& text) const
    {
        return m_textWidth(PrintItem::textAt(0, 0, kArial, height, text));
    }

    // The tournament name and the plan's title centred on the plan's width.
    void header(const PlanHeader& header, int o, int oy)
    {
        const int nameHeight = 2 * o;
        const int titleHeight = roundHalfEven(1.5 * o);
        text(m_plan.width / 2 - width(nameHeight, header.tournament) / 2, oy + 50, nameHeight, header.tournament);
        text(m_plan.width / 2 - width(titleHeight, header.title) / 2, oy + 50 + 3 * o, titleHeight, header.title);
    }

private:
    PlanPrint& m_plan;
    const TextWidthFn& m_textWidth;
};

} // namespace

SizePreset sizePreset(int size)
{
    switch (size) {
    case 0: return {200, 40, 20, 18, 25};
    case 1: return {300, 60, 30, 27, 37};
    case 3: return {600, 120, 60, 54, 75};
    case 4: return {800, 160, 80, 72, 100};
    default: return {400, 80, 40, 36, 50};
    }
}

KoBracket koBracket(int n)
{
    KoBracket bracket;
    if (n > 1) {
        bracket.r = 1;
        while ((1 << bracket.r) < n)
            ++bracket.r;
    }
    bracket.slotCount = 2 << bracket.r;
    return bracket;
}

SheetEstimate estimateSheets(const PlanFigures& figures, int size, Orientation orientation)
{
    const SizePreset p = sizePreset(size);
    SheetEstimate e;
    if (figures.kind == PlanKind::KnockOut) {
        const KoBracket b = koBracket(figures.n);
        e.width = (b.r + 2) * p.u + 100;
        e.height = (b.slotCount / 2) * 3 * p.l + 10 * p.o + p.l;
    } else {
        e.width = (figures.columns + 1) * p.u;
        e.height = (figures.rows + 1) * p.halfL + 10 * p.o;
    }
    const bool portrait = orientation == Orientation::Portrait;
    e.across = ceilDiv(e.width, portrait ? kA4Width : kA4Height);
    e.down = ceilDiv(e.height, portrait ? kA4Height : kA4Width);
    return e;
}

QString sizeEntryText(int size, const SheetEstimate& estimate)
{
    return QStringLiteral("Größe %1 (%2x%3) DIN A4 Seiten").arg(size).arg(estimate.across).arg(estimate.down);
}

QString resultWinner(const QString& ergebnis, const QString& spieler1, const QString& spieler2)
{
    if (!hasResult(ergebnis))
        return QString();
    return digitValue(ergebnis, 0) < digitValue(ergebnis, 2) ? spieler2 : spieler1;
}

PlanPrint koPlan(const QList<PlanMatchRow>& rows, const PlanHeader& header, int size, const PageMetrics& page,
                 const TextWidthFn& textWidth)
{
    const SizePreset p = sizePreset(size);
    const int s = size >= 0 && size <= 4 ? size : 2; // as the preset takes it
    const int u = p.u, l = p.l, o = p.o, t = p.t;
    const int h = 100 + page.leftOffsetMm;
    const int m = 10 * o + page.topOffsetMm;
    const KoBracket b = koBracket(plan::firstRoundMatches(rows));
    const int r = b.r;
    const int half = b.slotCount / 2;

    PlanPrint laidOut;
    laidOut.width = (r + 2) * u + h;
    laidOut.height = half * 3 * l + m + l;
    PlanWriter out(laidOut, textWidth);
    out.header(header, o, page.topOffsetMm);

    // The records are taken one after the other as the bracket needs them.
    qsizetype next = 0;
    const PlanMatchRow* last = nullptr;
    auto take = [&]() -> const PlanMatchRow* {
        if (next >= rows.size())
            return nullptr;
        last = &rows[next++];
        return last;
    };

    for (int q = 0; q < half; ++q) {
        const int L = 3 * q;
        const int upper = m + L * l;
        const int lower = m + (L + 1) * l;
        out.line(h, upper, h + u, upper);
        out.line(h, lower, h + u, lower);
        out.line(h + u, upper, h + u, lower);
        const PlanMatchRow* row = take();
        if (!row)
            continue;
        out.text(h + 3, upper - t, o, row->spieler1);
        out.text(h + 3, lower - t, o, row->spieler2);
        if (hasResult(row->ergebnis))
            out.text(h + u + 8 * s, upper + l / 2 + 4 * s - t, o, row->ergebnis);
    }

    // Column c holds the slots that the matches of round c + 1 feed; the last
    // one the phase's winner. A gap as wide as "10:10" leaves room for a result.
    const int w = out.width(o, QStringLiteral("10:10"));
    int Lc = 1;
    for (int c = 0; c <= r; ++c) {
        const int E = half >> c;
        const int O = (3 * l) << c;
        const int mc = m + (l / 2) * Lc;
        const int x = h + (c + 1) * u;
        for (int e = 0; e < E; ++e) {
            const int D = mc + e * O;
            out.line(x + w, D, h + (c + 2) * u, D);
            if (c > 0)
                out.line(x, D - O / 4, x, D + O / 4);
            const int textX = x + w + 3 * s;
            const int textDepth = D - l / 2 - 10;
            if (c == r) {
                if (!last)
                    break;
                if (hasResult(last->ergebnis)) {
                    out.text(textX, textDepth, o, resultWinner(last->ergebnis, last->spieler1, last->spieler2));
                    out.text(x + 3 * s + 8, textDepth, o, last->ergebnis);
                } else {
                    out.text(textX, textDepth, o, QStringLiteral("Sieger Spiel %1").arg(last->spielnummer));
                }
                break;
            }
            const PlanMatchRow* row = next < rows.size() ? &rows[next] : nullptr;
            if (!row)
                continue;
            if (e % 2 == 0) {
                out.text(textX, textDepth, o, row->spieler1);
            } else {
                out.text(textX, textDepth, o, row->spieler2);
                take();
            }
        }
        Lc = 2 * Lc + 2;
    }
    return laidOut;
}

PlanPrint doubleKoPlan(const DoubleKoPlan& block, const QList<PlanMatchRow>& classMatches, int offset,
                       const PlanHeader& header, int size, const PageMetrics& page, const TextWidthFn& textWidth)
{
    const SizePreset p = sizePreset(size);
    const int u = p.u, rh = p.halfL, o = p.o, t = p.t;
    const int h = 100 + page.leftOffsetMm;
    const int m = 10 * o + page.topOffsetMm;

    PlanPrint laidOut;
    laidOut.width = (block.columns + 1) * u;
    laidOut.height = (block.rows + 1) * rh + m;
    PlanWriter out(laidOut, textWidth);
    out.header(header, o, page.topOffsetMm);

    QHash<int, const PlanMatchRow*> byNumber;
    for (const PlanMatchRow& match : classMatches)
        byNumber.insert(match.spielnummer, &match);
    const int w = out.width(o, QStringLiteral("10:10"));
    const int zero = out.width(o, QStringLiteral("0"));

    for (const DoubleKoLine& line : block.lines) {
        const int d = line.f6 * w;
        const int x1 = h + line.f6 * u + d;
        const int x2 = h + line.f7 * u + d;
        const int y8 = m + line.f8 * rh;
        const int y9 = m + line.f9 * rh;
        if (line.isLabel()) {
            out.line(x1, y8, x2, y8);
            out.text(x1 + 3, y8 - t, o,
                     (line.slot1IsWinner() ? QStringLiteral("Sieger Spiel %1") : QStringLiteral("Verlierer Spiel %1"))
                         .arg(line.f1 + offset));
            continue;
        }
        out.line(x1, y8, x2, y8);
        out.line(x1, y9, x2, y9);
        out.line(x2, y8, x2, y9);
        const PlanMatchRow* row = byNumber.value(line.f0 + offset);
        if (!row)
            continue;
        out.text(x1 + 3, y8 - t, o, row->spieler1);
        out.text(x1 + 3, y9 - t, o, row->spieler2);
        if (hasResult(row->ergebnis))
            out.text(x2 + zero, (y8 + y9 - t) / 2, o, row->ergebnis);
    }
    return laidOut;
}

QSize tileSize(const PageMetrics& page)
{
    return QSize((page.widthMm - 2 * page.leftOffsetMm) * 10, (page.heightMm - 2 * page.topOffsetMm) * 10);
}

QList<PrintPage> tilePages(const PlanPrint& plan, QSize tile, const TextWidthFn& textWidth)
{
    const int tw = tile.width();
    const int th = tile.height();
    if (tw <= 0 || th <= 0)
        return {};

    // Each item's box in plan coordinates (x to the right, depth downwards).
    struct Box {
        int left, top, right, bottom;
    };
    QList<Box> boxes;
    boxes.reserve(plan.items.size());
    int right = plan.width;
    int bottom = plan.height;
    for (const PrintItem& item : plan.items) {
        Box box;
        if (item.kind == PrintItem::Kind::Text) {
            const int width = item.width > 0 ? std::min(item.width, textWidth(item)) : textWidth(item);
            box = {item.x, -item.y, item.x + width, -item.y + item.height};
        } else { // from (x, y) to the opposite point (x2, y2)
            box = {std::min(item.x, item.x2), -std::max(item.y, item.y2), std::max(item.x, item.x2),
                   -std::min(item.y, item.y2)};
        }
        // The pages cover everything drawn, also what reaches beyond the plan's size.
        right = std::max(right, box.right);
        bottom = std::max(bottom, box.bottom);
        boxes.append(box);
    }
    const int cx = std::max(1, ceilDiv(right, tw));
    const int cy = std::max(1, ceilDiv(bottom, th));

    // Tile i spans [i tw, (i + 1) tw]; an item on a tile's edge goes on both pages.
    auto firstTile = [](int from, int step, int count) {
        return std::clamp(from <= 0 ? 0 : ceilDiv(from, step) - 1, 0, count - 1);
    };
    auto lastTile = [](int to, int step, int count) { return std::clamp(to < 0 ? 0 : to / step, 0, count - 1); };

    QList<PrintPage> pages(qsizetype(cx) * cy);
    for (qsizetype k = 0; k < plan.items.size(); ++k) {
        const Box& box = boxes[k];
        const PrintItem& item = plan.items[k];
        for (int j = firstTile(box.top, th, cy); j <= lastTile(box.bottom, th, cy); ++j) {
            for (int i = firstTile(box.left, tw, cx); i <= lastTile(box.right, tw, cx); ++i) {
                PrintItem moved = item;
                moved.x -= i * tw;
                moved.y += j * th;
                if (item.kind != PrintItem::Kind::Text) {
                    moved.x2 -= i * tw;
                    moved.y2 += j * th;
                }
                pages[qsizetype(j) * cx + i].append(moved);
            }
        }
    }
    return pages;
}

} // namespace bw::koprint
