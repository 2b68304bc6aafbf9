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

} // namespace

QImage Bitmap(const QString& name)
{
    static const QHash<QString, QImage> bitmaps = [] {
        QHash<QString, QImage> made;
        made.insert(QStringLiteral("CHECKBOX"), checkMark());
        return made;
    }();
    return bitmaps.value(name.toUpper());
}

} // namespace uiResources
