#include "app/startnumberlist.h"

#include <algorithm>
#include <cmath>

namespace bw {

namespace {

const QString kTitleFont = QStringLiteral("TimesNewRoman");
const QString kRowFont = QStringLiteral("Arial");
// The room kept free between a long name and the club column.
constexpr int kColumnGap = 8;

int rnd(double x)
{
    return int(std::lround(x));
}

} // namespace

StartNumberPreview layoutStartNumberPreview(const QList<StartNumberRow>& rows, const QString& turniername,
                                            int width, int viewportHeight)
{
    StartNumberPreview preview;
    // Tall enough for every row drawn, numbers of 0 and below included.
    preview.height = std::max(int(rows.size() + 1) * 20 + 60, viewportHeight - 4);
    PrintPage& items = preview.items;
    items << PrintItem::textAt(30, 5, kTitleFont, 12, QStringLiteral("Rückennummern: ") + turniername)
          << PrintItem::textAt(30, 30, kTitleFont, 12, QStringLiteral("Nr."))
          << PrintItem::textAt(60, 30, kTitleFont, 12, QStringLiteral("Name"))
          << PrintItem::textAt(270, 30, kTitleFont, 12, QStringLiteral("Verein"))
          << PrintItem::lineFrom(0, 50, width - 20, 50);
    int y = 60;
    for (const StartNumberRow& row : rows) {
        items << PrintItem::textAt(30, y, kRowFont, 10, QString::number(row.nummer))
              << PrintItem::textIn(70, y, 270 - 70 - kColumnGap, kRowFont, 10, row.name)
              << PrintItem::textIn(270, y, std::max(0, width - 20 - 270), kRowFont, 10, row.verein);
        y += 20;
    }
    return preview;
}

QList<PrintPage> layoutStartNumberPrint(const QList<StartNumberRow>& rows, const QString& turniername,
                                        const PageMetrics& page)
{
    const int x0 = page.leftOffsetMm + 50;
    const int top = page.topOffsetMm + 50;
    const double s = page.widthMm >= 200 ? 2.5 : 2.0;
    const int nameX = x0 + rnd(s * 30);
    const int clubX = x0 + rnd(s * 200);
    const int titleHeight = rnd(s * 23);
    const int rowHeight = rnd(s * 20);

    QList<PrintPage> pages(1);
    pages.last() << PrintItem::textAt(x0, -(top + 5), kTitleFont, titleHeight,
                                      QStringLiteral("Rückennummern: ") + turniername)
                 << PrintItem::textAt(x0, -(top + 70), kTitleFont, titleHeight, QStringLiteral("Nr."))
                 << PrintItem::textAt(nameX, -(top + 70), kTitleFont, titleHeight, QStringLiteral("Name"))
                 << PrintItem::textAt(clubX, -(top + 70), kTitleFont, titleHeight, QStringLiteral("Verein"))
                 << PrintItem::lineFrom(x0, -(top + 130), page.widthMm * 10 - x0, -(top + 130));
    int q = top + 100;
    for (const StartNumberRow& row : rows) {
        if (q + top + 50 > page.heightMm * 10) {
            pages.append(PrintPage());
            q = top;
        }
        const int y = -(q + top);
        pages.last() << PrintItem::textAt(x0, y, kRowFont, rowHeight, QString::number(row.nummer))
                     << PrintItem::textIn(nameX, y, clubX - nameX - rnd(s * kColumnGap), kRowFont, rowHeight, row.name)
                     << PrintItem::textIn(clubX, y, std::max(0, page.widthMm * 10 - x0 - clubX), kRowFont, rowHeight,
                                          row.verein);
        q += rnd(s * 40);
    }
    return pages;
}

} // namespace bw
