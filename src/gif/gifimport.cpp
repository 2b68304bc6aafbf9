#include "gif/gifimport.h"

#include "gif/core/gifexception.h"
#include "gif/core/gifextensions.h"
#include "gif/core/gifreduction.h"
#include "gif/tgifimage.h"

#include <array>
#include <memory>

namespace bw {

namespace {
TGIFPalette toPalette(const QVector<QRgb>& colors)
{
    TGIFPalette p;
    for (QRgb c : colors)
        p.push_back({uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))});
    return p;
}

QVector<QRgb> toColors(const TGIFPalette& palette)
{
    QVector<QRgb> colors;
    for (const TGIFRGB& c : palette)
        colors.push_back(qRgb(c.r, c.g, c.b));
    return colors;
}

// Gives the transparent pixels (mask != 0) an entry of their own, black, after
// the entries no pixel uses were dropped; a full or empty table gets none.
void applyMask(TGIFSubImage& frame, const std::vector<uint8_t>& mask)
{
    TGIFLocalColorMap& map = frame.ColorMap();
    map.SortByUse();
    if (map.Count() < 1 || map.Count() > 255)
        return;
    const int index = map.AppendColor(0x000000);
    bool any = false;
    std::vector<uint8_t>& pixels = frame.Pixels();
    for (size_t i = 0; i < pixels.size(); ++i)
        if (mask[i]) {
            pixels[i] = uint8_t(index);
            any = true;
        }
    if (!any) {
        map.RemoveColor(index);
        return;
    }
    auto gce = std::make_unique<TGIFGraphicControlExtension>(&frame);
    TGIFGraphicControlExtension* raw = gce.get();
    frame.AddExtension(std::move(gce));
    raw->SetTransparentColorIndex(index);
    raw->SetTransparent(true);
}
}

QImage ReduceToPalette(const QImage& source, int method, int ditherKind, const QVector<QRgb>& customPalette, int bits)
{
    if (method == 0)
        return source.convertToFormat(QImage::Format_RGB888);
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    TGIFPalette palette;
    std::unique_ptr<TColorLookup> lookup;
    switch (method) {
    case 1: palette = DefaultPalette(); break;
    case 2: palette = HalftonePalette(); break;
    case 3: palette = GreyPalette({0, 128, 192, 255}); break;
    case 4:
        palette = GreyPalette({0, 255});
        lookup = std::make_unique<TMonochromeLookup>();
        break;
    case 5: {
        std::vector<int> levels;
        for (int i = 0; i < 256; ++i)
            levels.push_back(i);
        palette = GreyPalette(levels);
        lookup = std::make_unique<TGrayScaleLookup>();
        break;
    }
    case 6:
        palette = CubePalette();
        lookup = std::make_unique<TNetscapeColorLookup>();
        break;
    case 7:
    case 8: {
        std::vector<uint8_t> pixels;
        pixels.reserve(size_t(rgb.width()) * size_t(rgb.height()) * 3);
        for (int y = 0; y < rgb.height(); ++y)
            pixels.insert(pixels.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
        palette = method == 7 ? QuantizedPalette(pixels.data(), pixels.size() / 3, 1 << std::clamp(bits, 1, 8), 8, false)
                              : QuantizedPalette(pixels.data(), pixels.size() / 3, 256, 8, true);
        break;
    }
    case 9: palette = toPalette(customPalette); break;
    default: return QImage();
    }
    if (!lookup)
        lookup = std::make_unique<TFastColorLookup>(palette);
    if (lookup->Colors() == 0 || palette.empty())
        return QImage();
    std::unique_ptr<TDitherEngine> ditherer = MakeDitherer(ditherKind, rgb.width(), *lookup);
    if (!ditherer)
        return QImage();
    QImage result(rgb.size(), QImage::Format_Indexed8);
    QVector<QRgb> colors = toColors(palette);
    result.setColorTable(colors);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* src = rgb.constScanLine(y);
        uchar* dst = result.scanLine(y);
        for (int n = 0; n < rgb.width(); ++n) {
            const int x = ditherer->Column();
            dst[x] = uchar(ditherer->Dither(src[x * 3], src[x * 3 + 1], src[x * 3 + 2]));
        }
        ditherer->NextLine();
    }
    return result;
}

void ImportImage(TGIFImage& picture, TGIFSubImage& frame, const QImage& image)
{
    frame.Clear();
    if (image.isNull())
        return;
    if (image.width() > 0xFFFF || image.height() > 0xFFFF)
        throw GIFException("Invalid image dimensions");
    frame.SetWidth(uint16_t(image.width()));
    frame.SetHeight(uint16_t(image.height()));
    const bool hasAlpha = image.hasAlphaChannel();
    std::vector<uint8_t> mask;
    if (hasAlpha) {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        mask.reserve(size_t(image.width()) * size_t(image.height()));
        for (int y = 0; y < argb.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x)
                mask.push_back(qAlpha(line[x]) < 128 ? 1 : 0);
        }
    }
    QImage source = image;
    const bool indexed = image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
                         image.format() == QImage::Format_MonoLSB;
    if (!indexed) {
        source = ReduceToPalette(image, picture.ReductionMethod, picture.DitherKind, {}, picture.ReductionBitCount);
        if (source.isNull()) {
            frame.Clear();
            return;
        }
    }
    picture.Progress(TProgressStage::psStarting, 0, false, "Converting...");
    try {
        TGIFLocalColorMap& map = frame.ColorMap();
        const int width = source.width();
        const int height = source.height();
        if (source.format() == QImage::Format_Indexed8 || source.format() == QImage::Format_Mono ||
            source.format() == QImage::Format_MonoLSB) {
            std::vector<uint8_t> bgrx;
            for (QRgb c : source.colorTable())
                bgrx.insert(bgrx.end(), {uint8_t(qBlue(c)), uint8_t(qGreen(c)), uint8_t(qRed(c)), 0});
            map.TakeColorTable(bgrx.data(), int(bgrx.size() / 4));
            const QImage bytes = source.format() == QImage::Format_Indexed8 ? source : source.convertToFormat(QImage::Format_Indexed8, source.colorTable());
            for (int y = 0; y < height; ++y) {
                if (y % 32 == 0 && y > 0)
                    picture.Progress(TProgressStage::psRunning, y * 100 / height, false, "Converting...");
                std::copy_n(bytes.constScanLine(y), width, frame.Scanline(y));
            }
        } else {
            // 24 bits: the table grows in order of first appearance; the last
            // 8 colours met are tried first.
            std::array<std::pair<uint32_t, int>, 8> recent;
            recent.fill({0xFFFFFFFFu, 0});
            size_t next = 0;
            for (int y = 0; y < height; ++y) {
                if (y % 32 == 0 && y > 0)
                    picture.Progress(TProgressStage::psRunning, y * 100 / height, false, "Converting...");
                const uchar* src = source.constScanLine(y);
                uint8_t* dst = frame.Scanline(y);
                for (int x = 0; x < width; ++x) {
                    const uint32_t color = uint32_t(src[x * 3]) | (uint32_t(src[x * 3 + 1]) << 8) | (uint32_t(src[x * 3 + 2]) << 16);
                    int index = -1;
                    for (size_t k = 0; k < recent.size() && index < 0; ++k) {
                        const auto& r = recent[(next + recent.size() - 1 - k) % recent.size()];
                        if (r.first == color)
                            index = r.second;
                    }
                    if (index < 0) {
                        index = map.AddColorOnce(color);
                        recent[next] = {color, index};
                        next = (next + 1) % recent.size();
                    }
                    dst[x] = uint8_t(index);
                }
            }
        }
        if (hasAlpha)
            applyMask(frame, mask);
    } catch (...) {
        frame.Clear();
        picture.Progress(TProgressStage::psEnding, 0, true, "Converting...");
        throw;
    }
    frame.DropCache();
    picture.Progress(TProgressStage::psEnding, 100, true, "Converting...");
}

} // namespace bw
