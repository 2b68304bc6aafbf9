// Our LZW encoder against giflib's encoder on the same indices: whether the image
// data is byte for byte the same, and the encoding speed (ratio ours / giflib,
// above 1 is faster), median of at least 20 alternating runs.
//
// First the four kinds of picture, each as a large picture and as a batch of
// icons: flat (a few large areas), screen (bars, frames and small text), noise and
// photo (smooth shading reduced to a palette); then the files of the test corpus.
// Goal: the same bytes as giflib, so sizes within 2% of its encoder, and at
// least its speed on every kind of picture.
#include "benchreport.h"

#include "gif/core/gifencoder.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"
#include "gif/giflibref.h"
#include "gif/gifsynth.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Frame {
    int width;
    int height;
    int bits;
    std::vector<uint8_t> pixels;
};

std::vector<uint8_t> encodeOurs(const Frame& f)
{
    bw::MemoryByteStream out;
    bw::CompressPixels(out, bw::TGIFCompression::LZW, f.bits, 1 << f.bits, f.pixels.data(), false, f.height, f.width);
    return out.Bytes();
}

std::vector<uint8_t> encodeGiflib(const Frame& f)
{
    return gifsynth::giflibEncode(f.pixels.data(), f.width, f.height, f.bits);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double seconds(const std::function<void()>& fn)
{
    const auto start = Clock::now();
    fn();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// What the rows found: the bytes of both encoders over all of them, and each
// row's speed against giflib.
struct Totals {
    size_t ours = 0;
    size_t giflib = 0;
    std::vector<std::pair<std::string, double>> speeds;
};

// One row: sizes, sameness and speed of encoding all frames once per run.
void row(const std::string& name, const std::vector<Frame>& frames, int runs, Totals& totals)
{
    size_t ours = 0, giflib = 0;
    bool same = true;
    double pixels = 0;
    for (const Frame& f : frames) {
        const auto a = encodeOurs(f);
        const auto b = encodeGiflib(f);
        ours += a.size();
        giflib += b.size();
        same = same && a == b;
        pixels += double(f.width) * f.height;
    }
    std::vector<double> tOurs, tGiflib;
    for (int r = 0; r < runs; ++r) {
        tOurs.push_back(seconds([&] { for (const Frame& f : frames) encodeOurs(f); }));
        tGiflib.push_back(seconds([&] { for (const Frame& f : frames) encodeGiflib(f); }));
    }
    const double o = pixels / 1e6 / median(tOurs), g = pixels / 1e6 / median(tGiflib);
    std::printf("%-22s %10zu %10zu %6s %10.1f %10.1f %7.2fx\n", name.c_str(), ours, giflib, same ? "yes" : "NO", o, g, o / g);
    totals.ours += ours;
    totals.giflib += giflib;
    totals.speeds.push_back({name, o / g});
}

// The table's lines: the bytes, every kind of picture (the first rows) and the
// slowest file of the corpus (the rows after them).
void reportTotals(const Totals& totals, size_t kindRows)
{
    using namespace bw::timing;
    report("bytes against giflib, all pictures", kNoBackend, double(totals.ours) / double(totals.giflib),
           atMost(1.02));
    const auto& speeds = totals.speeds;
    for (size_t i = 0; i < kindRows && i < speeds.size(); ++i)
        report(("speed against giflib, " + speeds[i].first).c_str(), kNoBackend, speeds[i].second, atLeast(1));
    if (speeds.size() > kindRows) {
        const auto slowest = std::min_element(speeds.begin() + std::ptrdiff_t(kindRows), speeds.end(),
                                              [](const auto& a, const auto& b) { return a.second < b.second; });
        report(("speed against giflib, slowest corpus file (" + slowest->first + ")").c_str(), kNoBackend,
               slowest->second, atLeast(1));
    }
}

} // namespace

int main(int argc, char** argv)
{
    bw::timing::setUpLikeTests();
    Totals totals;
    int runs = 21;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--runs")
            runs = std::max(20, std::atoi(argv[i + 1]));
    std::printf("%-22s %10s %10s %6s %10s %10s %8s\n", "picture", "ours B", "giflib B", "same", "ours", "giflib", "speed");
    std::printf("%-22s %10s %10s %6s %10s %10s\n", "", "", "", "bytes", "Mpx/s", "Mpx/s");

    struct Kind {
        const char* name;
        int bits;
        gifsynth::Bytes (*make)(int, int, int, uint32_t);
    };
    const Kind kinds[] = {{"flat", 2, gifsynth::flatAreas},
                          {"screen", 4, gifsynth::screenLike},
                          {"noise", 8, gifsynth::noise},
                          {"photo", 8, gifsynth::photoLike}};
    for (const Kind& kind : kinds) {
        row(std::string(kind.name) + " 1024x768", {{1024, 768, kind.bits, kind.make(1024, 768, 1 << kind.bits, 1)}}, runs,
            totals);
        std::vector<Frame> icons;
        for (uint32_t i = 0; i < 200; ++i)
            icons.push_back({24, 24, kind.bits, kind.make(24, 24, 1 << kind.bits, 10 + i)});
        row(std::string(kind.name) + " 200 icons 24x24", icons, runs, totals);
    }

    const size_t kindRows = totals.speeds.size();
    std::printf("\n");
    for (const auto& [name, bytes] : gifsynth::corpus()) {
        bw::TGIFPicture picture;
        bw::MemoryByteStream stream(bytes);
        picture.LoadFromStream(stream);
        std::vector<Frame> frames;
        for (int i = 0; i < picture.Count(); ++i) {
            bw::TGIFSubImage& sub = picture.Frame(i);
            frames.push_back({sub.Width(), sub.Height(), std::max(2, sub.EffectiveColorMap().BitsPerPixel()), sub.Pixels()});
        }
        row(name, frames, runs, totals);
    }
    reportTotals(totals, kindRows);
    return 0;
}
