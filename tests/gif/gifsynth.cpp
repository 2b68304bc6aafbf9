#include "gif/gifsynth.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace gifsynth {

namespace {
void put16(Bytes& out, int v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

int tableBits(size_t bytes)
{
    const int count = int(bytes / 3);
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

uint32_t nextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

void putComment(Bytes& out, const std::string& text)
{
    out.push_back('!');
    out.push_back(0xFE);
    const Bytes data(text.begin(), text.end());
    const Bytes blocks = subBlocks(data, 255);
    out.insert(out.end(), blocks.begin(), blocks.end());
}
}

Bytes packCodes(const std::vector<std::pair<int, int>>& codes)
{
    Bytes out;
    uint32_t bucket = 0;
    int bits = 0;
    for (const auto& [code, width] : codes) {
        bucket |= uint32_t(code) << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(uint8_t(bucket));
            bucket >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        out.push_back(uint8_t(bucket));
    return out;
}

Bytes lzwCodes(const Bytes& pixels, int minCodeSize, bool clearWhenFull)
{
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::vector<std::pair<int, int>> codes;
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2;
    // The code width follows the decoder's table: it adds an entry for every
    // code but the first after a clear, and widens when its next entry reaches
    // the limit.
    int width = minCodeSize + 1;
    int decoderNext = clear + 2;
    int decoderLimit = 2 * clear;
    bool firstAfterClear = true;
    const auto emit = [&](int code) {
        codes.push_back({code, width});
        if (code == clear) {
            width = minCodeSize + 1;
            decoderNext = clear + 2;
            decoderLimit = 2 * clear;
            firstAfterClear = true;
            return;
        }
        if (!firstAfterClear && decoderNext < 4096) {
            ++decoderNext;
            if (decoderNext >= decoderLimit && decoderLimit < 4096) {
                decoderLimit *= 2;
                ++width;
            }
        }
        firstAfterClear = false;
    };
    emit(clear);
    if (pixels.empty()) {
        emit(end);
        return packCodes(codes);
    }
    int prefix = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const int pixel = pixels[i];
        auto it = table.find({prefix, pixel});
        if (it != table.end()) {
            prefix = it->second;
            continue;
        }
        emit(prefix);
        if (next < 4096) {
            table[{prefix, pixel}] = next++;
        } else if (clearWhenFull) {
            emit(clear);
            table.clear();
            next = clear + 2;
        }
        prefix = pixel;
    }
    emit(prefix);
    emit(end);
    return packCodes(codes);
}

Bytes subBlocks(const Bytes& data, int blockSize, bool terminator)
{
    Bytes out;
    for (size_t i = 0; i < data.size(); i += size_t(blockSize)) {
        const size_t n = std::min(data.size() - i, size_t(blockSize));
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    if (terminator)
        out.push_back(0);
    return out;
}

Bytes interlace(const Bytes& pixels, int width, int height)
{
    Bytes out;
    static const int passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& pass : passes)
        for (int y = pass[0]; y < height; y += pass[1])
            out.insert(out.end(), pixels.begin() + long(y) * width, pixels.begin() + long(y + 1) * width);
    return out;
}

Bytes build(const File& file)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put16(out, file.width);
    put16(out, file.height);
    uint8_t packed = 0x70;
    if (!file.globalTable.empty())
        packed |= uint8_t(0x80 | (tableBits(file.globalTable.size()) - 1));
    out.push_back(packed);
    out.push_back(0);
    out.push_back(0);
    out.insert(out.end(), file.globalTable.begin(), file.globalTable.end());
    if (file.loops >= 0) {
        const char id[] = "NETSCAPE2.0";
        out.push_back('!');
        out.push_back(0xFF);
        out.push_back(11);
        out.insert(out.end(), id, id + 11);
        out.push_back(3);
        out.push_back(1);
        put16(out, file.loops);
        out.push_back(0);
    }
    for (const Frame& f : file.frames) {
        for (const std::string& c : f.comments)
            putComment(out, c);
        if (f.transparent >= 0 || f.delay >= 0 || f.disposal >= 0) {
            out.insert(out.end(), {'!', 0xF9, 4});
            out.push_back(uint8_t((std::max(f.disposal, 0) << 2) | (f.transparent >= 0 ? 1 : 0)));
            put16(out, std::max(f.delay, 0));
            out.push_back(uint8_t(std::max(f.transparent, 0)));
            out.push_back(0);
        }
        out.push_back(',');
        put16(out, f.left);
        put16(out, f.top);
        put16(out, f.width);
        put16(out, f.height);
        uint8_t fp = f.interlaced ? 0x40 : 0;
        if (!f.localTable.empty())
            fp |= uint8_t(0x80 | (tableBits(f.localTable.size()) - 1));
        out.push_back(fp);
        out.insert(out.end(), f.localTable.begin(), f.localTable.end());
        if (f.rawImageData) {
            out.insert(out.end(), f.imageData.begin(), f.imageData.end());
            continue;
        }
        int mcs = f.minCodeSize;
        if (mcs == 0)
            mcs = std::max(2, tableBits(f.localTable.empty() ? file.globalTable.size() : f.localTable.size()));
        out.push_back(uint8_t(mcs));
        const Bytes order = f.interlaced ? interlace(f.pixels, f.width, f.height) : f.pixels;
        const Bytes blocks = subBlocks(lzwCodes(order, mcs, f.clearWhenFull), f.subBlockSize);
        out.insert(out.end(), blocks.begin(), blocks.end());
    }
    for (const std::string& c : file.trailingComments)
        putComment(out, c);
    if (file.trailer)
        out.push_back(';');
    return out;
}

Bytes palette(int count, uint32_t seed)
{
    Bytes out;
    for (int i = 0; i < count * 3; ++i)
        out.push_back(uint8_t(nextRandom(seed)));
    return out;
}

Bytes greyPalette(int count)
{
    Bytes out;
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c)
            out.push_back(uint8_t(count > 1 ? i * 255 / (count - 1) : 0));
    return out;
}

// Smooth shading with a little noise, as a photograph reduced to a palette.
Bytes photoLike(int width, int height, int colors, uint32_t seed)
{
    Bytes out(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double v = 0.5 + 0.25 * std::sin(x * 0.031 + y * 0.017) + 0.2 * std::cos(std::hypot(x - width / 3.0, y - height / 2.0) * 0.045);
            const int noise = int(nextRandom(seed) % 7) - 3;
            out[size_t(y) * size_t(width) + size_t(x)] = uint8_t(std::clamp(int(v * (colors - 1)) + noise, 0, colors - 1));
        }
    return out;
}

// Flat rectangles and thin lines in few colours, as a dialog or an icon.
Bytes flatUi(int width, int height, int colors, uint32_t seed)
{
    Bytes out(size_t(width) * size_t(height), 0);
    for (int r = 0; r < 40; ++r) {
        const int x0 = int(nextRandom(seed) % uint32_t(width));
        const int y0 = int(nextRandom(seed) % uint32_t(height));
        const int w = 1 + int(nextRandom(seed) % uint32_t(std::max(1, width / 3)));
        const int h = 1 + int(nextRandom(seed) % uint32_t(std::max(1, height / 3)));
        const uint8_t c = uint8_t(nextRandom(seed) % uint32_t(colors));
        for (int y = y0; y < std::min(height, y0 + h); ++y)
            for (int x = x0; x < std::min(width, x0 + w); ++x)
                out[size_t(y) * size_t(width) + size_t(x)] = c;
    }
    return out;
}

Bytes flatAreas(int width, int height, int colors, uint32_t seed)
{
    Bytes out(size_t(width) * size_t(height), 0);
    for (int r = 0; r < 6; ++r) {
        const int x0 = int(nextRandom(seed) % uint32_t(width));
        const int y0 = int(nextRandom(seed) % uint32_t(height));
        const int x1 = std::min(width, x0 + width / 2);
        const int y1 = std::min(height, y0 + height / 2);
        const uint8_t c = uint8_t(nextRandom(seed) % uint32_t(colors));
        for (int y = y0; y < y1; ++y)
            std::fill(out.begin() + long(size_t(y) * size_t(width) + size_t(x0)), out.begin() + long(size_t(y) * size_t(width) + size_t(x1)), c);
    }
    return out;
}

Bytes screenLike(int width, int height, int colors, uint32_t seed)
{
    Bytes out = flatUi(width, height, colors, seed);
    // Lines of text: glyphs of 1 to 3 pixel strokes, 7 pixels high, with gaps.
    for (int line = 0; line < height / 24; ++line) {
        const int top = 4 + line * 24;
        const int left = int(nextRandom(seed) % uint32_t(std::max(1, width / 4)));
        const int right = std::min(width, left + width / 2 + int(nextRandom(seed) % uint32_t(std::max(1, width / 3))));
        const uint8_t ink = uint8_t(nextRandom(seed) % uint32_t(colors));
        for (int x = left; x < right; ++x) {
            const uint32_t glyph = nextRandom(seed);
            if (glyph % 6 == 0)
                continue; // a gap between words
            for (int y = 0; y < 7 && top + y < height; ++y)
                if ((glyph >> y) & 1)
                    out[size_t(top + y) * size_t(width) + size_t(x)] = ink;
        }
    }
    return out;
}

Bytes noise(int width, int height, int colors, uint32_t seed)
{
    Bytes out(size_t(width) * size_t(height));
    for (uint8_t& p : out)
        p = uint8_t(nextRandom(seed) % uint32_t(colors));
    return out;
}

std::vector<std::pair<std::string, Bytes>> corpus()
{
    std::vector<std::pair<std::string, Bytes>> files;
    const auto single = [](int w, int h, int colors, Bytes pixels) {
        File f;
        f.width = w;
        f.height = h;
        f.globalTable = palette(colors, 7u + uint32_t(colors));
        Frame frame;
        frame.width = w;
        frame.height = h;
        frame.pixels = std::move(pixels);
        f.frames.push_back(std::move(frame));
        return f;
    };
    files.push_back({"photo_640x480", build(single(640, 480, 256, photoLike(640, 480, 256, 1)))});
    files.push_back({"flatui_320x200", build(single(320, 200, 16, flatUi(320, 200, 16, 2)))});
    files.push_back({"noise_256x256", build(single(256, 256, 256, noise(256, 256, 256, 3)))});
    for (int h : {1, 2, 3, 5, 8, 13, 100}) {
        File f = single(37, h, 64, photoLike(37, h, 64, uint32_t(h)));
        f.frames[0].interlaced = true;
        files.push_back({"interlaced_h" + std::to_string(h), build(f)});
    }
    {
        File f = single(200, 150, 256, photoLike(200, 150, 256, 4));
        f.frames[0].subBlockSize = 1;
        files.push_back({"subblocks_1byte", build(f)});
        f.frames[0].subBlockSize = 7;
        files.push_back({"subblocks_7byte", build(f)});
    }
    for (int mcs = 2; mcs <= 8; ++mcs) {
        const int colors = 1 << mcs;
        files.push_back({"mincode_" + std::to_string(mcs), build(single(97, 61, colors, photoLike(97, 61, colors, uint32_t(mcs))))});
    }
    {
        // A large noisy frame fills the table again and again.
        files.push_back({"noise_table_full", build(single(300, 300, 256, noise(300, 300, 256, 9)))});
    }
    {
        File f;
        f.width = 64;
        f.height = 48;
        f.globalTable = palette(32, 5);
        f.loops = 0;
        for (int i = 0; i < 100; ++i) {
            Frame frame;
            frame.left = (i * 3) % 32;
            frame.top = (i * 5) % 24;
            frame.width = 32;
            frame.height = 24;
            frame.delay = 5;
            frame.disposal = i % 4;
            frame.transparent = i % 3 == 0 ? 0 : -1;
            frame.pixels = i % 2 ? flatUi(32, 24, 32, uint32_t(i)) : photoLike(32, 24, 32, uint32_t(i));
            if (i % 10 == 0)
                frame.localTable = palette(32, uint32_t(100 + i));
            f.frames.push_back(std::move(frame));
        }
        files.push_back({"animation_100", build(f)});
    }
    return files;
}

} // namespace gifsynth
