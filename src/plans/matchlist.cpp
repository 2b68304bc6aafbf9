#include "plans/matchlist.h"

#include "data/groupsettings.h"
#include "platform/germantext.h"
#include "results/scoremodel.h"

#include <algorithm>

namespace bw::matchlist {

namespace {

const QString kHeadFont = QStringLiteral("TimesNewRoman");
const QString kRowFont = QStringLiteral("Arial");
constexpr int kHeadPoints = 10;
constexpr int kRowPoints = 8;

// A column: its heading and where it starts, on screen in pixels and on paper
// as the offset that the scale multiplies.
struct Column {
    const char* heading;
    int screen;
    int paper;
};

} // namespace

QString stateText(const PlanListMatch& match)
{
    if (match.beendet)
        return QStringLiteral("Beendet");
    if (match.begonnen)
        return QStringLiteral("Begonnen");
    if (match.inPlanung)
        return QStringLiteral("Aufgerufen");
    if (match.spieler1.isEmpty() || match.spieler2.isEmpty())
        return QStringLiteral("-- kein Spiel --");
    return {};
}

Entry entryOf(const PlanListMatch& match)
{
    Entry e;
    e.nummer = QString::number(match.spielnummer);
    if (match.geplanterTag.isValid())
        e.tag = german::formatDate(match.geplanterTag);
    if (match.geplanteZeit.isValid())
        e.zeit = match.geplanteZeit.toString(QStringLiteral("hh:mm"));
    e.spieler1 = match.spieler1;
    e.spieler2 = match.spieler2;
    if (match.gruppe >= 0)
        e.gruppe = groupLetter(match.gruppe);
    e.tisch = match.geplanterTisch;
    e.schiri = match.schiri;
    if (match.beendet) {
        e.ergebnis = match.ergebnis;
        for (size_t i = 0; i < match.saetze.size(); ++i)
            e.saetze[i] = setEntryText(match.saetze[i]);
    }
    e.status = stateText(match);
    return e;
}

int setColumns(int saetze)
{
    return std::clamp(2 * saetze - 1, 0, 9);
}

// ---- On screen -------------------------------------------------------------

int screenRowStep(Display display)
{
    return display == Display::One ? 24 : 20;
}

int screenRowTop(Display display, int index)
{
    return 60 + screenRowStep(display) * index;
}

int screenHeight(Display display, int count, int viewportHeight)
{
    const int needed = display == Display::One ? 60 + 25 * (count + 1) : 60 + 20 * count + 20;
    return std::max(viewportHeight - 4, needed);
}

std::pair<int, int> screenRowsBetween(Display display, int top, int bottom, int count)
{
    const int step = screenRowStep(display);
    const int first = std::clamp((std::max(top, 60) - 60) / step, 0, count);
    const int last = std::clamp((std::max(bottom, 60) - 60) / step + 1, first, count);
    return {first, last};
}

namespace {

const Column kScreenTwo[] = {{"Nr.", 10, 0},          {"Zeit", 40, 0},   {"Spieler 1", 85, 0},
                             {"Spieler 2", 235, 0},   {"Gruppe", 370, 0}, {"Tisch", 430, 0},
                             {"Schiedsrichter", 480, 0}, {"Ergebnis", 600, 0}, {"Status", 680, 0}};
const Column kScreenOne[] = {{"Nr.", 10, 0},        {"Zeit", 40, 0},   {"Spieler 1", 85, 0},
                             {"Spieler 2", 235, 0}, {"Gruppe", 370, 0}, {"Tisch", 420, 0},
                             {"Satzergebnisse", 480, 0}, {"Ergebnis", 700, 0}};

PrintItem head(int x, int y, const QString& text)
{
    return PrintItem::textAt(x, y, kHeadFont, kHeadPoints, text);
}

} // namespace

PrintPage screenFrame(Display display, int width, int saetze, int count)
{
    PrintPage items;
    if (display == Display::Two) {
        for (const Column& c : kScreenTwo)
            items.append(head(c.screen, 15, QString::fromUtf8(c.heading)));
        items.append(PrintItem::lineFrom(10, 40, width - 10, 40));
        return items;
    }
    for (const Column& c : kScreenOne)
        items.append(head(c.screen, 15, QString::fromUtf8(c.heading)));
    for (int n = 1; n <= setColumns(saetze); ++n)
        items.append(head(463 + 25 * n, 40, QString::number(n)));
    items.append(PrintItem::lineFrom(10, 40, width - 10, 40));
    items.append(PrintItem::lineFrom(10, 56, width - 10, 56));
    const int bottom = screenRowTop(display, count) - 4;
    for (int k = 0; k <= 9; ++k)
        items.append(PrintItem::lineFrom(480 + 25 * k, 40, 480 + 25 * k, bottom));
    return items;
}

PrintPage screenRow(Display display, const Entry& e, int index, int width)
{
    const int y = screenRowTop(display, index);
    const auto text = [&](int x, const QString& t) { return PrintItem::textAt(x, y, kRowFont, kRowPoints, t); };
    // A text that must end before the next column.
    const auto in = [&](int x, int next, const QString& t) {
        return PrintItem::textIn(x, y, next - x - 5, kRowFont, kRowPoints, t);
    };
    PrintPage items;
    if (display == Display::Two) {
        items << text(10, e.nummer) << text(40, e.zeit) << in(85, 235, e.spieler1) << in(235, 370, e.spieler2)
              << text(385, e.gruppe) << in(430, 480, e.tisch) << in(480, 600, e.schiri) << in(600, 680, e.ergebnis)
              << text(680, e.status);
    } else {
        items << text(10, e.nummer) << text(40, e.zeit) << in(85, 235, e.spieler1) << in(235, 370, e.spieler2)
              << text(385, e.gruppe) << in(420, 480, e.tisch);
        for (int n = 1; n <= 9; ++n) {
            if (!e.saetze[size_t(n - 1)].isEmpty())
                items << text(459 + 25 * n, e.saetze[size_t(n - 1)]);
        }
        items << text(720, e.ergebnis);
        items.append(PrintItem::lineFrom(10, 80 + 24 * index, width - 10, 80 + 24 * index));
    }
    // Nothing to draw for an empty column.
    items.removeIf([](const PrintItem& item) { return item.kind == PrintItem::Kind::Text && item.text.isEmpty(); });
    return items;
}

// ---- On paper --------------------------------------------------------------

double printScale(int pageHeight)
{
    return pageHeight > 1999 ? 2.0 : 1.35;
}

namespace {

const Column kPaperTwo[] = {{"Nr.", 0, 0},          {"Tag", 0, 25},        {"Zeit", 0, 120},
                            {"Spieler 1", 0, 200},  {"Spieler 2", 0, 450}, {"Gruppe", 0, 700},
                            {"Tisch", 0, 800},      {"Schiedsrichter", 0, 950}, {"Ergebnis", 0, 1150},
                            {"Status", 0, 1250}};
const Column kPaperOne[] = {{"Nr.", 0, 0},         {"Tag", 0, 25},        {"Zeit", 0, 120},
                            {"Spieler 1", 0, 200}, {"Spieler 2", 0, 450}, {"Gruppe", 0, 700},
                            {"Tisch", 0, 800},     {"Satzergebnisse", 0, 900}, {"Ergebnis", 0, 1250}};

} // namespace

QList<PrintPage> layoutPrint(Display display, const QList<Entry>& entries, int saetze, const PrintTitles& titles,
                             const PageMetrics& page, const TextWidthFn& textWidth)
{
    const int W = page.widthMm * 10;
    const int H = page.heightMm * 10;
    // The offsets in millimetres are added as tenths, as the printouts always did.
    const int e = page.leftOffsetMm + 50;
    const int o = page.topOffsetMm;
    const double s = printScale(H);
    const int titleHeight = roundHalfEven(28 * s);
    const int headHeight = roundHalfEven(22 * s);
    const int rowHeight = roundHalfEven(20 * s);
    const auto x = [&](double offset) { return e + roundHalfEven(offset * s); };
    const bool one = display == Display::One;
    const int firstRow = (one ? 230 : 200) + o + 50;
    const int step = roundHalfEven((one ? 35 : 24) * s);
    const int columns = setColumns(saetze);

    QList<PrintPage> pages;
    PrintPage current;
    const auto startPage = [&] {
        for (const auto& [text, at] : {std::pair{titles.turniername, 50}, std::pair{titles.spielplantext, 100}}) {
            const PrintItem probe = PrintItem::textAt(0, 0, kHeadFont, titleHeight, text);
            current.append(PrintItem::textAt(W / 2 - textWidth(probe) / 2, -(o + at), kHeadFont, titleHeight, text));
        }
        if (one) {
            for (const Column& c : kPaperOne)
                current.append(PrintItem::textAt(x(c.paper), -(o + 180), kHeadFont, headHeight, QString::fromUtf8(c.heading)));
            for (int n = 1; n <= columns; ++n)
                current.append(PrintItem::textAt(x(855 + 38 * n), -(o + 225), kHeadFont, headHeight, QString::number(n)));
            current.append(PrintItem::lineFrom(e, -(o + 225), W - e, -(o + 225)));
            current.append(PrintItem::lineFrom(e, -(o + 265), W - e, -(o + 265)));
        } else {
            for (const Column& c : kPaperTwo)
                current.append(PrintItem::textAt(x(c.paper), -(o + 180), kHeadFont, headHeight, QString::fromUtf8(c.heading)));
            current.append(PrintItem::lineFrom(e, -(o + 225), W - e, -(o + 225)));
        }
    };
    // Display 1 closes a page with its column lines down to the next row.
    const auto endPage = [&](int position) {
        if (one) {
            for (int k = 0; k <= 9; ++k)
                current.append(PrintItem::lineFrom(x(890 + 38 * k), -(o + 225), x(890 + 38 * k), -position));
        }
        pages.append(current);
        current.clear();
    };

    startPage();
    int position = firstRow;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry& m = entries.at(i);
        const int y = -position;
        const auto text = [&](double offset, const QString& t) {
            if (!t.isEmpty())
                current.append(PrintItem::textAt(x(offset), y, kRowFont, rowHeight, t));
        };
        // A text that must end before the column at `next`.
        const auto in = [&](double offset, double next, const QString& t) {
            if (!t.isEmpty())
                current.append(PrintItem::textIn(x(offset), y, x(next) - x(offset) - 10, kRowFont, rowHeight, t));
        };
        text(0, m.nummer);
        text(25, m.tag);
        text(120, m.zeit);
        in(200, 450, m.spieler1);
        in(450, 700, m.spieler2);
        text(700, m.gruppe);
        if (one) {
            in(800, 890, m.tisch);
            for (int n = 1; n <= 9; ++n)
                text(855 + 38 * n, m.saetze[size_t(n - 1)]);
            text(1270, m.ergebnis);
        } else {
            in(800, 950, m.tisch);
            in(950, 1150, m.schiri);
            in(1150, 1250, m.ergebnis);
            text(1250, m.status);
        }
        position += step;
        if (one)
            current.append(PrintItem::lineFrom(e, -(position - 10), W - e, -(position - 10)));
        if (position >= H - 100 && i + 1 < entries.size()) {
            endPage(position);
            startPage();
            position = firstRow;
        }
    }
    endPage(position);
    return pages;
}

} // namespace bw::matchlist
