#include "gif/tgifimage.h"

#include "gif/core/gifextensions.h"
#include "gif/core/gifreduction.h"
#include "gif/core/gifstream.h"
#include "gif/gifimport.h"

#include <QFile>
#include <QSaveFile>
#include <QIODevice>
#include <QPainter>
#include <QPaintDevice>

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

// One bit per pixel, first pixel in the highest bit; 1 marks a transparent pixel.
QImage emptyMask(int width, int height)
{
    QImage mask(width, height, QImage::Format_Mono);
    mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mask.fill(0);
    return mask;
}

QVector<QRgb> cubeColors()
{
    QVector<QRgb> colors;
    for (const TGIFRGB& c : CubePalette())
        colors.push_back(qRgb(c.r, c.g, c.b));
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
    QImage masked;          // drawn through the mask, when not the bitmap itself
    QImage mask;
    bool rendered = false;
    bool maskNeeded = true;
};

TGIFImage::TGIFImage() = default;

TGIFImage::~TGIFImage()
{
    StopAllPainters();
}

void TGIFImage::Clear()
{
    StopAllPainters();
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
    ReleaseBackBuffer();
    if (OnChanged)
        OnChanged();
}

void TGIFImage::ReleaseBackBuffer()
{
    if (m_drawPainter && m_drawPainter->Canvas() == (m_backBuffer ? &*m_backBuffer : nullptr))
        m_drawPainter->Stop();
    m_backBuffer.reset();
}

void TGIFImage::PainterEnded(TGIFPainter* painter)
{
    if (m_drawPainter == painter)
        m_drawPainter = nullptr;
    m_painters.erase(std::remove(m_painters.begin(), m_painters.end(), painter), m_painters.end());
}

void TGIFImage::ReportPainted(TGIFPainter* painter)
{
    if (m_backBuffer && painter->Canvas() == &*m_backBuffer && OnChanged)
        OnChanged();
}

TGIFPainter* TGIFImage::StartPainter(TGIFPainter** slot, QImage* canvas, uint16_t options, const QRect& rect,
                                     QPainter* canvasPainter)
{
    if (Empty() || rect.isEmpty() || !canvas) {
        if (slot)
            *slot = nullptr;
        return nullptr;
    }
    auto* painter = new TGIFPainter(this, canvas, rect, options, slot);
    painter->SetCanvasPainter(canvasPainter);
    m_painters.push_back(painter);
    if (painter->Threaded())
        return painter;
    // Without pfThreaded the whole animation runs here.
    painter->Start();
    if (slot && *slot == painter)
        *slot = nullptr;
    return nullptr;
}

void TGIFImage::StopDrawPainter()
{
    if (m_drawPainter)
        m_drawPainter->Stop();
    m_drawPainter = nullptr;
    m_backBuffer.reset();
}

void TGIFImage::StopAllPainters()
{
    while (!m_painters.empty())
        m_painters.front()->Stop();
    m_drawPainter = nullptr;
    m_backBuffer.reset();
}

void TGIFImage::DrawBackBuffer(QPainter& painter, const QRect& r)
{
    const QImage& buffer = *m_backBuffer;
    if (!(PaintOptions & pfTiled)) {
        painter.drawImage(r, buffer);
        return;
    }
    painter.save();
    painter.setClipRect(r, Qt::IntersectClip);
    for (int y = r.top(); y <= r.bottom(); y += std::max(1, buffer.height()))
        for (int x = r.left(); x <= r.right(); x += std::max(1, buffer.width()))
            painter.drawImage(QPoint(x, y), buffer);
    painter.restore();
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

void TGIFImage::SaveToStream(QIODevice& device)
{
    MemoryByteStream stream;
    TGIFPicture::SaveToStream(stream);
    const std::vector<uint8_t>& bytes = stream.Bytes();
    if (device.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        throw GIFFileError(QStringLiteral("Cannot write: %1").arg(device.errorString()).toStdString());
}

void TGIFImage::SaveToFile(const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw GIFFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()).toStdString());
    SaveToStream(file);
    if (!file.commit())
        throw GIFFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()).toStdString());
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

void TGIFImage::Assign(const QImage& image)
{
    Clear();
    AddFrame(image);
}

void TGIFImage::AddFrame(const QImage& image)
{
    auto frame = std::make_unique<TGIFSubImage>(this);
    ImportImage(*this, *frame, image);
    AddFrame(std::move(frame));
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
    if (DitheringOn()) {
        m_palette = cubeColors();
        return *m_palette;
    }
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
    if (DitheringOn()) {
        cache.palette = cubeColors();
        return *cache.palette;
    }
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
    cache.masked = QImage();
    cache.opaque = QImage();
    if (DitheringOn()) {
        RenderDithered(index, cache);
        return;
    }
    TGIFSubImage& frame = Frame(index);
    const int width = frame.Width();
    const int height = frame.Height();
    QVector<QRgb> colors = FramePalette(index);
    colors.resize(256, qRgb(0, 0, 0));
    QImage bitmap(width, height, QImage::Format_Indexed8);
    if (bitmap.isNull())
        throw GIFException("Failed to allocate memory for GIF DIB");

    // A mask is made once, when the frame is transparent.
    const bool buildMask = frame.Transparent() && frame.GraphicControlExtension() && cache.maskNeeded && cache.mask.isNull();
    cache.maskNeeded = false;
    const int transparentIndex = buildMask ? frame.TransparentIndex() : -1;
    QImage mask;
    if (buildMask) {
        mask = emptyMask(width, height);
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
    cache.rendered = true;
}

// For palette screens: the frame dithered to the 216-colour cube.
void TGIFImage::RenderDithered(int index, FrameCache& cache)
{
    TGIFSubImage& frame = Frame(index);
    const int width = frame.Width();
    const int height = frame.Height();
    QVector<QRgb> colors = cubeColors();
    colors.resize(256, qRgb(0, 0, 0));
    QImage bitmap(width, height, QImage::Format_Indexed8);
    if (bitmap.isNull())
        throw GIFException("Failed to allocate memory for GIF DIB");
    TGIFColorMap& map = frame.EffectiveColorMap();
    TNetscapeColorLookup lookup;
    TFloydSteinbergDitherer ditherer(width, lookup);

    // A mask is made once, when the frame is transparent.
    const bool buildMask = frame.Transparent() && frame.GraphicControlExtension() && cache.maskNeeded && cache.mask.isNull();
    cache.maskNeeded = false;
    const int transparentIndex = buildMask ? frame.TransparentIndex() : -1;
    QImage mask;
    if (buildMask) {
        mask = emptyMask(width, height);
        // Masked pixels hold the cube entry nearest to the transparent colour
        // (a formula that rounded up gave 216 for white, beyond the cube).
        const uint32_t t = map.ColorAt(transparentIndex);
        TGIFRGB chosen;
        bitmap.fill(uint(lookup.Lookup(int(t & 0xFF), int((t >> 8) & 0xFF), int((t >> 16) & 0xFF), chosen)));
    }
    const uint8_t* table = map.Data();
    const int count = map.Count();
    bool anyMasked = false;
    for (int y = 0; y < height; ++y) {
        if (y % kRenderProgressRows == 0 && y > 0)
            Progress(TProgressStage::psRunning, int(int64_t(y) * 100 / height), false, "Rendering...");
        const uint8_t* src = frame.Pixels().data() + size_t(y) * size_t(width);
        uchar* dst = bitmap.scanLine(y);
        for (int n = 0; n < width; ++n) {
            const int x = ditherer.Column();
            const int p = src[x];
            if (p == transparentIndex) {
                mask.scanLine(y)[x >> 3] |= uchar(0x80 >> (x & 7));
                anyMasked = true;
                ditherer.Skip();
                continue;
            }
            if (p < count) {
                const uint8_t* rgb = table + p * 3;
                dst[x] = uchar(ditherer.Dither(rgb[0], rgb[1], rgb[2]));
            } else {
                const uint32_t c = map.ColorAt(p); // a warning, or the error of an empty table
                dst[x] = uchar(ditherer.Dither(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
            }
        }
        ditherer.NextLine();
    }
    bitmap.setColorTable(colors);
    if (buildMask)
        cache.mask = anyMasked ? mask : QImage();
    if (!cache.mask.isNull()) {
        QImage masked = bitmap.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
            const uchar* bits = cache.mask.constScanLine(y);
            for (int x = 0; x < width; ++x)
                if (bits[x >> 3] & (0x80 >> (x & 7)))
                    line[x] = 0;
        }
        cache.masked = masked;
        cache.opaque = bitmap;
    }
    cache.bitmap = bitmap;
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
    if (masked && !cache.masked.isNull())
        image = cache.masked;
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
        if (Count() == 1 || !(PaintOptions & pfAnimated)) {
            DrawFrame(painter, 0, r, PaintOptions & pfTiled, PaintOptions & pfTransparent);
        } else {
            QImage* device = painter.device() && painter.device()->devType() == QInternal::Image
                                 ? static_cast<QImage*>(painter.device())
                                 : nullptr;
            const bool direct = (PaintOptions & pfDirect) && device;
            if (!m_backBuffer || direct) {
                const bool same = m_drawPainter && direct && m_drawPainter->Canvas() == device && m_drawPainter->Rect() == r;
                if (!same) {
                    StopDrawPainter();
                    QImage* canvas = device;
                    QRect target = r;
                    if (!direct) {
                        // The back buffer starts as what the canvas shows there.
                        QImage buffer(Width(), Height(), QImage::Format_ARGB32_Premultiplied);
                        buffer.fill(Qt::transparent);
                        if (device)
                            buffer = device->copy(r).scaled(buffer.size()).convertToFormat(QImage::Format_ARGB32_Premultiplied);
                        m_backBuffer = buffer;
                        canvas = &*m_backBuffer;
                        target = m_backBuffer->rect();
                    }
                    if (TGIFPainter* started = StartPainter(&m_drawPainter, canvas, PaintOptions, target,
                                                            direct ? &painter : nullptr)) {
                        started->Start();
                        if (m_drawPainter == started)
                            started->SetCanvasPainter(nullptr);
                    }
                }
            }
            if (!direct && m_backBuffer)
                DrawBackBuffer(painter, r);
        }
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
