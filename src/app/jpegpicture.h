// JPEG pictures of the windows (the logo, the start picture, the about box),
// decoded with libjpeg. A file that is missing or not a JPEG gives a null image,
// never a crash: the picture is decoration.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace bw {

// Decodes JPEG bytes into an RGB32 image; null on any error.
QImage decodeJpeg(const QByteArray& bytes, QString* error = nullptr);
QImage loadJpeg(const QString& path, QString* error = nullptr);

} // namespace bw
