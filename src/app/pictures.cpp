#include "app/pictures.h"

#include "app/jpegpicture.h"
#include "platform/apppaths.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace bw::pictures {

namespace {

const QColor kGreen(0x2E, 0xA9, 0x34);
const QColor kBlue(0x00, 0x51, 0xE7);
const QColor kBall(0xF5, 0x8A, 0x1F);

QImage standIn(int w, int h, const QString& text)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kGreen);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(h / 5);
    font.setBold(true);
    p.setFont(font);
    p.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

QImage jpegOr(const QString& programDir, const QString& file, int w, int h)
{
    const QImage image = loadJpeg(AppPaths::resolve(programDir, file));
    return image.isNull() ? standIn(w, h, QStringLiteral("Brackwell")) : image;
}

// A 16 x 16 glyph drawn by a painter function.
template <typename Draw>
QImage glyph(Draw draw)
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return image;
}

QImage page(const QColor& mark)
{
    return glyph([&](QPainter& p) {
        p.setPen(QColor(0x60, 0x60, 0x60));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        p.setPen(QPen(mark, 1.5));
        for (int y = 5; y <= 11; y += 3)
            p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
    });
}

QImage ball(const QColor& colour)
{
    return glyph([&](QPainter& p) {
        p.setPen(colour.darker(140));
        p.setBrush(colour);
        p.drawEllipse(QRectF(3, 3, 10, 10));
    });
}

QImage person(const QColor& colour)
{
    return glyph([&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QRectF(5, 1.5, 6, 6));
        p.drawRoundedRect(QRectF(2.5, 8.5, 11, 6.5), 3, 3);
    });
}

QImage plus(const QColor& colour)
{
    return glyph([&](QPainter& p) {
        p.setPen(QPen(colour, 3));
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    });
}

QImage cross(const QColor& colour)
{
    return glyph([&](QPainter& p) {
        p.setPen(QPen(colour, 2.5));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    });
}

QImage folder()
{
    return glyph([&](QPainter& p) {
        p.setPen(QColor(0xA0, 0x70, 0x10));
        p.setBrush(QColor(0xF0, 0xC8, 0x50));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(1.5, 2.5, 5, 2));
    });
}

QImage bracket()
{
    return glyph([&](QPainter& p) {
        p.setPen(QPen(kBlue, 1.5));
        p.drawLine(QPointF(2, 3), QPointF(7, 3));
        p.drawLine(QPointF(2, 13), QPointF(7, 13));
        p.drawLine(QPointF(7, 3), QPointF(7, 13));
        p.drawLine(QPointF(7, 8), QPointF(14, 8));
    });
}

QImage table()
{
    return glyph([&](QPainter& p) {
        p.setPen(QColor(0x00, 0x50, 0x20));
        p.setBrush(QColor(0x20, 0x70, 0x40));
        p.drawRect(QRectF(1.5, 4.5, 13, 7));
        p.setPen(Qt::white);
        p.drawLine(QPointF(8, 5), QPointF(8, 11));
    });
}

QImage arrow(bool in)
{
    return glyph([&](QPainter& p) {
        p.setPen(QPen(kGreen, 2));
        const qreal from = in ? 14 : 2, to = in ? 4 : 12;
        p.drawLine(QPointF(from, 8), QPointF(to, 8));
        const qreal back = in ? to + 4 : to - 4;
        p.drawLine(QPointF(to, 8), QPointF(back, 4));
        p.drawLine(QPointF(to, 8), QPointF(back, 12));
    });
}

} // namespace

QImage logo(const QString& programDir)
{
    return jpegOr(programDir, QStringLiteral("Images/logo.jpg"), 160, 60);
}

QImage startPicture(const QString& programDir)
{
    return jpegOr(programDir, QStringLiteral("Images/start.jpg"), 560, 400);
}

QList<QImage> imageList()
{
    return {
        plus(kGreen),                 // 0 create
        folder(),                     // 1 open
        cross(QColor(0xC0, 0x20, 0x20)), // 2 delete
        page(kBlue),                  // 3 edit the data
        person(kBlue),                // 4 players
        person(kGreen),               // 5 teams
        ball(kBall),                  // 6 a class
        page(kGreen),                 // 7 check-in
        arrow(true),                  // 8 import
        person(QColor(0x40, 0x40, 0x40)), // 9 referees
        page(QColor(0x1D, 0x6F, 0x42)),   // 10 sheet export
        page(QColor(0xC0, 0x20, 0x20)),   // 11 PDF export
        arrow(false),                 // 12 HTML export
        table(),                      // 13 manage classes
        bracket(),                    // 14 plans
    };
}

QImage barIcon(const QString& barName)
{
    if (barName == QLatin1String("Klassenbutton"))
        return table();
    if (barName == QLatin1String("Spielerbutton"))
        return person(kBlue);
    if (barName == QLatin1String("spielplanbutton"))
        return bracket();
    if (barName == QLatin1String("exportbutton"))
        return arrow(false);
    return ball(kBall);
}

} // namespace bw::pictures
