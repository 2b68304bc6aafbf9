// Our LZW encoder against giflib's encoder on the same indices: the size of the
// image data each writes (ratio ours / giflib) and the encoding speed, median of
// at least 20 alternating runs per file.
#include "gif/core/gifencoder.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"
#include "gif/gifsynth.h"

#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

struct Frame {
    int width;
    int height;
    int bits;
    std::vector<uint8_t> pixels;
};

size_t encodeOurs(const Frame& f)
{
    bw::MemoryByteStream out;
    bw::CompressPixels(out, bw::TGIFCompression::LZW, f.bits, 1 << f.bits, f.pixels.data(), false, f.height, f.width);
    return out.Bytes().size();
}

int writeMemory(GifFileType* gif, const GifByteType* data, int n)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

// giflib writes the whole file; what is not image data is taken off.
size_t encodeGiflib(const Frame& f)
{
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeMemory, &error);
    std::vector<GifColorType> colors(size_t(1) << f.bits);
    ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
    EGifPutScreenDesc(gif, f.width, f.height, f.bits, 0, map);
    EGifPutImageDesc(gif, 0, 0, f.width, f.height, false, nullptr);
    std::vector<GifPixelType> row(size_t(f.width));
    for (int y = 0; y < f.height; ++y) {
        std::memcpy(row.data(), f.pixels.data() + size_t(y) * size_t(f.width), size_t(f.width));
        EGifPutLine(gif, row.data(), f.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    const size_t overhead = 6 + 7 + 3 * colors.size() + 10 + 1;
    return out.size() - overhead;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 21;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--runs")
            runs = std::max(20, std::atoi(argv[i + 1]));
    std::printf("%-20s %10s %10s %8s %10s %10s %8s\n", "file", "ours B", "giflib B", "size", "ours", "giflib", "speed");
    std::printf("%-20s %10s %10s %8s %10s %10s\n", "", "", "", "ratio", "Mpx/s", "Mpx/s");
    size_t totalOurs = 0, totalGiflib = 0;
    for (const auto& [name, bytes] : gifsynth::corpus()) {
        bw::TGIFPicture picture;
        bw::MemoryByteStream stream(bytes);
        picture.LoadFromStream(stream);
        std::vector<Frame> frames;
        for (int i = 0; i < picture.Count(); ++i) {
            bw::TGIFSubImage& sub = picture.Frame(i);
            frames.push_back({sub.Width(), sub.Height(), std::max(2, sub.EffectiveColorMap().BitsPerPixel()), sub.Pixels()});
        }
        size_t ours = 0, giflib = 0;
        double pixels = 0;
        for (const Frame& f : frames) {
            ours += encodeOurs(f);
            giflib += encodeGiflib(f);
            pixels += double(f.width) * f.height;
        }
        totalOurs += ours;
        totalGiflib += giflib;
        std::vector<double> tOurs, tGiflib;
        const auto time = [](const std::function<void()>& fn) {
            const auto start = Clock::now();
            fn();
            return std::chrono::duration<double>(Clock::now() - start).count();
        };
        for (int r = 0; r < runs; ++r) {
            tOurs.push_back(time([&] { for (const Frame& f : frames) encodeOurs(f); }));
            tGiflib.push_back(time([&] { for (const Frame& f : frames) encodeGiflib(f); }));
        }
        const double o = pixels / 1e6 / median(tOurs), g = pixels / 1e6 / median(tGiflib);
        std::printf("%-20s %10zu %10zu %7.3fx %10.1f %10.1f %7.2fx\n", name.c_str(), ours, giflib, double(ours) / double(giflib), o, g,
                    o / g);
    }
    std::printf("%-20s %10zu %10zu %7.3fx\n", "all", totalOurs, totalGiflib, double(totalOurs) / double(totalGiflib));
    return 0;
}
