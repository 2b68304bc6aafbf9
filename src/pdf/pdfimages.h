// Bitmap pictures as image objects of a PDF file. Offered by the writer; the
// report layer does not use it.
#pragma once

#include "pdf/pdftypes.h"

#include <array>

namespace bw::pdf {

// An unsuitable picture.
class EPdfInvalidImageFormat : public AppError {
public:
    using AppError::AppError;
};

// A bitmap in memory: rows from the top down, each row packed to whole bytes.
// 1, 4 and 8 bits per pixel are palette indexes (the high bits hold the left
// pixel); 24 bits are red, green, blue; 32 bits red, green, blue and one unused byte.
struct PdfBitmap {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 24;
    std::vector<std::array<quint8, 3>> Palette; // red, green, blue
    QByteArray Pixels;

    int rowBytes() const { return (Width * BitsPerPixel + 7) / 8; }
};

class TPdfImageCreator {
public:
    virtual ~TPdfImageCreator() = default;
    // The image of the picture, or nullptr when this creator does not make one.
    virtual std::unique_ptr<TPdfImage> CreateImage(const PdfBitmap& picture);
};

// Registered under the alias "Pdf-Bitmap".
class TPdfBitmapImage : public TPdfImageCreator {
public:
    std::unique_ptr<TPdfImage> CreateImage(const PdfBitmap& picture) override;
};

// [/Indexed /DeviceRGB 255 <palette>] of an 8-bit picture.
std::unique_ptr<TPdfArray> CreateIndexedColorArray(const PdfBitmap& bitmap);

// The image creator registered under the alias, or nullptr.
std::unique_ptr<TPdfImageCreator> createRegisteredImageCreator(QByteArrayView alias);

} // namespace bw::pdf
