// Bringing other pictures into GIF frames: the reduction of a true-colour image
// to a palette (ReduceToPalette) and the import of an image into a frame with a
// local colour table, its transparent pixels becoming the frame's transparency.
#pragma once

#include <QImage>
#include <QVector>

namespace bw {

class TGIFImage;
class TGIFSubImage;

// Reduction methods: 0 none (a 24-bit copy), 1 the 20 default colours, 2 the
// halftone palette, 3 four greys, 4 black and white, 5 256 greys, 6 the
// 216-colour cube, 7 an octree palette of 2^bits colours, 8 an octree palette
// with the default colours, 9 the custom palette. Dither kinds 0 (nearest
// colour) to 6. An unknown method or kind gives a null image.
QImage ReduceToPalette(const QImage& source, int method, int ditherKind, const QVector<QRgb>& customPalette, int bits);

// Clears the frame and fills it from the image with the picture's reduction
// settings. Pixels with alpha below 128 become transparent.
void ImportImage(TGIFImage& picture, TGIFSubImage& frame, const QImage& image);

} // namespace bw
