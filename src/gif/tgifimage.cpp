#include "gif/tgifimage.h"

#include "gif/core/gifextensions.h"
#include "gif/core/gifstream.h"

#include <QFile>
#include <QIODevice>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace bw {

namespace {
constexpr int kRenderProgressRows = 32;

QVector<QRgb> makePalette(const TGIFColorMap& map)
{
    QVector<QRgb> colors;
    colors.reserve(map.Count());
    const uint8_t* d = map.Data();
    for (int i = 0; i < map.Count(); ++i)
        colors.push_back(qRgb(d[i * 3], d[i * 3 + 1], d[i * 3 + 2]));
    return colors;
}

// Rounded a * b / c as the drawing code needs it (c != 0).
int mulDiv(int a, int b, int c)
{
    return int(std::lround(double(a) * double(b) / double(c)));
}
}

struct TGIFImage::FrameCache : TGIFFrameCache {
    std::optional<QVector<QRgb>> palette;
    QImage bitmap;          // with alpha 0 at the transparent index when masked
    QImage opaque;          // the same without transparency, made when asked for
    QImage mask;
    bool rendered = false;
    bool maskNeeded = true;
};

TGIFImage::TGIFImage() = default;

TGIFImage::~TGIFImage() = default;

void TGIFImage::Clear()
{
    TGIFPicture::Clear();
    m_palette.reset();
    m_composite.reset();
}

void TGIFImage::PaletteChanged()
{
    m_palette.reset();
    m_composite.reset();
}

void TGIFImage::Changed()
{
    m_composite.reset();
}

void TGIFImage::LoadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw GIFFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()).toStdString());
    LoadFromStream(file);
}

void TGIFImage::LoadFromStream(QIODevice& device)
{
    // The whole rest of the device is read at once; reading then runs on memory.
    const qint64 start = device.isSequential() ? 0 : device.pos();
    const QByteArray bytes = device.readAll();
    MemoryByteStream stream(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    try {
        TGIFPicture::LoadFromStream(stream);
    } catch (...) {
        if (!device.isSequential())
            device.seek(start);
        throw;
    }
    if (!device.isSequential())
        device.seek(start + stream.Position());
}

void TGIFImage::Assign(const TGIFImage* source)
{
    if (source == this)
        return;
    Clear();
    if (!source)
        return;
    // The copy reports through the source's hooks while it runs; afterwards
    // this picture has none.
    OnDecodeWarning = source->OnDecodeWarning;
    OnProgress = source->OnProgress;
    const auto restoreHooks = [&] {
        OnDecodeWarning = WarningHook();
        OnProgress = ProgressHook();
    };
    Progress(TProgressStage::psStarting, 0, false, "Copying...");
    try {
        m_header.Assign(source->m_header);
        PaintOptions = source->PaintOptions;
        FillColor = source->FillColor;
        ReductionMethod = source->ReductionMethod;
        DitherKind = source->DitherKind;
        const int count = source->Count();
        for (int i = 0; i < count; ++i) {
            auto frame = std::make_unique<TGIFSubImage>(this);
            frame->Assign(source->Frame(i));
            AddFrame(std::move(frame));
            Progress(TProgressStage::psRunning, (i + 1) * 100 / count, false, "Copying...");
        }
    } catch (...) {
        Progress(TProgressStage::psEnding, 0, true, "Copying...");
        restoreHooks();
        throw;
    }
    Progress(TProgressStage::psEnding, 100, true, "Copying...");
    restoreHooks();
}

bool TGIFImage::DitheringOn() const
{
    return (PaintOptions & pfDithered) && (!(PaintOptions & pfDitherOnPaletteScreen) || PaletteScreen());
}

QVector<QRgb> TGIFImage::Palette()
{
    if (m_insidePalette)
        throw GIFException("No global or local color table defined");
    if (m_palette)
        return *m_palette;
    if (m_header.ColorMap().Count() > 0) {
        m_palette = makePalette(m_header.ColorMap());
        return *m_palette;
    }
    if (Empty())
        return {};
    m_insidePalette = true;
    try {
        QVector<QRgb> colors = FramePalette(0);
        m_insidePalette = false;
        return colors;
    } catch (...) {
        m_insidePalette = false;
        throw;
    }
}

TGIFImage::FrameCache& TGIFImage::CacheOf(int index)
{
    TGIFSubImage& frame = Frame(index);
    auto* cache = dynamic_cast<FrameCache*>(frame.Cache());
    if (!cache) {
        frame.SetCache(std::make_unique<FrameCache>());
        cache = static_cast<FrameCache*>(frame.Cache());
    }
    return *cache;
}

QVector<QRgb> TGIFImage::FramePalette(int index)
{
    FrameCache& cache = CacheOf(index);
    if (cache.palette)
        return *cache.palette;
    TGIFSubImage& frame = Frame(index);
    if (frame.ColorMap().Count() == 0)
        return Palette();
    cache.palette = makePalette(frame.ColorMap());
    return *cache.palette;
}

QImage TGIFImage::FrameBitmap(int index)
{
    if (Frame(index).Empty())
        return QImage();
    FrameCache& cache = CacheOf(index);
    if (!cache.rendered) {
        Progress(TProgressStage::psStarting, 0, false, "Rendering...");
        try {
            Render(index, cache);
        } catch (...) {
            Progress(TProgressStage::psEnding, 0, false, "Rendering...");
            throw;
        }
        Progress(TProgressStage::psEnding, 100, false, "Rendering...");
    }
    return cache.bitmap;
}

void TGIFImage::Render(int index, FrameCache& cache)
{
    TGIFSubImage& frame = Frame(index);
    const int width = frame.Width();
    const int height = frame.Height();
    QVector<QRgb> colors = FramePalette(index);
    colors.resize(256, qRgb(0, 0, 0));
    QImage bitmap(width, height, QImage::Format_Indexed8);
    if (bitmap.isNull())
        throw GIFException("Failed to allocate memory for GIF DIB");

    const bool buildMask = frame.Transparent() && frame.GraphicControlExtension() && cache.maskNeeded && cache.mask.isNull();
    cache.maskNeeded = false;
    const int transparentIndex = buildMask ? frame.TransparentIndex() : -1;
    QImage mask;
    if (buildMask) {
        mask = QImage(width, height, QImage::Format_Mono);
        mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        mask.fill(0);
    }
    // Mask bits come from a table, eight pixels to a byte, without a
    // comparison per pixel.
    uint8_t isTransparent[256] = {};
    if (transparentIndex >= 0)
        isTransparent[transparentIndex] = 1;
    uchar masked = 0;
    const uint8_t* pixels = frame.Pixels().data();
    for (int y = 0; y < height; ++y) {
        if (y % kRenderProgressRows == 0 && y > 0)
            Progress(TProgressStage::psRunning, int(int64_t(y) * 100 / height), false, "Rendering...");
        const uint8_t* src = pixels + size_t(y) * size_t(width);
        std::memcpy(bitmap.scanLine(y), src, size_t(width));
        if (buildMask) {
            uchar* bits = mask.scanLine(y);
            int x = 0;
            for (; x + 8 <= width; x += 8) {
                const uint8_t* p = src + x;
                const uchar byte = uchar(isTransparent[p[0]] << 7 | isTransparent[p[1]] << 6 | isTransparent[p[2]] << 5 |
                                         isTransparent[p[3]] << 4 | isTransparent[p[4]] << 3 | isTransparent[p[5]] << 2 |
                                         isTransparent[p[6]] << 1 | isTransparent[p[7]]);
                bits[x >> 3] = byte;
                masked |= byte;
            }
            for (; x < width; ++x) {
                const uchar bit = uchar(isTransparent[src[x]] << (7 - (x & 7)));
                bits[x >> 3] |= bit;
                masked |= bit;
            }
        }
    }
    const bool anyMasked = masked != 0;
    if (buildMask)
        cache.mask = anyMasked ? mask : QImage();
    if (!cache.mask.isNull() && transparentIndex >= 0)
        colors[transparentIndex] &= 0x00FFFFFF;
    bitmap.setColorTable(colors);
    cache.bitmap = bitmap;
    cache.opaque = QImage();
    cache.rendered = true;
}

bool TGIFImage::NeedsMask(int index)
{
    TGIFSubImage& frame = Frame(index);
    if (frame.Empty())
        return false;
    FrameCache& cache = CacheOf(index);
    if (frame.Transparent() && cache.maskNeeded) {
        cache.rendered = false;
        FrameBitmap(index);
    }
    return !cache.mask.isNull();
}

QImage TGIFImage::FrameMask(int index)
{
    return NeedsMask(index) ? CacheOf(index).mask : QImage();
}

QRect TGIFImage::FrameRectIn(int index, const QRect& r) const
{
    const TGIFSubImage& frame = Frame(index);
    int w = Width();
    int h = Height();
    // A logical screen of size 0 says nothing about the scale; the frame's own
    // size does.
    if (w == 0)
        w = frame.Width();
    if (h == 0)
        h = frame.Height();
    if (w == 0 || h == 0)
        return QRect(r.topLeft(), QSize(0, 0));
    const int rw = r.width();
    const int rh = r.height();
    const int left = r.left() + mulDiv(frame.Left(), rw, w);
    const int top = r.top() + mulDiv(frame.Top(), rh, h);
    const int right = r.left() + mulDiv(frame.Left() + frame.Width(), rw, w);
    const int bottom = r.top() + mulDiv(frame.Top() + frame.Height(), rh, h);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void TGIFImage::DrawFrame(QPainter& painter, int index, const QRect& r, bool tiled, bool transparent)
{
    TGIFSubImage& frame = Frame(index);
    QImage image = FrameBitmap(index);
    if (image.isNull())
        return;
    const bool masked = transparent && frame.Transparent() && NeedsMask(index);
    FrameCache& cache = CacheOf(index);
    if (!masked && !cache.mask.isNull()) {
        if (cache.opaque.isNull()) {
            cache.opaque = cache.bitmap;
            QVector<QRgb> colors = cache.opaque.colorTable();
            for (QRgb& c : colors)
                c |= 0xFF000000;
            cache.opaque.setColorTable(colors);
        }
        image = cache.opaque;
    }
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(masked ? QPainter::CompositionMode_SourceOver : QPainter::CompositionMode_Source);
    if (!tiled) {
        painter.drawImage(FrameRectIn(index, r), image);
    } else {
        const int stepX = Width() > 0 ? Width() : frame.Width();
        const int stepY = Height() > 0 ? Height() : frame.Height();
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
        for (int y = r.top(); y <= r.bottom(); y += stepY)
            for (int x = r.left(); x <= r.right(); x += stepX)
                painter.drawImage(QPoint(x + frame.Left(), y + frame.Top()), image);
        painter.restore();
    }
    painter.setCompositionMode(mode);
}

void TGIFImage::Draw(QPainter& painter, const QRect& r)
{
    if (m_drawing || Empty())
        return;
    m_drawing = true;
    try {
        DrawFrame(painter, 0, r, PaintOptions & pfTiled, PaintOptions & pfTransparent);
    } catch (...) {
        m_drawing = false;
        throw;
    }
    m_drawing = false;
}

QImage TGIFImage::CompositeBitmap()
{
    if (Empty())
        return QImage();
    if (m_composite)
        return *m_composite;
    TGIFSubImage& first = Frame(0);
    if (first.Width() == Width() && first.Height() == Height()) {
        m_composite = FrameBitmap(0);
    } else {
        QImage image(Width(), Height(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        DrawFrame(painter, 0, image.rect(), false, false);
        painter.end();
        m_composite = image;
    }
    return *m_composite;
}

} // namespace bw
