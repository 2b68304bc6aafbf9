// Decoding speed of our GIF reader against giflib and Qt's GIF reader on the same
// bytes in memory. Each file is decoded by the three in turn, at least 20 times
// after a warm-up; the median time of each gives its Mpx/s and the ratios.
// Goal: at least giflib's speed on every file, 1.5x giflib on photo-like ones.
#include "benchreport.h"

#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"
#include "gif/gifsynth.h"
#include "gif/giflibref.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int64_t decodeOurs(const gifsynth::Bytes& bytes)
{
    bw::TGIFPicture picture;
    bw::MemoryByteStream stream(bytes);
    picture.LoadFromStream(stream);
    int64_t pixels = 0;
    for (int i = 0; i < picture.Count(); ++i)
        pixels += picture.Frame(i).PixelCount();
    return pixels;
}

int64_t decodeGiflib(const gifsynth::Bytes& bytes)
{
    std::vector<gifsynth::RefFrame> frames;
    std::string error;
    if (!gifsynth::giflibDecode(bytes.data(), bytes.size(), frames, error))
        std::fprintf(stderr, "giflib: %s\n", error.c_str());
    int64_t pixels = 0;
    for (const auto& f : frames)
        pixels += int64_t(f.width) * f.height;
    return pixels;
}

int64_t decodeQt(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    int64_t pixels = 0;
    while (reader.canRead()) {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        pixels += int64_t(image.width()) * image.height();
    }
    return pixels;
}

} // namespace

int main(int argc, char** argv)
{
    bw::timing::setUpLikeTests();
    QGuiApplication app(argc, argv);
    int runs = 21;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--runs")
            runs = std::max(20, std::atoi(argv[i + 1]));

    std::vector<std::pair<std::string, gifsynth::Bytes>> files = gifsynth::corpus();
    {
        gifsynth::File big;
        big.width = 1920;
        big.height = 1080;
        big.globalTable = gifsynth::palette(256, 42);
        gifsynth::Frame frame;
        frame.width = 1920;
        frame.height = 1080;
        frame.pixels = gifsynth::photoLike(1920, 1080, 256, 42);
        big.frames.push_back(frame);
        files.insert(files.begin(), {"photo_1920x1080", gifsynth::build(big)});
    }

    std::printf("%-20s %10s %10s %10s %12s %10s\n", "file", "ours", "giflib", "Qt", "ours/giflib", "ours/Qt");
    std::printf("%-20s %10s %10s %10s\n", "", "Mpx/s", "Mpx/s", "Mpx/s");
    std::vector<std::pair<std::string, double>> ratios;
    for (const auto& [name, bytes] : files) {
        const QByteArray qtBytes(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        const int64_t pixels = decodeOurs(bytes);
        decodeGiflib(bytes);
        decodeQt(qtBytes);
        std::vector<double> ours, giflib, qt;
        const auto time = [](const std::function<void()>& f) {
            const auto start = Clock::now();
            f();
            return std::chrono::duration<double>(Clock::now() - start).count();
        };
        for (int r = 0; r < runs; ++r) {
            ours.push_back(time([&] { decodeOurs(bytes); }));
            giflib.push_back(time([&] { decodeGiflib(bytes); }));
            qt.push_back(time([&] { decodeQt(qtBytes); }));
        }
        const double mpx = double(pixels) / 1e6;
        const double o = mpx / median(ours), g = mpx / median(giflib), q = mpx / median(qt);
        std::printf("%-20s %10.1f %10.1f %10.1f %11.2fx %9.2fx\n", name.c_str(), o, g, q, o / g, o / q);
        ratios.push_back({name, o / g});
    }
    // The table states the slowest file of each goal; the lines above have them all.
    for (const bool photo : {true, false}) {
        std::pair<std::string, double> slowest{"", 0};
        for (const auto& [name, ratio] : ratios)
            if ((name.rfind("photo", 0) == 0) == photo && (slowest.first.empty() || ratio < slowest.second))
                slowest = {name, ratio};
        const std::string what = std::string("speed against giflib, slowest ") + (photo ? "photo-like" : "other")
                                 + " file (" + slowest.first + ")";
        bw::timing::report(what.c_str(), bw::timing::kNoBackend, slowest.second,
                           bw::timing::atLeast(photo ? 1.5 : 1.0));
    }
    return 0;
}
