#include "output/groupplanprint.h"

#include "data/planviewrecords.h"
#include "data/standingsrecords.h"
#include "results/standings.h"

namespace bw::groupprint {

namespace {

const QString kFont = QStringLiteral("Arial");

QString pair(int a, int b)
{
    return QString::number(a) + QLatin1Char(':') + QString::number(b);
}

// Items of one page, placed by depth.
class PageBuilder {
public:
    explicit PageBuilder(PrintPage& page) : m_page(page) {}
    void text(int x, int depth, int height, const QString& text)
    {
        m_page.append(PrintItem::textAt(x, -depth, kFont, height, text));
    }
    void line(int x1, int d1, int x2, int d2) { m_page.append(PrintItem::lineFrom(x1, -d1, x2, -d2)); }
    void across(int d, int x1, int x2) { line(x1, d, x2, d); }
    void down(int x, int d1, int d2) { line(x, d1, x, d2); }
    void fill(int x1, int d1, int x2, int d2) { m_page.append(PrintItem::filled(x1, -d1, x2, -d2)); }

private:
    PrintPage& m_page;
};

void header(PageBuilder& page, const Input& in, const Measures& m, const TextWidthFn& textWidth)
{
    const int height = m.R(32);
    const int pw = in.page.widthMm * 10;
    const auto centred = [&](int depth, const QString& text) {
        const int width = textWidth(PrintItem::textAt(0, 0, kFont, height, text));
        page.text(pw / 2 - width / 2, depth, height, text);
    };
    centred(m.y0, in.turniername);
    centred(m.y0 + m.R(40), in.spielplantext);
}

void group(PageBuilder& page, const Input& in, const Measures& m, const Group& g, int d0)
{
    const int T = in.teilnehmer;
    const int nw = m.nw, rh = m.rh, cw = m.cw, x0 = m.x0, x2 = m.x2;
    const int dh = d0 - rh;
    page.text(x0, dh, m.R(22), QStringLiteral("Gruppe ") + g.letter);

    const int small = m.R(15);
    page.text(x2 + nw - m.R(12), dh, small, QStringLiteral("Spiele"));
    page.text(x2 + nw + m.R(40), dh, small, QStringLiteral("S      N"));
    const QStringList words = in.team ? QStringList{QStringLiteral("Punkte"), QStringLiteral("Spiele"), QStringLiteral("Sätze")}
                                      : QStringList{QStringLiteral("Punkte"), QStringLiteral("Sätze"), QStringLiteral("Bälle")};
    page.text(x2 + nw + m.R(97), dh, small, words.at(0));
    page.text(x2 + nw + m.R(160), dh, small, words.at(1));
    page.text(x2 + nw + m.R(230), dh, small, words.at(2));

    const int font = m.R(20);
    for (int j = 0; j < T; ++j)
        page.text(x0 + nw + j * cw + 10, dh, font, QString::number(j + 1));
    for (int i = 0; i < T; ++i) {
        const int di = d0 + i * rh;
        const int dn = d0 + (i + 1) * rh;
        if (i < g.places.size() && !g.places.at(i).bez.isEmpty())
            page.text(x0 + m.R(35), di + m.R(4), font, g.places.at(i).bez);
        page.text(x0 + m.R(5), di + m.R(4), font, QString::number(i + 1));
        page.across(di, x0, x0 + nw);
        for (const int x : {x0, x0 + m.R(30), x0 + nw})
            page.down(x, di, dn);
        page.across(di, x2, x2 + nw + m.R(300));
        for (const int x : {x2, x2 + m.R(30), x2 + nw, x2 + nw + m.R(30), x2 + nw + m.R(60), x2 + nw + m.R(90),
                            x2 + nw + m.R(150), x2 + nw + m.R(210), x2 + nw + m.R(300)})
            page.down(x, di, dn);
        for (int j = 0; j < T; ++j) {
            const int left = x0 + nw + j * cw;
            if (j == i)
                page.fill(left, di, left + cw, dn);
            page.across(di, left, left + cw);
            page.down(left + cw, di, dn);
        }
    }
    const int dT = d0 + T * rh;
    page.across(dT, x0, x0 + nw + T * cw);
    page.across(dT, x2, x2 + nw + m.R(300));

    // Each side's row is its place in this group, found by its id.
    const auto rowOf = [&](int sid) -> int {
        if (sid < 0)
            return -1;
        for (qsizetype i = 0; i < g.places.size() && i < T; ++i) {
            if (g.places.at(i).sid == sid)
                return int(i);
        }
        return -1;
    };
    for (const Match& match : g.matches) {
        if (match.spieler1.isEmpty() || match.spieler2.isEmpty())
            continue;
        if (match.ergebnis.isEmpty() || match.ergebnis == QLatin1String("0:0"))
            continue;
        const int pos1 = rowOf(match.sid1);
        const int pos2 = rowOf(match.sid2);
        if (pos1 < 0 || pos2 < 0)
            continue;
        page.text(x0 + nw + pos2 * cw + m.R(12), d0 + pos1 * rh + m.R(3), font, match.ergebnis);
        page.text(x0 + nw + pos1 * cw + m.R(12), d0 + pos2 * rh + m.R(3), font, mirrored(match.ergebnis));
    }

    for (qsizetype r = 0; r < g.standings.size(); ++r) {
        const Standing& row = g.standings.at(r);
        if (row.bez.isEmpty())
            continue;
        const int dr = d0 + int(r) * rh + m.R(4);
        page.text(x2 + m.R(5), dr, font, QString::number(row.pos + 1));
        page.text(x2 + m.R(35), dr, font, row.bez);
        const QStringList values = standingsValues(row, in.punkteProSieg, in.team);
        const int at[] = {7, 37, 67, 97, 157, 217};
        for (int c = 0; c < 6; ++c)
            page.text(x2 + nw + m.R(at[c]), dr, font, values.at(c));
    }
}

} // namespace

int Measures::R(int v) const
{
    // v × f100 / 100, halves to the even neighbour; f and v are never negative here.
    const int n = v * f100;
    const int q = n / 100;
    const int rest = n % 100;
    if (rest > 50 || (rest == 50 && q % 2 != 0))
        return q + 1;
    return q;
}

Measures measuresOf(int teilnehmer, const PageMetrics& page)
{
    Measures m;
    m.f100 = (page.widthMm * 10 >= 2000 ? 190 : 120) - 5 * teilnehmer;
    m.nw = m.R(270);
    m.top = m.R(150);
    m.rh = m.R(30);
    m.cw = m.R(50);
    m.bh = teilnehmer * m.rh + 100;
    m.x0 = page.leftOffsetMm + 50;
    m.y0 = page.topOffsetMm + 50;
    m.x2 = m.x0 + m.nw + teilnehmer * m.cw + 50;
    return m;
}

QStringList standingsValues(const Standing& row, int P, bool team)
{
    if (team)
        return {QString::number(row.matchegewonnen + row.matcheverloren), QString::number(row.matchegewonnen),
                QString::number(row.matcheverloren), pair(row.matchegewonnen * P, row.matcheverloren * P),
                pair(row.spielegewonnen, row.spieleverloren), pair(row.saetzegewonnen, row.saetzeverloren)};
    return {QString::number(row.spielegewonnen + row.spieleverloren), QString::number(row.spielegewonnen),
            QString::number(row.spieleverloren), pair(row.spielegewonnen * P, row.spieleverloren * P),
            pair(row.saetzegewonnen, row.saetzeverloren), pair(row.punktegewonnen, row.punkteverloren)};
}

QString mirrored(const QString& ergebnis)
{
    const qsizetype colon = ergebnis.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return ergebnis;
    return ergebnis.mid(colon + 1) + QLatin1Char(':') + ergebnis.left(colon);
}

QList<PrintPage> layout(const Input& in, const TextWidthFn& textWidth)
{
    const Measures m = measuresOf(in.teilnehmer, in.page);
    const int ph = in.page.heightMm * 10;
    QList<PrintPage> pages{PrintPage()};
    PageBuilder first(pages.last());
    header(first, in, m, textWidth);
    int k = 0;
    for (const Group& g : in.groups) {
        // A group that does not fit below the ones before starts a new page;
        // the first group of a page stays on it whatever its size.
        if (k > 0 && m.top + k * m.bh - in.page.topOffsetMm + m.R(150) > ph) {
            pages.append(PrintPage());
            PageBuilder next(pages.last());
            header(next, in, m, textWidth);
            k = 0;
        }
        PageBuilder page(pages.last());
        group(page, in, m, g, m.top + k * m.bh);
        ++k;
    }
    return pages;
}

QList<Group> readGroups(const QSqlDatabase& db, int kid, int phase, int base, int count)
{
    const QList<PlanPlaceRow> places = readPlanPlaces(db, kid, phase);
    QList<Group> groups;
    for (int g = 0; g < count; ++g) {
        const int gid = base + g;
        Group group;
        group.letter = QString(QChar(u'A' + gid));
        for (const PlanPlaceRow& place : places) {
            if (place.gid == gid)
                group.places.append({place.sid, place.bez});
        }
        for (const GroupMatch& match : readGroupMatches(db, kid, gid)) {
            if (match.phase == phase)
                group.matches.append({match.sid1, match.sid2, match.spieler1, match.spieler2, match.ergebnis});
        }
        Tabelle_Rechnen(db, kid, gid);
        for (const StandingsRow& row : readGroupStandings(db, kid, gid)) {
            const StandingsCounters& c = row.counters;
            group.standings.append({row.pos, row.bez, c.matchegewonnen, c.matcheverloren, c.spielegewonnen,
                                    c.spieleverloren, c.saetzegewonnen, c.saetzeverloren, c.punktegewonnen,
                                    c.punkteverloren});
        }
        groups.append(group);
    }
    return groups;
}

} // namespace bw::groupprint
