// Fuzz target of the GIF reader: loads any bytes, renders every frame (plain or
// dithered), draws the small ones, and writes what it loaded and reads it back, which must give
// the same pixels. Only GIFException may come out of the codec.
//
// Rendering and writing run the same code for a frame of any size, so frames
// are rendered while the pixels stay within 2^22 (2^18 when dithering, which
// costs much more per pixel) and pictures of up to 2^18 pixels are written and
// read back; the reader itself takes pictures up to its own limit of 2^28
// pixels. That keeps each run of the instrumented build
// well below 2 seconds.
#include "gif/core/gifstream.h"
#include "gif/tgifimage.h"

#include <QPainter>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr int64_t kBudget = int64_t(1) << 22;
constexpr int64_t kDitheredBudget = int64_t(1) << 18;
constexpr int64_t kRoundTripBudget = int64_t(1) << 18;

std::vector<const bw::TGIFSubImage*> nonEmpty(const bw::TGIFPicture& picture)
{
    std::vector<const bw::TGIFSubImage*> frames;
    for (int i = 0; i < picture.Count(); ++i)
        if (!picture.Frame(i).Empty())
            frames.push_back(&picture.Frame(i));
    return frames;
}

void roundTrip(bw::TGIFImage& image, int compression)
{
    image.CompressionKind = compression;
    bw::MemoryByteStream written;
    try {
        image.SaveToStream(written);
    } catch (const bw::GIFException&) {
        return; // e.g. a pixel beyond its colour table
    }
    bw::TGIFPicture back;
    bw::MemoryByteStream reading(written.Bytes());
    back.LoadFromStream(reading); // what we wrote must read without failure
    const auto before = nonEmpty(image);
    const auto after = nonEmpty(back);
    if (before.size() != after.size())
        std::abort();
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i]->Width() != after[i]->Width() || before[i]->Height() != after[i]->Height() ||
            before[i]->Pixels() != after[i]->Pixels())
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    bw::TGIFImage image;
    bw::MemoryByteStream stream(data, size);
    try {
        image.LoadFromStream(stream);
    } catch (const bw::GIFException&) {
        // What was read before the failure stays and is used below.
    }
    // Every other input renders dithered, as on a palette screen.
    const bool dithered = (size / 2) % 2;
    if (dithered)
        image.PaintOptions = uint16_t((image.PaintOptions | bw::pfDithered) & ~bw::pfDitherOnPaletteScreen);
    QImage canvas(48, 32, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    int64_t budget = dithered ? kDitheredBudget : kBudget;
    for (int i = 0; i < image.Count(); ++i) {
        budget -= image.Frame(i).PixelCount();
        if (budget < 0)
            return 0;
        try {
            image.FrameBitmap(i);
            image.FrameMask(i);
            if (image.Frame(i).PixelCount() <= 1 << 20) {
                QPainter painter(&canvas);
                image.DrawFrame(painter, i, canvas.rect(), false, true);
                image.DrawFrame(painter, i, canvas.rect(), true, false);
            }
        } catch (const bw::GIFException&) {
        }
        image.Frame(i).DropCache();
    }
    int64_t pixels = 0;
    for (int i = 0; i < image.Count(); ++i)
        pixels += image.Frame(i).PixelCount();
    if (pixels <= kRoundTripBudget)
        roundTrip(image, int(size % 2));
    return 0;
}
