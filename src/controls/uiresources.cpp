#include "controls/uiresources.h"

#include <QHash>

namespace uiResources {

namespace {

// The check mark: black on silver, 7 x 7.
QImage checkMark()
{
    static const char* const rows[] = {
        "......X",
        ".....XX",
        "X...XXX",
        "XX.XXX.",
        "XXXXX..",
        ".XXX...",
        "..X....",
    };
    QImage image(7, 7, QImage::Format_RGB32);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            image.setPixel(x, y, rows[y][x] == 'X' ? qRgb(0, 0, 0) : qRgb(0xC0, 0xC0, 0xC0));
    return image;
}

// The side bar's roll button, 18 x 18: a light-blue disc with a darker rim on
// white corners (white is the transparent colour) and a dark-blue double
// chevron pointing down (expand) or up (collapse). State 1 (pointer over it)
// darkens the rim, state 2 (pressed) also the upper half of the disc.
QImage rollButton(bool expand, int state)
{
    constexpr int size = 18;
    const QRgb corner = qRgb(255, 255, 255);
    const QRgb face = qRgb(0xDA, 0xE6, 0xF8);
    const QRgb pressedFace = qRgb(0xB0, 0xC8, 0xEE);
    const QRgb rim = state == 0 ? qRgb(0x9C, 0xB8, 0xE4) : qRgb(0x4F, 0x7C, 0xC8);
    const QRgb chevron = qRgb(0x00, 0x38, 0xA5);
    QImage image(size, size, QImage::Format_RGB32);
    const double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x - centre;
            const double dy = y - centre;
            const double distance2 = dx * dx + dy * dy;
            QRgb colour = corner;
            if (distance2 <= 8.6 * 8.6)
                colour = distance2 > 7.4 * 7.4 ? rim : (state == 2 && y < size / 2 ? pressedFace : face);
            image.setPixel(x, y, colour);
        }
    // Two chevrons eight pixels wide, each two pixels thick.
    for (const int top : {4, 9})
        for (int i = 0; i < 4; ++i)
            for (int thick = 0; thick < 2; ++thick) {
                const int row = top + i + thick;
                const int y = expand ? row : size - 1 - row;
                image.setPixel(5 + i, y, chevron);
                image.setPixel(12 - i, y, chevron);
            }
    return image;
}

} // namespace

QImage Bitmap(const QString& name)
{
    static const QHash<QString, QImage> bitmaps = [] {
        QHash<QString, QImage> made;
        made.insert(QStringLiteral("CHECKBOX"), checkMark());
        for (int state = 0; state < 3; ++state) {
            made.insert(QStringLiteral("EXPAND%1").arg(state), rollButton(true, state));
            made.insert(QStringLiteral("COLLAPSE%1").arg(state), rollButton(false, state));
        }
        return made;
    }();
    return bitmaps.value(name.toUpper());
}

} // namespace uiResources
