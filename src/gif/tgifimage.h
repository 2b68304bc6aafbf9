// TGIFImage: a GIF picture as the program uses it. It loads a GIF file or device
// into the codec's block model (gif/core) and renders frames into QImages
// (8 bits per pixel with a 256-entry colour table; a frame's transparent index
// has alpha 0), and draws the picture into a rectangle, stretched or tiled.
//
// The program loads GIF files through this class explicitly (status icons, form
// pictures); it is not a Qt image plugin, since Qt's own GIF reader claims the
// format.
#pragma once

#include "gif/core/gifexception.h"
#include "gif/core/gifpicture.h"
#include "gif/gifpainter.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QVector>

#include <optional>
#include <stdexcept>

class QIODevice;
class QPainter;

namespace bw {

// A file that cannot be opened for reading.
class GIFFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TGIFPaintOption : uint16_t {
    pfThreaded = 0x0001,
    pfTransparent = 0x0002,
    pfAnimated = 0x0004,
    pfRepeat = 0x0008,
    pfRepeatForever = 0x0010,
    pfCheckCanvas = 0x0020,
    pfDirect = 0x0040,
    pfClearOnRepeat = 0x0080,
    pfTiled = 0x0100,
    pfDithered = 0x0200,
    pfDitherOnPaletteScreen = 0x0400,
};
inline constexpr uint16_t kDefaultPaintOptions = 0x060F;

class TGIFImage : public TGIFPicture {
public:
    TGIFImage();
    ~TGIFImage() override;

    // Raises GIFFileError when the file cannot be opened, GIFException when it
    // is no readable GIF.
    void LoadFromFile(const QString& path);
    // Reads from the device's position. On failure the position is set back to
    // where reading began; the frames read before the failure stay.
    void LoadFromStream(QIODevice& device);
    using TGIFPicture::LoadFromStream;
    // Writes the picture as a GIF stream (87a unless a feature needs 89a).
    void SaveToStream(QIODevice& device);
    using TGIFPicture::SaveToStream;
    // Writes a file through QSaveFile, so a failed save leaves no half file.
    void SaveToFile(const QString& path);

    // Copies another picture (null clears this one).
    void Assign(const TGIFImage* source);
    // Makes the picture one frame imported from the image (see gifimport.h).
    void Assign(const QImage& image);
    // Appends a frame imported from the image.
    void AddFrame(const QImage& image);
    using TGIFPicture::AddFrame;
    // True only for this very object.
    bool Equals(const TGIFImage* other) const { return other == this; }
    void Clear() override;

    uint16_t PaintOptions = kDefaultPaintOptions;
    int AnimationRate = 100;
    std::optional<QColor> FillColor;
    int ReductionMethod = 6;
    int ReductionBitCount = 8;
    int DitherKind = 0;

    // Whether frames are rendered dithered to the 216-colour cube.
    bool DitheringOn() const;
    // Whether the screen shows at most 8 bits per pixel through a palette; it
    // never does here.
    static bool PaletteScreen() { return false; }

    // The picture's colours: the global table's, else the first frame's. A
    // picture without any table fails with "No global or local color table defined".
    QVector<QRgb> Palette();

    // The frame rendered: Indexed8, colour table padded to 256 entries, the
    // transparent index with alpha 0 when the frame has transparent pixels.
    // A null image for an empty frame. Cached until the frame changes.
    QImage FrameBitmap(int index);
    QVector<QRgb> FramePalette(int index);
    // Whether the frame is drawn through a mask (it is transparent and has at
    // least one transparent pixel).
    bool NeedsMask(int index);
    // 1 bit per pixel, bit 1 for a transparent pixel, first pixel in the highest
    // bit (QImage::Format_Mono); null when the frame has no mask.
    QImage FrameMask(int index);
    // The frame's area when the whole logical screen is shown in r.
    QRect FrameRectIn(int index, const QRect& r) const;
    void DrawFrame(QPainter& painter, int index, const QRect& r, bool tiled, bool transparent);
    // Draws the picture into r as its paint options say. A picture of several
    // frames (with pfAnimated) is animated by a painter: into the picture's
    // back buffer, which is drawn into r now and after each frame (OnChanged
    // asks for the repaint); with pfDirect straight onto a QImage canvas.
    void Draw(QPainter& painter, const QRect& r);
    // Starts a painter of this picture on canvas; null for an empty picture or
    // rectangle, and for a painter that already ran inside this call.
    // canvasPainter: a painter already open on canvas, used while starting.
    TGIFPainter* StartPainter(TGIFPainter** slot, QImage* canvas, uint16_t options, const QRect& rect,
                              QPainter* canvasPainter = nullptr);
    void StopDrawPainter();
    void StopAllPainters();
    TGIFPainter* DrawPainter() const { return m_drawPainter; }
    const std::vector<TGIFPainter*>& Painters() const { return m_painters; }
    // The picture as the animation stands: the back buffer, while there is one.
    const QImage* BackBuffer() const { return m_backBuffer ? &*m_backBuffer : nullptr; }

    TGIFAnimationClock* Clock = &TGIFAnimationClock::System();
    TGIFPainterHook OnPaintStart, OnFramePaint, OnFramePainted, OnRepeat, OnPaintEnd;
    // Called when what the picture shows changed (a new frame in the back buffer).
    std::function<void()> OnChanged;
    // The picture as one image: the first frame on the logical screen.
    QImage CompositeBitmap();

protected:
    void PaletteChanged() override;
    void Changed() override;

private:
    friend class TGIFPainter;
    void PainterEnded(TGIFPainter* painter);
    void ReportPainted(TGIFPainter* painter);
    void ReleaseBackBuffer();
    void DrawBackBuffer(QPainter& painter, const QRect& r);

    std::vector<TGIFPainter*> m_painters;
    TGIFPainter* m_drawPainter = nullptr;
    std::optional<QImage> m_backBuffer;

    struct FrameCache;
    FrameCache& CacheOf(int index);
    void Render(int index, FrameCache& cache);
    void RenderDithered(int index, FrameCache& cache);

    std::optional<QVector<QRgb>> m_palette;
    std::optional<QImage> m_composite;
    bool m_insidePalette = false;
    bool m_drawing = false;
};

} // namespace bw
