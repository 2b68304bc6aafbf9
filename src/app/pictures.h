// The program's own pictures: the logo and the start picture (JPEG files of the
// images folder, decoded with libjpeg, with a drawn stand-in when a file is
// missing) and the main window's image list.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace bw::pictures {

// Indexes into the main window's image list that the program relies on.
constexpr int kClassItem = 6;        // an item per class in "Turnierklassen" / "Spielpläne"
constexpr int kManageClasses = 13;   // "Klassen verwalten"

// "Images/logo.jpg" and "Images/start.jpg" of the program folder.
QImage logo(const QString& programDir);
QImage startPicture(const QString& programDir);

// The main window's image list `ImageList1` (16 x 16).
QList<QImage> imageList();
// The icon of a navigation bar's header, by the bar's object name.
QImage barIcon(const QString& barName);

} // namespace bw::pictures
