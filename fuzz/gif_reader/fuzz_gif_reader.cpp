// Fuzz target of the GIF reader: loads any bytes, renders every frame and draws
// the small ones. Only GIFException may come out of the codec.
//
// Rendering runs the same code for a frame of any size, so frames are rendered
// while the pixels rendered stay within 2^24; the reader itself takes pictures
// up to its own limit of 2^28 pixels. That keeps each run of the instrumented
// build well below 2 seconds.
#include "gif/core/gifstream.h"
#include "gif/tgifimage.h"

#include <QPainter>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    bw::TGIFImage image;
    bw::MemoryByteStream stream(data, size);
    try {
        image.LoadFromStream(stream);
    } catch (const bw::GIFException&) {
        // What was read before the failure stays and is rendered below.
    }
    QImage canvas(48, 32, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    int64_t budget = int64_t(1) << 24;
    for (int i = 0; i < image.Count(); ++i) {
        budget -= image.Frame(i).PixelCount();
        if (budget < 0)
            break;
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
    return 0;
}
